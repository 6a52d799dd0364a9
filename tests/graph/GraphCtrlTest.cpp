#include <gtest/gtest.h>

#include <QImage>
#include <vector>

#include "graph/GraphCtrl.h"

namespace {

// A graph 400 x 300 with fixed ranges and no captions, painted into an image as the window
// would show it.
struct PaintedGraph {
    CGraphCtrl graph;
    std::vector<GenPeak4> peaks;
    int selected = -1;

    PaintedGraph() {
        graph.resize(400, 300);
        graph.SetVisibleRangeX(0, 10);
        graph.SetVisibleRangeY(0, 100);
    }
    QImage Render() {
        graph.ShowPeaks(&peaks, selected);
        return graph.RenderImage();
    }
    QPoint Apex(int i) { return {graph.MapX(peaks[i].time), graph.MapY(peaks[i].height)}; }
};

GenPeak4 Peak(double time, double height) {
    GenPeak4 p = MakeNewPeak(time, height);
    p.front = time - 0.5;
    p.back = time + 0.5;
    return p;
}

TEST(GraphCtrl, SelectedPeakIsDarkGreyTheOthersGreenInOnePaint) {
    PaintedGraph g;
    g.peaks = {Peak(3, 50), Peak(6, 50)};
    g.selected = 1;
    const QImage image = g.Render();
    EXPECT_EQ(image.pixelColor(g.Apex(0)), QColor(38, 213, 153));
    EXPECT_EQ(image.pixelColor(g.Apex(1)), QColor(96, 96, 96));
}

TEST(GraphCtrl, CrosshairAndReadoutOnlyWhileMarkingOrDraggingTheApex) {
    PaintedGraph g;
    g.peaks = {Peak(3, 50)};
    g.Render();  // lays the plot out
    const QPoint cursor(g.graph.MapX(5), g.graph.MapY(40));
    const QPoint on_crosshair(g.graph.MapX(8), cursor.y());
    const QPoint in_readout(cursor.x() + 10, cursor.y() + 10);
    auto dark = [](QColor c) { return c.lightness() < 64; };

    struct Case {
        bool marking;
        bool drag_apex;
        bool crosshair;
        bool readout;
    };
    for (const Case& c : {Case{false, false, false, false}, Case{true, false, true, true},
                          Case{false, true, false, true}}) {
        g.graph.SetMarkingMode(c.marking);
        if (c.drag_apex) g.graph.OnLeftButtonDown({g.Apex(0).x(), g.Apex(0).y()});
        g.graph.OnMouseMoveAt({cursor.x(), cursor.y()}, c.drag_apex);
        EXPECT_EQ(g.graph.DragMode(), c.drag_apex ? PeakDrag::Apex : PeakDrag::None);
        const QImage image = g.Render();
        EXPECT_EQ(dark(image.pixelColor(on_crosshair)), c.crosshair);
        // Some dark text pixel lies in the box where "X: 5.00, Y: 40.00" starts.
        bool text = false;
        for (int dx = 0; dx < 40; ++dx)
            for (int dy = 0; dy < 12; ++dy)
                text = text || dark(image.pixelColor(in_readout + QPoint(dx, dy)));
        EXPECT_EQ(text, c.readout);
    }
}

}  // namespace
