#pragma once

#include <bit>
#include <cstdint>
#include <cstdlib>

// How many floats lie between a and b, plus one: 0 for the same value (+0 and -0 included), 1 for
// neighbours.
inline std::int64_t UlpDistance(float a, float b) {
    auto ordered = [](float x) {
        const std::int32_t bits = std::bit_cast<std::int32_t>(x);
        return bits < 0 ? -static_cast<std::int64_t>(bits & 0x7fffffff) : bits;
    };
    return std::llabs(ordered(a) - ordered(b));
}
