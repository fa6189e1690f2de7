#include "tools/sample/access/header_page.h"

#include <array>
#include <string_view>
#include <utility>

namespace sample::access {

namespace {

constexpr std::size_t maskedStart = 0x18;
constexpr std::size_t maskedLength = 128;  // Jet 4
constexpr std::uint32_t maskKey = 0x6b39dac7;

// RC4 with the key's four bytes in little-endian order; applying it twice
// gives the plain bytes back.
void applyMask(std::span<std::uint8_t> bytes)
{
    std::array<std::uint8_t, 256> state{};
    for (std::size_t i = 0; i < state.size(); ++i) state[i] = static_cast<std::uint8_t>(i);
    const std::array<std::uint8_t, 4> key{static_cast<std::uint8_t>(maskKey), static_cast<std::uint8_t>(maskKey >> 8),
                                          static_cast<std::uint8_t>(maskKey >> 16),
                                          static_cast<std::uint8_t>(maskKey >> 24)};
    unsigned j = 0;
    for (std::size_t i = 0; i < state.size(); ++i) {
        j = (j + state[i] + key[i % key.size()]) & 0xFF;
        std::swap(state[i], state[j]);
    }
    unsigned x = 0;
    unsigned y = 0;
    for (auto& byte : bytes) {
        x = (x + 1) & 0xFF;
        y = (y + state[x]) & 0xFF;
        std::swap(state[x], state[y]);
        byte ^= state[(state[x] + state[y]) & 0xFF];
    }
}

}  // namespace

ByteVector HeaderPage()
{
    ByteVector page(pageSize, 0);
    page[1] = 0x01;
    constexpr std::string_view signature = "Standard Jet DB";
    std::copy(signature.begin(), signature.end(), page.begin() + 4);
    page[0x14] = 0x01;         // Jet 4
    SetU16(page, 0x3C, 1250);  // code page; Jet 4 text is Unicode whatever it says
    // 0x3E page encryption key 0 (none); 0x42 the password, all 0 (none);
    // 0x72 the creation date 0.0, so that the password's date mask is 0 too.
    SetU32(page, 0x6E, 0x0409);  // sort order General
    applyMask(std::span(page).subspan(maskedStart, maskedLength));
    return page;
}

}  // namespace sample::access
