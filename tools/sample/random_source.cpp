#include "tools/sample/random_source.h"

#include <stdexcept>

namespace sample {

namespace {

std::uint64_t splitMix64(std::uint64_t& x)
{
    std::uint64_t z = (x += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

std::uint64_t rotl(std::uint64_t x, int k)
{
    return (x << k) | (x >> (64 - k));
}

}  // namespace

RandomSource::RandomSource(std::uint64_t seed, std::uint64_t stream)
{
    std::uint64_t x = seed ^ (stream * 0xD1B54A32D192ED03ull);
    for (auto& word : state_) word = splitMix64(x);
}

std::uint64_t RandomSource::next()
{
    const std::uint64_t result = rotl(state_[1] * 5, 7) * 9;
    const std::uint64_t t = state_[1] << 17;
    state_[2] ^= state_[0];
    state_[3] ^= state_[1];
    state_[1] ^= state_[2];
    state_[0] ^= state_[3];
    state_[2] ^= t;
    state_[3] = rotl(state_[3], 45);
    return result;
}

std::uint32_t RandomSource::below(std::uint32_t count)
{
    if (count == 0) throw std::invalid_argument("RandomSource::below(0)");
    return static_cast<std::uint32_t>(((next() >> 32) * count) >> 32);
}

std::int32_t RandomSource::between(std::int32_t low, std::int32_t high)
{
    if (high < low) throw std::invalid_argument("RandomSource::between: empty range");
    const auto span = static_cast<std::uint32_t>(static_cast<std::int64_t>(high) - low + 1);
    return static_cast<std::int32_t>(low + static_cast<std::int64_t>(below(span)));
}

bool RandomSource::percent(std::uint32_t chance)
{
    return below(100) < chance;
}

}  // namespace sample
