#pragma once

#include <cstddef>

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

// The peak's term at sample i of the grid: TailedPeak at grid.TimeAt(i), except in tail blocks
// (below), where its exponential tail is the block's anchor's times a weight. There it stays
// within 1e-13 of the height of TailedPeak, about as far as the rounding of a sample's time moves
// the shape's argument. The fill and FillSignalEveryPair sum exactly this.
double TailedSample(const SampleGrid& grid, std::size_t i, double height, double width,
                    const TailShape& shape, double time);

// After the erfc's argument has passed 0 the shape is e^(decay^2/2 - z decay) (2 - erfc), whose
// exponential falls by the same factor e^-step_decay from each sample to the next. There the
// samples are taken a block at a time: block b holds samples b kTailBlock .. b kTailBlock +
// kTailBlock - 1 of the grid, its anchor is the sample of the block nearest the apex (the first
// for a tailing peak, the last for a fronting one), and the exponential at a sample k samples from
// the anchor is the anchor's times the weight e^(-k step_decay), the weights being computed once
// per peak and grid step. A block is a tail block when its anchor lies past both the apex (whose
// sample keeps exactly the height) and where the erfc's argument is 0, the anchor's exponent is at
// least -kTailFloor, and the peak's weights stay above e^-kTailSpan:
// then every weight and product is a normal double, and the samples where the term becomes 0.0,
// further out, are still evaluated one at a time. Blocks are fixed runs of indices, whatever the
// vector width, the threads or the part of the signal being filled, so a sample's bits depend on
// its index and the peak alone.
inline constexpr std::size_t kTailBlock = 256;
inline constexpr double kTailFloor = 600.0;
inline constexpr double kTailSpan = 100.0;

// A tailing or fronting peak's constants for its samples, computed once per peak (and once only,
// here, so that every target multiplies by the same reciprocals).
struct TailSampling {
    double per_sigma = 0.0;   // 1 / sigma, per minute (sigma = width / sqrt 2)
    double height = 0.0;      // the apex value, millivolts
    double scale = 0.0;       // height / apex_value: from the unit shape to the term
    double step_decay = 0.0;  // the fall of the tail's exponent from one sample to the next
    bool blocks = false;      // whether the peak has tail blocks (its weights stay normal)
};
TailSampling SamplingOf(double step, double height, double width, const TailShape& shape);

// The anchor of sample i's block (an index that may lie beyond the grid's last sample).
inline std::size_t TailAnchorOf(std::size_t i, bool fronting) {
    const std::size_t start = i - i % kTailBlock;
    return fronting ? start + (kTailBlock - 1) : start;
}

// Beyond this argument erfc is below 2^-53 (at most 2.15e-17, its fit within 1.2e-7 of it), half
// the spacing of doubles just under 2, so the shape's 2 - erfc rounds to 2 exactly: its far tail
// needs its exponential alone, with the bits the full expression gives.
inline constexpr double kErfcIsTwo = 6.0;

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
