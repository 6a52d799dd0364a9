#include "PolylineTracer.h"

#include <cstdlib>

#include "SegmentClip.h"

PolylineTracer::PolylineTracer(CAutoCoordObject& frame, Canvas& canvas)
    : m_frame(frame), m_canvas(canvas) {}

PolylineTracer::~PolylineTracer() {
    Flush();
}

void PolylineTracer::Start(PlotPoint p) {
    m_frame.m_prev_point = p;
    m_frame.m_prev_visible = m_frame.m_rect.Contains(p);
    MoveTo(p);
}

void PolylineTracer::Add(PlotPoint q) {
    if (q == m_frame.m_prev_point) return;
    const bool q_inside = m_frame.m_rect.Contains(q);
    PlotPoint p1 = m_frame.m_prev_point;
    PlotPoint q1 = q;
    bool drawn = true;
    if (!(m_frame.m_prev_visible && q_inside)) ClipSegment(m_frame.m_rect, p1, q1);
    if (!m_frame.m_prev_visible) {
        if (q_inside)
            MoveTo(p1);
        else
            drawn = false;
    }
    if (drawn) {
        LineTo(q1);
        if (std::abs(q1.x - p1.x) > kDotSpacing) Dot(q1);
    }
    m_frame.m_prev_point = q;
    m_frame.m_prev_visible = q_inside;
}

void PolylineTracer::MoveTo(PlotPoint p) {
    m_pen_at = p;
}

void PolylineTracer::LineTo(PlotPoint p) {
    m_segments.push_back(m_pen_at);
    m_segments.push_back(p);
    m_pen_at = p;
}

void PolylineTracer::Dot(PlotPoint p) {
    // The dot is painted over what came before it, so the segments so far must reach the
    // canvas first.
    Flush();
    m_canvas.DrawEllipse({p.x - 2, p.y - 2, p.x + 3, p.y + 3});
}

void PolylineTracer::Flush() {
    if (!m_segments.empty()) m_canvas.DrawLines(m_segments);
    m_segments.clear();
}
