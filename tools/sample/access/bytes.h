#pragma once
// Little-endian building blocks of Jet pages.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <vector>

namespace sample::access {

using ByteVector = std::vector<std::uint8_t>;

constexpr std::size_t pageSize = 4096;

inline void PutU8(ByteVector& out, unsigned value)
{
    out.push_back(static_cast<std::uint8_t>(value));
}

inline void PutU16(ByteVector& out, unsigned value)
{
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

inline void PutU32(ByteVector& out, std::uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<std::uint8_t>(value >> shift));
}

inline void PutU64(ByteVector& out, std::uint64_t value)
{
    for (int shift = 0; shift < 64; shift += 8) out.push_back(static_cast<std::uint8_t>(value >> shift));
}

inline void PutBytes(ByteVector& out, std::span<const std::uint8_t> bytes)
{
    out.insert(out.end(), bytes.begin(), bytes.end());
}

inline void SetU16(std::span<std::uint8_t> out, std::size_t at, unsigned value)
{
    out[at] = static_cast<std::uint8_t>(value);
    out[at + 1] = static_cast<std::uint8_t>(value >> 8);
}

inline void SetU32(std::span<std::uint8_t> out, std::size_t at, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i) out[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

// A row's address: page number in the upper three bytes, row in the lowest.
inline std::uint32_t PageRow(std::uint32_t page, unsigned row)
{
    return (page << 8) | row;
}

template <class Number>
std::uint64_t BitsOf(Number number)
{
    static_assert(sizeof(Number) <= 8);
    std::uint64_t bits = 0;
    std::memcpy(&bits, &number, sizeof number);
    return bits;
}

}  // namespace sample::access
