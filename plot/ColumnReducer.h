#pragma once

#include <cstdint>

#include "PolylineTracer.h"

// Thins a stream of pixel points before it reaches the tracer without changing a single pixel
// drawn (M4 aggregation made exact for the tracer's clipping rules):
// - A run of consecutive points inside the rectangle on one pixel column keeps its first and
//   last point and, in between, the first point of the highest and of the lowest pixel among
//   all but the last. Its vertical segments cover the same pixels: the span between the
//   extremes, with the last point left to the next segment exactly when it is a new extreme.
// - A run of consecutive points outside the rectangle keeps its first and last point: segments
//   between two outside points are never drawn, and only the run's ends meet drawn segments.
// Whatever the number of points, at most about four per pixel column reach the canvas.
class ColumnReducer {
public:
    explicit ColumnReducer(PolylineTracer& tracer, const PlotRect& rect)
        : m_tracer(tracer), m_rect(rect) {}
    ~ColumnReducer() { Finish(); }
    ColumnReducer(const ColumnReducer&) = delete;
    ColumnReducer& operator=(const ColumnReducer&) = delete;

    void Add(PlotPoint p);
    // Emits the pending run; the destructor does it too.
    void Finish();

private:
    struct Mark {
        PlotPoint point;
        std::int64_t order = 0;
    };
    void Emit(PlotPoint p);
    void CloseRun();

    PolylineTracer& m_tracer;
    PlotRect m_rect;
    bool m_started = false;  // the tracer has had its first point
    int m_run_length = 0;    // 0: no run pending
    bool m_run_inside = false;
    Mark m_first;
    Mark m_last;
    Mark m_top;     // smallest y among the run's points before m_last, first occurrence
    Mark m_bottom;  // largest y, likewise
    std::int64_t m_order = 0;
};
