// The inner loops of the fill, compiled once per dispatch target, and GaussPeak, which is the same
// code on one lane.
#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "synth/FillKernels.cpp"
#include "hwy/foreach_target.h"  // must come before highway.h

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "hwy/highway.h"
#include "synth/FillKernels.h"
#include "synth/GaussPeak.h"
#include "synth/GridTerms-inl.h"
#include "synth/PortableMath-inl.h"
#include "synth/TailedPeak-inl.h"

HWY_BEFORE_NAMESPACE();
namespace portable_math {
namespace HWY_NAMESPACE {

template <class D, class V = hn::VFromD<D>>
HWY_INLINE V GaussTerm(D d, V t, double height, double width, double time) {
    const V scaled = hn::Div(hn::Sub(t, hn::Set(d, time)), hn::Set(d, width));
    return hn::Mul(ExpOfNonPositive(d, hn::Neg(hn::Mul(scaled, scaled))), hn::Set(d, height));
}

double GaussPeakOneLane(double t, double height, double width, double time) {
    const hn::CappedTag<double, 1> d;
    return hn::GetLane(GaussTerm(d, hn::Set(d, t), height, width, time));
}

// The exponent fields of the sums, as unsigned lanes.
template <class D, class V = hn::VFromD<D>>
HWY_INLINE auto FieldsOf(D /*d*/, V sums) {
    const hn::RebindToUnsigned<D> du;
    return hn::And(hn::ShiftRight<52>(hn::BitCast(du, sums)), hn::Set(du, 0x7ffu));
}

// Whether adding a term of exponent -q to the partial sum S certainly leaves S as it is, judged
// from a bound on the term: the exponential is within a few units in the last place, so the term
// is below 2 e^(-q) |height|. With f the exponent field of S, the test is
//   q > ln |height| + 56 ln 2 + 1 + (1023 - f) ln 2,
// which puts the term below 2^(f - 1023 - 55), under a quarter of S's last place when S is
// normal, so S + term == S. For a zero or subnormal S (f = 0) the term is below 2^-1078 and is
// computed as zero, which leaves S as it is too; an infinite or NaN S stays what it is whatever is
// added. Skipping such a term therefore changes no bit of any sum. `limit` holds the terms without
// f, and the extra 1 absorbs the rounding of the test itself.
template <class D, class V = hn::VFromD<D>>
HWY_INLINE auto TermIsNegligible(D d, V q, V sum, V limit) {
    const hn::RebindToUnsigned<D> du;
    // The field as a double: its bits under the exponent of 2^52, then 2^52 taken away.
    const auto field = FieldsOf(d, sum);
    const V two52 = hn::Set(d, 0x1p52);
    const V f = hn::Sub(hn::BitCast(d, hn::Or(field, hn::BitCast(du, two52))), two52);
    return hn::Gt(q, hn::Sub(limit, hn::Mul(f, hn::Set(d, kLn2))));
}

// Sample times are formed as in SampleGrid::TimeAt: start + index * step, the index held as an
// exact double.
template <class D>
HWY_INLINE void AddTermsWith(D d, double* sums, std::size_t first, std::size_t& j,
                             std::size_t count, const SampleGrid& grid, double height, double width,
                             double time, double limit) {
    const std::size_t lanes = hn::Lanes(d);
    const auto start = hn::Set(d, grid.start);
    const auto step = hn::Set(d, grid.step);
    const auto centre = hn::Set(d, time);
    const auto scale = hn::Set(d, width);
    const auto amplitude = hn::Set(d, height);
    const auto negligible_beyond = hn::Set(d, limit);
    const auto advance = hn::Set(d, static_cast<double>(lanes));
    auto index = hn::Iota(d, static_cast<double>(first + j));
    for (; j + lanes <= count; j += lanes, index = hn::Add(index, advance)) {
        const auto t = hn::Add(start, hn::Mul(index, step));
        const auto scaled = hn::Div(hn::Sub(t, centre), scale);
        const auto q = hn::Mul(scaled, scaled);
        const auto sum = hn::LoadU(d, sums + j);
        if (hn::AllTrue(d, TermIsNegligible(d, q, sum, negligible_beyond))) continue;
        const auto term = hn::Mul(ExpOfNonPositive(d, hn::Neg(q)), amplitude);
        hn::StoreU(hn::Add(sum, term), d, sums + j);
    }
}

void AddGaussTermsLanes(double* sums, std::size_t first, std::size_t count, SampleGrid grid,
                        double height, double width, double time) {
    const double limit = std::log(std::fabs(height)) + (56.0 + 1023.0) * kLn2 + 1.0;
    std::size_t j = 0;
    AddTermsWith(hn::ScalableTag<double>(), sums, first, j, count, grid, height, width, time,
                 limit);
    AddTermsWith(hn::CappedTag<double, 1>(), sums, first, j, count, grid, height, width, time,
                 limit);
}

// sums[j] += the tailing or fronting peak's term at sample first + j, for j in [j, count) a vector
// at a time, each sample on its own (TailedTerm). Negligible terms are left out a stretch at a time
// by the caller: within a stretch that may matter nearly every vector does, and adding a term that
// changes no sum changes no bit.
template <class D>
HWY_INLINE void AddTailedTermsWith(D d, double* sums, std::size_t first, std::size_t& j,
                                   std::size_t count, const SampleGrid& grid, const TailSampling& k,
                                   const TailShape& shape, double time) {
    AddGridTerms(d, sums, first, j, count, grid, [&](auto tag, auto t) {
        return TailedTerm(tag, TailArgument(tag, t, k, shape, time), k, shape);
    });
}

// The same for a stretch (count <= kTailBlock) whose every sample lies where the erfc's argument
// x is not negative, as on a peak's front: TailedTerm in two passes, the exponent first and the
// exponential second, as AddTailBlockWith does. Returns false, having added nothing, when a
// sample lies beyond.
template <class D>
HWY_INLINE bool AddTailedFrontWith(D d, double* sums, std::size_t first, std::size_t& j,
                                   std::size_t count, const SampleGrid& grid, const TailSampling& k,
                                   const TailShape& shape, double time) {
    HWY_ALIGN double arguments[kTailBlock];
    HWY_ALIGN double exponents[kTailBlock];
    HWY_ALIGN double fractions[kTailBlock];
    count = std::min(count, kTailBlock);  // already so; stated for the compiler
    const std::size_t lanes = hn::Lanes(d);
    const auto start = hn::Set(d, grid.start);
    const auto step = hn::Set(d, grid.step);
    const auto advance = hn::Set(d, static_cast<double>(lanes));
    auto index = hn::Iota(d, static_cast<double>(first + j));
    auto before = hn::FirstN(d, lanes);
    std::size_t end = j;
    for (; end + lanes <= count; end += lanes, index = hn::Add(index, advance)) {
        const auto z = TailArgument(d, hn::Add(start, hn::Mul(index, step)), k, shape, time);
        const auto x = FrontArgumentOf(d, z, shape.decay);
        before = hn::And(before, hn::Ge(x, hn::Zero(d)));
        hn::VFromD<D> fraction;
        hn::Store(FrontExponentOf(d, z, x, fraction), d, exponents + end);
        hn::Store(fraction, d, fractions + end);
        hn::Store(z, d, arguments + end);
    }
    if (!hn::AllTrue(d, before)) return false;
    for (; j < end; j += lanes) {
        const auto z = hn::Load(d, arguments + j);
        const auto unit = FrontFrom(d, hn::Load(d, exponents + j), hn::Load(d, fractions + j));
        hn::StoreU(hn::Add(hn::LoadU(d, sums + j), TailedTermFrom(d, z, unit, k, shape)), d,
                   sums + j);
    }
    return true;
}

// The same over part of a tail block (TailedPeak.h) whose anchor gives `anchor`, sample first + j
// having the weight weights[j + shift] (j + shift < kTailBlock): TailBlockTerm of the anchor's
// factor times the weight. `lowest` is lowered to the smallest exponent field of the new sums, so
// that the next peak can judge the stretch without reading it again.
template <class D>
HWY_INLINE void AddTailBlockWith(D d, double* sums, const double* weights, std::size_t shift,
                                 std::size_t first, std::size_t& j, std::size_t count,
                                 const SampleGrid& grid, const TailAnchor& anchor,
                                 const TailSampling& k, const TailShape& shape, double time,
                                 std::uint64_t& lowest) {
    // Already so; stated so that the compiler sees the loops are bounded.
    count = std::min(count, kTailBlock - shift);
    const std::size_t lanes = hn::Lanes(d);
    const hn::RebindToUnsigned<D> du;
    auto fields = hn::Set(du, lowest);
    const auto factor = hn::Set(d, anchor.factor);
    if (anchor.far) {
        // erfc is exactly 2 at every sample, so each term is its weighted factor.
        for (; j + lanes <= count; j += lanes) {
            const auto term = hn::Mul(factor, hn::LoadU(d, weights + (j + shift)));
            const auto sum = hn::Add(hn::LoadU(d, sums + j), term);
            fields = hn::Min(fields, FieldsOf(d, sum));
            hn::StoreU(sum, d, sums + j);
        }
    } else {
        // TailBlockTerm in two passes over the stretch, the erfc fit's exponent first and the
        // exponential second: a sample's operations form one long chain, and two shorter loops
        // let the processor work on more samples at once. Every lane needs the fit here but for
        // the last few of a stretch, so computing it for all of them costs nothing and changes no
        // value.
        HWY_ALIGN double arguments[kTailBlock];
        HWY_ALIGN double exponents[kTailBlock];
        HWY_ALIGN double fractions[kTailBlock];
        const auto start = hn::Set(d, grid.start);
        const auto step = hn::Set(d, grid.step);
        const auto advance = hn::Set(d, static_cast<double>(lanes));
        auto index = hn::Iota(d, static_cast<double>(first + j));
        const std::size_t begin = j;
        for (; j + lanes <= count; j += lanes, index = hn::Add(index, advance)) {
            const auto t = hn::Add(start, hn::Mul(index, step));
            const auto y = TailBlockErfcArgument(d, TailArgument(d, t, k, shape, time), shape);
            hn::VFromD<D> fraction;
            hn::Store(ErfcFitExponentOf(d, y, fraction), d, exponents + j);
            hn::Store(fraction, d, fractions + j);
            hn::Store(y, d, arguments + j);
        }
        for (std::size_t m = begin; m < j; m += lanes) {
            const auto two_less_erfc =
                TwoLessErfcFrom(d, hn::Load(d, arguments + m), hn::Load(d, exponents + m),
                                hn::Load(d, fractions + m));
            const auto term = TailBlockTermFrom(
                d, two_less_erfc, hn::Mul(factor, hn::LoadU(d, weights + (m + shift))));
            const auto sum = hn::Add(hn::LoadU(d, sums + m), term);
            fields = hn::Min(fields, FieldsOf(d, sum));
            hn::StoreU(sum, d, sums + m);
        }
    }
    lowest = hn::GetLane(hn::MinOfLanes(du, fields));
}

// Whether every sum of sums[0 .. count) has an exponent field of at least `least`, read a vector
// at a time and given up at the first vector that has not (the stretch is then summed, so its
// smallest field is not needed); if so, `lowest` is set to their smallest field.
template <class D>
HWY_INLINE bool FieldsAtLeast(D d, const double* sums, std::size_t count, std::uint64_t least,
                              double& lowest) {
    const hn::RebindToUnsigned<D> du;
    const std::size_t lanes = hn::Lanes(d);
    const auto floor = hn::Set(du, least);
    auto smallest = hn::Set(du, 0x7ffu);
    std::size_t j = 0;
    for (; j + lanes <= count; j += lanes) {
        const auto field = FieldsOf(d, hn::LoadU(d, sums + j));
        if (!hn::AllFalse(du, hn::Lt(field, floor))) return false;
        smallest = hn::Min(smallest, field);
    }
    std::uint64_t field = hn::GetLane(hn::MinOfLanes(du, smallest));
    for (; j < count; ++j) {
        std::uint64_t bits = 0;
        std::memcpy(&bits, sums + j, sizeof bits);
        field = std::min<std::uint64_t>(field, (bits >> 52) & 0x7ffu);
    }
    if (field < least) return false;
    lowest = static_cast<double>(field);
    return true;
}

// The smallest bound exponent (TailDecayOf) over the samples whose shape arguments run from
// z_a to z_b, from the ends: the bound falls towards z = 0 before decay and rises beyond it.
// Returns 0, which skips nothing, for a stretch across decay.
double LowestDecay(double z_a, double z_b, double decay) {
    const double lo = std::min(z_a, z_b);
    const double hi = std::max(z_a, z_b);
    if (lo > decay) return lo * decay - 0.5 * decay * decay;
    if (hi > decay) return 0.0;
    if (lo <= 0.0 && hi >= 0.0) return 0.0;
    return 0.5 * std::min(lo * lo, hi * hi);
}

// Whether terms of smallest bound exponent q leave every sum of the stretch holding sample i as it
// is: q > limit - f kLn2 for the stretch's smallest exponent field f, as TermIsNegligible judges
// one sum. The field is remembered between peaks; when it is not known, the sums are read only
// until one is too small.
template <class D>
HWY_INLINE bool Negligible(D d, SumBlock& block, std::size_t i, double q, double limit) {
    auto negligible_at = [&](double field) { return q > limit - field * kLn2; };
    const double known = block.KnownField(i);
    if (known >= 0.0) return negligible_at(known);
    // The smallest field that would do, the test being monotonic in the field.
    double least = (limit - q) / kLn2;
    least = least >= 0.0 ? std::min(std::ceil(least), 2048.0) : 0.0;
    while (least > 0.0 && negligible_at(least - 1.0)) least -= 1.0;
    while (least < 2048.0 && !negligible_at(least)) least += 1.0;
    const IndexRange stretch = block.StretchAround(i);
    double lowest = 0.0;
    if (!FieldsAtLeast(d, block.Sums(stretch.first), stretch.last - stretch.first,
                       static_cast<std::uint64_t>(least), lowest))
        return false;
    block.RememberField(i, lowest);
    return true;
}

// The term is below 2 e^-q |height / apex_value| (TailDecayOf), twice the Gaussian's bound, so the
// limit of TermIsNegligible takes the log of twice the scale.
double TailedNegligibleBeyond(const TailSampling& k) {
    return std::log(2.0 * std::fabs(k.scale)) + (56.0 + 1023.0) * kLn2 + 1.0;
}

// The weights e^(-k step_decay) of the samples k samples from their block's anchor, by position.
void TailWeightsLanes(double* weights, double step, double width, TailShape shape) {
    const TailSampling k = SamplingOf(step, 0.0, width, shape);
    const hn::ScalableTag<double> d;
    static_assert(kTailBlock % (HWY_MAX_BYTES / sizeof(double)) == 0);
    for (std::size_t m = 0; m < kTailBlock; m += hn::Lanes(d)) {
        const auto position = hn::Iota(d, static_cast<double>(m));
        const auto distance =
            shape.fronting ? hn::Sub(hn::Set(d, static_cast<double>(kTailBlock - 1)), position)
                           : position;
        hn::Store(TailWeightOf(d, distance, k), d, weights + m);
    }
}

// Samples are judged a tail block's stretch at a time before they are judged a vector at a time;
// within a stretch that may matter nearly every vector does.
void AddTailedTermsLanes(SumBlock& block, std::size_t from, std::size_t to, SampleGrid grid,
                         double height, double width, TailShape shape, double time,
                         const double* weights, double limit) {
    const TailSampling k = SamplingOf(grid.step, height, width, shape);
    auto argument = [&](std::size_t i) {
        const double u = (grid.TimeAt(i) - time) * k.per_sigma;
        return shape.fronting ? shape.apex - u : shape.apex + u;
    };
    const hn::ScalableTag<double> d;
    const hn::CappedTag<double, 1> d1;

    // A peak's far tail mostly crosses whole blocks without changing a sum, which is judged first
    // for all of [from, to) at once when the block knows the smallest field of each stretch.
    const double known = block.KnownField(from, to);
    if (known >= 0.0 &&
        LowestDecay(argument(from), argument(to - 1), shape.decay) > limit - known * kLn2)
        return;

    for (std::size_t i = from; i < to;) {
        const std::size_t end = std::min(to, i - i % kTailBlock + kTailBlock);
        // A whole stretch whose every term is certainly negligible, judged with its smallest
        // bound exponent against its smallest sum, is skipped without looking at its vectors.
        const double q = LowestDecay(argument(i), argument(end - 1), shape.decay);
        if (Negligible(d, block, i, q, limit)) {
            i = end;
            continue;
        }
        double* sums = block.Sums(i);
        std::size_t j = 0;
        const TailAnchor anchor =
            TailAnchorAt(TailAnchorOf(i, shape.fronting), grid, k, shape, time);
        const IndexRange stretch = block.StretchAround(i);
        if (anchor.block) {
            const std::size_t shift = i % kTailBlock;
            std::uint64_t lowest = 0x7ffu;
            AddTailBlockWith(d, sums, weights, shift, i, j, end - i, grid, anchor, k, shape, time,
                             lowest);
            AddTailBlockWith(d1, sums, weights, shift, i, j, end - i, grid, anchor, k, shape, time,
                             lowest);
            // Every sum of the stretch was written, so its smallest field is known.
            if (stretch.first == i && stretch.last == end)
                block.RememberField(i, static_cast<double>(lowest));
            else
                block.Forget(i, end);
        } else {
            if (!AddTailedFrontWith(d, sums, i, j, end - i, grid, k, shape, time))
                AddTailedTermsWith(d, sums, i, j, end - i, grid, k, shape, time);
            AddTailedTermsWith(d1, sums, i, j, end - i, grid, k, shape, time);
            block.Forget(i, end);
        }
        i = end;
    }
}

template <class D>
HWY_INLINE void RoundSpan(D d, const double* sums, float* out, std::size_t& j, std::size_t count) {
    const hn::Rebind<float, D> df;
    const std::size_t lanes = hn::Lanes(d);
    for (; j + lanes <= count; j += lanes)
        hn::StoreU(hn::DemoteTo(df, hn::LoadU(d, sums + j)), df, out + j);
}

void RoundToFloatsLanes(const double* sums, float* out, std::size_t count) {
    std::size_t j = 0;
    RoundSpan(hn::ScalableTag<double>(), sums, out, j, count);
    RoundSpan(hn::CappedTag<double, 1>(), sums, out, j, count);
}

}  // namespace HWY_NAMESPACE
}  // namespace portable_math
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
namespace portable_math {
HWY_EXPORT(AddGaussTermsLanes);
HWY_EXPORT(AddTailedTermsLanes);
HWY_EXPORT(TailWeightsLanes);
HWY_EXPORT(RoundToFloatsLanes);
}  // namespace portable_math

