#pragma once

#include <QFont>
#include <QLine>
#include <QPainter>
#include <QPoint>
#include <QRect>
#include <vector>

#include "Canvas.h"

// The Canvas over a QPainter. Lines are aliased with flat caps, which gives the raster rule of
// the Canvas (start pixel drawn, end pixel not). Coordinates are device-independent pixels; on a
// device with a pixel ratio other than 1 a thin line stays one such pixel thick whether it is
// axis-aligned or sloped. The painter's state is restored on destruction.
class PainterCanvas final : public Canvas {
public:
    // Used for every family the system does not have. Left to the font system, the substitute
    // for a missing family depends on which fonts happen to be installed, and with it every
    // metric the layout depends on; this one is always there on the project's machines.
    static constexpr const char* kFallbackFamily = "DejaVu Sans";

    explicit PainterCanvas(QPainter& painter);
    ~PainterCanvas() override;
    PainterCanvas(const PainterCanvas&) = delete;
    PainterCanvas& operator=(const PainterCanvas&) = delete;

    // The font the canvas uses for `wanted`: its family, or kFallbackFamily when the system
    // lacks it, at the largest whole pixel size whose ascent + descent is at most the wanted
    // cell height (1 px at the least).
    static QFont ToQFont(const FontSpec& wanted);

    void SetPen(Rgb colour, int width, PenStyle style) override;
    void SetBrush(std::optional<Rgb> fill) override;
    void DrawLine(PlotPoint from, PlotPoint to) override;
    void DrawPolyline(std::span<const PlotPoint> points) override;
    void DrawLines(std::span<const PlotPoint> ends) override;
    void FillRect(const PlotRect& rect, Rgb colour) override;
    void FrameRect(const PlotRect& rect, Rgb colour, int width) override;
    void DrawEllipse(const PlotRect& box) override;
    void SetFont(const FontSpec& font) override;
    FontMetrics GetFontMetrics() override;
    TextSize TextExtent(std::string_view text) override;
    void DrawText(PlotPoint at, std::string_view text, HAlign h, VAlign v, Rgb colour) override;
    void DrawRotatedText(PlotPoint at, std::string_view text, HAlign h, VAlign v,
                         Rgb colour) override;
    void SetClip(const PlotRect& rect) override;
    void ClearClip() override;
    void InvertFrame(const PlotRect& rect) override;

private:
    // Draws `text` with the chosen part of its box on the painter's origin-relative `at`.
    void DrawAligned(QPoint at, const QString& text, HAlign h, VAlign v, Rgb colour);

    // With a one-pixel solid pen, a horizontal or vertical line as the rectangle of pixels the
    // raster rule gives it (the painter's own lines drop the end that lies lower or further
    // right, whichever way they run). Otherwise false.
    bool AxisLine(PlotPoint from, PlotPoint to, QRect& pixels) const;
    void DrawSegments(std::span<const PlotPoint> ends, std::size_t stride);

    QPainter& m_painter;
    // Device pixels per coordinate pixel differ from 1. Axis-aligned lines are filled pixel
    // rectangles, which scale; a cosmetic pen would stay one device pixel thin, so thin pens are
    // then one coordinate pixel wide and sloped lines run through pixel centres, covering the
    // pixels an axis-aligned line through the same pixels would. At a ratio of 1 the cosmetic
    // pen on pixel corners gives exactly those pixels already, and is what is drawn.
    bool m_scaled = false;
    bool m_thin_solid = true;  // pen one pixel wide and solid
    QColor m_pen_colour = Qt::black;
    std::vector<QRect> m_rects;
    std::vector<QLine> m_lines;
    std::vector<QLineF> m_centred_lines;
};
