#include "PeakColumns.h"

#include <cmath>
#include <limits>

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
