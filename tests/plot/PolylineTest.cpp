#include <gtest/gtest.h>

#include <vector>

#include "RecordingCanvas.h"
#include "plot/AutoSeries.h"
#include "plot/SegmentClip.h"

namespace {

using Kind = RecordingCanvas::Kind;
using Points = std::vector<PlotPoint>;

// A series on a frame where pixel x = data x and pixel y = 100 - data y (rect 0..100 inclusive).
struct UnitSeries {
    explicit UnitSeries(std::vector<float> xs, std::vector<float> ys) : x(xs), y(ys) {
        s.m_rect = {0, 0, 101, 101};
        s.m_visible_x_min = s.m_visible_y_min = 0;
        s.m_visible_x_max = s.m_visible_y_max = 100;
        s.m_x_values = x.data();
        s.m_y_values = y.data();
        s.m_point_count = static_cast<int>(x.size());
    }
    std::vector<float> x, y;
    CAutoSeries s;
};

TEST(MulDivRound, RoundsHalvesAwayFromZero) {
    EXPECT_EQ(MulDivRound(1, 1, 2), 1);
    EXPECT_EQ(MulDivRound(-1, 1, 2), -1);
    EXPECT_EQ(MulDivRound(1, -1, 2), -1);
    EXPECT_EQ(MulDivRound(-20, 50, 60), -17);  // -16.67
    EXPECT_EQ(MulDivRound(5, 1, 4), 1);        // 1.25
    EXPECT_EQ(MulDivRound(7, 1, -4), -2);      // -1.75
}

TEST(SegmentClip, EndsMoveOntoTheEdgesTheyCross) {
    const PlotRect r{0, 0, 101, 101};
    PlotPoint p{20, 10}, q{40, -50};
    ClipSegment(r, p, q);
    EXPECT_EQ(p, (PlotPoint{20, 10}));
    EXPECT_EQ(q, (PlotPoint{23, 0}));  // 40 + round(-20 * 50 / 60)

    p = {50, 50}, q = {50, 300};
    ClipSegment(r, p, q);
    EXPECT_EQ(q, (PlotPoint{50, 100}));

    p = {-30, 40}, q = {70, 90};
    ClipSegment(r, p, q);
    EXPECT_EQ(p, (PlotPoint{0, 55}));  // 40 + 50 * 30 / 100

    // Both ends on the left edge: nothing to interpolate along it, only the top end is cut.
    p = {0, -10}, q = {0, 50};
    ClipSegment(r, p, q);
    EXPECT_EQ(p, (PlotPoint{0, 0}));
    EXPECT_EQ(q, (PlotPoint{0, 50}));
}

TEST(Polyline, CurveLeavingAtTheTopIsCutAndResumesWhereItReenters) {
    // Samples 20 px apart: sparse, so drawn segments longer than 12 px end in a dot.
    UnitSeries u({0, 20, 40, 60, 80, 100}, {50, 90, 150, 150, 90, 50});
    RecordingCanvas c;
    u.s.DrawPolylineFull(c);
    ASSERT_EQ(c.ops.size(), 4u);
    EXPECT_EQ(c.ops[0].points, (Points{{0, 50}, {20, 10}}));
    EXPECT_EQ(c.ops[1].kind, Kind::Ellipse);
    EXPECT_EQ(c.ops[1].rect, (PlotRect{18, 8, 23, 13}));
    // Leaves through the top at x = 23; the segment above the plot is not drawn at all.
    // Re-enters at x = 60 + round(20 * 50 / 60) = 77.
    EXPECT_EQ(c.ops[2].points, (Points{{20, 10}, {23, 0}, {77, 0}, {80, 10}, {80, 10}, {100, 50}}));
    EXPECT_EQ(c.ops[3].rect, (PlotRect{98, 48, 103, 53}));

    // The thinned drawing sends the same (the points are in different columns).
    RecordingCanvas thin;
    u.s.DrawPolyline(thin);
    ASSERT_EQ(thin.ops.size(), c.ops.size());
    for (std::size_t i = 0; i < c.ops.size(); ++i) EXPECT_EQ(thin.ops[i].points, c.ops[i].points);
}

TEST(Polyline, DenseDataHasNoDotsAndRepeatedPixelsAreSkipped) {
    std::vector<float> xs, ys;
    for (int i = 0; i <= 1000; ++i) {
        xs.push_back(i * 0.1f);
        ys.push_back(50);
    }
    UnitSeries u(xs, ys);
    RecordingCanvas c;
    u.s.DrawPolylineFull(c);
    EXPECT_TRUE(c.Of(Kind::Ellipse).empty());
    // A flat line: every sample lands on y = 50, ten per column; one segment per column step.
    ASSERT_EQ(c.Of(Kind::Lines).size(), 1u);
    EXPECT_EQ(c.ops[0].points.size(), 200u);
}

TEST(Polyline, SegmentWithBothEndsOutsideIsNotDrawnEvenAcrossThePlot) {
    UnitSeries u({-10, 110, 50}, {50, 50, 50});
    RecordingCanvas c;
    u.s.DrawPolylineFull(c);
    // Only the re-entry from (110, 50) to (50, 50), cut at the right edge, is drawn.
    ASSERT_EQ(c.Of(Kind::Lines).size(), 1u);
    EXPECT_EQ(c.ops[0].points, (Points{{100, 50}, {50, 50}}));
}

TEST(Polyline, EvenlySpacedSamplesReachTheCanvasAsAFewPointsPerColumn) {
    // 100000 noisy samples over 101 columns.
    std::vector<float> ys(100000);
    unsigned seed = 1;
    for (float& y : ys) {
        seed = seed * 1103515245u + 12345u;
        y = 30.0f + static_cast<float>(seed >> 16 & 0x7fff) / 32767.0f * 40.0f;
    }
    CAutoSeries s;
    s.m_rect = {0, 0, 101, 101};
    s.m_visible_x_max = s.m_visible_y_max = 100;
    s.m_y_values = ys.data();
    s.m_point_count = static_cast<int>(ys.size());
    s.m_x_step = 100.0 / (ys.size() - 1);
    RecordingCanvas c;
    s.DrawPolyline(c);
    std::size_t sent = 0;
    for (const auto& op : c.Of(Kind::Lines)) sent += op.points.size() / 2;
    EXPECT_LE(sent, 4u * 101u);
    EXPECT_GE(sent, 100u);
}

}  // namespace
