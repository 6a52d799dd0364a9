// The loop that adds a function of time to a block of sums, sample by sample on the grid, written
// once on Highway vectors for the terms of the fill and of the channel components.
//
// Included once per target by the files that dispatch (the toggle below is Highway's convention).

#if defined(QUELMAR_SYNTH_GRID_TERMS_INL_H_) == defined(HWY_TARGET_TOGGLE)
#ifdef QUELMAR_SYNTH_GRID_TERMS_INL_H_
#undef QUELMAR_SYNTH_GRID_TERMS_INL_H_
#else
#define QUELMAR_SYNTH_GRID_TERMS_INL_H_
#endif

#include <cstddef>

#include "hwy/highway.h"
#include "synth/Signal4.h"

HWY_BEFORE_NAMESPACE();
namespace portable_math {
namespace HWY_NAMESPACE {

namespace hn = hwy::HWY_NAMESPACE;

// sums[j] += term(d, t) for j from j up to count, a whole vector at a time (j is left at the
// first sample no whole vector covers), t being the time of sample first + j formed as
// SampleGrid::TimeAt forms it: start + index * step, the index held as an exact double.
template <class D, class Term>
HWY_INLINE void AddGridTerms(D d, double* sums, std::size_t first, std::size_t& j,
                             std::size_t count, const SampleGrid& grid, const Term& term) {
    const std::size_t lanes = hn::Lanes(d);
    const auto start = hn::Set(d, grid.start);
    const auto step = hn::Set(d, grid.step);
    const auto advance = hn::Set(d, static_cast<double>(lanes));
    auto index = hn::Iota(d, static_cast<double>(first + j));
    for (; j + lanes <= count; j += lanes, index = hn::Add(index, advance)) {
        const auto t = hn::Add(start, hn::Mul(index, step));
        hn::StoreU(hn::Add(hn::LoadU(d, sums + j), term(d, t)), d, sums + j);
    }
}

}  // namespace HWY_NAMESPACE
}  // namespace portable_math
HWY_AFTER_NAMESPACE();

#endif  // QUELMAR_SYNTH_GRID_TERMS_INL_H_