double GaussPeak(double t, double height, double width, double time) {
    using namespace portable_math;
    return HWY_STATIC_DISPATCH(GaussPeakOneLane)(t, height, width, time);
}

void AddGaussTerms(double* sums, std::size_t first, std::size_t count, const SampleGrid& grid,
                   double height, double width, double time) {
    using namespace portable_math;
    HWY_DYNAMIC_DISPATCH(AddGaussTermsLanes)(sums, first, count, grid, height, width, time);
}

SumBlock::SumBlock(double* sums, std::size_t first, std::size_t count)
    : sums_(sums), first_(first), count_(count) {
    fields_.fill(-1.0);
}

void SumBlock::Forget(std::size_t from, std::size_t to) {
    if (from >= to) return;
    std::fill(fields_.begin() + static_cast<std::ptrdiff_t>(StretchOf(from)),
              fields_.begin() + static_cast<std::ptrdiff_t>(StretchOf(to - 1) + 1), -1.0);
}

double SumBlock::KnownField(std::size_t from, std::size_t to) const {
    double lowest = fields_[StretchOf(from)];
    for (std::size_t s = StretchOf(from) + 1; s <= StretchOf(to - 1); ++s)
        lowest = std::min(lowest, fields_[s]);
    return lowest;
}

void MakeTailedPeakSetup(TailedPeakSetup& setup, const SampleGrid& grid, double height,
                         double width, const TailShape& shape) {
    using namespace portable_math;
    HWY_DYNAMIC_DISPATCH(TailWeightsLanes)(setup.weights.data(), grid.step, width, shape);
    setup.negligible_beyond =
        HWY_STATIC_DISPATCH(TailedNegligibleBeyond)(SamplingOf(grid.step, height, width, shape));
}

void AddTailedTerms(SumBlock& block, std::size_t from, std::size_t to, const SampleGrid& grid,
                    double height, double width, const TailShape& shape, double time,
                    const TailedPeakSetup& setup) {
    using namespace portable_math;
    HWY_DYNAMIC_DISPATCH(AddTailedTermsLanes)
    (block, from, to, grid, height, width, shape, time, setup.weights.data(),
     setup.negligible_beyond);
}

void AddTailedTerms(double* sums, std::size_t first, std::size_t count, const SampleGrid& grid,
                    double height, double width, const TailShape& shape, double time) {
    TailedPeakSetup setup;
    MakeTailedPeakSetup(setup, grid, height, width, shape);
    for (std::size_t done = 0; done < count; done += SumBlock::kMaxSamples) {
        const std::size_t part = std::min(SumBlock::kMaxSamples, count - done);
        SumBlock block(sums + done, first + done, part);
        AddTailedTerms(block, first + done, first + done + part, grid, height, width, shape, time,
                       setup);
    }
}

void RoundToFloats(const double* sums, float* out, std::size_t count) {
    using namespace portable_math;
    HWY_DYNAMIC_DISPATCH(RoundToFloatsLanes)(sums, out, count);
}
#endif  // HWY_ONCE
