#include "PainterCanvas.h"

#include <QFontMetrics>
#include <QPen>
#include <QRect>
#include <QString>
#include <algorithm>

namespace {

QColor ToQColor(Rgb c) {
    return QColor(c.r, c.g, c.b);
}

QString ToQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

Qt::PenStyle ToQtStyle(PenStyle style) {
    switch (style) {
        case PenStyle::Solid:
            return Qt::SolidLine;
        case PenStyle::Dash:
            return Qt::DashLine;
        case PenStyle::Dot:
            return Qt::DotLine;
        case PenStyle::DashDot:
            return Qt::DashDotLine;
        case PenStyle::DashDotDot:
            return Qt::DashDotDotLine;
        case PenStyle::Null:
            return Qt::NoPen;
    }
    return Qt::SolidLine;
}

QRect ToQRect(const PlotRect& r) {
    return QRect(r.left, r.top, r.Width(), r.Height());
}

}  // namespace

PainterCanvas::PainterCanvas(QPainter& painter) : m_painter(painter) {
    m_painter.save();
    m_painter.setRenderHint(QPainter::Antialiasing, false);
    m_painter.setBrush(Qt::NoBrush);
}

PainterCanvas::~PainterCanvas() {
    m_painter.restore();
}

QFont PainterCanvas::ToQFont(const FontSpec& spec) {
    QFont font(QString::fromStdString(spec.family));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(spec.pixel_height > 0 ? spec.pixel_height : 1);
    font.setWeight(static_cast<QFont::Weight>(std::clamp(spec.weight, 1, 1000)));
    return font;
}

void PainterCanvas::SetPen(Rgb colour, int width, PenStyle style) {
    QPen pen(ToQColor(colour));
    pen.setStyle(ToQtStyle(style));
    if (width <= 1) {
        pen.setWidth(0);
        pen.setCapStyle(Qt::FlatCap);
    } else {
        pen.setWidth(width);
        pen.setCapStyle(Qt::RoundCap);
        pen.setJoinStyle(Qt::RoundJoin);
    }
    m_painter.setPen(pen);
}

void PainterCanvas::SetBrush(std::optional<Rgb> fill) {
    if (fill)
        m_painter.setBrush(ToQColor(*fill));
    else
        m_painter.setBrush(Qt::NoBrush);
}

void PainterCanvas::DrawLine(PlotPoint from, PlotPoint to) {
    if (from == to) return;
    m_painter.drawLine(QPoint(from.x, from.y), QPoint(to.x, to.y));
}

void PainterCanvas::DrawPolyline(std::span<const PlotPoint> points) {
    // A repeated point would make the painter draw a dot where the raster rule draws nothing.
    m_points.clear();
    for (const PlotPoint& p : points)
        if (m_points.empty() || m_points.back() != QPoint(p.x, p.y))
            m_points.emplace_back(p.x, p.y);
    if (m_points.size() >= 2)
        m_painter.drawPolyline(m_points.data(), static_cast<int>(m_points.size()));
}

void PainterCanvas::FillRect(const PlotRect& rect, Rgb colour) {
    m_painter.fillRect(ToQRect(rect), ToQColor(colour));
}

void PainterCanvas::FrameRect(const PlotRect& rect, Rgb colour, int width) {
    m_painter.save();
    QPen pen(ToQColor(colour));
    pen.setWidth(width);
    pen.setJoinStyle(Qt::MiterJoin);
    m_painter.setPen(pen);
    m_painter.setBrush(Qt::NoBrush);
    m_painter.drawRect(QRectF(rect.left, rect.top, rect.Width() - 1, rect.Height() - 1));
    m_painter.restore();
}

void PainterCanvas::DrawEllipse(const PlotRect& box) {
    // With a one-pixel pen the painter covers width + 1 pixels, the box's right edge included.
    m_painter.drawEllipse(QRect(box.left, box.top, box.Width() - 1, box.Height() - 1));
}

void PainterCanvas::SetFont(const FontSpec& font) {
    m_painter.setFont(ToQFont(font));
}

FontMetrics PainterCanvas::GetFontMetrics() {
    const QFontMetrics fm = m_painter.fontMetrics();
    return {fm.ascent() + fm.descent(), fm.ascent(), fm.averageCharWidth()};
}

TextSize PainterCanvas::TextExtent(std::string_view text) {
    const QFontMetrics fm = m_painter.fontMetrics();
    return {fm.horizontalAdvance(ToQString(text)), fm.ascent() + fm.descent()};
}

void PainterCanvas::DrawAligned(QPoint at, const QString& text, HAlign h, VAlign v, Rgb colour) {
    const QFontMetrics fm = m_painter.fontMetrics();
    int x = at.x();
    if (h == HAlign::Center) x -= fm.horizontalAdvance(text) / 2;
    if (h == HAlign::Right) x -= fm.horizontalAdvance(text);
    int y = at.y();
    if (v == VAlign::Top) y += fm.ascent();
    if (v == VAlign::Bottom) y -= fm.descent();
    const QPen pen = m_painter.pen();
    m_painter.setPen(ToQColor(colour));
    m_painter.drawText(QPoint(x, y), text);
    m_painter.setPen(pen);
}

void PainterCanvas::DrawText(PlotPoint at, std::string_view text, HAlign h, VAlign v, Rgb colour) {
    DrawAligned(QPoint(at.x, at.y), ToQString(text), h, v, colour);
}

void PainterCanvas::DrawRotatedText(PlotPoint at, std::string_view text, HAlign h, VAlign v,
                                    Rgb colour) {
    m_painter.save();
    m_painter.translate(at.x, at.y);
    m_painter.rotate(-90.0);
    DrawAligned(QPoint(0, 0), ToQString(text), h, v, colour);
    m_painter.restore();
}

void PainterCanvas::SetClip(const PlotRect& rect) {
    m_painter.setClipRect(ToQRect(rect));
}

void PainterCanvas::ClearClip() {
    m_painter.setClipping(false);
}

void PainterCanvas::InvertFrame(const PlotRect& r) {
    if (r.Width() <= 0 || r.Height() <= 0) return;
    m_painter.save();
    m_painter.setCompositionMode(QPainter::RasterOp_NotDestination);
    const QColor any(Qt::black);  // the raster operation ignores the source colour
    if (r.Width() <= 2 || r.Height() <= 2) {
        m_painter.fillRect(ToQRect(r), any);
    } else {
        // Four edges that never overlap, so no pixel is inverted twice.
        m_painter.fillRect(QRect(r.left, r.top, r.Width(), 1), any);
        m_painter.fillRect(QRect(r.left, r.bottom - 1, r.Width(), 1), any);
        m_painter.fillRect(QRect(r.left, r.top + 1, 1, r.Height() - 2), any);
        m_painter.fillRect(QRect(r.right - 1, r.top + 1, 1, r.Height() - 2), any);
    }
    m_painter.restore();
}
