// Any bytes as an Access file: the converter either carries it into a new
// catalogue file or refuses it with a cause (EDatabaseError); it never
// crashes, never changes the Access file, and leaves no new file after a
// refusal.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "db/TovaskADODB/database_error.h"
#include "db/access/access_converter.h"

namespace {

std::string folder()
{
    static const std::string made = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "vk-access-fuzz-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) std::abort();
        return pattern;
    }();
    return made;
}

std::string readAll(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string input = folder() + "/stary.mdb";
    const std::string output = folder() + "/nowy.mdb";
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    std::ofstream(input, std::ios::binary | std::ios::trunc) << bytes;
    std::filesystem::remove(output);
    try {
        accessdb::ConvertAccessFile(input, output);
    } catch (const TovaskADODB::EDatabaseError&) {
        if (std::filesystem::exists(output)) std::abort();
    }
    if (readAll(input) != bytes) std::abort();
    std::filesystem::remove(output);
    return 0;
}
