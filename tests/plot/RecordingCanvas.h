#pragma once

#include <string>
#include <vector>

#include "plot/Canvas.h"

// A Canvas that records what is drawn, with fixed font metrics so that layouts can be worked
// out by hand: every font is 12 pixels high (ascent 10), every character 6 pixels wide.
class RecordingCanvas final : public Canvas {
public:
    enum class Kind {
        Line,
        Lines,
        Polyline,
        FillRect,
        FrameRect,
        Ellipse,
        Text,
        RotatedText,
        Invert
    };
    struct Op {
        Kind kind;
        std::vector<PlotPoint>
            points;  // Line: from, to; Lines: pairs; Polyline: all; Text: the anchor
        PlotRect rect;
        Rgb colour;  // pen colour for lines and ellipses, fill or text colour otherwise
        std::string text;
        HAlign h = HAlign::Left;
        VAlign v = VAlign::Top;
    };

    static constexpr int kHeight = 12;
    static constexpr int kAscent = 10;
    static constexpr int kCharWidth = 6;

    void SetPen(Rgb colour, int, PenStyle) override { m_pen = colour; }
    void SetBrush(std::optional<Rgb>) override {}
    void DrawLine(PlotPoint from, PlotPoint to) override {
        ops.push_back({Kind::Line, {from, to}, {}, m_pen, {}});
    }
    void DrawPolyline(std::span<const PlotPoint> points) override {
        ops.push_back({Kind::Polyline, {points.begin(), points.end()}, {}, m_pen, {}});
    }
    void DrawLines(std::span<const PlotPoint> ends) override {
        ops.push_back({Kind::Lines, {ends.begin(), ends.end()}, {}, m_pen, {}});
    }
    void FillRect(const PlotRect& rect, Rgb colour) override {
        ops.push_back({Kind::FillRect, {}, rect, colour, {}});
    }
    void FrameRect(const PlotRect& rect, Rgb colour, int) override {
        ops.push_back({Kind::FrameRect, {}, rect, colour, {}});
    }
    void DrawEllipse(const PlotRect& box) override {
        ops.push_back({Kind::Ellipse, {}, box, m_pen, {}});
    }
    void SetFont(const FontSpec&) override {}
    FontMetrics GetFontMetrics() override { return {kHeight, kAscent, kCharWidth}; }
    TextSize TextExtent(std::string_view text) override {
        return {kCharWidth * CodePoints(text), kHeight};
    }
    void DrawText(PlotPoint at, std::string_view text, HAlign h, VAlign v, Rgb colour) override {
        ops.push_back({Kind::Text, {at}, {}, colour, std::string(text), h, v});
    }
    void DrawRotatedText(PlotPoint at, std::string_view text, HAlign h, VAlign v,
                         Rgb colour) override {
        ops.push_back({Kind::RotatedText, {at}, {}, colour, std::string(text), h, v});
    }
    void SetClip(const PlotRect&) override {}
    void ClearClip() override {}
    void InvertFrame(const PlotRect& rect) override {
        ops.push_back({Kind::Invert, {}, rect, {}, {}});
    }

    std::vector<Op> Of(Kind kind) const {
        std::vector<Op> out;
        for (const Op& op : ops)
            if (op.kind == kind) out.push_back(op);
        return out;
    }

    std::vector<Op> ops;

private:
    static int CodePoints(std::string_view text) {
        int n = 0;
        for (unsigned char c : text) n += (c & 0xC0) != 0x80;
        return n;
    }
    Rgb m_pen;
};
