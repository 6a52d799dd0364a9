#pragma once

#include <cstdint>

// Colours of one grid row as 0x00RRGGBB values; kDefaultRowColor keeps the list's own colour.
// A selected row is painted in the highlight colours whatever its record says.
inline constexpr std::uint32_t kDefaultRowColor = 0xFF000000;

struct RowColors {
    std::uint32_t text = kDefaultRowColor;
    std::uint32_t background = kDefaultRowColor;
};
