#pragma once

#include <vector>

#include "AutoCoordObject.h"

// Draws a series' polyline point by point in pixels: segments are clipped to the frame's
// rectangle, a segment whose ends both lie outside is dropped (even one that crosses the
// rectangle), a point on the same pixel as the previous one is skipped, and a segment that ends
// more than 12 pixels to the side of where it starts gets a dot at its end, so that sparse data
// shows its samples. Segments are collected and sent to the canvas in one call, however often
// the curve leaves the plot and comes back.
//
// The previous point and its visibility live in the frame (m_prev_point, m_prev_visible).
class PolylineTracer {
public:
    static constexpr int kDotSpacing = 12;  // pixels between samples above which dots appear

    PolylineTracer(CAutoCoordObject& frame, Canvas& canvas);
    ~PolylineTracer();
    PolylineTracer(const PolylineTracer&) = delete;
    PolylineTracer& operator=(const PolylineTracer&) = delete;

    void Start(PlotPoint p);
    void Add(PlotPoint q);
    // Sends the pending segments to the canvas; the destructor does it too.
    void Flush();

private:
    void MoveTo(PlotPoint p);
    void LineTo(PlotPoint p);
    void Dot(PlotPoint p);

    CAutoCoordObject& m_frame;
    Canvas& m_canvas;
    PlotPoint m_pen_at;                 // where the next segment starts
    std::vector<PlotPoint> m_segments;  // pairs of segment ends
};
