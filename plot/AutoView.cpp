#include "AutoView.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>

namespace {

constexpr double kZoomLimit = 100000.0;

// A range is worth showing when it is not empty and not narrower than a hundred-thousandth of
// its own magnitude (below that the labels and the mapping lose their meaning).
bool WideEnough(double lo, double hi) {
    return hi > lo && (hi - lo) * kZoomLimit > std::max(std::fabs(hi), std::fabs(lo));
}

void Order(double& a, double& b) {
    if (b < a) std::swap(a, b);
}

}  // namespace

void CAutoView::SetVisibleRangeX(double min, double max) {
    if (max <= min) {
        m_auto_x = true;
        return;
    }
    m_auto_x = false;
    m_fixed_x_min = m_visible_x_min = min;
    m_fixed_x_max = m_visible_x_max = max;
}

void CAutoView::SetVisibleRangeY(double min, double max) {
    if (max <= min) {
        m_auto_y = true;
        return;
    }
    m_auto_y = false;
    m_fixed_y_min = m_visible_y_min = min;
    m_fixed_y_max = m_visible_y_max = max;
}

void CAutoView::SetExtentX(double min, double max) {
    if (max <= min) {
        m_fit_x_to_data = true;
        return;
    }
    m_fit_x_to_data = false;
    m_extent_x_min = min;
    m_extent_x_max = max;
}

void CAutoView::SetExtentY(double min, double max) {
    if (max <= min) {
        m_fit_y_to_data = true;
        return;
    }
    m_fit_y_to_data = false;
    m_extent_y_min = min;
    m_extent_y_max = max;
}

bool CAutoView::IsZoomButton(PlotButton button) const {
    return (button == PlotButton::Left && m_zoom_button == ZoomButton::Left) ||
           (button == PlotButton::Right && m_zoom_button == ZoomButton::Right);
}

PlotRect CAutoView::BandRect() const {
    return {std::min(m_band_anchor.x, m_band_corner.x), std::min(m_band_anchor.y, m_band_corner.y),
            std::max(m_band_anchor.x, m_band_corner.x), std::max(m_band_anchor.y, m_band_corner.y)};
}

bool CAutoView::OnButtonDown(PlotButton button, PlotPoint at) {
    if (!IsZoomButton(button) || !m_zoom_enabled || m_band_active) return false;
    m_band_anchor = m_band_corner = at;
    m_band_active = true;
    return true;
}

bool CAutoView::OnMouseMove(PlotPoint at, bool zoom_button_held) {
    if (!m_band_active) return false;
    if (!zoom_button_held) {
        // A release missed outside the window shows up here as a button no longer held.
        OnCaptureLost();
    } else if (!(at == m_band_corner)) {
        m_band_corner = at;
        Invalidate();
    }
    return false;
}

void CAutoView::OnCaptureLost() {
    if (!m_band_active) return;
    m_band_active = false;
    Invalidate();
}

bool CAutoView::OnButtonUp(PlotButton button, PlotPoint) {
    if (!IsZoomButton(button) || !m_band_active) return false;
    FinishZoom();
    return true;
}

void CAutoView::FinishZoom() {
    m_band_active = false;
    Invalidate();
    AutoNotify result = AutoNotify::ZoomRejected;
    if (std::abs(m_band_corner.x - m_band_anchor.x) >= kMinBandPixels &&
        std::abs(m_band_corner.y - m_band_anchor.y) >= kMinBandPixels) {
        const bool applied = ZoomToRect(PixelToX(m_band_anchor.x), PixelToX(m_band_corner.x),
                                        PixelToY(m_band_anchor.y), PixelToY(m_band_corner.y));
        if (applied) result = AutoNotify::ZoomApplied;
    }
    Notify(result);
}

void CAutoView::ApplyRange(double x1, double x2, double y1, double y2) {
    SetVisibleRangeX(x1, x2);
    SetVisibleRangeY(y1, y2);
    Invalidate();
}

bool CAutoView::ZoomToRect(double x1, double x2, double y1, double y2) {
    Order(x1, x2);
    Order(y1, y2);
    x1 = std::max(x1, m_visible_x_min);
    x2 = std::min(x2, m_visible_x_max);
    y1 = std::max(y1, m_visible_y_min);
    y2 = std::min(y2, m_visible_y_max);
    if (!WideEnough(x1, x2) || !WideEnough(y1, y2)) return false;
    ApplyRange(x1, x2, y1, y2);
    return true;
}

