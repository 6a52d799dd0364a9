#include "PeakArea.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <utility>

namespace {

void RefreshBaselineAndWindow(const Signal4& signal, GenPeak4& peak) {
    peak.front_base_height = signal.GetValue(peak.front);
    peak.back_base_height = signal.GetValue(peak.back);
    peak.window_front = peak.time - peak.width;
    peak.window_back = peak.time + peak.width;
    peak.window_front_height = signal.GetValue(peak.window_front);
    peak.window_back_height = signal.GetValue(peak.window_back);
}

// floor or ceil of a sample position, held inside [-1, n] before the conversion so that a bound
// far outside the signal cannot overflow the integer.
std::int64_t ToIndex(double position, std::int64_t n) {
    return static_cast<std::int64_t>(std::clamp(position, -1.0, static_cast<double>(n)));
}

// The samples from one before the earlier of two times to two after the later, held inside the
// signal and always including two samples, since interpolation reads the first or last pair for
// times outside it. A position that is not a number gives every sample.
IndexRange SamplesAround(const SampleGrid& grid, std::size_t n, double a, double b) {
    const double position_a = (a - grid.start) / grid.step;
    const double position_b = (b - grid.start) / grid.step;
    if (n < 2 || std::isnan(position_a) || std::isnan(position_b)) return {0, n};
    const double first = std::floor(std::min(position_a, position_b)) - 1.0;
    const double last = std::ceil(std::max(position_a, position_b)) + 2.0;
    const double top = static_cast<double>(n);
    return {static_cast<std::size_t>(std::clamp(first, 0.0, top - 2.0)),
            static_cast<std::size_t>(std::clamp(last, 2.0, top))};
}

double StoreArea(GenPeak4& peak, double area) {
    peak.area = area;
    return area;
}

}  // namespace

double ComputePeakArea(const Signal4& signal, GenPeak4& peak) {
    if (peak.left < 0 && peak.right < 0) RefreshBaselineAndWindow(signal, peak);

    const SampleGrid grid = signal.Grid();
    if (peak.front == peak.back || grid.step == 0.0) return StoreArea(peak, 0.0);
    if (!std::isfinite(peak.front) || !std::isfinite(peak.back) || !std::isfinite(grid.step) ||
        !std::isfinite(grid.start))
        return StoreArea(peak, 0.0);

    if (peak.front > peak.back) std::swap(peak.front, peak.back);
    if (peak.window_front > peak.window_back) std::swap(peak.window_front, peak.window_back);

    const auto& s = signal.samples;
    const std::int64_t n = static_cast<std::int64_t>(s.size());
    std::int64_t i = ToIndex(std::ceil((peak.front - grid.start) / grid.step), n);
    std::int64_t l = ToIndex(std::floor((peak.back - grid.start) / grid.step), n);
    l = std::min(l, n - 2);
    i = std::max<std::int64_t>(i, 1);
    if (i > l) return StoreArea(peak, 0.0);

    const double ti = grid.TimeAt(static_cast<std::size_t>(i));
    const double tl = grid.TimeAt(static_cast<std::size_t>(l));
    // Neighbouring differences and the half-sum of the end samples are formed in single
    // precision, as the samples themselves; everything else in double.
    const float rise_front = s[i] - s[i - 1];
    const float rise_back = s[l + 1] - s[l];
    const double y_front = s[i] + rise_front * (peak.front - ti) / grid.step;
    const double y_back = s[l] + rise_back * (peak.back - tl) / grid.step;

    double sum = 0.0;
    for (std::int64_t k = i; k <= l; ++k) sum += s[k];
    const float half_ends = (s[i] + s[l]) * 0.5f;

    const double area =
        (s[i] + y_front) * 0.5 * (ti - peak.front) + (sum - half_ends) * grid.step +
        (s[l] + y_back) * 0.5 * (peak.back - tl) -
        (peak.front_base_height + peak.back_base_height) * (peak.back - peak.front) * 0.5;
    return StoreArea(peak, area);
}

std::array<IndexRange, 3> SamplesReadByArea(const Signal4& signal, const GenPeak4& peak) {
    const SampleGrid grid = signal.Grid();
    const std::size_t n = signal.Size();
    const IndexRange bounds = SamplesAround(grid, n, peak.front, peak.back);
    if (!(peak.left < 0 && peak.right < 0)) return {bounds, IndexRange{}, IndexRange{}};
    const double before = peak.time - peak.width;
    const double after = peak.time + peak.width;
    return {bounds, SamplesAround(grid, n, before, before), SamplesAround(grid, n, after, after)};
}
