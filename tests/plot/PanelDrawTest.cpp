#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "RecordingCanvas.h"
#include "plot/AutoPanel.h"

namespace {

using Kind = RecordingCanvas::Kind;

// Fixed 0..100 on both axes, so the ticks do not depend on data.
CAutoPanel FixedPanel() {
    CAutoPanel p;
    p.m_auto_x = p.m_auto_y = false;
    p.m_fixed_x_min = p.m_fixed_y_min = 0;
    p.m_fixed_x_max = p.m_fixed_y_max = 100;
    return p;
}

TEST(PanelLayout, EmptyCaptionsStillCostTheirGap) {
    // Area 400 x 300, font cell 11 (ascent 9), average character 5 px, "100" 19 px:
    // work rect (1, 0, 400, 299) less the caption gaps -> (3, 0, 400, 297);
    // tick 11/3 = 3, short tick 11/6 = 1, label gap 11/5 = 2; closed frame g = 1;
    // base (3+2+1+1, 0+max(1,9), 400-1, 297-(11+2+1+1)) = (7, 9, 399, 282).
    // Pass 1 (392 x 273): X spacing 30 gives raw 7.65, step 10, and 19 + 15 <= 39.2 px fits;
    //   Y spacing 22 gives raw 8.06, step 10; widest labels 19 px:
    //   left 7 + max(19/2-2-1, 19) = 26, right 399 - 19/2 - 1 = 389.
    // Pass 2 (363 x 273): raw 8.26, step 10 again, 34 <= 36.3 px: the rectangle stays.
    CAutoPanel p = FixedPanel();
    RecordingCanvas c;
    ASSERT_TRUE(p.Draw(c, {0, 0, 400, 300}));
    EXPECT_EQ(p.m_rect, (PlotRect{26, 9, 389, 282}));
    EXPECT_DOUBLE_EQ(p.m_tick_step_x, 10.0);
    EXPECT_DOUBLE_EQ(p.m_tick_step_y, 10.0);
    EXPECT_TRUE(c.Of(Kind::RotatedText).empty());
}

TEST(PanelLayout, CaptionsTakeTheirHeightAndSitAtTheEdges) {
    CAutoPanel p = FixedPanel();
    p.m_x_caption = "Время (мин)";  // 11 characters in UTF-8
    p.m_y_caption = "Value";
    RecordingCanvas c;
    ASSERT_TRUE(p.Draw(c, {0, 0, 400, 300}));
    // Both captions 11 high: base (18, 9, 399, 271); Y labels 19 px wide put the left edge at
    // 18 + 19 = 37; X steps stay 10 (raw 7.87, then 8.52 at 352 px wide, where 34 <= 35.2).
    EXPECT_EQ(p.m_rect, (PlotRect{37, 9, 389, 271}));
    const auto x_cap = c.Of(Kind::Text).front();
    EXPECT_EQ(x_cap.text, p.m_x_caption);
    EXPECT_EQ(x_cap.points[0], (PlotPoint{398, 299}));
    EXPECT_EQ(x_cap.h, HAlign::Right);
    EXPECT_EQ(x_cap.v, VAlign::Bottom);
    const auto y_cap = c.Of(Kind::RotatedText).at(0);
    EXPECT_EQ(y_cap.points[0], (PlotPoint{1, 2}));
    EXPECT_EQ(y_cap.h, HAlign::Right);
    EXPECT_EQ(y_cap.v, VAlign::Top);
}

TEST(PanelLayout, TooSmallAreaDrawsNothing) {
    // 24 high: the base bottom is 24 - 1 - 2 - (11+2+1+1) = 6, above the top at 9.
    CAutoPanel p = FixedPanel();
    RecordingCanvas c;
    EXPECT_FALSE(p.Draw(c, {0, 0, 24, 24}));
    EXPECT_TRUE(c.ops.empty());
    EXPECT_FALSE(p.m_range_cached_x);
}

TEST(PanelDraw, PaintsInOrderBackgroundCaptionsPlotGridSeriesFrame) {
    CAutoPanel p = FixedPanel();
    p.m_x_caption = "t";
    std::vector<float> ys{10, 90, 20};
    CAutoSeries& s = p.AddSeries();
    s.m_y_values = ys.data();
    s.m_point_count = 3;
    s.m_x_step = 50;
    s.m_line_colour = {19, 43, 169};
    RecordingCanvas c;
    ASSERT_TRUE(p.Draw(c, {0, 0, 400, 300}));

    const auto index = [&](auto pred) {
        return std::find_if(c.ops.begin(), c.ops.end(), pred) - c.ops.begin();
    };
    const auto window = index([](auto& o) { return o.kind == Kind::FillRect; });
    const auto caption = index([](auto& o) { return o.kind == Kind::Text; });
    const auto plot =
        index([&](auto& o) { return o.kind == Kind::FillRect && o.rect == p.m_rect; });
    const auto grid = index([&](auto& o) { return o.colour == p.m_grid_colour; });
    const auto curve = index([&](auto& o) { return o.colour == s.m_line_colour; });
    const auto frame =
        index([&](auto& o) { return o.kind == Kind::Polyline && o.colour == p.m_axis_colour; });
    EXPECT_EQ(c.ops[window].rect, (PlotRect{0, 0, 400, 300}));
    EXPECT_LT(window, caption);
    EXPECT_LT(caption, plot);
    EXPECT_LT(plot, grid);
    EXPECT_LT(grid, curve);
    EXPECT_LT(curve, frame);
    // The frame runs one pixel outside the plot and is closed by default.
    const PlotRect& r = p.m_rect;
    EXPECT_EQ(c.ops[frame].points, (std::vector<PlotPoint>{{r.left - 1, r.top - 1},
                                                           {r.left - 1, r.bottom},
                                                           {r.right, r.bottom},
                                                           {r.right, r.top - 1},
                                                           {r.left - 1, r.top - 1}}));
}

TEST(PanelDraw, WithFlags7GridLinesStopWhereTheTickMarksBegin) {
    CAutoPanel p = FixedPanel();
    p.m_frame_flags = 7;
    RecordingCanvas c;
    ASSERT_TRUE(p.Draw(c, {0, 0, 400, 300}));
    const PlotRect& r = p.m_rect;
    const int l3 = p.m_tick_length;
    std::vector<RecordingCanvas::Op> grid, ticks;
    for (const auto& op : c.Of(Kind::Line))
        (op.colour == p.m_grid_colour ? grid : ticks).push_back(op);
    ASSERT_FALSE(grid.empty());
    // 11 X ticks and 11 Y ticks, each marked on both edges.
    EXPECT_EQ(ticks.size(), 44u);
    for (const auto& g : grid) {
        const PlotPoint a = g.points[0], b = g.points[1];
        if (a.x == b.x) {  // vertical: covers top + l3 .. bottom - l3 - 1
            EXPECT_EQ(a.y, r.top + l3);
            EXPECT_EQ(b.y, r.bottom - l3);
        } else {  // horizontal, drawn leftward: covers right - l3 - 1 .. left + l3
            EXPECT_EQ(a.x, r.right - l3 - 1);
            EXPECT_EQ(b.x, r.left + l3 - 1);
        }
    }
    // The bottom tick of the first X tick covers bottom - l3 .. bottom + l6, right after the
    // grid line's last pixel.
    const auto bottom_tick = std::find_if(ticks.begin(), ticks.end(), [&](auto& t) {
        return t.points[0].x == r.left && t.points[0].y == r.bottom - l3;
    });
    ASSERT_NE(bottom_tick, ticks.end());
    EXPECT_EQ(bottom_tick->points[1].y, r.bottom + p.m_short_tick_length + 1);
    // The closed frame has five corners.
    EXPECT_EQ(c.Of(Kind::Polyline).back().points.size(), 5u);
}

TEST(PanelDraw, HiddenSeriesIsNotDrawnButWidensTheAutomaticRange) {
    CAutoPanel p;
    std::vector<float> shown{0, 10, 5, 10}, hidden{0, 250};
    CAutoSeries& a = p.AddSeries();
    a.m_y_values = shown.data();
    a.m_point_count = 4;
    CAutoSeries& b = p.AddSeries();
    b.m_y_values = hidden.data();
    b.m_point_count = 2;
    b.m_hidden = true;
    b.m_line_colour = {200, 0, 0};
    CAutoSeries& single = p.AddSeries();  // one point: nothing to draw
    single.m_y_values = shown.data();
    single.m_point_count = 1;
    single.m_line_colour = {0, 200, 0};
    RecordingCanvas c;
    ASSERT_TRUE(p.Draw(c, {0, 0, 400, 300}));
    EXPECT_GE(p.m_visible_y_max, 250.0);
    for (const auto& op : c.ops) {
        EXPECT_FALSE(op.colour == b.m_line_colour);
        EXPECT_FALSE(op.colour == single.m_line_colour);
    }
    EXPECT_FALSE(p.m_range_cached_x || p.m_range_cached_y);
}

}  // namespace
