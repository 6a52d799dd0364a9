#include <gtest/gtest.h>

#include <cmath>

#include "synth/StoredPeaks.h"

namespace {

// The analysis runs from 1.0 to 1.0 + 999 * 0.01 = 10.99 minutes.
TEST(CollectStoredPeaks, LeavesOutPeaksWhoseTimeLiesOutsideTheAnalysisAndSaysWhy) {
    Signal4 s(0.01, 1.0, nullptr, 0);
    s.Resize(1000);
    auto peak = [](double time, double front, double back) {
        GenPeak4 p = MakeNewPeak(time, 1.0);
        p.front = front;
        p.back = back;
        return p;
    };
    const std::vector<GenPeak4> peaks = {
        peak(5.0, 4.0, 6.0),      // stored
        peak(12.0, 0.0, 0.0),     // beyond the end, with the bounds of a peak never found
        peak(0.5, 1.0, 2.0),      // before the start
        peak(NAN, 4.0, 6.0),      //
        peak(10.99, 10.0, 10.5),  // at the end itself
        peak(10.0, 9.5, 10.99),   // reaching the end
        peak(1.0, 1.0, 2.0),      // at the start: stored
    };
    std::vector<LeftOutPeak> left_out;
    const std::vector<Peak4> stored = CollectStoredPeaks(s, peaks, &left_out);
    ASSERT_EQ(stored.size(), 2u);
    EXPECT_EQ(stored[0].time, 5.0);
    EXPECT_EQ(stored[1].time, 1.0);
    const std::vector<std::pair<std::size_t, LeftOutReason>> expected = {
        {1, LeftOutReason::TimeOutsideAnalysis},
        {2, LeftOutReason::TimeOutsideAnalysis},
        {3, LeftOutReason::TimeOutsideAnalysis},
        {4, LeftOutReason::TimeOutsideAnalysis},
        {5, LeftOutReason::ReachesEnd}};
    ASSERT_EQ(left_out.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(left_out[i].index, expected[i].first);
        EXPECT_EQ(left_out[i].reason, expected[i].second);
    }
}

}  // namespace
