// The tailing and fronting peak shape (TailedPeak.h) written once on Highway vectors: the vector
// fill and the one-lane TailedPeak run exactly these IEEE operations in this order (no fused
// multiply-add; the library is compiled with -ffp-contract=off), so each lane's value has the same
// bits on every target.
//
// Included once per target by the files that dispatch (the toggle below is Highway's convention).

#if defined(QUELMAR_SYNTH_TAILED_PEAK_INL_H_) == defined(HWY_TARGET_TOGGLE)
#ifdef QUELMAR_SYNTH_TAILED_PEAK_INL_H_
#undef QUELMAR_SYNTH_TAILED_PEAK_INL_H_
#else
#define QUELMAR_SYNTH_TAILED_PEAK_INL_H_
#endif

#include <array>
#include <cstddef>

#include "hwy/highway.h"
#include "synth/PortableMath-inl.h"
#include "synth/Signal4.h"
#include "synth/TailShape.h"
#include "synth/TailedPeak.h"

HWY_BEFORE_NAMESPACE();
namespace portable_math {
namespace HWY_NAMESPACE {

inline constexpr double kSqrtHalf = 0.70710678118654752440;

// The exponent of the Chebyshev fit of erfc: erfc(x) = t e^(ErfcFit(t) - x^2) for x >= 0 with
// t = 1 / (1 + x/2), relative error below 1.2e-7. Horner's scheme from the highest coefficient.
inline constexpr std::array<double, 10> kErfcFit = {
    -1.26551223, 1.00002368,  0.37409196, 0.09678418,  -0.18628806,
    0.27886807,  -1.13520398, 1.48851587, -0.82215223, 0.17087277};

template <class D, class V = hn::VFromD<D>>
HWY_INLINE V ErfcFitOf(D d, V t) {
    V p = hn::Set(d, kErfcFit.back());
    for (std::size_t k = kErfcFit.size() - 1; k-- > 0;)
        p = hn::Add(hn::Set(d, kErfcFit[k]), hn::Mul(t, p));
    return p;
}

// e^min(x, 0): the shape's exponentials, whose arguments are not positive but for the fit's
// 3e-8 at x = 0.
template <class D, class V = hn::VFromD<D>>
HWY_INLINE V ExpHeld(D d, V x) {
    return ExpOfNonPositive(d, hn::IfThenElse(hn::Gt(x, hn::Zero(d)), hn::Zero(d), x));
}

// e^(x^2) erfc(x) for x >= 0.
template <class D, class V = hn::VFromD<D>>
HWY_INLINE V ScaledErfcOf(D d, V x) {
    const V t = hn::Div(hn::Set(d, 1.0), hn::Add(hn::Set(d, 1.0), hn::Mul(hn::Set(d, 0.5), x)));
    return hn::Mul(t, ExpHeld(d, ErfcFitOf(d, t)));
}

// The exponent of the shape's exponential tail at z: decay^2/2 - z decay.
template <class D, class V = hn::VFromD<D>>
HWY_INLINE V TailExponentOf(D d, V z, double decay) {
    return hn::Sub(hn::Mul(hn::Mul(hn::Set(d, 0.5), hn::Set(d, decay)), hn::Set(d, decay)),
                   hn::Mul(z, hn::Set(d, decay)));
}

// 2 - erfc(y) for y >= 0 in two halves, so that a loop can run them as two passes: the fit's
// exponent (setting its t), then the value from it, exactly 2 once y > kErfcIsTwo.
template <class D, class V = hn::VFromD<D>>
HWY_INLINE V ErfcFitExponentOf(D d, V y, V& t) {
    const V one = hn::Set(d, 1.0);
    t = hn::Div(one, hn::Add(one, hn::Mul(hn::Set(d, 0.5), y)));
    return hn::Add(hn::Mul(hn::Neg(y), y), ErfcFitOf(d, t));
}

template <class D, class V = hn::VFromD<D>>
HWY_INLINE V TwoLessErfcFrom(D d, V y, V exponent, V t) {
    const V near = hn::Sub(hn::Set(d, 2.0), hn::Mul(ExpHeld(d, exponent), t));
    return hn::IfThenElse(hn::Gt(y, hn::Set(d, kErfcIsTwo)), hn::Set(d, 2.0), near);
}

// erfc(-y) = 2 - erfc(y) for y >= 0, exactly 2 once y > kErfcIsTwo. Lanes in `unused` need no
// value: the fit is skipped when every other lane is that far, which changes no lane's value.
template <class D, class V = hn::VFromD<D>, class M = hn::Mask<D>>
HWY_INLINE V TwoLessErfcOf(D d, V y, M unused) {
    const auto far = hn::Gt(y, hn::Set(d, kErfcIsTwo));
    if (hn::AllTrue(d, hn::Or(far, unused))) return hn::Set(d, 2.0);
    V t;
    const V exponent = ErfcFitExponentOf(d, y, t);
    return TwoLessErfcFrom(d, y, exponent, t);
}

// The exponentially modified Gaussian of unit sigma centred at 0, up to a constant factor:
// e^(decay^2/2 - z decay) erfc((decay - z)/sqrt 2), written so that no exponential has a positive
// argument: where x = (decay - z)/sqrt 2 >= 0 as e^(-z^2/2) times the scaled erfc, beyond it with
// erfc(x) = 2 - erfc(-x), and erfc(x) exactly 2 once -x > kErfcIsTwo. Both forms are computed only
// for lanes that need them, which changes no lane's value.
template <class D, class V = hn::VFromD<D>>
HWY_INLINE V FrontArgumentOf(D d, V z, double decay) {
    return hn::Mul(hn::Sub(hn::Set(d, decay), z), hn::Set(d, kSqrtHalf));
}

// The form where x >= 0 in two halves, so that a loop can run them as two passes: the exponent
// (setting the fit's t), then the value from it.
template <class D, class V = hn::VFromD<D>>
HWY_INLINE V FrontExponentOf(D d, V z, V x, V& t) {
    const V one = hn::Set(d, 1.0);
    t = hn::Div(one, hn::Add(one, hn::Mul(hn::Set(d, 0.5), x)));
    return hn::Add(hn::Mul(hn::Mul(hn::Set(d, -0.5), z), z), ErfcFitOf(d, t));
}

template <class D, class V = hn::VFromD<D>>
HWY_INLINE V FrontFrom(D d, V exponent, V t) {
    return hn::Mul(ExpHeld(d, exponent), t);
}

template <class D, class V = hn::VFromD<D>>
HWY_INLINE V UnitTailOf(D d, V z, double decay) {
    const V x = FrontArgumentOf(d, z, decay);
    const auto before = hn::Ge(x, hn::Zero(d));
    V front = hn::Zero(d);
    if (!hn::AllFalse(d, before)) {
        V t;
        const V exponent = FrontExponentOf(d, z, x, t);
        front = FrontFrom(d, exponent, t);
    }
    if (hn::AllTrue(d, before)) return front;
    const V tail = ExpHeld(d, TailExponentOf(d, z, decay));
    return hn::IfThenElse(before, front, hn::Mul(tail, TwoLessErfcOf(d, hn::Neg(x), before)));
}

// The unit shape's argument for times t: sigmas from the Gaussian's centre, mirrored for a
// fronting peak.
template <class D, class V = hn::VFromD<D>>
HWY_INLINE V TailArgument(D d, V t, const TailSampling& k, const TailShape& shape, double time) {
    const V u = hn::Mul(hn::Sub(t, hn::Set(d, time)), hn::Set(d, k.per_sigma));
    const V apex = hn::Set(d, shape.apex);
    return shape.fronting ? hn::Sub(apex, u) : hn::Add(apex, u);
}

// The peak's term from the unit shape's value at z: scaled to the peak, and exactly the height at
// the apex.
template <class D, class V = hn::VFromD<D>>
HWY_INLINE V TailedTermFrom(D d, V z, V unit, const TailSampling& k, const TailShape& shape) {
    const V term = hn::Mul(unit, hn::Set(d, k.scale));
    return hn::IfThenElse(hn::Eq(z, hn::Set(d, shape.apex)), hn::Set(d, k.height), term);
}

template <class D, class V = hn::VFromD<D>>
HWY_INLINE V TailedTerm(D d, V z, const TailSampling& k, const TailShape& shape) {
    return TailedTermFrom(d, z, UnitTailOf(d, z, shape.decay), k, shape);
}

// The term of a sample of a tail block (TailedPeak.h) at shape argument z, `weighted` being the
// anchor's factor times the sample's weight: the unit shape's tail form, as above, with
// erfc / 2 (halving is exact), so that where erfc is 2 the term is `weighted` itself.
template <class D, class V = hn::VFromD<D>>
HWY_INLINE V TailBlockErfcArgument(D d, V z, const TailShape& shape) {
    return hn::Neg(hn::Mul(hn::Sub(hn::Set(d, shape.decay), z), hn::Set(d, kSqrtHalf)));
}

template <class D, class V = hn::VFromD<D>>
HWY_INLINE V TailBlockTermFrom(D d, V two_less_erfc, V weighted) {
    return hn::Mul(weighted, hn::Mul(two_less_erfc, hn::Set(d, 0.5)));
}

template <class D, class V = hn::VFromD<D>>
HWY_INLINE V TailBlockTerm(D d, V z, V weighted, const TailShape& shape) {
    const V y = TailBlockErfcArgument(d, z, shape);
    return TailBlockTermFrom(d, TwoLessErfcOf(d, y, hn::FirstN(d, 0)), weighted);
}

// The weights e^(-distance step_decay) of samples `distance` samples from their block's anchor.
template <class D, class V = hn::VFromD<D>>
HWY_INLINE V TailWeightOf(D d, V distance, const TailSampling& k) {
    return ExpOfNonPositive(d, hn::Neg(hn::Mul(distance, hn::Set(d, k.step_decay))));
}

// What a block's anchor gives its samples: whether the block is a tail block (TailedPeak.h),
// whether erfc is exactly 2 at every sample of it (the anchor's is, and erfc's argument only grows
// away from it), and the factor of their weights: the anchor's exponential times 2 (the largest
// erfc, exactly) times the scale.
struct TailAnchor {
    bool block = false;
    bool far = false;
    double factor = 0.0;
};

HWY_INLINE TailAnchor TailAnchorAt(std::size_t anchor, const SampleGrid& grid,
                                   const TailSampling& k, const TailShape& shape, double time) {
    const hn::CappedTag<double, 1> d;
    TailAnchor a;
    if (!k.blocks) return a;
    const auto t = hn::Set(d, grid.TimeAt(anchor));
    const auto z = TailArgument(d, t, k, shape, time);
    const auto x = hn::Mul(hn::Sub(hn::Set(d, shape.decay), z), hn::Set(d, kSqrtHalf));
    const auto exponent = TailExponentOf(d, z, shape.decay);
    a.block =
        hn::GetLane(x) < 0.0 && hn::GetLane(z) > shape.apex && hn::GetLane(exponent) >= -kTailFloor;
    if (!a.block) return a;
    a.far = -hn::GetLane(x) > kErfcIsTwo;
    a.factor =
        hn::GetLane(hn::Mul(hn::Mul(ExpHeld(d, exponent), hn::Set(d, 2.0)), hn::Set(d, k.scale)));
    return a;
}

// Minus the exponent that bounds the unit shape at z: z^2/2 where x >= 0 (the scaled erfc is at
// most 1 there), z decay - decay^2/2 beyond (erfc is at most 2). The term is below
// 2 e^-(this) |height / apex_value|.
template <class D, class V = hn::VFromD<D>>
HWY_INLINE V TailDecayOf(D d, V z, double decay) {
    const V x = hn::Sub(hn::Set(d, decay), z);
    const V front = hn::Mul(hn::Mul(hn::Set(d, 0.5), z), z);
    const V back = hn::Sub(hn::Mul(z, hn::Set(d, decay)),
                           hn::Mul(hn::Mul(hn::Set(d, 0.5), hn::Set(d, decay)), hn::Set(d, decay)));
    return hn::IfThenElse(hn::Ge(x, hn::Zero(d)), front, back);
}

}  // namespace HWY_NAMESPACE
}  // namespace portable_math
HWY_AFTER_NAMESPACE();

#endif  // QUELMAR_SYNTH_TAILED_PEAK_INL_H_