void CAutoView::RefreshExtentX() {
    if (!m_auto_x && !m_fit_x_to_data) return;
    if (const auto range = ComputeDataRange(PlotAxis::X)) {
        m_extent_x_min = range->first;
        m_extent_x_max = range->second;
    }
}

bool CAutoView::ZoomOutVertically(double x1, double x2, double y1, double y2) {
    Order(x1, x2);
    Order(y1, y2);
    RefreshExtentX();
    // An extent never set (or empty) does not confine X.
    if (m_extent_x_min < m_extent_x_max) {
        x1 = std::max(x1, m_extent_x_min);
        x2 = std::min(x2, m_extent_x_max);
    }
    y1 = std::min(y1, m_visible_y_min);
    y2 = std::max(y2, m_visible_y_max);
    if (!WideEnough(x1, x2) || !WideEnough(y1, y2)) return false;
    ApplyRange(x1, x2, y1, y2);
    return true;
}

void CAutoView::ScrollHorizontally(double delta) {
    // Horizontal scrolling stays within the extent and never moves against the request.
    RefreshExtentX();
    const bool bounded = m_extent_x_min < m_extent_x_max;
    double shift = 0.0;
    if (delta < 0) {
        double new_min = m_visible_x_min + delta;
        if (bounded) new_min = std::max(new_min, m_extent_x_min);
        if (!(new_min < m_visible_x_min)) return;
        shift = new_min - m_visible_x_min;
    } else {
        double new_max = m_visible_x_max + delta;
        if (bounded) new_max = std::min(new_max, m_extent_x_max);
        if (!(new_max > m_visible_x_max)) return;
        shift = new_max - m_visible_x_max;
    }
    SetVisibleRangeX(m_visible_x_min + shift, m_visible_x_max + shift);
    Invalidate();
    Notify(AutoNotify::ScrolledHorizontally);
}

void CAutoView::Scroll(ScrollRequest request) {
    switch (request) {
        case ScrollRequest::LineUp:
        case ScrollRequest::PageUp:
        case ScrollRequest::LineDown:
        case ScrollRequest::PageDown: {
            const bool up = request == ScrollRequest::LineUp || request == ScrollRequest::PageUp;
            const double step = up ? m_tick_step_y : -m_tick_step_y;
            SetVisibleRangeY(m_visible_y_min + step, m_visible_y_max + step);
            Invalidate();
            Notify(AutoNotify::ScrolledVertically);
            break;
        }
        case ScrollRequest::LineLeft:
        case ScrollRequest::PageLeft:
            ScrollHorizontally(-m_tick_step_x);
            break;
        case ScrollRequest::LineRight:
        case ScrollRequest::PageRight:
            ScrollHorizontally(m_tick_step_x);
            break;
        case ScrollRequest::Other:
            break;
    }
}

void CAutoView::OnWheel(int delta, bool shift, bool control) {
    if (delta == 0) return;
    if (shift) {
        Scroll(delta > 0 ? ScrollRequest::LineLeft : ScrollRequest::LineRight);
    } else if (control) {
        // Each notch moves the top of the view by a twelfth of its height.
        const double d = (m_visible_y_max - m_visible_y_min) / 12;
        if (delta > 0)
            ZoomToRect(m_visible_x_min, m_visible_x_max, m_visible_y_min, m_visible_y_max - d);
        else
            ZoomOutVertically(m_visible_x_min, m_visible_x_max, m_visible_y_min,
                              m_visible_y_max + d);
        Invalidate();
    } else {
        Scroll(delta > 0 ? ScrollRequest::LineUp : ScrollRequest::LineDown);
    }
}

bool CAutoView::OnDoubleClick() {
    FitToData(PlotAxis::X);
    if (FitYOnDoubleClick()) FitToData(PlotAxis::Y);
    Invalidate();
    return false;
}

void CAutoView::FitToData(PlotAxis axis) {
    const bool is_x = axis == PlotAxis::X;
    const auto [lo, hi] = ComputeDataRange(axis).value_or(std::pair{0.0, 0.0});
    (is_x ? m_extent_x_min : m_extent_y_min) = lo;
    (is_x ? m_extent_x_max : m_extent_y_max) = hi;
    if (lo < hi) {
        (is_x ? m_fixed_x_min : m_fixed_y_min) = (is_x ? m_visible_x_min : m_visible_y_min) = lo;
        (is_x ? m_fixed_x_max : m_fixed_y_max) = (is_x ? m_visible_x_max : m_visible_y_max) = hi;
    }
    (is_x ? m_auto_x : m_auto_y) = is_x ? m_fit_x_to_data : m_fit_y_to_data;
}
