#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <string>

#include "synth/FillSignal.h"
#include "tests/support/DispatchTargets.h"
#include "tests/support/ReferenceFill.h"

namespace {

Signal4 Grid(double step, double start = 0.0) {
    return Signal4(step, start, nullptr, 0);
}

GenPeak4 Peak(double time, double height, double width) {
    GenPeak4 p = MakeNewPeak(time, height);
    p.width = width;
    return p;
}

bool SameBits(float a, float b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

void ExpectBitIdentical(const Signal4& a, const Signal4& b) {
    ASSERT_EQ(a.samples.size(), b.samples.size());
    for (std::size_t i = 0; i < a.samples.size(); ++i)
        ASSERT_TRUE(SameBits(a.samples[i], b.samples[i]))
            << "sample " << i << ": " << a.samples[i] << " vs " << b.samples[i];
}

TEST(FillSignal, OnePeakHasItsHeightAtTheCentreAndOneOverEOneWidthAway) {
    Signal4 s = Grid(0.01);
    FillSignal(s, 1000, {Peak(5.0, 1.0, 0.1)});
    ASSERT_EQ(s.samples.size(), 1000u);
    EXPECT_EQ(s.samples[500], 1.0f);
    EXPECT_EQ(s.samples[490], static_cast<float>(std::exp(-1.0)));
    EXPECT_EQ(s.samples[510], static_cast<float>(std::exp(-1.0)));
    EXPECT_EQ(s.samples[490], 0.36787945f);
    EXPECT_EQ(s.samples[0], 0.0f);
}

TEST(FillSignal, OverwritesEverythingAndAnEmptyListGivesZeros) {
    std::vector<float> junk(10, 99.0f);
    Signal4 s(0.1, 0.0, junk.data(), junk.size());
    FillSignal(s, 20, {});
    EXPECT_EQ(s.samples, std::vector<float>(20, 0.0f));
}

// The restricted, vectorised evaluation must give the same bits as summing every peak at every
// sample one at a time, on every dispatch target, for peaks of any sign, inside and outside the
// time range, narrow and wide, on grids that do and do not start at zero, and on runs long enough
// to be shared among threads.
TEST(FillSignal, BitIdenticalToSummingEveryPeakAtEverySampleOnEveryTarget) {
    std::mt19937 random(2024);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    struct Case {
        std::size_t n;
        double step, start;
        int peaks;
    };
    for (const Case c : {Case{1000, 0.01, 0.0, 30}, Case{777, 0.013, -2.0, 50},
                         Case{300'000, 1.0 / 6000, 0.0, 60}, Case{5, 1.0, 3.0, 10}}) {
        const double span = c.n * c.step;
        std::vector<GenPeak4> peaks;
        for (int k = 0; k < c.peaks; ++k) {
            const double time = c.start - 0.5 * span + 2.0 * span * unit(random);
            const double height = 200.0 * unit(random) - 100.0;
            const double width = std::pow(10.0, -3.0 + 3.0 * unit(random)) * (k % 7 == 0 ? -1 : 1);
            peaks.push_back(Peak(time, height, width));
        }
        Signal4 plain = Grid(c.step, c.start);
        FillSignalEveryPair(plain, c.n, peaks);
        ForEachDispatchTarget([&](const std::string& target) {
            SCOPED_TRACE(target);
            Signal4 fast = Grid(c.step, c.start);
            FillSignal(fast, c.n, peaks);
            ExpectBitIdentical(fast, plain);
        });
    }
}

TEST(FillSignal, DegeneratePeaksMatchTheDefinitionToo) {
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    // Each case alone, so that one NaN does not hide the others.
    for (const GenPeak4& odd :
         {Peak(0.5, 1.0, 0.0), Peak(0.5, 1.0, inf), Peak(0.5, inf, 0.1), Peak(nan, 1.0, 0.1),
          Peak(0.5, 1.0, 1e-300), Peak(1e300, 1.0, 0.1), Peak(0.5, 1.0, 1e300)}) {
        const std::vector<GenPeak4> peaks{Peak(0.4, 2.0, 0.05), odd};
        Signal4 fast = Grid(0.01);
        Signal4 plain = Grid(0.01);
        FillSignal(fast, 100, peaks);
        FillSignalEveryPair(plain, 100, peaks);
        ExpectBitIdentical(fast, plain);
    }
}

// The exponential itself, through a peak of height 1 and width 1 centred at 0: within one unit in
// the last place of std::exp(-t^2) all the way to the subnormal range, and exactly 0 once t^2
// exceeds 746, where std::exp gives 0 too.
TEST(GaussPeak, WithinOneUnitOfTheStandardExponentialAndZeroBeyond746) {
    std::mt19937_64 random(11);
    std::uniform_real_distribution<double> distance(0.0, 27.5);
    for (int k = 0; k < 200'000; ++k) {
        const double t = distance(random);
        const double fast = GaussPeak(t, 1.0, 1.0, 0.0);
        const double reference = std::exp(-t * t);
        ASSERT_LE(std::fabs(fast - reference), std::nextafter(reference, 1.0) - reference)
            << "t = " << t;
    }
    for (const double q : {746.0000001, 750.0, 756.25, 1e10}) {
        EXPECT_EQ(GaussPeak(std::sqrt(q), 1.0, 1.0, 0.0), 0.0) << q;
        EXPECT_EQ(GaussPeak(std::sqrt(q), 1e300, 1.0, 0.0), 0.0) << q;
    }
    EXPECT_EQ(GaussPeak(0.0, 3.5, 1.0, 0.0), 3.5);
    EXPECT_GT(GaussPeak(std::sqrt(745.0), 1.0, 1.0, 0.0), 0.0);  // 4.9e-324 and more: subnormal
}

}  // namespace
