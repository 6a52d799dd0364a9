// The polar method's screening of points and its factors, compiled once per dispatch target.
#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "synth/PolarPoints.cpp"
#include "hwy/foreach_target.h"  // must come before highway.h

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>

#include "hwy/highway.h"
#include "synth/CompressOrder.h"
#include "synth/PolarPoints.h"
#include "synth/PortableMath-inl.h"

HWY_BEFORE_NAMESPACE();
namespace portable_math {
namespace HWY_NAMESPACE {

// The uniform numbers of a word pair are exact in double (53 bits), and so are 2u - 1; only s is
// rounded, by the same two products and one sum on every target and in the scalar tail.
double PolarCoordinate(std::uint32_t a, std::uint32_t b) {
    const std::uint64_t x = (static_cast<std::uint64_t>(b) << 21) + (a >> 11);
    return 2.0 * (static_cast<double>(x) * 0x1p-53) - 1.0;
}

#if HWY_TARGET != HWY_SCALAR
// The points of `lanes` attempts starting at words[4 * attempt], and which of them are accepted.
template <class D, class V = hn::VFromD<D>>
struct PolarPointLanes {
    V r1, r2, s;
    hn::Mask<D> accepted;
};

template <class D>
HWY_INLINE PolarPointLanes<D> LoadPolarPoints(D d, const std::uint32_t* words) {
    const hn::RebindToUnsigned<D> du;
    const hn::Repartition<std::uint32_t, D> dw;
    const std::size_t lanes = hn::Lanes(d);
    const auto scale = hn::Set(d, 0x1p-53);
    const auto one = hn::Set(d, 1.0);
    const auto two = hn::Set(d, 2.0);
    const auto zero = hn::Zero(d);
    // Two 64-bit lanes per attempt, each word pair read little-endian as a + b * 2^32, so
    // shifting it right by 11 gives (b << 21) + (a >> 11).
    const auto pairs_low = hn::BitCast(du, hn::LoadU(dw, words));
    const auto pairs_high = hn::BitCast(du, hn::LoadU(dw, words + 2 * lanes));
    const auto first = hn::ConcatEven(du, pairs_high, pairs_low);
    const auto second = hn::ConcatOdd(du, pairs_high, pairs_low);
    const auto r1 =
        hn::Sub(hn::Mul(two, hn::Mul(hn::ConvertTo(d, hn::ShiftRight<11>(first)), scale)), one);
    const auto r2 =
        hn::Sub(hn::Mul(two, hn::Mul(hn::ConvertTo(d, hn::ShiftRight<11>(second)), scale)), one);
    const auto s = hn::Add(hn::Mul(r1, r1), hn::Mul(r2, r2));
    const auto accepted = hn::And(hn::Lt(s, one), hn::And(hn::Ne(r1, zero), hn::Ne(r2, zero)));
    return {r1, r2, s, accepted};
}

template <class D>
HWY_INLINE void ScreenVectors(D d, const std::uint32_t* words, std::size_t& attempt,
                              std::size_t attempts, double* r1, double* r2, double* s,
                              std::size_t& kept) {
    const std::size_t lanes = hn::Lanes(d);
    for (; attempt + lanes <= attempts; attempt += lanes) {
        const auto points = LoadPolarPoints(d, words + 4 * attempt);
        // Gathering the accepted lanes with one table lookup per vector and storing whole vectors
        // is far cheaper than compressing into memory on some processors; the arrays have room
        // for the lanes stored beyond `kept`.
        std::uint8_t selection[8] = {};
        hn::StoreMaskBits(d, points.accepted, selection);
        const auto order = hn::SetTableIndices(d, kCompressOrder[selection[0]].data());
        hn::StoreU(hn::TableLookupLanes(points.r1, order), d, r1 + kept);
        hn::StoreU(hn::TableLookupLanes(points.r2, order), d, r2 + kept);
        hn::StoreU(hn::TableLookupLanes(points.s, order), d, s + kept);
        kept += hn::CountTrue(d, points.accepted);
    }
}

template <class D>
HWY_INLINE void CountVectors(D d, const std::uint32_t* words, std::size_t& attempt,
                             std::size_t attempts, std::size_t& kept) {
    const std::size_t lanes = hn::Lanes(d);
    for (; attempt + lanes <= attempts; attempt += lanes)
        kept += hn::CountTrue(d, LoadPolarPoints(d, words + 4 * attempt).accepted);
}
#endif  // HWY_TARGET != HWY_SCALAR

// The scalar tail: the same exact conversions and the same rounded s as the vectors.
bool AcceptPolarPoint(const std::uint32_t* w, double& r1, double& r2, double& s) {
    r1 = PolarCoordinate(w[0], w[1]);
    r2 = PolarCoordinate(w[2], w[3]);
    s = r1 * r1 + r2 * r2;
    return s < 1.0 && r1 != 0.0 && r2 != 0.0;
}

std::size_t ScreenPolarPointsLanes(const std::uint32_t* words, std::size_t attempts, double* r1,
                                   double* r2, double* s) {
    std::size_t attempt = 0;
    std::size_t kept = 0;
#if HWY_TARGET != HWY_SCALAR
    ScreenVectors(hn::ScalableTag<double>(), words, attempt, attempts, r1, r2, s, kept);
#endif
    for (; attempt < attempts; ++attempt)
        if (AcceptPolarPoint(words + 4 * attempt, r1[kept], r2[kept], s[kept])) ++kept;
    return kept;
}

std::size_t CountPolarPointsLanes(const std::uint32_t* words, std::size_t attempts) {
    std::size_t attempt = 0;
    std::size_t kept = 0;
#if HWY_TARGET != HWY_SCALAR
    CountVectors(hn::ScalableTag<double>(), words, attempt, attempts, kept);
#endif
    double r1 = 0.0;
    double r2 = 0.0;
    double s = 0.0;
    for (; attempt < attempts; ++attempt)
        if (AcceptPolarPoint(words + 4 * attempt, r1, r2, s)) ++kept;
    return kept;
}

template <class D>
HWY_INLINE void DeviateSpan(D d, const double* r1, const double* r2, const double* s, double* z,
                            std::size_t& k, std::size_t count) {
    const std::size_t lanes = hn::Lanes(d);
    const auto minus_two = hn::Set(d, -2.0);
    for (; k + lanes <= count; k += lanes) {
        const auto v = hn::LoadU(d, s + k);
        const auto f = hn::Sqrt(hn::Div(hn::Mul(minus_two, LogOfPositive(d, v)), v));
        hn::StoreInterleaved2(hn::Mul(f, hn::LoadU(d, r1 + k)), hn::Mul(f, hn::LoadU(d, r2 + k)), d,
                              z + 2 * k);
    }
}

void PolarDeviatesLanes(const double* r1, const double* r2, const double* s, double* z,
                        std::size_t count) {
    std::size_t k = 0;
    DeviateSpan(hn::ScalableTag<double>(), r1, r2, s, z, k, count);
    DeviateSpan(hn::CappedTag<double, 1>(), r1, r2, s, z, k, count);
}

template <class D>
HWY_INLINE void AddDeviateSpan(D d, float* samples, const double* z, std::size_t& i,
                               std::size_t count, double amplitude) {
    const hn::Rebind<float, D> df;
    const std::size_t lanes = hn::Lanes(d);
    const auto scale = hn::Set(d, amplitude);
    const auto zero = hn::Zero(d);
    for (; i + lanes <= count; i += lanes) {
        const auto sample = hn::PromoteTo(d, hn::LoadU(df, samples + i));
        const auto sum = hn::Add(hn::Add(hn::Mul(hn::LoadU(d, z + i), scale), zero), sample);
        hn::StoreU(hn::DemoteTo(df, sum), df, samples + i);
    }
}

void AddScaledDeviatesLanes(float* samples, const double* z, std::size_t count, double amplitude) {
    std::size_t i = 0;
    AddDeviateSpan(hn::ScalableTag<double>(), samples, z, i, count, amplitude);
    AddDeviateSpan(hn::CappedTag<double, 1>(), samples, z, i, count, amplitude);
}

double LogOneLane(double x) {
    const hn::CappedTag<double, 1> d;
    return hn::GetLane(LogOfPositive(d, hn::Set(d, x)));
}

}  // namespace HWY_NAMESPACE
}  // namespace portable_math
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
namespace portable_math {
HWY_EXPORT(ScreenPolarPointsLanes);
HWY_EXPORT(CountPolarPointsLanes);
HWY_EXPORT(PolarDeviatesLanes);
HWY_EXPORT(AddScaledDeviatesLanes);
}  // namespace portable_math

