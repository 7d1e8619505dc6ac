#pragma once
// A small seeded generator (SplitMix64) for the benchmark's data set. Its own
// integer arithmetic, not the standard distributions, so that the same seed
// gives the same files with every compiler and library.

#include <cstdint>

namespace carmanual::bench {

class BenchRandom final {
public:
    explicit BenchRandom(std::uint64_t seed) : m_state(seed) {}

    std::uint64_t Next() {
        std::uint64_t z = (m_state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }

    // Uniform in [0, n).
    std::uint32_t Below(std::uint32_t n) {
        return static_cast<std::uint32_t>(((Next() >> 32) * n) >> 32);
    }

    // Uniform in [lo, hi].
    std::uint32_t Between(std::uint32_t lo, std::uint32_t hi) { return lo + Below(hi - lo + 1); }

    bool Percent(std::uint32_t percent) { return Below(100) < percent; }

private:
    std::uint64_t m_state = 0;
};

} // namespace carmanual::bench
