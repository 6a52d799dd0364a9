#include "FiniteValues.h"

#include <algorithm>
#include <cmath>

namespace {

bool FinitePeak(const GenPeak4& p) {
    for (const double v :
         {p.front, p.back, p.time, p.area, p.height, p.front_base_height, p.back_base_height,
          p.width, p.window_front, p.window_back, p.window_front_height, p.window_back_height})
        if (!std::isfinite(v)) return false;
    return true;
}

}  // namespace

bool FindNonFinite(const Signal4& signal, const std::vector<GenPeak4>& peaks) {
    const auto& s = signal.samples;
    return !std::all_of(s.begin(), s.end(), [](float v) { return std::isfinite(v); }) ||
           !std::all_of(peaks.begin(), peaks.end(), FinitePeak);
}
