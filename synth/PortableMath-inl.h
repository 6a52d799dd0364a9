// The exponential of the Gaussian terms, the logarithm of the polar method and the sine of the
// baseline's pulsation, written once on Highway vectors. Every dispatch target and the one-lane
// scalar path run exactly these IEEE operations in this order, with no fused multiply-add (the
// library is compiled with -ffp-contract=off), so a lane's result does not depend on the vector
// width: a seeded document has the same bytes on every x86-64 machine.
//
// Included once per target by the files that dispatch (the toggle below is Highway's convention).

#if defined(QUELMAR_SYNTH_PORTABLE_MATH_INL_H_) == defined(HWY_TARGET_TOGGLE)
#ifdef QUELMAR_SYNTH_PORTABLE_MATH_INL_H_
#undef QUELMAR_SYNTH_PORTABLE_MATH_INL_H_
#else
#define QUELMAR_SYNTH_PORTABLE_MATH_INL_H_
#endif

#include <array>
#include <cstddef>

#include "hwy/highway.h"

HWY_BEFORE_NAMESPACE();
namespace portable_math {
namespace HWY_NAMESPACE {

namespace hn = hwy::HWY_NAMESPACE;

// ln 2 split so that k * kLn2High is exact for every |k| < 2^11: kLn2High has 32 significant bits.
inline constexpr double kLn2High = 0x1.62e42feep-1;
inline constexpr double kLn2Low = 0x1.a39ef35793c76p-33;
inline constexpr double kLn2 = 0x1.62e42fefa39efp-1;
inline constexpr double kLog2E = 0x1.71547652b82fep0;
// Adding 1.5 * 2^52 rounds a double of magnitude below 2^51 to the nearest integer, which then
// sits in the low bits of the sum's representation.
inline constexpr double kRoundingShift = 0x1.8p52;
inline constexpr long long kExponentBias = 1023;

// 1/n! for n = 0 .. 13.
inline constexpr std::array<double, 14> kInverseFactorials = [] {
    std::array<double, 14> c{};
    double factorial = 1.0;
    for (std::size_t n = 0; n < c.size(); ++n) {
        if (n > 0) factorial *= static_cast<double>(n);
        c[n] = 1.0 / factorial;
    }
    return c;
}();

// c[n] + c[n + 1] x, a step of the polynomial evaluation below.
template <class D, class V>
HWY_INLINE V LinearTerm(D d, V x, std::size_t n) {
    return hn::Add(hn::Set(d, kInverseFactorials[n]),
                   hn::Mul(hn::Set(d, kInverseFactorials[n + 1]), x));
}

// The sum of x^(n-2) / n! for n = 2 .. 13, by Estrin's scheme: pairs, then pairs of pairs, so
// that the chain of dependent operations is four steps deep instead of eleven.
template <class D, class V>
HWY_INLINE V ExpTaylorTail(D d, V x) {
    const V x2 = hn::Mul(x, x);
    const V x4 = hn::Mul(x2, x2);
    const V x8 = hn::Mul(x4, x4);
    const V low = hn::Add(LinearTerm(d, x, 2), hn::Mul(LinearTerm(d, x, 4), x2));
    const V middle = hn::Add(LinearTerm(d, x, 6), hn::Mul(LinearTerm(d, x, 8), x2));
    const V high = hn::Add(LinearTerm(d, x, 10), hn::Mul(LinearTerm(d, x, 12), x2));
    return hn::Add(hn::Add(low, hn::Mul(middle, x4)), hn::Mul(high, x8));
}

// 2^k for integer lanes k in [-1022, 1023].
template <class D, class VI>
HWY_INLINE hn::VFromD<D> PowerOfTwo(D d, VI k) {
    const hn::RebindToSigned<D> di;
    const hn::RebindToUnsigned<D> du;
    return hn::BitCast(d,
                       hn::ShiftLeft<52>(hn::BitCast(du, hn::Add(k, hn::Set(di, kExponentBias)))));
}

// e^x for x <= 0; NaN gives NaN. Within about one unit in the last place of the correctly rounded
// value, results in the subnormal range rounded once, and exactly 0 below -745.14 (where e^x is
// under half the smallest subnormal), so for x < -746 in particular.
//
// x = k ln 2 + r with |r| <= ln 2 / 2; e^r by its Taylor polynomial of degree 13 (the first term
// left out is below 2^-58 of the result); 2^k applied as two factors 2^(k - k/2) and 2^(k/2), both
// normal, so that a subnormal result is rounded only once.
template <class D, class V = hn::VFromD<D>>
HWY_INLINE V ExpOfNonPositive(D d, V x) {
    const hn::RebindToSigned<D> di;
    // Below -746 the result is 0 anyway; holding x there keeps k inside the exponent range.
    const V lowest = hn::Set(d, -746.0);
    x = hn::IfThenElse(hn::Lt(x, lowest), lowest, x);

    const V shift = hn::Set(d, kRoundingShift);
    const V shifted = hn::Add(hn::Mul(x, hn::Set(d, kLog2E)), shift);
    const V k = hn::Sub(shifted, shift);
    const V r =
        hn::Sub(hn::Sub(x, hn::Mul(k, hn::Set(d, kLn2High))), hn::Mul(k, hn::Set(d, kLn2Low)));

    const V e_r = hn::Add(hn::Set(d, 1.0), hn::Add(r, hn::Mul(hn::Mul(r, r), ExpTaylorTail(d, r))));

    const auto k_int = hn::Sub(hn::BitCast(di, shifted), hn::BitCast(di, shift));
    const auto k_half = hn::ShiftRight<1>(k_int);
    return hn::Mul(hn::Mul(e_r, PowerOfTwo(d, hn::Sub(k_int, k_half))), PowerOfTwo(d, k_half));
}

// ln x for positive normal finite x, within about one unit in the last place.
//
// x = 2^k m with m in [sqrt(1/2), sqrt(2)); with f = m - 1 and s = f / (2 + f),
// ln m = 2 atanh s = f - f^2/2 + s (f^2/2 + R), R being a minimax polynomial in s^2 whose error is
// below 2^-58.
template <class D, class V = hn::VFromD<D>>
HWY_INLINE V LogOfPositive(D d, V x) {
    const hn::RebindToSigned<D> di;
    const hn::RebindToUnsigned<D> du;
    // The representation of sqrt(1/2): subtracting it carries into the exponent exactly when the
    // mantissa is at least sqrt(2), so k and m come out together.
    const auto bits = hn::BitCast(di, x);
    const auto k_int = hn::ShiftRight<52>(hn::Sub(bits, hn::Set(di, 0x3fe6a09e667f3bcdLL)));
    const V m =
        hn::BitCast(d, hn::Sub(hn::BitCast(du, bits), hn::ShiftLeft<52>(hn::BitCast(du, k_int))));
    const V shift = hn::Set(d, kRoundingShift);
    const V k = hn::Sub(hn::BitCast(d, hn::Add(k_int, hn::BitCast(di, shift))), shift);

    const V f = hn::Sub(m, hn::Set(d, 1.0));
    const V s = hn::Div(f, hn::Add(hn::Set(d, 2.0), f));
    const V z = hn::Mul(s, s);
    const V w = hn::Mul(z, z);
    const V even =
        hn::Mul(w, hn::Add(hn::Set(d, 0x1.999999997fa04p-2),
                           hn::Mul(w, hn::Add(hn::Set(d, 0x1.c71c51d8e78afp-3),
                                              hn::Mul(w, hn::Set(d, 0x1.39a09d078c69fp-3))))));
    const V odd = hn::Mul(
        z, hn::Add(
               hn::Set(d, 0x1.5555555555593p-1),
               hn::Mul(
                   w, hn::Add(hn::Set(d, 0x1.2492494229359p-2),
                              hn::Mul(w, hn::Add(hn::Set(d, 0x1.7466496cb03dep-3),
                                                 hn::Mul(w, hn::Set(d, 0x1.2f112df3e5244p-3))))))));
    const V R = hn::Add(odd, even);
    const V half_f2 = hn::Mul(hn::Mul(hn::Set(d, 0.5), f), f);
    const V tail =
        hn::Sub(half_f2, hn::Add(hn::Mul(s, hn::Add(half_f2, R)), hn::Mul(k, hn::Set(d, kLn2Low))));
    return hn::Sub(hn::Mul(k, hn::Set(d, kLn2High)), hn::Sub(tail, f));
}

// (-1)^k / (2k + 1)! for k = 1 .. 11: the Taylor coefficients of sin x after x.
inline constexpr std::array<double, 11> kSineCoefficients = [] {
    std::array<double, 11> c{};
    double factorial = 1.0;
    for (std::size_t n = 2; n <= 2 * c.size() + 1; ++n) {
        factorial *= static_cast<double>(n);
        if (n % 2 == 1) c[n / 2 - 1] = (n % 4 == 1 ? 1.0 : -1.0) / factorial;
    }
    return c;
}();
inline constexpr double kTwoPi = 0x1.921fb54442d18p2;

// sin(2 pi u) for |u| < 2^51, u in turns, within a few units in the last place of its magnitude.
// The whole turns are taken off exactly (u - round(u) lies in [-1/2, 1/2] and is exact in double),
// the half-turn folded onto [-1/4, 1/4] by sin(pi - x) = sin x (exact too), and the sine of
// x = 2 pi f, |x| <= pi/2, summed by its Taylor series to degree 23 (the first term left out is
// below 1e-20): x + x^3 P(x^2), P by Horner's scheme.
template <class D, class V = hn::VFromD<D>>
HWY_INLINE V SinOfTurns(D d, V u) {
    const V shift = hn::Set(d, kRoundingShift);
    V f = hn::Sub(u, hn::Sub(hn::Add(u, shift), shift));
    const V quarter = hn::Set(d, 0.25);
    const V half = hn::Set(d, 0.5);
    f = hn::IfThenElse(hn::Gt(f, quarter), hn::Sub(half, f), f);
    f = hn::IfThenElse(hn::Lt(f, hn::Neg(quarter)), hn::Sub(hn::Neg(half), f), f);
    const V x = hn::Mul(f, hn::Set(d, kTwoPi));
    const V x2 = hn::Mul(x, x);
    V p = hn::Set(d, kSineCoefficients.back());
    for (std::size_t k = kSineCoefficients.size() - 1; k-- > 0;)
        p = hn::Add(hn::Set(d, kSineCoefficients[k]), hn::Mul(x2, p));
    return hn::Add(x, hn::Mul(hn::Mul(x, x2), p));
}

}  // namespace HWY_NAMESPACE
}  // namespace portable_math
HWY_AFTER_NAMESPACE();

#endif  // QUELMAR_SYNTH_PORTABLE_MATH_INL_H_
