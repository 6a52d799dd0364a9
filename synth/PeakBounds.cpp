#include "PeakBounds.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

bool StopsFalling(float next, float current, double threshold) {
    const double a = next;
    const double b = current;
    return std::fabs(a - b) <= threshold || a > b;
}

}  // namespace

void FindPeakBounds(const Signal4& signal, GenPeak4& peak) {
    const auto& s = signal.samples;
    const std::int64_t n = static_cast<std::int64_t>(s.size());
    if (peak.time > signal.GetEndTime() || n < 3) return;

    const std::int64_t c = signal.GetIndex(peak.time);
    const std::int64_t w = signal.GetIndex(peak.width * 0.5);
    const double threshold = peak.height * 1e-5;

    // A walk never starts beyond the last sample, even when the analysis is declared longer than
    // the samples held.
    std::int64_t left = 0;
    std::int64_t i = std::min(c - w, n - 1);
    for (; i > 0; --i) {
        if (StopsFalling(s[i - 1], s[i], threshold)) {
            left = i;
            break;
        }
    }

    std::int64_t right = n - 1;
    std::int64_t j = std::max<std::int64_t>(c + w, 0);
    for (; j < n - 1; ++j) {
        if (StopsFalling(s[j + 1], s[j], threshold)) {
            right = j;
            break;
        }
    }

    peak.front = signal.GetTime(left);
    peak.front_base_height = s[left];
    peak.back = signal.GetTime(right);
    peak.back_base_height = s[right];
    peak.auto_bounds = true;
}
