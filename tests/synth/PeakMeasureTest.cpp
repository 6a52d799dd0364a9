#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "synth/FillSignal.h"
#include "synth/PeakArea.h"
#include "synth/PeakBounds.h"

namespace {

GenPeak4 Peak(double time, double height, double width) {
    GenPeak4 p = MakeNewPeak(time, height);
    p.width = width;
    return p;
}

// 1,000 samples 0.01 minutes apart starting at 0, filled from the peaks.
Signal4 Filled(const std::vector<GenPeak4>& peaks, std::size_t n = 1000) {
    Signal4 s(0.01, 0.0, nullptr, 0);
    FillSignal(s, n, peaks);
    return s;
}

TEST(FindPeakBounds, IsolatedPeakStopsWhereTheFlankFlattens) {
    GenPeak4 p = Peak(5.0, 1.0, 0.1);
    p.auto_bounds = false;
    const Signal4 s = Filled({p});
    FindPeakBounds(s, p);
    EXPECT_NEAR(p.front, 4.67, 1e-12);
    EXPECT_NEAR(p.back, 5.33, 1e-12);
    EXPECT_EQ(p.front_base_height, s.samples[467]);
    EXPECT_EQ(p.back_base_height, s.samples[533]);
    EXPECT_TRUE(p.auto_bounds);
}

// A peak below zero is measured as its mirror image: the bounds of the positive peak of the same
// size (4.67 and 5.33 for a width of 0.1), and an area of that peak's magnitude, negative: about
// height x width x sqrt(pi) = -2.006 for the height of -11.32.
TEST(FindPeakBounds, NegativePeakGetsTheBoundsOfItsMirrorImageAndANegativeArea) {
    GenPeak4 negative = Peak(5.0, -11.32, 0.1);
    GenPeak4 positive = Peak(5.0, 11.32, 0.1);
    const Signal4 below = Filled({negative});
    const Signal4 above = Filled({positive});
    FindPeakBounds(below, negative);
    FindPeakBounds(above, positive);
    EXPECT_NEAR(negative.front, 4.67, 1e-12);
    EXPECT_NEAR(negative.back, 5.33, 1e-12);
    EXPECT_EQ(negative.front, positive.front);
    EXPECT_EQ(negative.back, positive.back);
    EXPECT_EQ(negative.front_base_height, -positive.front_base_height);
    EXPECT_EQ(ComputePeakArea(below, negative), -ComputePeakArea(above, positive));
    EXPECT_NEAR(negative.area, -11.32 * 0.1 * std::sqrt(M_PI),
                1e-4 * 11.32 * 0.1 * std::sqrt(M_PI));
}

TEST(FindPeakBounds, NeighbouringPeaksMeetAtTheValley) {
    GenPeak4 first = Peak(5.0, 1.0, 0.1);
    GenPeak4 second = Peak(5.3, 0.8, 0.1);
    const Signal4 s = Filled({first, second});
    FindPeakBounds(s, first);
    FindPeakBounds(s, second);
    EXPECT_NEAR(first.back, 5.15, 1e-12);
    EXPECT_NEAR(second.front, 5.15, 1e-12);
    EXPECT_EQ(first.back_base_height, s.samples[515]);
}

TEST(FindPeakBounds, LeavesThePeakAloneAfterTheEndOrOnTooShortASignal) {
    const Signal4 s = Filled({});
    GenPeak4 late = Peak(9.995, 1.0, 0.1);  // the last sample is at 9.99
    late.front = 1.0;
    late.back = 2.0;
    late.auto_bounds = false;
    FindPeakBounds(s, late);
    EXPECT_EQ(late.front, 1.0);
    EXPECT_EQ(late.back, 2.0);
    EXPECT_FALSE(late.auto_bounds);

    GenPeak4 p = Peak(0.005, 1.0, 0.1);
    p.front = 3.0;
    FindPeakBounds(Filled({}, 2), p);
    EXPECT_EQ(p.front, 3.0);
}

TEST(FindPeakBounds, WalksStayInsideTheSamplesWhenTheAnalysisIsDeclaredLonger) {
    Signal4 s = Filled({Peak(0.05, 1.0, 0.02)}, 10);
    s.last_index = 100;  // end time 1.0, far beyond the ten samples held
    GenPeak4 p = Peak(0.9, 1.0, 0.3);
    FindPeakBounds(s, p);
    EXPECT_GE(p.front, 0.0);
    EXPECT_LE(p.back, 0.09 + 1e-12);
}

TEST(ComputePeakArea, IsolatedPeakIsCloseToTheWholeGaussian) {
    GenPeak4 p = Peak(5.0, 1.0, 0.1);
    const Signal4 s = Filled({p});
    FindPeakBounds(s, p);
    const double area = ComputePeakArea(s, p);
    EXPECT_NEAR(area, 0.1772325, 1e-7);
    EXPECT_EQ(p.area, area);
    // Slightly less than height * width * sqrt(pi): the flanks beyond the bounds are cut off.
    EXPECT_LT(area, 0.1 * std::sqrt(std::acos(-1.0)));
    // With left and right negative the baseline and window values come from the signal.
    EXPECT_EQ(p.window_front, 4.9);
    EXPECT_EQ(p.window_back, 5.1);
    EXPECT_NEAR(p.window_front_height, std::exp(-1.0), 1e-6);
    EXPECT_NEAR(p.window_back_height, std::exp(-1.0), 1e-6);
}

TEST(ComputePeakArea, StoredBaselineIsKeptWhenTheBoundsAreFromTheDocument) {
    // A flat signal of 2 between 1 and 3 with a stored baseline at 0: the area is 2 * 2 = 4.
    std::vector<float> flat(1000, 2.0f);
    const Signal4 s(0.01, 0.0, flat.data(), flat.size());
    GenPeak4 p = Peak(2.0, 1.0, 0.1);
    p.left = 0;
    p.right = 0;
    p.front = 1.0;
    p.back = 3.0;
    p.front_base_height = 0.0;
    p.back_base_height = 0.0;
    EXPECT_NEAR(ComputePeakArea(s, p), 4.0, 1e-9);
    // Bounds between samples use the partial trapezoids at both ends.
    p.front = 1.005;
    p.back = 2.995;
    EXPECT_NEAR(ComputePeakArea(s, p), 2.0 * 1.99, 1e-9);
}

TEST(ComputePeakArea, DegenerateIntervalsGiveZero) {
    const Signal4 s = Filled({Peak(5.0, 1.0, 0.1)});
    GenPeak4 p = Peak(5.0, 1.0, 0.1);
    p.area = 123.0;
    p.front = p.back = 5.0;
    EXPECT_EQ(ComputePeakArea(s, p), 0.0);
    EXPECT_EQ(p.area, 0.0);

    p.front = -3.0;  // wholly before the first sample
    p.back = -2.0;
    EXPECT_EQ(ComputePeakArea(s, p), 0.0);

    Signal4 no_step = s;
    no_step.step = 0.0;
    p.front = 4.0;
    p.back = 6.0;
    EXPECT_EQ(ComputePeakArea(no_step, p), 0.0);

    const double nan = std::numeric_limits<double>::quiet_NaN();
    p.front = nan;
    EXPECT_EQ(ComputePeakArea(s, p), 0.0);
    p.front = -1e300;  // far outside: clamped, no integer overflow
    p.back = 1e300;
    EXPECT_TRUE(std::isfinite(ComputePeakArea(s, p)));
}

TEST(ComputePeakArea, ReversedBoundsAreSwappedAndIntegratedNormally) {
    const Signal4 s = Filled({Peak(5.0, 1.0, 0.1)});
    GenPeak4 forward = Peak(5.0, 1.0, 0.1);
    forward.front = 4.7;
    forward.back = 5.3;
    GenPeak4 reversed = forward;
    std::swap(reversed.front, reversed.back);
    const double expected = ComputePeakArea(s, forward);
    EXPECT_EQ(ComputePeakArea(s, reversed), expected);
    EXPECT_EQ(reversed.front, 4.7);
    EXPECT_EQ(reversed.back, 5.3);
}

}  // namespace
