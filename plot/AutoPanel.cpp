#include "AutoPanel.h"

#include <algorithm>
#include <array>
#include <iterator>
#include <stdexcept>

CAutoSeries& CAutoPanel::AddSeries() {
    return m_series.emplace_back();
}

void CAutoPanel::RemoveSeries(std::size_t index) {
    if (index >= m_series.size()) throw std::out_of_range("invalid series index");
    m_series.erase(m_series.begin() + static_cast<std::ptrdiff_t>(index));
}

bool CAutoPanel::FoldSeriesRange(PlotAxis axis, double& min, double& max) const {
    if (m_series.empty()) return false;
    for (const CAutoSeries& s : m_series) {
        if (axis == PlotAxis::X)
            s.FoldRangeX(min, max);
        else
            s.FoldRangeY(min, max);
    }
    return true;
}

bool CAutoPanel::Draw(Canvas& canvas, const PlotRect& area) {
    Layout layout;
    if (!ComputeLayout(canvas, area, layout)) {
        m_range_cached_x = m_range_cached_y = false;
        return false;
    }
    canvas.SetClip(area);
    canvas.FillRect(area, m_window_background);
    DrawCaptions(canvas, layout);
    FinalDraw(canvas);
    canvas.ClearClip();
    return true;
}

bool CAutoPanel::ComputeLayout(Canvas& canvas, const PlotRect& area, Layout& layout) {
    PlotRect w = area;
    w.left += m_margin;
    w.bottom -= m_margin;

    canvas.SetFont(m_caption_font);
    const int h_x = m_x_caption.empty() ? 0 : canvas.TextExtent(m_x_caption).height;
    const int h_y = m_y_caption.empty() ? 0 : canvas.TextExtent(m_y_caption).height;
    layout.x_caption_at = {w.right - m_margin - 1, w.bottom};
    layout.y_caption_at = {w.left, w.top + m_margin + 1};
    w.bottom -= m_caption_gap + h_x;
    w.left += m_caption_gap + h_y;

    canvas.SetFont(m_tick_font);
    const FontMetrics font = canvas.GetFontMetrics();
    UpdateFontLengths(font);
    const int g =
        (FrameClosed() ? 1 : 0) + ((m_frame_flags & kTicksAround) ? m_short_tick_length : 0);
    PlotRect base = w;
    base.top += std::max(g, font.ascent);
    base.left += m_label_gap + m_short_tick_length + 1;
    base.right -= g;
    base.bottom -= font.height + m_label_gap + m_short_tick_length + 1;
    if (!FitPlotRect(canvas, font, base)) return false;
    layout.plot = m_rect;
    return true;
}

// Shrinks the plot rectangle until the labels it needs fit around it: half the widest X label
// may stick out on either side, the Y labels need their widest width on the left. Every pass
// can only shrink the candidate, so the loop ends.
bool CAutoPanel::FitPlotRect(Canvas& canvas, const FontMetrics& font, const PlotRect& base) {
    PlotRect c = base;
    for (;;) {
        if (c.Width() < 1 || c.Height() < 1) return false;
        m_rect = c;
        ResolveVisibleRanges();
        const int t_x = LayoutTicksX(canvas, font);
        const int t_y = LayoutTicksY(canvas, font);
        PlotRect n = base;
        n.left = base.left + std::max(t_x / 2 - m_label_gap - m_short_tick_length, t_y);
        n.right = base.right - t_x / 2 - 1;
        n = n.Intersect(c);
        if (n == c) return true;
        c = n;
    }
}

void CAutoPanel::DrawCaptions(Canvas& canvas, const Layout& layout) {
    canvas.SetFont(m_caption_font);
    if (!m_x_caption.empty())
        canvas.DrawText(layout.x_caption_at, m_x_caption, HAlign::Right, VAlign::Bottom,
                        m_caption_colour);
    if (!m_y_caption.empty())
        canvas.DrawRotatedText(layout.y_caption_at, m_y_caption, HAlign::Right, VAlign::Top,
                               m_caption_colour);
}

