#pragma once
// A small seeded random source (splitmix64) whose sequence is the same on every machine and with
// every standard library, unlike the standard distributions.

#include <cstdint>

namespace vx::bench {

class SeededRandom {
public:
    explicit SeededRandom(std::uint64_t seed)
        : state_(seed)
    {
    }

    // The next 64 random bits.
    std::uint64_t Next()
    {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }

    // A number in 0..bound-1; 0 when bound is 0.
    std::uint32_t Below(std::uint32_t bound)
    {
        return bound == 0 ? 0 : static_cast<std::uint32_t>(Next() % bound);
    }

    // True with probability share (0..1), in steps of 1/65536.
    bool Chance(double share) { return static_cast<double>(Next() & 0xFFFF) < share * 65536.0; }

private:
    std::uint64_t state_;
};

} // namespace vx::bench
