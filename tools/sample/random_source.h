#pragma once
// A small seeded random source of our own (xoshiro256** seeded through
// splitmix64), so that a seed gives the same catalogue on every machine and
// with every standard library.

#include <cstdint>
#include <span>

namespace sample {

class RandomSource {
public:
    // Each stream of one seed is independent, so that, for example, the number
    // of loans does not change the films.
    RandomSource(std::uint64_t seed, std::uint64_t stream);

    std::uint64_t next();
    // 0 .. count-1; count must be at least 1.
    std::uint32_t below(std::uint32_t count);
    // low .. high, both included.
    std::int32_t between(std::int32_t low, std::int32_t high);
    bool percent(std::uint32_t chance);

    template <class T>
    const T& pick(std::span<const T> items)
    {
        return items[below(static_cast<std::uint32_t>(items.size()))];
    }

private:
    std::uint64_t state_[4];
};

}  // namespace sample
