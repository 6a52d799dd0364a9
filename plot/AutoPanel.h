#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>

#include "AutoAxis.h"
#include "AutoSeries.h"

// A plot: captions, a framed plot area with ticks, labels and grid lines, and the curves in it.
// Draw lays the area out around the labels and captions and paints everything in one go.
class CAutoPanel : public CAutoAxis {
public:
    // Bits of m_frame_flags.
    enum FrameFlag : std::uint32_t {
        kGridX = 1,        // vertical grid lines at the X ticks
        kGridY = 2,        // horizontal grid lines at the Y ticks
        kTicksAround = 4,  // tick marks on the top and right edges too
        kClosedFrame = 8,  // frame on all four sides (kTicksAround implies it)
    };

    // Appends a series with default fields. References to series stay valid until that series
    // is removed.
    CAutoSeries& AddSeries();
    // Throws std::out_of_range for an index outside the list.
    CAutoSeries& Series(std::size_t index) { return m_series.at(index); }
    const CAutoSeries& Series(std::size_t index) const { return m_series.at(index); }
    std::size_t SeriesCount() const { return m_series.size(); }
    void RemoveSeries(std::size_t index);
    void ClearSeries() { m_series.clear(); }

    // Lays out and paints the whole panel into `area` of the canvas (the window background
    // first, then captions, plot background, grid, series, frame with ticks and labels). Drawing
    // stays inside `area`. Afterwards m_rect, the visible ranges and the ticks hold what was
    // drawn, for marks drawn on top. An area too small for a plot rectangle of at least one
    // pixel gets nothing at all; the result is then false.
    bool Draw(Canvas& canvas, const PlotRect& area);

    bool FrameClosed() const { return (m_frame_flags & (kTicksAround | kClosedFrame)) != 0; }

    Rgb m_axis_colour{0, 0, 0};  // frame, tick marks and tick labels
    Rgb m_grid_colour{191, 191, 191};
    Rgb m_plot_background{255, 255, 255};
    int m_axis_pen_width = 0;  // 0 draws one pixel; 2 or more also outlines the plot area
    std::uint32_t m_frame_flags = kGridX | kGridY | kClosedFrame;
    FontSpec m_tick_font;
    Rgb m_caption_colour{0, 0, 0};
    Rgb m_window_background{255, 255, 255};
    int m_caption_gap = 2;    // pixels between a caption and the labels; kept even when empty
    int m_margin = 1;         // pixels kept free at the left and bottom edges
    std::string m_x_caption;  // UTF-8, right-aligned under the plot
    std::string m_y_caption;  // UTF-8, reading upward along the left edge
    FontSpec m_caption_font;

protected:
    bool FoldSeriesRange(PlotAxis axis, double& min, double& max) const override;

private:
    struct Layout {
        PlotPoint x_caption_at;
        PlotPoint y_caption_at;
        PlotRect plot;
    };
    bool ComputeLayout(Canvas& canvas, const PlotRect& area, Layout& layout);
    bool FitPlotRect(Canvas& canvas, const FontMetrics& tick_font, const PlotRect& base);
    void DrawCaptions(Canvas& canvas, const Layout& layout);
    void FinalDraw(Canvas& canvas);
    void DrawGrid(Canvas& canvas);
    void DrawSeries(Canvas& canvas);
    void DrawFrame(Canvas& canvas);

    std::deque<CAutoSeries> m_series;
};
