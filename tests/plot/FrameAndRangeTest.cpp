#include <gtest/gtest.h>

#include <limits>

#include "RecordingCanvas.h"
#include "plot/AutoPanel.h"

namespace {

// A frame where data and pixels coincide: 101 pixels for 0..100 on both axes.
CAutoCoordObject UnitFrame() {
    CAutoCoordObject f;
    f.m_rect = {10, 20, 111, 121};
    f.m_visible_x_min = f.m_visible_y_min = 0;
    f.m_visible_x_max = f.m_visible_y_max = 100;
    return f;
}

TEST(CoordFrame, MapsRangeEndsToFirstAndLastPixelRoundingHalfDown) {
    const CAutoCoordObject f = UnitFrame();
    EXPECT_EQ(f.MapX(0), 10);
    EXPECT_EQ(f.MapX(100), 110);
    EXPECT_EQ(f.MapX(0.5), 10);   // ceil(0.5 - 0.5)
    EXPECT_EQ(f.MapX(0.51), 11);  // ceil(0.01)
    EXPECT_EQ(f.MapY(0), 120);    // bottom - 1
    EXPECT_EQ(f.MapY(100), 20);
    EXPECT_EQ(f.MapY(50), 70);
    EXPECT_DOUBLE_EQ(f.PixelToX(60), 50.0);
    EXPECT_DOUBLE_EQ(f.PixelToY(70), 50.0);
    EXPECT_DOUBLE_EQ(f.PixelToY(20), 100.0);
}

TEST(CoordFrame, DegenerateRangesAndWildValuesStayDefined) {
    CAutoCoordObject f = UnitFrame();
    f.m_visible_x_max = f.m_visible_x_min = 3;
    f.m_visible_y_max = f.m_visible_y_min = 3;
    EXPECT_EQ(f.MapX(3), 0);
    EXPECT_EQ(f.MapX(-7), 0);
    EXPECT_EQ(f.MapY(42), 0);

    f = UnitFrame();
    const int lim = CAutoCoordObject::kPixelLimit;
    EXPECT_EQ(f.MapX(1e300), 10 + lim);
    EXPECT_EQ(f.MapX(-1e300), 10 - lim);
    EXPECT_EQ(f.MapX(std::numeric_limits<double>::quiet_NaN()), 10 - lim);
    EXPECT_EQ(f.MapY(1e300), 120 - lim);

    // A plot one pixel wide has no pixel step to divide by.
    f.m_rect = {10, 20, 11, 21};
    EXPECT_EQ(f.PixelToX(10), 0.0);
    EXPECT_EQ(f.PixelToY(20), 0.0);
}

class DataRangeTest : public ::testing::Test {
protected:
    CAutoSeries& Add(const std::vector<float>& ys) {
        m_data.push_back(ys);
        CAutoSeries& s = panel.AddSeries();
        s.m_y_values = m_data.back().data();
        s.m_point_count = static_cast<int>(ys.size());
        return s;
    }
    CAutoPanel panel;
    std::deque<std::vector<float>> m_data;
};

TEST_F(DataRangeTest, HiddenSeriesCountsAndPointlessSeriesAddNothing) {
    Add({1, 2, 3});
    Add({-4, 10}).m_hidden = true;
    panel.AddSeries();  // no points
    const auto y = panel.ComputeDataRange(PlotAxis::Y);
    ASSERT_TRUE(y);
    EXPECT_EQ(y->first, -4.0);
    EXPECT_EQ(y->second, 10.0);
    // X from start 0 and step 1: the longest series spans 0..2.
    const auto x = panel.ComputeDataRange(PlotAxis::X);
    EXPECT_EQ(x->first, 0.0);
    EXPECT_EQ(x->second, 2.0);
}

TEST_F(DataRangeTest, SinglePointAndFlatCurveArePaddedByHalfAThousandth) {
    Add({5, 5, 5, 5});
    const auto [lo, hi] = panel.DataRange(PlotAxis::Y);
    EXPECT_DOUBLE_EQ(lo, 4.9995);
    EXPECT_DOUBLE_EQ(hi, 5.0005);
    EXPECT_DOUBLE_EQ(panel.DataRange(PlotAxis::X).first, 0.0);

    CAutoPanel single;
    float v = 7;
    CAutoSeries& s = single.AddSeries();
    s.m_y_values = &v;
    s.m_point_count = 1;
    s.m_x_start = 2;
    EXPECT_DOUBLE_EQ(single.DataRange(PlotAxis::X).first, 1.9995);
    EXPECT_DOUBLE_EQ(single.DataRange(PlotAxis::Y).second, 7.0005);
}

TEST_F(DataRangeTest, RangeIsComputedOncePerLayoutAndNotWithoutSeries) {
    EXPECT_EQ(panel.DataRange(PlotAxis::Y), (std::pair{0.0, 0.0}));
    EXPECT_FALSE(panel.m_range_cached_y);

    std::vector<float>& ys = m_data.emplace_back(std::vector<float>{0, 50});
    CAutoSeries& s = panel.AddSeries();
    s.m_y_values = ys.data();
    s.m_point_count = 2;
    panel.DataRange(PlotAxis::Y);
    EXPECT_TRUE(panel.m_range_cached_y);
    ys[1] = 80;  // not seen until the cache is cleared
    EXPECT_EQ(panel.DataRange(PlotAxis::Y).second, 50.0);
    panel.m_range_cached_y = false;
    EXPECT_EQ(panel.DataRange(PlotAxis::Y).second, 80.0);
}

TEST_F(DataRangeTest, NanSamplesAreIgnoredAndNegativeCountsAreEmpty) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    Add({nan, 3, nan, -1});
    Add({9, 9}).m_point_count = -5;
    const auto y = panel.ComputeDataRange(PlotAxis::Y);
    EXPECT_EQ(y->first, -1.0);
    EXPECT_EQ(y->second, 3.0);
}

TEST(XTickLayout, SpacingGrowsUntilTheWidestLabelFits) {
    // Average character 5 px: spacings 30 and 35 give raw 6 and 7, step 5, but "100" (19 px)
    // plus 15 px does not fit in the 25 px of a step; spacing 40 gives raw 8, step 10 (50 px):
    // fits.
    CAutoAxis axis;
    RecordingCanvas canvas;
    axis.m_rect = {0, 0, 500, 100};
    axis.m_auto_x = true;
    axis.m_visible_x_min = 0;
    axis.m_visible_x_max = 100;
    EXPECT_EQ(axis.LayoutTicksX(canvas, canvas.GetFontMetrics()), 19);
    EXPECT_DOUBLE_EQ(axis.m_tick_step_x, 10.0);
    EXPECT_DOUBLE_EQ(axis.m_first_tick_x, 0.0);
    EXPECT_DOUBLE_EQ(axis.m_last_tick_x, 100.0);
}

TEST(FontLengths, ThirdSixthAndFifthOfTheHeightAtLeastOnePixel) {
    CAutoAxis axis;
    axis.UpdateFontLengths({14, 11, 6});
    EXPECT_EQ(axis.m_tick_length, 4);
    EXPECT_EQ(axis.m_short_tick_length, 2);
    EXPECT_EQ(axis.m_label_gap, 2);
    axis.UpdateFontLengths({4, 3, 2});
    EXPECT_EQ(axis.m_tick_length, 1);
    EXPECT_EQ(axis.m_short_tick_length, 1);
    EXPECT_EQ(axis.m_label_gap, 1);
}

}  // namespace
