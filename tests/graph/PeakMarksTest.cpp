#include <gtest/gtest.h>

#include <vector>

#include "graph/PeakHitTest.h"
#include "graph/PeakMarks.h"
#include "plot/RecordingCanvas.h"

namespace {

using Kind = RecordingCanvas::Kind;

// Plot rectangle (0, 0)-(101, 41): 0..100 minutes over 101 pixels, 0..40 mV over 41 pixels, so
// one minute is one pixel and value v lies at y = 40 - v.
CAutoCoordObject Frame(int height = 41) {
    CAutoCoordObject f;
    f.m_rect = {0, 0, 101, height};
    f.m_visible_x_min = 0;
    f.m_visible_x_max = 100;
    f.m_visible_y_min = 0;
    f.m_visible_y_max = height - 1;
    return f;
}

GenPeak4 Peak(double time, double height, double front, double back) {
    GenPeak4 p;
    p.time = time;
    p.height = height;
    p.front = front;
    p.back = back;
    p.front_base_height = 2;
    p.back_base_height = 4;
    p.width = 5;
    p.window_front = time - 5;
    p.window_back = time + 5;
    p.window_front_height = 10;
    p.window_back_height = 10;
    return p;
}

TEST(PeakMarks, FortyPixelPlotGivesTwoPixelMarksAndMarksInOrder) {
    const CAutoCoordObject frame = Frame(40);
    EXPECT_EQ(MarkLength(frame.m_rect), 2);  // 40 * 0.05; half of it is 1
    const CAutoCoordObject f = Frame();
    RecordingCanvas canvas;
    DrawPeakMarks(canvas, f, {Peak(50, 30, 40, 60)}, -1, PeakDrag::None, {});
    // 41 px high: mark length 2, half 1. Apex (50, 10); bounds (40, 38) and (60, 36); window
    // markers (45, 30) and (55, 30).
    const auto lines = canvas.Of(Kind::Line);
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(canvas.Of(Kind::Ellipse).at(0).rect, (PlotRect{47, 7, 53, 13}));
    const std::vector<std::vector<PlotPoint>> expected = {
        {{40, 38}, {60, 36}}, {{40, 39}, {40, 37}}, {{60, 37}, {60, 35}},
        {{45, 30}, {55, 30}}, {{45, 31}, {45, 29}}, {{55, 31}, {55, 29}}};
    for (std::size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(lines[i].points, expected[i]);
}

TEST(PeakMarks, SelectedPeakIsGreyOthersGreenAndFreshWindowSitsAtOrigin) {
    GenPeak4 fresh = Peak(20, 10, 15, 25);
    fresh.window_front = fresh.window_back = 0;
    fresh.window_front_height = fresh.window_back_height = 0;
    RecordingCanvas canvas;
    DrawPeakMarks(canvas, Frame(), {fresh, Peak(50, 30, 40, 60)}, 1, PeakDrag::None, {});
    const auto ellipses = canvas.Of(Kind::Ellipse);
    ASSERT_EQ(ellipses.size(), 2u);
    EXPECT_EQ(ellipses[0].colour, (Rgb{38, 213, 153}));
    EXPECT_EQ(ellipses[1].colour, (Rgb{96, 96, 96}));
    // The first peak's window line: from time 0, value 0 to the same point.
    EXPECT_EQ(canvas.Of(Kind::Line).at(3).points, (std::vector<PlotPoint>{{0, 40}, {0, 40}}));
}

TEST(PeakMarks, TheApexStandsOnTheBaselineWhereItIsDrawnAndHit) {
    // A drift of 0.2 mV per minute adds 10 mV at 50 minutes: the apex of height 20 is at 30.
    const BaselineFn drift = [](double t) { return 0.2 * t; };
    const std::vector<GenPeak4> peaks{Peak(50, 20, 40, 60)};
    RecordingCanvas canvas;
    DrawPeakMarks(canvas, Frame(), peaks, -1, PeakDrag::None, {}, drift);
    const auto ellipses = canvas.Of(Kind::Ellipse);
    ASSERT_EQ(ellipses.size(), 1u);
    EXPECT_EQ(ellipses[0].rect, (PlotRect{47, 7, 53, 13}));  // centre (50, 40 - 30), radius 3
    EXPECT_EQ(HitTestPeaks(Frame(), peaks, {50, 10}, 2, drift).drag, PeakDrag::Apex);
    EXPECT_EQ(HitTestPeaks(Frame(), peaks, {50, 20}, 2, drift).drag, PeakDrag::None);
}

TEST(PeakMarks, GuidesSpanThePlotForEveryPeakDuringBoundAndWindowDrags) {
    const std::vector<GenPeak4> peaks = {Peak(20, 10, 15, 25), Peak(50, 30, 40, 60)};
    struct Case {
        PeakDrag drag;
        std::vector<int> guide_x;
    };
    for (const Case& c :
         {Case{PeakDrag::None, {}}, Case{PeakDrag::Apex, {}},
          Case{PeakDrag::Front, {15, 25, 40, 60}}, Case{PeakDrag::WindowBack, {15, 25, 45, 55}}}) {
        RecordingCanvas canvas;
        DrawPeakMarks(canvas, Frame(), peaks, -1, c.drag, {});
        std::vector<int> guides;
        for (const auto& line : canvas.Of(Kind::Line))
            if (line.points[0].y == 0 && line.points[1].y == 41) guides.push_back(line.points[0].x);
        EXPECT_EQ(guides, c.guide_x) << static_cast<int>(c.drag);
    }
}

TEST(PeakHitTest, ToleranceIsEightPixelsAndTheFirstMarkWins) {
    GenPeak4 p = Peak(50, 30, 40, 60);  // apex at (50, 10), front at (40, 38)
    const std::vector<GenPeak4> peaks = {p, p};
    struct Case {
        PlotPoint at;
        PeakDrag drag;
        int index;
    };
    for (const Case& c : {
             Case{{58, 18}, PeakDrag::Apex, 0},   // 8 right, 8 below the apex
             Case{{59, 10}, PeakDrag::None, -1},  // 9 right
             Case{{50, 19}, PeakDrag::None, -1},  // 9 below
             Case{{40, 30}, PeakDrag::Front, 0},  // front before the window marker
             Case{{47, 24}, PeakDrag::WindowFront, 0},
             Case{{54, 24}, PeakDrag::WindowBack, 0},
         }) {
        const PeakHit hit = HitTestPeaks(Frame(), peaks, c.at, 8);
        EXPECT_EQ(hit.drag, c.drag) << c.at.x << "," << c.at.y;
        EXPECT_EQ(hit.index, c.index) << c.at.x << "," << c.at.y;
    }
}

TEST(PeakHitTest, UnplacedOrEmptyMarksAreNeverHit) {
    GenPeak4 p = Peak(50, 0, 0, 0);  // height 0, bounds not yet found
    p.width = 0;
    p.front_base_height = p.back_base_height = 0;
    for (PlotPoint at : {PlotPoint{50, 40}, PlotPoint{0, 40}, PlotPoint{45, 30}})
        EXPECT_EQ(HitTestPeaks(Frame(), {p}, at, 8).drag, PeakDrag::None);
}

}  // namespace