std::size_t ScreenPolarPoints(const std::uint32_t* words, std::size_t attempts, double* r1,
                              double* r2, double* s) {
    using namespace portable_math;
    return HWY_DYNAMIC_DISPATCH(ScreenPolarPointsLanes)(words, attempts, r1, r2, s);
}

std::size_t CountPolarPoints(const std::uint32_t* words, std::size_t attempts) {
    using namespace portable_math;
    return HWY_DYNAMIC_DISPATCH(CountPolarPointsLanes)(words, attempts);
}

void PolarDeviates(const double* r1, const double* r2, const double* s, double* z,
                   std::size_t count) {
    using namespace portable_math;
    HWY_DYNAMIC_DISPATCH(PolarDeviatesLanes)(r1, r2, s, z, count);
}

void AddScaledDeviates(float* samples, const double* z, std::size_t count, double amplitude) {
    using namespace portable_math;
    HWY_DYNAMIC_DISPATCH(AddScaledDeviatesLanes)(samples, z, count, amplitude);
}

std::pair<double, double> PolarTransform(double r1, double r2) {
    using namespace portable_math;
    const auto log = HWY_STATIC_DISPATCH(LogOneLane);
    double s = r1 * r1 + r2 * r2;
    double f = 0.0;
    if (s > 1e-4) {
        f = std::sqrt(-2.0 * log(s) / s);
    } else {
        // ln(s) of the scaled point is corrected by e*ln(4), since s shrank by 2^(2e).
        constexpr double kLn4 = 1.3862943611198906;
        const int e = std::ilogb(std::max(std::fabs(r1), std::fabs(r2)));
        r1 = std::ldexp(r1, -e);
        r2 = std::ldexp(r2, -e);
        s = r1 * r1 + r2 * r2;
        f = std::sqrt(-2.0 * (log(s) + e * kLn4) / s);
    }
    return {f * r1, f * r2};
}
#endif  // HWY_ONCE
