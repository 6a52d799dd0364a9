#pragma once

#include <cstdint>

#include "Canvas.h"

// a * b / c rounded to the nearest integer, halves away from zero, with a 64-bit product.
// c must not be 0.
std::int64_t MulDivRound(std::int64_t a, std::int64_t b, std::int64_t c);

// Moves the ends of the segment p-q onto the edges of `rect` that it touches or crosses: first
// the upper end onto the top line, the lower end onto the bottom line (bottom - 1), then the left
// end onto the left line and the right end onto the right line (right - 1). An end moves when
// the two ends lie on different sides of a line or one lies on it, along the segment with
// integer interpolation. When both ends lie on the line there is nothing to interpolate and the
// ends stay. A segment with both ends outside is not made to fit: callers do not draw those.
void ClipSegment(const PlotRect& rect, PlotPoint& p, PlotPoint& q);
