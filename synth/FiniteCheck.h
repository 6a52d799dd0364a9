#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string_view>

#include "Peak4.h"
#include "Signal4.h"

// The first value of a channel that is not finite (an infinity or NaN): a sample, or a value a
// peak stores.
struct NonFiniteValue {
    std::optional<std::size_t> sample;  // the sample's index, when it is a sample
    std::size_t peak = 0;               // otherwise the peak's position in its list,
    std::string_view field;             // and the value's key ("front", "area", "width", ...)
};

// Looks at the samples first, then at the peaks in list order, each with its real values in
// stored order: front, back, time, area, height, concent, front_base_height, back_base_height,
// index; a GenPeak4 then also width, window_front, window_back, window_front_height and
// window_back_height.
std::optional<NonFiniteValue> FindNonFiniteValue(const Signal4& signal,
                                                 std::span<const Peak4> peaks);
std::optional<NonFiniteValue> FindNonFiniteValue(const Signal4& signal,
                                                 std::span<const GenPeak4> peaks);
