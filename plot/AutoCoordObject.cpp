#include "AutoCoordObject.h"

#include <cmath>

namespace {

int ClampPixel(double v) {
    constexpr double kLimit = CAutoCoordObject::kPixelLimit;
    if (!(v >= -kLimit)) return -CAutoCoordObject::kPixelLimit;  // also NaN
    if (v > kLimit) return CAutoCoordObject::kPixelLimit;
    return static_cast<int>(v);
}

// Offset in pixels of `v` from the start of a range [lo, hi] spread over `span_px` pixel steps.
int PixelOffset(double v, double lo, double hi, int span_px) {
    return ClampPixel(std::ceil((v - lo) / (hi - lo) * span_px - 0.5));
}

}  // namespace

int CAutoCoordObject::MapX(double x) const {
    if (m_visible_x_max == m_visible_x_min) return 0;
    return m_rect.left +
           PixelOffset(x, m_visible_x_min, m_visible_x_max, m_rect.right - m_rect.left - 1);
}

int CAutoCoordObject::MapY(double y) const {
    if (m_visible_y_max == m_visible_y_min) return 0;
    return m_rect.bottom - 1 -
           PixelOffset(y, m_visible_y_min, m_visible_y_max, m_rect.bottom - m_rect.top - 1);
}

double CAutoCoordObject::PixelToX(int px) const {
    const int span = m_rect.right - m_rect.left - 1;
    if (span == 0) return m_visible_x_min;
    return (px - m_rect.left) * (m_visible_x_max - m_visible_x_min) / span + m_visible_x_min;
}

double CAutoCoordObject::PixelToY(int py) const {
    const int span = m_rect.bottom - m_rect.top - 1;
    if (span == 0) return m_visible_y_min;
    return m_visible_y_max - (py - m_rect.top) * (m_visible_y_max - m_visible_y_min) / span;
}
