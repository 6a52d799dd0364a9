#pragma once

#include "Canvas.h"

// The coordinate frame shared by the panel and every series: a plot rectangle in pixels and the
// data range mapped onto it. The series carry their own copy, filled from the panel before they
// are drawn, so that they map exactly as the panel does.
class CAutoCoordObject {
public:
    virtual ~CAutoCoordObject() = default;

    // Data to pixel: the first and last pixel of the rectangle carry the range ends, values round
    // half down. A degenerate range (max == min) maps everything to 0. Results are clamped to
    // +-kPixelLimit, and NaN goes to the low limit, so wild data cannot overflow an int.
    int MapX(double x) const;
    int MapY(double y) const;
    // Pixel to data with this frame's rectangle and visible range; a rectangle one pixel wide or
    // high gives the range's minimum.
    double PixelToX(int px) const;
    double PixelToY(int py) const;

    // Far outside any surface but small enough that segment interpolation in 64 bits is exact.
    static constexpr int kPixelLimit = 1 << 24;

    PlotRect m_rect;             // the data area; right and bottom exclusive
    Canvas* m_canvas = nullptr;  // surface of the draw under way, not owned
    bool m_auto_x = true;        // visible X follows the data; otherwise the fixed X range
    bool m_auto_y = true;
    double m_visible_x_min = 0.0;
    double m_visible_x_max = 0.0;
    double m_visible_y_min = 0.0;
    double m_visible_y_max = 0.0;
    double m_fixed_x_min = 0.0;
    double m_fixed_x_max = 0.0;
    double m_fixed_y_min = 0.0;
    double m_fixed_y_max = 0.0;
    PlotPoint m_prev_point;      // last pixel point of the polyline being traced
    bool m_prev_visible = true;  // whether m_prev_point lies inside m_rect
};
