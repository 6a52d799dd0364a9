#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <type_traits>

// Both binary files are little-endian with IEEE 754 reals, whatever the machine.
static_assert(std::numeric_limits<float>::is_iec559 && std::numeric_limits<double>::is_iec559);
static_assert(sizeof(float) == 4 && sizeof(double) == 8);

namespace byte_order {

template <class T>
using UnsignedOf = std::conditional_t<
    sizeof(T) == 1, std::uint8_t,
    std::conditional_t<sizeof(T) == 2, std::uint16_t,
                       std::conditional_t<sizeof(T) == 4, std::uint32_t, std::uint64_t>>>;

template <class T>
void StoreLe(unsigned char* out, T value) {
    auto bits = std::bit_cast<UnsignedOf<T>>(value);
    for (std::size_t i = 0; i < sizeof(T); ++i) {
        out[i] = static_cast<unsigned char>(bits & 0xffu);
        bits = static_cast<UnsignedOf<T>>(bits >> 8);
    }
}

template <class T>
T LoadLe(const unsigned char* in) {
    UnsignedOf<T> bits = 0;
    for (std::size_t i = sizeof(T); i-- > 0;) {
        bits = static_cast<UnsignedOf<T>>(bits << 8 | in[i]);
    }
    return std::bit_cast<T>(bits);
}

inline constexpr bool kNativeLittle = std::endian::native == std::endian::little;

}  // namespace byte_order
