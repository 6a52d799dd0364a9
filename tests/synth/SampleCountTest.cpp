#include <gtest/gtest.h>

#include <limits>

#include "synth/SampleCount.h"

namespace {

TEST(SampleCount, IsTheCeilingOfTimeTimesRate) {
    EXPECT_EQ(ComputeSampleCount(10.0, 100.0).count, 1000u);
    EXPECT_EQ(ComputeSampleCount(0.015, 100.0).count, 2u);
    EXPECT_EQ(ComputeSampleCount(60.0, 6000.0).count, 360'000u);
    const double exact_limit = static_cast<double>(kMaxSampleCount);
    EXPECT_TRUE(ComputeSampleCount(exact_limit, 1.0).ok());
}

TEST(SampleCount, RefusesWhatCannotOrShouldNotBeAllocated) {
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(ComputeSampleCount(0.0, 100.0).error, SampleCountError::InvalidTime);
    EXPECT_EQ(ComputeSampleCount(-1.0, 100.0).error, SampleCountError::InvalidTime);
    EXPECT_EQ(ComputeSampleCount(nan, 100.0).error, SampleCountError::InvalidTime);
    EXPECT_EQ(ComputeSampleCount(10.0, 0.0).error, SampleCountError::InvalidRate);
    EXPECT_EQ(ComputeSampleCount(10.0, inf).error, SampleCountError::InvalidRate);
    EXPECT_EQ(ComputeSampleCount(static_cast<double>(kMaxSampleCount) + 1.0, 1.0).error,
              SampleCountError::TooMany);
    EXPECT_EQ(ComputeSampleCount(1e300, 1e300).error, SampleCountError::TooMany);  // overflows
    EXPECT_FALSE(DescribeSampleCountError(SampleCountError::TooMany).empty());
}

TEST(SampleCount, CheckedResizeRefusesAboveTheLimitAndKeepsTheSignal) {
    Signal4 s(0.1, 0.0, nullptr, 0);
    EXPECT_TRUE(ResizeChecked(s, 5));
    EXPECT_EQ(s.Size(), 5u);
    EXPECT_FALSE(ResizeChecked(s, kMaxSampleCount + 1));
    EXPECT_EQ(s.Size(), 5u);
}

}  // namespace
