#pragma once
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

namespace version_test {

inline std::string FixturePath(const std::string& name)
{
    const char* data = std::getenv("VK_TEST_DATA");
    if (data == nullptr) throw std::runtime_error("VK_TEST_DATA is not set");
    return std::string(data) + "/version/" + name;
}

inline std::vector<std::uint8_t> ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Byte offset of a UTF-16LE text inside bytes, or npos.
inline std::size_t FindUtf16(const std::vector<std::uint8_t>& bytes, std::u16string_view text)
{
    std::vector<std::uint8_t> needle;
    for (char16_t c : text) {
        needle.push_back(static_cast<std::uint8_t>(c & 0xFF));
        needle.push_back(static_cast<std::uint8_t>(c >> 8));
    }
    for (std::size_t i = 0; i + needle.size() <= bytes.size(); ++i)
        if (std::equal(needle.begin(), needle.end(), bytes.begin() + static_cast<std::ptrdiff_t>(i))) return i;
    return std::string::npos;
}

}  // namespace version_test
