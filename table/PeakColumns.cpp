#include "PeakColumns.h"

#include <charconv>
#include <cmath>
#include <iterator>
#include <limits>

std::string FormatPeakNumber(double value) {
    // The longest value, DBL_MAX, takes 309 digits before the point.
    char text[400];
    const auto written =
        std::to_chars(std::begin(text), std::end(text), value, std::chars_format::fixed, 3);
    return std::string(text, written.ptr);
}

bool IsAcceptablePeakValue(int column, double value) {
    if (!std::isfinite(value)) return false;
    switch (column) {
        case kWidthColumn:
            return value > 0.0;
        case kHeightColumn:
            return std::fabs(value) <= std::numeric_limits<float>::max();
        default:
            return true;
    }
}
