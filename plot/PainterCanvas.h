#pragma once

#include <QFont>
#include <QPainter>
#include <QPoint>
#include <vector>

#include "Canvas.h"

// The Canvas over a QPainter. Lines are aliased and cosmetic with flat caps, which gives the
// raster rule of the Canvas (start pixel drawn, end pixel not). A font family the system lacks
// falls back to its sans-serif. The painter's state is restored on destruction.
class PainterCanvas final : public Canvas {
public:
    explicit PainterCanvas(QPainter& painter);
    ~PainterCanvas() override;
    PainterCanvas(const PainterCanvas&) = delete;
    PainterCanvas& operator=(const PainterCanvas&) = delete;

    // The font the canvas uses for `spec`.
    static QFont ToQFont(const FontSpec& spec);

    void SetPen(Rgb colour, int width, PenStyle style) override;
    void SetBrush(std::optional<Rgb> fill) override;
    void DrawLine(PlotPoint from, PlotPoint to) override;
    void DrawPolyline(std::span<const PlotPoint> points) override;
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

    QPainter& m_painter;
    std::vector<QPoint> m_points;
};
