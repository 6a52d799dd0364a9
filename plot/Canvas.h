#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

// Pixel geometry and the drawing surface of the plot engine. Everything that lays out or paints
// a plot talks to a Canvas, so the same code paints the window and, in tests, a recorder.

struct PlotPoint {
    int x = 0;
    int y = 0;
    friend bool operator==(const PlotPoint&, const PlotPoint&) = default;
};

// Pixel rectangle; right and bottom are exclusive.
struct PlotRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool Contains(PlotPoint p) const {
        return p.x >= left && p.x < right && p.y >= top && p.y < bottom;
    }
    PlotRect Intersect(const PlotRect& o) const;
    friend bool operator==(const PlotRect&, const PlotRect&) = default;
};

inline PlotRect PlotRect::Intersect(const PlotRect& o) const {
    PlotRect r{left > o.left ? left : o.left, top > o.top ? top : o.top,
               right < o.right ? right : o.right, bottom < o.bottom ? bottom : o.bottom};
    if (r.right < r.left) r.right = r.left;
    if (r.bottom < r.top) r.bottom = r.top;
    return r;
}

struct Rgb {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

enum class PenStyle { Solid, Dash, Dot, DashDot, DashDotDot, Null };

// A font as the panel asks for it. The family is a wish: a surface that lacks it uses a fixed
// sans-serif fallback. The height is the cell height in pixels, ascent + descent, as a classic
// font height is (an em of about 10 pixels for a cell of 12), never the em size; the surface
// picks the largest size whose cell is not taller. Weight on the 100..900 scale (400 normal,
// 700 bold).
struct FontSpec {
    std::string family = "Arial";
    int cell_height = 12;
    int weight = 400;
    friend bool operator==(const FontSpec&, const FontSpec&) = default;
};

// Metrics of the selected font, in pixels: height = ascent + descent.
struct FontMetrics {
    int height = 0;
    int ascent = 0;
    int average_char_width = 0;
};

struct TextSize {
    int width = 0;
    int height = 0;
};

enum class HAlign { Left, Center, Right };
enum class VAlign { Top, Baseline, Bottom };

// The drawing surface. Text is UTF-8.
//
// Lines follow the classic raster rule: a line covers its start pixel, and a horizontal or
// vertical one never its end pixel, so joined segments cover each joint once and a closed
// frame closes exactly; whether a sloped line covers its end pixel is the surface's choice.
// A line from a point to itself paints nothing. A polyline is its segments in order.
class Canvas {
public:
    virtual ~Canvas() = default;

    // Width 0 and 1 both draw one pixel wide.
    virtual void SetPen(Rgb colour, int width, PenStyle style) = 0;
    // Fill of ellipses; no value means hollow.
    virtual void SetBrush(std::optional<Rgb> fill) = 0;

    virtual void DrawLine(PlotPoint from, PlotPoint to) = 0;
    virtual void DrawPolyline(std::span<const PlotPoint> points) = 0;
    // Independent lines, each from ends[2i] to ends[2i + 1], as DrawLine draws them.
    virtual void DrawLines(std::span<const PlotPoint> ends) = 0;
    virtual void FillRect(const PlotRect& rect, Rgb colour) = 0;
    // Outline of `rect` (right and bottom exclusive) drawn with the pen, `width` pixels wide.
    virtual void FrameRect(const PlotRect& rect, Rgb colour, int width) = 0;
    // Ellipse inscribed in `box` (right and bottom exclusive), current pen and brush.
    virtual void DrawEllipse(const PlotRect& box) = 0;

    virtual void SetFont(const FontSpec& font) = 0;
    virtual FontMetrics GetFontMetrics() = 0;
    virtual TextSize TextExtent(std::string_view text) = 0;
    // `at` is the reference point; the alignment says which part of the text box lies on it.
    virtual void DrawText(PlotPoint at, std::string_view text, HAlign h, VAlign v, Rgb colour) = 0;
    // The text turned 90 degrees counter-clockwise, reading upward; the alignment is taken in
    // the turned text's own frame (Right is its upper end, Top its left side).
    virtual void DrawRotatedText(PlotPoint at, std::string_view text, HAlign h, VAlign v,
                                 Rgb colour) = 0;

    virtual void SetClip(const PlotRect& rect) = 0;
    virtual void ClearClip() = 0;

    // Inverts the pixels of the outline of `rect` (right and bottom exclusive); drawing the same
    // outline twice restores the picture.
    virtual void InvertFrame(const PlotRect& rect) = 0;
};
