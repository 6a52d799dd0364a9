#include "PeakBounds.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

// A peak of negative height is walked as its mirror image: the samples are compared negated
// (negation is exact), so it gets the bounds of the positive peak of the same size.
bool StopsFalling(float next, float current, double threshold, bool mirrored) {
    const double a = mirrored ? -static_cast<double>(next) : next;
    const double b = mirrored ? -static_cast<double>(current) : current;
    return std::fabs(a - b) <= threshold || a > b;
}

}  // namespace

IndexRange FindPeakBounds(const Signal4& signal, GenPeak4& peak) {
    const auto& s = signal.samples;
    const std::int64_t n = static_cast<std::int64_t>(s.size());
    if (peak.time > signal.GetEndTime() || n < 3) return {};

    const std::int64_t c = signal.GetIndex(peak.time);
    const std::int64_t w = signal.GetIndex(peak.width * 0.5);
    const double threshold = std::fabs(peak.height) * 1e-5;
    const bool mirrored = peak.height < 0.0;

    // A walk never starts beyond the last sample, even when the analysis is declared longer than
    // the samples held.
    std::int64_t left = 0;
    const std::int64_t left_start = std::min(c - w, n - 1);
    for (std::int64_t i = left_start; i > 0; --i) {
        if (StopsFalling(s[i - 1], s[i], threshold, mirrored)) {
            left = i;
            break;
        }
    }

    std::int64_t right = n - 1;
    const std::int64_t right_start = std::max<std::int64_t>(c + w, 0);
    for (std::int64_t j = right_start; j < n - 1; ++j) {
        if (StopsFalling(s[j + 1], s[j], threshold, mirrored)) {
            right = j;
            break;
        }
    }

    peak.front = signal.GetTime(left);
    peak.front_base_height = s[left];
    peak.back = signal.GetTime(right);
    peak.back_base_height = s[right];
    peak.auto_bounds = true;

    // The walks start between the bounds and each reads one sample beyond where it stopped.
    return {static_cast<std::size_t>(std::max<std::int64_t>(left - 1, 0)),
            static_cast<std::size_t>(std::min(right + 1, n - 1)) + 1};
}
