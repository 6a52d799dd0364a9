#include "ColumnReducer.h"

void ColumnReducer::Add(PlotPoint p) {
    const bool inside = m_rect.Contains(p);
    const bool continues =
        m_run_length > 0 && inside == m_run_inside && (!inside || p.x == m_last.point.x);
    if (!continues) {
        CloseRun();
        m_run_inside = inside;
        m_first = m_last = m_top = m_bottom = {p, m_order++};
        m_run_length = 1;
        return;
    }
    // The old last point joins the body of the run, whose extremes are tracked.
    if (m_run_length > 1) {
        if (m_last.point.y < m_top.point.y) m_top = m_last;
        if (m_last.point.y > m_bottom.point.y) m_bottom = m_last;
    }
    m_last = {p, m_order++};
    ++m_run_length;
}

void ColumnReducer::Emit(PlotPoint p) {
    if (m_started) {
        m_tracer.Add(p);
    } else {
        m_tracer.Start(p);
        m_started = true;
    }
}

void ColumnReducer::CloseRun() {
    if (m_run_length == 0) return;
    Emit(m_first.point);
    if (m_run_inside && m_run_length > 2) {
        const Mark& a = m_top.order < m_bottom.order ? m_top : m_bottom;
        const Mark& b = m_top.order < m_bottom.order ? m_bottom : m_top;
        if (a.order != m_first.order) Emit(a.point);
        if (b.order != a.order && b.order != m_first.order) Emit(b.point);
    }
    if (m_run_length > 1) Emit(m_last.point);
    m_run_length = 0;
}

void ColumnReducer::Finish() {
    CloseRun();
}
