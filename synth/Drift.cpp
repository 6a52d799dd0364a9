// Drift, compiled once per dispatch target: every target forms the same products and sums as
// SampleGrid::TimeAt and the one-sample definition, so the bits do not depend on it.
#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "synth/Drift.cpp"
#include "hwy/foreach_target.h"  // must come before highway.h

#include <array>
#include <cstddef>

#include "hwy/highway.h"
#include "synth/Drift.h"

HWY_BEFORE_NAMESPACE();
namespace drift_lanes {
namespace HWY_NAMESPACE {

namespace hn = hwy::HWY_NAMESPACE;

// samples[i] becomes the float nearest to (start + i * step) * drift + samples[i], computed in
// double, for i in [i, last).
template <class D>
HWY_INLINE void DriftSpan(D d, float* samples, std::size_t& i, std::size_t last, SampleGrid grid,
                          double drift) {
    const hn::Rebind<float, D> df;
    const std::size_t lanes = hn::Lanes(d);
    const auto start = hn::Set(d, grid.start);
    const auto step = hn::Set(d, grid.step);
    const auto slope = hn::Set(d, drift);
    const auto advance = hn::Set(d, static_cast<double>(lanes));
    auto index = hn::Iota(d, static_cast<double>(i));
    for (; i + lanes <= last; i += lanes, index = hn::Add(index, advance)) {
        const auto t = hn::Add(start, hn::Mul(index, step));
        const auto sample = hn::PromoteTo(d, hn::LoadU(df, samples + i));
        hn::StoreU(hn::DemoteTo(df, hn::Add(hn::Mul(t, slope), sample)), df, samples + i);
    }
}

void AddDriftLanes(float* samples, std::size_t first, std::size_t last, SampleGrid grid,
                   double drift) {
    std::size_t i = first;
    DriftSpan(hn::ScalableTag<double>(), samples, i, last, grid, drift);
    DriftSpan(hn::CappedTag<double, 1>(), samples, i, last, grid, drift);
}

}  // namespace HWY_NAMESPACE
}  // namespace drift_lanes
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
namespace drift_lanes {
HWY_EXPORT(AddDriftLanes);
}  // namespace drift_lanes

void AddDriftWithin(Signal4& signal, double drift, std::span<const IndexRange> ranges) {
    using namespace drift_lanes;
    if (signal.samples.empty()) return;
    const SampleGrid grid = signal.Grid();
    for (const IndexRange& range : ranges)
        HWY_DYNAMIC_DISPATCH(AddDriftLanes)
        (signal.samples.data(), range.first, range.last, grid, drift);
}

void AddDrift(Signal4& signal, double drift) {
    const std::array<IndexRange, 1> everything{IndexRange{0, signal.samples.size()}};
    AddDriftWithin(signal, drift, everything);
}
#endif  // HWY_ONCE
