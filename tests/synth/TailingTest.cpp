#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "synth/FillSignal.h"
#include "synth/PeakShape.h"
#include "synth/TailedPeak.h"
#include "tests/support/DispatchTargets.h"
#include "tests/support/ReferenceFill.h"

namespace {

GenPeak4 Tailed(double time, double height, double width, double factor) {
    GenPeak4 peak = MakeNewPeak(time, height);
    peak.width = width;
    peak.tail = SolveTailShape(factor);
    return peak;
}

std::size_t HighestSample(const Signal4& signal) {
    const auto& s = signal.samples;
    return static_cast<std::size_t>(std::max_element(s.begin(), s.end()) - s.begin());
}

// Over the whole range, with 7 and with 28 samples per sigma of the Gaussian part: the apex stays
// at the peak's time with the peak's height, and the finished signal's measured factor is the
// request within 0.01 (0.505 being the closest a fronting peak comes to 0.5; its front runs 450
// sigmas, hence the narrow peak late in the run).
TEST(Tailing, MeasuredFactorIsTheRequestAndApexTimeAndHeightAreKept) {
    for (double step : {0.002, 0.0005}) {
        for (double factor : {0.5, 0.6, 0.8, 0.95, 1.0, 1.05, 1.3, 2.0, 3.0, 4.0}) {
            SCOPED_TRACE(testing::Message() << "step " << step << ", factor " << factor);
            Signal4 signal(step, 0.0, nullptr, 0);
            const GenPeak4 peak = Tailed(8.0, 7.5, 0.02, factor);
            FillSignal(signal, static_cast<std::size_t>(std::lround(10.0 / step)), {peak});
            const std::size_t apex = static_cast<std::size_t>(std::lround(8.0 / step));
            EXPECT_EQ(signal.samples[apex], 7.5f);
            EXPECT_EQ(HighestSample(signal), apex);
            const PeakShapeMeasure measured = MeasurePeakShape(signal, peak.time, peak.width);
            EXPECT_NEAR(measured.tailing, std::max(factor, kClosestFronting), 0.01);
            EXPECT_EQ(measured.asymmetry > 1.0, factor > 1.0);
        }
    }
}

// Each tailing peak is evaluated only over the samples its support estimate gives; the result must
// be the same bits as evaluating every peak at every sample, for long tails that run past the end,
// fronts cut by the start, and peaks on a grid that does not start at zero.
TEST(Tailing, RestrictedEvaluationIsBitIdenticalToEverySample) {
    const std::vector<GenPeak4> peaks = {Tailed(0.3, 5.0, 0.2, 4.0), Tailed(2.0, 1.0, 0.05, 1.5),
                                         Tailed(4.0, -2.0, 0.1, 0.5), Tailed(9.9, 3.0, 0.3, 0.7),
                                         Tailed(6.0, 1e-3, 0.02, 1.01)};
    Signal4 restricted(0.007, 0.25, nullptr, 0);
    Signal4 plain(0.007, 0.25, nullptr, 0);
    FillSignal(restricted, 1500, peaks);
    FillSignalEveryPair(plain, 1500, peaks);
    ASSERT_EQ(restricted.samples.size(), plain.samples.size());
    EXPECT_EQ(std::memcmp(restricted.samples.data(), plain.samples.data(),
                          plain.samples.size() * sizeof(float)),
              0);
}

// Where the tail is taken a block at a time (its exponential the anchor's times a weight), the
// samples stay within 1e-13 of the height of the shape evaluated at each sample's time, over whole
// tailing and fronting peaks on fine and coarse grids: as close as the rounding of the sample times
// themselves puts the shape's argument.
TEST(Tailing, TailBlocksFollowTheShapeAtEachSampleTime) {
    for (const double factor : {0.51, 0.6, 0.9, 1.05, 1.5, 4.0}) {
        const TailShape shape = SolveTailShape(factor);
        for (const double step : {0.0005, 0.002, 0.01}) {
            SCOPED_TRACE(testing::Message() << "factor " << factor << ", step " << step);
            const SampleGrid grid{0.3, step};
            const std::size_t n = static_cast<std::size_t>(std::lround(80.0 / step));
            for (std::size_t i = 0; i < n; ++i) {
                const double sample = TailedSample(grid, i, -3.0, 0.05, shape, 40.0);
                ASSERT_NEAR(sample, TailedPeak(grid.TimeAt(i), -3.0, 0.05, shape, 40.0), 3e-13)
                    << "sample " << i;
            }
        }
    }
}

// A long run of tailing and fronting peaks, shared among threads, has on every dispatch target the
// bits of summing every peak's TailedSample at every sample.
TEST(Tailing, LongRunIsTheEverySampleSumOnEveryTarget) {
    std::vector<GenPeak4> peaks;
    for (int k = 0; k < 24; ++k) {
        const double factors[] = {0.55, 0.8, 1.2, 1.5, 2.5, 4.0};
        peaks.push_back(
            Tailed(0.4 * k - 0.5, 1.0 + 7.0 * (k % 5), 0.02 + 0.01 * (k % 9), factors[k % 6]));
    }
    Signal4 plain(1.0 / 3000, 0.1, nullptr, 0);
    FillSignalEveryPair(plain, 30'000, peaks);
    ForEachDispatchTarget([&](const std::string& target) {
        Signal4 fast(1.0 / 3000, 0.1, nullptr, 0);
        FillSignal(fast, 30'000, peaks);
        ASSERT_EQ(std::memcmp(fast.samples.data(), plain.samples.data(),
                              plain.samples.size() * sizeof(float)),
                  0)
            << target;
    });
}

// The shape against the exponentially modified Gaussian written with the C library's erfc, far
// into its tail: within the stated 2.5e-7 of the apex height.
TEST(Tailing, ShapeIsTheExponentiallyModifiedGaussian) {
    for (double factor : {1.2, 2.0, 4.0}) {
        const TailShape shape = SolveTailShape(factor);
        const double decay = shape.decay;
        auto emg = [decay](double z) {
            return std::exp(0.5 * decay * decay - z * decay) *
                   std::erfc((decay - z) / std::sqrt(2.0));
        };
        const double apex = emg(shape.apex);
        for (double u = -6.0; u <= 30.0; u += 0.25) {
            const double t = 5.0 + u * 0.1 / std::sqrt(2.0);
            EXPECT_NEAR(TailedPeak(t, 1.0, 0.1, shape, 5.0), emg(shape.apex + u) / apex, 2.5e-7)
                << "factor " << factor << ", " << u << " sigmas from the apex";
        }
    }
}

}  // namespace

namespace {

// A small peak on the flank of a tall one has no apex of its own: climbing from its time would
// measure the tall one, so it is not measured at all. A neighbour whose valley stays above the
// 5 % level leaves the factor unmeasured but not the asymmetry at 10 %.
// Summed over its samples, a peak holds height x width x AreaPerWidth: sqrt(pi) for the Gaussian,
// and for tailing and fronting peaks what the exponentially modified Gaussian integrates to.
// Where the far tail stops evaluating erfc, 2 - erfc is 2 to the bit: erfc, and its fit within
// 1.2e-7 of it, lie below half the spacing of doubles under 2 there and beyond (erfc falls).
TEST(Tailing, FarTailLeavesTwoMinusErfcAtExactlyTwo) {
    EXPECT_LT(std::erfc(kErfcIsTwo) * (1.0 + 1.2e-7), 0x1p-53);
    EXPECT_EQ(2.0 - std::erfc(kErfcIsTwo) * (1.0 + 1.2e-7), 2.0);
}

TEST(Tailing, AreaIsHeightTimesWidthTimesAreaPerWidth) {
    for (const double factor : {0.7, 1.0, 1.8, 3.5}) {
        SCOPED_TRACE(factor);
        const GenPeak4 peak = Tailed(20.0, 3.0, 0.2, factor);
        Signal4 s(0.002, 0.0, nullptr, 0);
        FillSignal(s, 50'000, {peak});
        double sum = 0.0;
        for (const float v : s.samples) sum += v;
        const double expected = 3.0 * 0.2 * AreaPerWidth(peak.tail);
        EXPECT_NEAR(sum * s.step, expected, 1e-5 * expected);
    }
    EXPECT_DOUBLE_EQ(AreaPerWidth(TailShape{}), std::sqrt(M_PI));
}

TEST(PeakShape, PeaksWithoutTheirOwnApexOrCrossingAreNotMeasured) {
    Signal4 signal(0.01, 0.0, nullptr, 0);
    GenPeak4 tall = Tailed(3.0, 100.0, 0.1, 1.0);
    GenPeak4 shoulder = Tailed(3.15, 2.0, 0.1, 1.0);
    GenPeak4 left = Tailed(6.0, 10.0, 0.1, 1.0);
    GenPeak4 right = Tailed(6.37, 10.0, 0.1, 1.0);  // the valley at 7 % of the height
    FillSignal(signal, 1000, {tall, shoulder, left, right});
    EXPECT_TRUE(std::isnan(MeasurePeakShape(signal, shoulder.time, shoulder.width).tailing));
    EXPECT_NEAR(MeasurePeakShape(signal, tall.time, tall.width).tailing, 1.0, 0.05);
    const PeakShapeMeasure pair = MeasurePeakShape(signal, left.time, left.width);
    EXPECT_TRUE(std::isnan(pair.tailing));
    EXPECT_NEAR(pair.asymmetry, 1.0, 0.05);
}

}  // namespace
