#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "plot/Canvas.h"

// The metrics the real canvas gives the default font (family "Arial", cell height 12) on the
// project's machines: "Arial" is absent there, so it is DejaVu Sans, and the largest pixel size
// whose cell is at most 12 px is 10 (11 px would give 10 + 3 = 13). Measured with the font
// engine, not derived from the code; the widget tests check that the real canvas still reports
// exactly these, so a font of the wrong size fails them.
struct TickFont {
    static constexpr int kAscent = 9;
    static constexpr int kDescent = 2;
    static constexpr int kHeight = kAscent + kDescent;  // 11
    static constexpr int kAverageCharWidth = 5;
    // Advances in 1/64 px. A text is as wide as the sum of its advances rounded to the nearest
    // pixel (halves up): "100" is 3 * 407 / 64 = 19.08, so 19 px.
    static constexpr int kDigitAdvance = 407;  // every digit
    static constexpr int kMinusAdvance = 230;
    static constexpr int kDotAdvance = 203;
    static constexpr int kPlusAdvance = 536;
    static constexpr int kLowerEAdvance = 393;

    // Characters outside the table (caption letters) count as the average width.
    static constexpr int Advance64(char32_t c) {
        if (c >= U'0' && c <= U'9') return kDigitAdvance;
        switch (c) {
            case U'-':
                return kMinusAdvance;
            case U'.':
                return kDotAdvance;
            case U'+':
                return kPlusAdvance;
            case U'e':
                return kLowerEAdvance;
            default:
                return kAverageCharWidth * 64;
        }
    }
    // UTF-8 text: a character starts at every byte that is no continuation byte.
    static constexpr int Width(std::string_view text) {
        int sum = 0;
        for (const char c : text) {
            const auto byte = static_cast<unsigned char>(c);
            if ((byte & 0xC0) != 0x80) sum += Advance64(byte);
        }
        return (sum + 32) / 64;
    }
};

// A Canvas that records what is drawn. Every font has the metrics of TickFont, so that layouts
// can be worked out by hand.
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
    FontMetrics GetFontMetrics() override {
        return {TickFont::kHeight, TickFont::kAscent, TickFont::kAverageCharWidth};
    }
    TextSize TextExtent(std::string_view text) override {
        return {TickFont::Width(text), TickFont::kHeight};
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
    Rgb m_pen;
};
