#pragma once

#include <cstdint>

// One step of SplitMix64: a 64-bit value mixed so that neighbouring inputs give unrelated outputs.
// Seeds derived from a seed and a number (a document, a channel) go through it, so that streams
// seeded from neighbouring numbers do not start alike.
inline std::uint64_t SplitMix64(std::uint64_t x) {
    x += 0x9e3779b97f4a7c15u;
    x = (x ^ (x >> 30)) * 0xbf58476d1ce4e5b9u;
    x = (x ^ (x >> 27)) * 0x94d049bb133111ebu;
    return x ^ (x >> 31);
}
