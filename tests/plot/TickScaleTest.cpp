#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "plot/TickScale.h"

namespace {

std::vector<double> Ticks(const TickScale& scale) {
    std::vector<double> out;
    for (TickWalk t(scale); t.Valid(); t.Next()) out.push_back(t.Value());
    return out;
}

TEST(TickScale, StepFromSpacingAndMantissaTable) {
    // raw = 100 * 60 / 500 = 12: mantissa 1.2, multiplier 1.
    double min = 0, max = 100;
    EXPECT_DOUBLE_EQ(ComputeTicks(min, max, 500, 60, false, 1.0).step, 10.0);

    // The table's comparisons are strict: a mantissa on a boundary takes the lower row.
    EXPECT_EQ(StepMultiplier(7.5), 5.0);
    EXPECT_EQ(StepMultiplier(7.51), 10.0);
    EXPECT_EQ(StepMultiplier(3.5), 3.0);
    EXPECT_EQ(StepMultiplier(2.6), 2.5);
    EXPECT_EQ(StepMultiplier(2.5), 2.5);
    EXPECT_EQ(StepMultiplier(2.4), 2.0);
    EXPECT_EQ(StepMultiplier(1.5), 1.0);
    EXPECT_EQ(StepMultiplier(1.51), 2.0);

    // The same boundaries reached through raw = span * spacing / length.
    for (auto [span, step] : {std::pair{75.0, 5.0}, {25.0, 2.5}, {15.0, 1.0}}) {
        double lo = 0, hi = span;
        EXPECT_DOUBLE_EQ(ComputeTicks(lo, hi, 100, 10, false, 1.0).step, step) << span;
    }
}

TEST(TickScale, AutomaticAxisSnapsOutwardFixedAxisKeepsItsEnds) {
    // Span 9.4 over 100 px at 10 px: raw 0.94, step 1.
    double min = 0.3, max = 9.7;
    TickScale t = ComputeTicks(min, max, 100, 10, true, 1.0);
    EXPECT_DOUBLE_EQ(t.step, 1.0);
    EXPECT_DOUBLE_EQ(t.first, 0.0);
    EXPECT_DOUBLE_EQ(t.last, 10.0);
    EXPECT_DOUBLE_EQ(min, 0.0);
    EXPECT_DOUBLE_EQ(max, 10.0);

    min = 0.3, max = 9.7;
    t = ComputeTicks(min, max, 100, 10, false, 1.0);
    EXPECT_DOUBLE_EQ(t.first, 1.0);
    EXPECT_DOUBLE_EQ(t.last, 9.0);
    EXPECT_DOUBLE_EQ(min, 0.3);
    EXPECT_DOUBLE_EQ(max, 9.7);

    // An end more than half a step from the next tick does not snap even when automatic.
    min = 0.7, max = 9.2;
    t = ComputeTicks(min, max, 100, 10, true, 1.0);
    EXPECT_DOUBLE_EQ(t.first, 1.0);
    EXPECT_DOUBLE_EQ(t.last, 9.0);
    EXPECT_DOUBLE_EQ(min, 0.7);
    EXPECT_DOUBLE_EQ(max, 9.2);
}

TEST(TickScale, FixedRangeIncludesLastTickAndLabelsNegativeZeroAsZero) {
    // raw = 100 * 100 / 500 = 20: step 20.
    double min = 0, max = 100;
    const TickScale t = ComputeTicks(min, max, 500, 100, false, 1.0);
    EXPECT_DOUBLE_EQ(t.step, 20.0);
    const std::vector<double> ticks = Ticks(t);
    ASSERT_EQ(ticks.size(), 6u);
    for (int i = 0; i < 6; ++i) EXPECT_DOUBLE_EQ(ticks[i], 20.0 * i);
    // ceil(0 / 20 - 0.01) is -0; the tick is zero and its label a plain "0".
    EXPECT_EQ(FormatTickLabel(ticks[0]), "0");
}

// Ticks are first + i * step, and one a rounding error from zero is zero: an axis across zero
// and the axis of an empty channel fitted to its data (a flat 0, padded to +-0.0005) label their
// middle tick "0", never a residue such as "-2.775557562e-17".
TEST(TickScale, TicksAreMultiplesOfTheStepFromTheFirstAndZeroIsExact) {
    struct Case {
        double min, max;
        int length;
        double spacing;
        bool automatic;
    };
    double empty_min = 0.0, empty_max = 0.0;
    PadDataRange(empty_min, empty_max, 3);
    for (const Case c :
         {Case{-0.3, 0.3, 100, 10, false}, Case{-0.3, 0.3, 600, 40, true},
          Case{empty_min, empty_max, 300, 22, true}, Case{-0.7, 0.2, 400, 40, false}}) {
        SCOPED_TRACE(c.min);
        double min = c.min, max = c.max;
        const TickScale scale = ComputeTicks(min, max, c.length, c.spacing, c.automatic, 1.0);
        const std::vector<double> ticks = Ticks(scale);
        ASSERT_GE(ticks.size(), 3u);
        int zeros = 0;
        for (std::size_t i = 0; i < ticks.size(); ++i) {
            const double exact = scale.first + static_cast<double>(i) * scale.step;
            if (ticks[i] == 0.0) {
                ++zeros;
                EXPECT_EQ(FormatTickLabel(ticks[i]), "0");
                EXPECT_LT(std::fabs(exact), 1e-6 * scale.step);
            } else {
                EXPECT_EQ(ticks[i], exact);
            }
        }
        EXPECT_EQ(zeros, 1);
    }
}

TEST(TickScale, LabelsAreTenSignificantDigits) {
    EXPECT_EQ(FormatTickLabel(0.1 + 0.2), "0.3");
    EXPECT_EQ(FormatTickLabel(2.5), "2.5");
    EXPECT_EQ(FormatTickLabel(100.0), "100");
    EXPECT_EQ(FormatTickLabel(123456789012.0), "1.23456789e+11");
    EXPECT_EQ(FormatTickLabel(1e-5), "1e-05");
    EXPECT_EQ(FormatTickLabel(-0.25), "-0.25");
}

TEST(TickScale, DegenerateSpansGiveNoTicksInsteadOfUndefinedArithmetic) {
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case {
        double min, max;
        int length;
    };
    for (const Case c :
         {Case{5, 5, 100}, Case{0, inf, 100}, Case{nan, 1, 100}, Case{0, 1, 0}, Case{1, 0, 100}}) {
        double min = c.min, max = c.max;
        const TickScale t = ComputeTicks(min, max, c.length, 10, true, 0.5);
        EXPECT_EQ(t.step, 0.5);
        EXPECT_TRUE(Ticks(t).empty());
    }
    // A fallback step that is itself unusable becomes 1.
    double min = 5, max = 5;
    EXPECT_EQ(ComputeTicks(min, max, 100, 10, true, 0.0).step, 1.0);
}

TEST(TickScale, TickWalkEndsWhenTheStepNoLongerMovesTheValue) {
    // At 1e17 a step of 0.1 is lost in rounding; the walk must not spin.
    const TickScale scale{0.1, 1e17, 1e17 + 1024};
    EXPECT_EQ(Ticks(scale).size(), 1u);
}

TEST(PadDataRange, FlatNarrowAndEmptyRanges) {
    double min = 5, max = 5;
    PadDataRange(min, max, 3);
    EXPECT_DOUBLE_EQ(min, 4.9995);
    EXPECT_DOUBLE_EQ(max, 5.0005);

    // Narrower than a thousandth of 1000.5: widened to 1.0005 about the midpoint 1000.25.
    min = 1000, max = 1000.5;
    PadDataRange(min, max, 3);
    EXPECT_NEAR(max - min, 1.0005, 1e-9);
    EXPECT_DOUBLE_EQ((min + max) / 2, 1000.25);

    // Wide enough: unchanged.
    min = 0, max = 1;
    PadDataRange(min, max, 3);
    EXPECT_EQ(min, 0.0);
    EXPECT_EQ(max, 1.0);

    // Nothing folded in: the sentinels give a range about 0 of width DBL_MAX / 1000.
    min = std::numeric_limits<double>::max(), max = -std::numeric_limits<double>::max();
    PadDataRange(min, max, 3);
    EXPECT_DOUBLE_EQ(max, std::numeric_limits<double>::max() / 2000);
    EXPECT_DOUBLE_EQ(min, -std::numeric_limits<double>::max() / 2000);
}

}  // namespace
