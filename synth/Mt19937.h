#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

// MT19937, the 32-bit Mersenne Twister: the same outputs as std::mt19937 from the same seed. The
// state is refreshed 624 words at a time and tempered on the way out, both on vectors, so that
// noise can take its words in bulk.
class Mt19937 {
public:
    static constexpr std::size_t kStateWords = 624;
    static constexpr std::uint32_t kDefaultSeed = 5489;

    explicit Mt19937(std::uint32_t seed = kDefaultSeed) { Seed(seed); }

    // Restarts the sequence as the standard initialisation from `seed` defines it.
    void Seed(std::uint32_t seed);
    std::uint32_t Next();
    // The next `count` outputs, in order, as `count` calls of Next would give them.
    void Generate(std::uint32_t* out, std::size_t count);

private:
    alignas(64) std::array<std::uint32_t, kStateWords> m_state{};
    // The state word that gives the next output; kStateWords means the state must be refreshed.
    std::size_t m_next = kStateWords;
};
