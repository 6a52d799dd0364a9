// Compiled for the static target only: one lane gives the same bits as every vector target.
#include "synth/TailedPeak.h"

#include <algorithm>
#include <cmath>

#include "RootFinder.h"
#include "hwy/highway.h"
#include "synth/TailedPeak-inl.h"

namespace {

using portable_math::HWY_NAMESPACE::kSqrtHalf;
constexpr double kSqrtTwo = 1.41421356237309504880;
constexpr double kSqrtPi = 1.77245385090551602730;
constexpr double kSqrtTwoOverPi = 0.79788456080286535588;
// Below this many sigmas before the Gaussian's centre the front's exponential has an argument
// under -746 (39^2 / 2 = 760.5) and the shape is exactly 0.0.
constexpr double kFrontReach = 39.0;
// The shape's other exponential is 0.0 once decay^2/2 - z decay < -746.
constexpr double kZeroExponent = 746.0;

// The shape's functions on one lane: the same code as the vector fill's (TailedPeak-inl.h).
template <class Of>
double OneLane(double x, Of of) {
    namespace hn = hwy::HWY_NAMESPACE;
    const hn::CappedTag<double, 1> d;
    return hn::GetLane(of(d, hn::Set(d, x)));
}

double Exp(double x) {
    return OneLane(x, [](auto d, auto v) { return portable_math::HWY_NAMESPACE::ExpHeld(d, v); });
}

// e^(x^2) erfc(x), for x >= 0.
double ScaledErfc(double x) {
    return OneLane(x,
                   [](auto d, auto v) { return portable_math::HWY_NAMESPACE::ScaledErfcOf(d, v); });
}

double UnitTail(double z, double decay) {
    return OneLane(z, [decay](auto d, auto v) {
        return portable_math::HWY_NAMESPACE::UnitTailOf(d, v, decay);
    });
}

// The apex of the unit shape, where the derivative vanishes:
// decay erfc(x) = sqrt(2/pi) e^(-x^2). Both sides, scaled by e^(x^2) where x >= 0, give a
// function falling in x.
double ApexOf(double decay) {
    auto slope = [decay](double x) {
        if (x >= 0.0) return decay * ScaledErfc(x) - kSqrtTwoOverPi;
        const double erfc_x = 2.0 - Exp(-x * x) * ScaledErfc(-x);
        return decay * erfc_x - kSqrtTwoOverPi * Exp(-x * x);
    };
    const double x = FindRoot(slope, -kFrontReach, 2.0 * decay + 1.0, 1e-11);
    return decay - x / kSqrtHalf;
}

// Where the unit shape crosses a share of its apex value, in sigmas from the apex.
struct ShapeWidths {
    double front = 0.0;  // negative
    double back = 0.0;
};

// A tailing shape (not mirrored) with its apex found.
TailShape TailingShape(double decay) {
    TailShape shape;
    shape.decay = decay;
    shape.apex = ApexOf(decay);
    shape.apex_value = UnitTail(shape.apex, decay);
    return shape;
}

// Crossings of the tailing (unmirrored) shape.
ShapeWidths TailingWidths(const TailShape& shape, double level) {
    const double target = level * shape.apex_value;
    auto above = [&](double z) { return UnitTail(z, shape.decay) - target; };
    const double front = FindRoot(above, shape.apex - kFrontReach, shape.apex, 1e-10);
    const double back =
        FindRoot(above, shape.apex, shape.apex + kFrontReach + 30.0 / shape.decay, 1e-10);
    return {front - shape.apex, back - shape.apex};
}

double TailingFactorOf(const ShapeWidths& at5) {
    return (at5.back - at5.front) / (-2.0 * at5.front);
}

}  // namespace

TailShape SolveTailShape(double factor) {
    TailShape gaussian;
    if (factor == 1.0) return gaussian;
    const bool fronting = factor < 1.0;
    // A fronting peak of factor f is the mirror of a tailing one whose back and front half-widths
    // are its front and back ones: (1 + b/a)/2 = f gives the mirror's factor f / (2f - 1).
    const double fronted = std::max(factor, kClosestFronting);
    const double wanted = fronting ? fronted / (2.0 * fronted - 1.0) : factor;

    // The factor falls from about 750 to 1 as the exponential's time constant, in sigmas, goes
    // from 1000 to 0; searched on that constant, where it is close to linear.
    auto excess = [wanted](double ratio) {
        if (ratio <= 0.0) return 1.0 - wanted;
        return TailingFactorOf(TailingWidths(TailingShape(1.0 / ratio), 0.05)) - wanted;
    };
    // A millionth of the factor is far below what sampling lets one measure.
    const double ratio = FindRoot(excess, 0.0, 1000.0, 1e-10, 1e-6);
    if (!(ratio > 0.0)) return gaussian;

    TailShape shape = TailingShape(1.0 / ratio);
    shape.factor = factor;
    shape.fronting = fronting;
    const ShapeWidths half = TailingWidths(shape, 0.5);
    shape.half_height_width = half.back - half.front;
    return shape;
}

double TailedPeak(double t, double height, double width, const TailShape& shape, double time) {
    const TailSampling k = SamplingOf(0.0, height, width, shape);
    return OneLane(t, [&](auto d, auto v) {
        using namespace portable_math::HWY_NAMESPACE;
        return TailedTerm(d, TailArgument(d, v, k, shape, time), k, shape);
    });
}

double TailedSample(const SampleGrid& grid, std::size_t i, double height, double width,
                    const TailShape& shape, double time) {
    using namespace portable_math::HWY_NAMESPACE;
    const TailSampling k = SamplingOf(grid.step, height, width, shape);
    const std::size_t anchor = TailAnchorOf(i, shape.fronting);
    const TailAnchor a = TailAnchorAt(anchor, grid, k, shape, time);
    if (!a.block) {
        return OneLane(grid.TimeAt(i), [&](auto d, auto v) {
            return TailedTerm(d, TailArgument(d, v, k, shape, time), k, shape);
        });
    }
    const double distance = static_cast<double>(i > anchor ? i - anchor : anchor - i);
    const double weighted =
        a.factor * OneLane(distance, [&](auto d, auto v) { return TailWeightOf(d, v, k); });
    return OneLane(grid.TimeAt(i), [&](auto d, auto v) {
        return TailBlockTerm(d, TailArgument(d, v, k, shape, time), hn::Set(d, weighted), shape);
    });
}

TailSampling SamplingOf(double step, double height, double width, const TailShape& shape) {
    TailSampling k;
    k.height = height;
    k.per_sigma = kSqrtTwo / width;
    k.scale = height / shape.apex_value;
    k.step_decay = step * k.per_sigma * shape.decay;
    k.blocks = k.step_decay * static_cast<double>(kTailBlock - 1) <= kTailSpan;
    return k;
}

double AreaPerWidth(const TailShape& shape) {
    if (shape.IsGaussian()) return kSqrtPi;
    return kSqrtTwo / (shape.decay * shape.apex_value);
}

TailReach ReachOf(const TailShape& shape) {
    const double front = shape.apex + kFrontReach;
    const double tail =
        std::max(kFrontReach, 0.5 * shape.decay + kZeroExponent / shape.decay) + 1.0 - shape.apex;
    return shape.fronting ? TailReach{tail, front} : TailReach{front, tail};
}