void CAutoPanel::FinalDraw(Canvas& canvas) {
    canvas.SetFont(m_tick_font);
    const FontMetrics font = canvas.GetFontMetrics();
    ResolveVisibleRanges();
    LayoutTicksX(canvas, font);
    LayoutTicksY(canvas, font);

    canvas.FillRect(m_rect, m_plot_background);
    if (m_axis_pen_width >= 2) canvas.FrameRect(m_rect, Rgb{0, 0, 0}, m_axis_pen_width);
    DrawGrid(canvas);
    DrawSeries(canvas);
    DrawFrame(canvas);
    m_range_cached_x = m_range_cached_y = false;
}

void CAutoPanel::DrawGrid(Canvas& canvas) {
    canvas.SetPen(m_grid_colour, 0, PenStyle::Solid);
    const bool around = (m_frame_flags & kTicksAround) != 0;
    const PlotRect& r = m_rect;
    if (m_frame_flags & kGridX) {
        const int y0 = around ? r.top + m_tick_length : r.top;
        for (TickWalk t(ScaleX()); t.Valid(); t.Next()) {
            const int x = MapX(t.Value());
            canvas.DrawLine({x, y0}, {x, r.bottom - m_tick_length});
        }
    }
    if (m_frame_flags & kGridY) {
        const int xr = around ? r.right - m_tick_length : r.right;
        for (TickWalk t(ScaleY()); t.Valid(); t.Next()) {
            const int y = MapY(t.Value());
            canvas.DrawLine({xr - 1, y}, {r.left + m_tick_length - 1, y});
        }
    }
}

void CAutoPanel::DrawSeries(Canvas& canvas) {
    canvas.SetBrush(m_plot_background);
    for (CAutoSeries& s : m_series) {
        if (s.m_hidden) continue;
        s.m_rect = m_rect;
        s.m_canvas = &canvas;
        s.m_auto_x = s.m_auto_y = false;
        s.m_fixed_x_min = s.m_visible_x_min = m_visible_x_min;
        s.m_fixed_x_max = s.m_visible_x_max = m_visible_x_max;
        s.m_fixed_y_min = s.m_visible_y_min = m_visible_y_min;
        s.m_fixed_y_max = s.m_visible_y_max = m_visible_y_max;
        canvas.SetPen(s.m_line_colour, s.m_pen_width, s.m_pen_style);
        if (s.Count() > 1) s.DrawPolyline(canvas);
    }
}

void CAutoPanel::DrawFrame(Canvas& canvas) {
    const PlotRect& r = m_rect;
    const int l3 = m_tick_length;
    const int l6 = m_short_tick_length;
    const int l5 = m_label_gap;
    const bool around = (m_frame_flags & kTicksAround) != 0;
    canvas.SetPen(m_axis_colour, m_axis_pen_width, PenStyle::Solid);

    // The frame runs one pixel outside the plot area so that it never covers data.
    const std::array<PlotPoint, 5> frame{{{r.left - 1, r.top - 1},
                                          {r.left - 1, r.bottom},
                                          {r.right, r.bottom},
                                          {r.right, r.top - 1},
                                          {r.left - 1, r.top - 1}}};
    canvas.DrawPolyline(std::span(frame.data(), FrameClosed() ? 5 : 3));

    for (TickWalk t(ScaleX()); t.Valid(); t.Next()) {
        const int x = MapX(t.Value());
        if (around) canvas.DrawLine({x, r.top - l6 - 1}, {x, r.top + l3});
        canvas.DrawLine({x, r.bottom - l3}, {x, r.bottom + l6 + 1});
        canvas.DrawText({x, r.bottom + l6 + 1 + l5}, FormatTickLabel(t.Value()), HAlign::Center,
                        VAlign::Top, m_axis_colour);
    }
    for (TickWalk t(ScaleY()); t.Valid(); t.Next()) {
        const int y = MapY(t.Value());
        if (around) canvas.DrawLine({r.right + l6, y}, {r.right - l3 - 1, y});
        canvas.DrawLine({r.left + l3 - 1, y}, {r.left - l6 - 2, y});
        canvas.DrawText({r.left - l6 - l5 - 1, y}, FormatTickLabel(t.Value()), HAlign::Right,
                        VAlign::Baseline, m_axis_colour);
    }
}
