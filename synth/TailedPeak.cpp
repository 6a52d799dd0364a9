#include "TailedPeak.h"

#include <algorithm>
#include <cmath>

#include "RootFinder.h"
#include "ScalarMath.h"

namespace {

constexpr double kSqrtHalf = 0.70710678118654752440;
constexpr double kSqrtTwo = 1.41421356237309504880;
constexpr double kSqrtPi = 1.77245385090551602730;
constexpr double kSqrtTwoOverPi = 0.79788456080286535588;
// Below this many sigmas before the Gaussian's centre the front's exponential has an argument
// under -746 (39^2 / 2 = 760.5) and the shape is exactly 0.0.
constexpr double kFrontReach = 39.0;
// The shape's other exponential is 0.0 once decay^2/2 - z decay < -746.
constexpr double kZeroExponent = 746.0;
// sqrt(746) = 27.313: beyond it e^(-y^2) is 0.0.
constexpr double kErfcIsTwo = 27.32;

// erfc(x) = t e^Fit(t) e^(-x^2) for x >= 0, t = 1 / (1 + x/2): the exponent of a Chebyshev fit
// with relative error below 1.2e-7 for every x >= 0. At x = 0 the fit gives 3e-8 instead of 0,
// which the exponentials below clamp away.
double ErfcFit(double t) {
    return -1.26551223 +
           t * (1.00002368 +
                t * (0.37409196 +
                     t * (0.09678418 +
                          t * (-0.18628806 +
                               t * (0.27886807 + t * (-1.13520398 +
                                                      t * (1.48851587 + t * (-0.82215223 +
                                                                             t * 0.17087277))))))));
}

double Exp(double x) {
    return ExpOfNonPositiveScalar(std::min(x, 0.0));
}

// e^(x^2) erfc(x), for x >= 0.
double ScaledErfc(double x) {
    const double t = 1.0 / (1.0 + 0.5 * x);
    return t * Exp(ErfcFit(t));
}

// The exponentially modified Gaussian of unit sigma centred at 0, up to a constant factor:
// e^(decay^2/2 - z decay) erfc((decay - z)/sqrt 2), written so that no exponential has a positive
// argument: before x = 0 as e^(-z^2/2) times the scaled erfc, after it with erfc(x) = 2 - erfc(-x).
double UnitTail(double z, double decay) {
    const double x = (decay - z) * kSqrtHalf;
    if (x >= 0.0) {
        const double t = 1.0 / (1.0 + 0.5 * x);
        return Exp(-0.5 * z * z + ErfcFit(t)) * t;
    }
    const double y = -x;
    const double tail = Exp(0.5 * decay * decay - z * decay);
    // Beyond this the exponential below is 0.0 (its argument is under -746, ErfcFit(t) being below
    // 3e-8) and erfc(x) is exactly 2: skipping it changes no bit, and saves most of the tail's
    // work.
    if (y > kErfcIsTwo) return tail * 2.0;
    const double t = 1.0 / (1.0 + 0.5 * y);
    const double erfc_x = 2.0 - Exp(-y * y + ErfcFit(t)) * t;
    return tail * erfc_x;
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
    const double sigma = width * kSqrtHalf;
    const double u = (t - time) / sigma;
    const double z = shape.fronting ? shape.apex - u : shape.apex + u;
    return UnitTail(z, shape.decay) / shape.apex_value * height;
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
