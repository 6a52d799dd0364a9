#pragma once

#include "IndexRange.h"
#include "Signal4.h"
#include "TailShape.h"

// The shape whose tailing factor at 5 % of the height (the sum of the front and back half-widths
// over twice the front one) is `factor`, within kMinTailingFactor..kMaxTailingFactor; 1 gives
// the Gaussian. The decay is found by root finding on the measured factor of the shape itself,
// so it is found once per peak and not at every sample.
TailShape SolveTailShape(double factor);

// The value at time t of a tailing or fronting peak of the given height whose apex lies at
// `time`, its Gaussian part having fallen to 1/e at `width` from its centre (width > 0). Exactly
// `height` at t == time. The shape must not be Gaussian (GaussPeak is that).
//
// The complementary error function in the shape is the Chebyshev fit of erfc whose relative
// error is below 1.2e-7 everywhere (exp of a degree-9 polynomial in 1/(1 + x/2)), a little more
// than a float sample's rounding; exponentials are the program's own. So a tailing peak's samples
// are the same bits on every machine, and within about 2 units of a float of the exact
// exponentially modified Gaussian.
double TailedPeak(double t, double height, double width, const TailShape& shape, double time);

// The area under a peak of this shape with height 1 and width 1 (its Gaussian part falling to 1/e
// one minute from its centre), in millivolt-minutes: sqrt(pi) for the Gaussian. The unit tailing
// shape integrates to 2 / decay sigmas and is scaled by 1 / apex_value, and a sigma is
// width / sqrt(2), so a tailing or fronting peak has sqrt(2) / (decay apex_value).
double AreaPerWidth(const TailShape& shape);

// Sigmas before and after the apex beyond which TailedPeak is exactly 0.0: the exponentials
// there have arguments below -746.
struct TailReach {
    double before = 0.0;
    double after = 0.0;
};
TailReach ReachOf(const TailShape& shape);
