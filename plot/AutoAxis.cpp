#include "AutoAxis.h"

#include <algorithm>
#include <limits>
#include <tuple>

bool CAutoAxis::FoldSeriesRange(PlotAxis, double&, double&) const {
    return false;
}

std::optional<std::pair<double, double>> CAutoAxis::ComputeDataRange(PlotAxis axis) const {
    double min = std::numeric_limits<double>::max();
    double max = -std::numeric_limits<double>::max();
    if (!FoldSeriesRange(axis, min, max)) return std::nullopt;
    PadDataRange(min, max, axis == PlotAxis::X ? m_range_digits_x : m_range_digits_y);
    return std::pair{min, max};
}

std::pair<double, double> CAutoAxis::DataRange(PlotAxis axis) {
    const bool is_x = axis == PlotAxis::X;
    bool& cached = is_x ? m_range_cached_x : m_range_cached_y;
    double& vis_min = is_x ? m_visible_x_min : m_visible_y_min;
    double& vis_max = is_x ? m_visible_x_max : m_visible_y_max;
    if (cached) return {vis_min, vis_max};
    const auto range = ComputeDataRange(axis);
    if (!range) return {0.0, 0.0};
    vis_min = range->first;
    vis_max = range->second;
    cached = true;
    return *range;
}

void CAutoAxis::ResolveVisibleRanges() {
    if (m_auto_x) {
        std::tie(m_visible_x_min, m_visible_x_max) = DataRange(PlotAxis::X);
    } else {
        m_visible_x_min = m_fixed_x_min;
        m_visible_x_max = m_fixed_x_max;
    }
    if (m_auto_y) {
        std::tie(m_visible_y_min, m_visible_y_max) = DataRange(PlotAxis::Y);
    } else {
        m_visible_y_min = m_fixed_y_min;
        m_visible_y_max = m_fixed_y_max;
    }
}

void CAutoAxis::UpdateFontLengths(const FontMetrics& tick_font) {
    m_tick_length = std::max(tick_font.height / 3, 1);
    m_short_tick_length = std::max(tick_font.height / 6, 1);
    m_label_gap = std::max(tick_font.height / 5, 1);
}

int CAutoAxis::WidestLabel(Canvas& canvas, const TickScale& scale) {
    int widest = 0;
    for (TickWalk t(scale); t.Valid(); t.Next())
        widest = std::max(widest, canvas.TextExtent(FormatTickLabel(t.Value())).width);
    return widest;
}

int CAutoAxis::LayoutTicksX(Canvas& canvas, const FontMetrics& tick_font) {
    const int length = m_rect.right - m_rect.left;
    // A font reporting no width would keep the spacing from growing.
    const int w = std::max(tick_font.average_char_width, 1);
    // Pixels per step are judged against the range as it was before any snapping.
    const double range_before = m_visible_x_max - m_visible_x_min;
    double spacing = 6.0 * w;
    double min = 0.0;
    double max = 0.0;
    TickScale scale;
    int widest = 0;
    do {
        min = m_visible_x_min;
        max = m_visible_x_max;
        scale = ComputeTicks(min, max, length, spacing, m_auto_x, m_tick_step_x);
        widest = WidestLabel(canvas, scale);
        spacing += w;
    } while (spacing < length && widest + 3 * w > length * scale.step / range_before);
    m_visible_x_min = min;
    m_visible_x_max = max;
    m_tick_step_x = scale.step;
    m_first_tick_x = scale.first;
    m_last_tick_x = scale.last;
    return widest;
}

int CAutoAxis::LayoutTicksY(Canvas& canvas, const FontMetrics& tick_font) {
    const TickScale scale =
        ComputeTicks(m_visible_y_min, m_visible_y_max, m_rect.bottom - m_rect.top,
                     2.0 * tick_font.height, m_auto_y, m_tick_step_y);
    m_tick_step_y = scale.step;
    m_first_tick_y = scale.first;
    m_last_tick_y = scale.last;
    return WidestLabel(canvas, scale);
}
