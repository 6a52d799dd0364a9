#include "PainterCanvas.h"

#include <QFontInfo>
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

PainterCanvas::PainterCanvas(QPainter& painter)
    : m_painter(painter),
      m_scaled(painter.device() != nullptr && painter.device()->devicePixelRatio() != 1.0) {
    m_painter.save();
    m_painter.setRenderHint(QPainter::Antialiasing, false);
    m_painter.setBrush(Qt::NoBrush);
}

PainterCanvas::~PainterCanvas() {
    m_painter.restore();
}

QFont PainterCanvas::ToQFont(const FontSpec& wanted) {
    const QString family = QString::fromStdString(wanted.family);
    QFont font(family);
    font.setStyleHint(QFont::SansSerif);
    font.setWeight(static_cast<QFont::Weight>(std::clamp(wanted.weight, 1, 1000)));
    if (QFontInfo(font).family().compare(family, Qt::CaseInsensitive) != 0)
        font.setFamily(QString::fromLatin1(kFallbackFamily));
    // The em is smaller than the cell, so the search starts at the cell height and goes down.
    // Whole pixel sizes only: the font system rounds any other to one of them anyway.
    const int cell = std::max(wanted.cell_height, 1);
    for (int size = cell; size >= 1; --size) {
        font.setPixelSize(size);
        const QFontMetrics metrics(font);
        if (metrics.ascent() + metrics.descent() <= cell) break;
    }
    return font;
}

void PainterCanvas::SetPen(Rgb colour, int width, PenStyle style) {
    QPen pen(ToQColor(colour));
    pen.setStyle(ToQtStyle(style));
    m_pen_colour = ToQColor(colour);
    m_thin_solid = width <= 1 && style == PenStyle::Solid;
    if (width <= 1) {
        pen.setWidth(m_scaled ? 1 : 0);
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

bool PainterCanvas::AxisLine(PlotPoint from, PlotPoint to, QRect& pixels) const {
    if (!m_thin_solid || (from.x != to.x && from.y != to.y)) return false;
    // The start pixel and every pixel up to, not including, the end pixel.
    const int step_x = to.x > from.x ? 1 : (to.x < from.x ? -1 : 0);
    const int step_y = to.y > from.y ? 1 : (to.y < from.y ? -1 : 0);
    const PlotPoint last{to.x - step_x, to.y - step_y};
    pixels = QRect(QPoint(std::min(from.x, last.x), std::min(from.y, last.y)),
                   QPoint(std::max(from.x, last.x), std::max(from.y, last.y)));
    return true;
}

// Lines from ends[i] to ends[i + 1] for i = 0, stride, 2 * stride, ...
void PainterCanvas::DrawSegments(std::span<const PlotPoint> ends, std::size_t stride) {
    m_lines.clear();
    m_centred_lines.clear();
    m_rects.clear();
    for (std::size_t i = 0; i + 1 < ends.size(); i += stride) {
        const PlotPoint a = ends[i], b = ends[i + 1];
        if (a == b) continue;  // a line to its own start paints nothing
        QRect r;
        if (AxisLine(a, b, r)) {
            m_rects.push_back(r);
        } else {
            // The painter leaves out the start pixel of some sloped lines, depending on their
            // direction; the raster rule wants it.
            if (m_scaled)
                m_centred_lines.emplace_back(a.x + 0.5, a.y + 0.5, b.x + 0.5, b.y + 0.5);
            else
                m_lines.emplace_back(a.x, a.y, b.x, b.y);
            if (m_thin_solid) m_rects.emplace_back(a.x, a.y, 1, 1);
        }
    }
    for (const QRect& r : m_rects) m_painter.fillRect(r, m_pen_colour);
    if (!m_lines.empty()) m_painter.drawLines(m_lines.data(), static_cast<int>(m_lines.size()));
    if (!m_centred_lines.empty())
        m_painter.drawLines(m_centred_lines.data(), static_cast<int>(m_centred_lines.size()));
}

void PainterCanvas::DrawLine(PlotPoint from, PlotPoint to) {
    const PlotPoint ends[2] = {from, to};
    DrawSegments(ends, 2);
}

void PainterCanvas::DrawPolyline(std::span<const PlotPoint> points) {
    DrawSegments(points, 1);
}

void PainterCanvas::DrawLines(std::span<const PlotPoint> ends) {
    DrawSegments(ends, 2);
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
    // Scaled, the outline runs through the centres of the same pixels (see m_scaled).
    if (m_scaled)
        m_painter.drawEllipse(
            QRectF(box.left + 0.5, box.top + 0.5, box.Width() - 1, box.Height() - 1));
    else
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
