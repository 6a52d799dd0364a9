#pragma once

#include <cstdint>

#include "AutoCoordObject.h"

// One curve of a panel. The values are 32-bit floats owned by someone else, who keeps them alive
// and of constant size while the series points at them. Without an X (or Y) array, the value of
// point i is start + i * step on that axis; evenly spaced X is what lets drawing jump straight to
// the samples of each pixel column.
//
// Before a draw the panel fills the series' own frame (rectangle, canvas, visible range), so it
// maps exactly as the panel does.
class CAutoSeries : public CAutoCoordObject {
public:
    double XAt(std::int64_t i) const {
        return m_x_values ? m_x_values[i] : m_x_start + static_cast<double>(i) * m_x_step;
    }
    double YAt(std::int64_t i) const {
        return m_y_values ? m_y_values[i] : m_y_start + static_cast<double>(i) * m_y_step;
    }
    // Number of points; a negative count counts as none.
    std::int64_t Count() const { return m_point_count > 0 ? m_point_count : 0; }

    // Folds the extremes of this series' values into min and max (NaN values are ignored).
    void FoldRangeX(double& min, double& max) const;
    void FoldRangeY(double& min, double& max) const;

    // Traces the polyline of all points through the frame's mapping, clipped to its rectangle,
    // thinned per pixel column: the pixels are those of DrawPolylineFull, the cost grows with
    // the plot's width (and, for the visible samples, a plain min/max scan).
    void DrawPolyline(Canvas& canvas);
    // The same polyline sent point by point; the reference for DrawPolyline.
    void DrawPolylineFull(Canvas& canvas);

    Rgb m_line_colour;
    std::int32_t m_point_count = 0;
    const float* m_x_values = nullptr;
    const float* m_y_values = nullptr;
    double m_x_start = 0.0;
    double m_x_end = 100.0;  // informational; the X of point i does not depend on it
    double m_x_step = 1.0;
    double m_y_start = 0.0;
    double m_y_end = 100.0;
    double m_y_step = 1.0;
    PenStyle m_pen_style = PenStyle::Solid;
    int m_pen_width = 0;    // 0 draws one pixel
    bool m_hidden = false;  // not drawn, but still part of the data range

private:
    bool HasEvenColumns() const;
    void DrawEvenColumns(Canvas& canvas);
};
