#include "PeakMarks.h"

#include <string>

#include "synth/NumberText.h"

namespace {

constexpr Rgb kBlack{0, 0, 0};

PlotPoint ToPixels(const CAutoCoordObject& frame, double time, double value) {
    return {frame.MapX(time), frame.MapY(value)};
}

void VerticalMark(Canvas& canvas, PlotPoint at, int half) {
    canvas.DrawLine({at.x, at.y + half}, {at.x, at.y - half});
}

void Guide(Canvas& canvas, const CAutoCoordObject& frame, double time) {
    const int x = frame.MapX(time);
    canvas.DrawLine({x, frame.m_rect.top}, {x, frame.m_rect.bottom});
}

void DrawOnePeak(Canvas& canvas, const CAutoCoordObject& frame, const GenPeak4& peak, int half,
                 PeakDrag drag, int radius, const BaselineFn& baseline) {
    const PlotPoint apex = ToPixels(frame, peak.time, ApexValue(peak, baseline));
    canvas.DrawEllipse({apex.x - radius, apex.y - radius, apex.x + radius, apex.y + radius});

    const PlotPoint front = ToPixels(frame, peak.front, peak.front_base_height);
    const PlotPoint back = ToPixels(frame, peak.back, peak.back_base_height);
    canvas.DrawLine(front, back);
    VerticalMark(canvas, front, half);
    VerticalMark(canvas, back, half);

    const PlotPoint window_front = ToPixels(frame, peak.window_front, peak.window_front_height);
    const PlotPoint window_back = ToPixels(frame, peak.window_back, peak.window_back_height);
    canvas.DrawLine(window_front, window_back);
    VerticalMark(canvas, window_front, half);
    VerticalMark(canvas, window_back, half);

    if (drag == PeakDrag::WindowFront || drag == PeakDrag::WindowBack) {
        Guide(canvas, frame, peak.window_front);
        Guide(canvas, frame, peak.window_back);
    }
    if (drag == PeakDrag::Front || drag == PeakDrag::Back) {
        Guide(canvas, frame, peak.front);
        Guide(canvas, frame, peak.back);
    }
}

}  // namespace

double ApexValue(const GenPeak4& peak, const BaselineFn& baseline) {
    return peak.height + (baseline ? baseline(peak.time) : 0.0);
}

int MarkLength(const PlotRect& plot) {
    return static_cast<int>(plot.Height() * 0.05);
}

void DrawPeakMarks(Canvas& canvas, const CAutoCoordObject& frame,
                   const std::vector<GenPeak4>& peaks, int selected, PeakDrag drag,
                   const PeakMarkStyle& style, const BaselineFn& baseline) {
    const int half = MarkLength(frame.m_rect) / 2;
    canvas.SetClip(frame.m_rect);
    for (std::size_t i = 0; i < peaks.size(); ++i) {
        const Rgb colour = static_cast<int>(i) == selected ? style.selected_peak : style.peak;
        canvas.SetPen(colour, 1, PenStyle::Solid);
        canvas.SetBrush(colour);
        DrawOnePeak(canvas, frame, peaks[i], half, drag, style.apex_radius, baseline);
    }
    canvas.SetBrush(std::nullopt);
    canvas.ClearClip();
}

void DrawCrosshair(Canvas& canvas, const PlotRect& plot, PlotPoint cursor) {
    canvas.SetPen(kBlack, 1, PenStyle::Solid);
    canvas.DrawLine({cursor.x, plot.top}, {cursor.x, plot.bottom});
    canvas.DrawLine({plot.left, cursor.y}, {plot.right, cursor.y});
}

void DrawReadout(Canvas& canvas, PlotPoint cursor, double x, double y, int offset,
                 const FontSpec& font) {
    const std::string text = "X: " + FormatFixed(x, 2) + ", Y: " + FormatFixed(y, 2);
    canvas.SetFont(font);
    canvas.DrawText({cursor.x + offset, cursor.y + offset}, text, HAlign::Left, VAlign::Top,
                    kBlack);
}
