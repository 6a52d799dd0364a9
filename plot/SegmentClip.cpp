#include "SegmentClip.h"

#include <utility>

std::int64_t MulDivRound(std::int64_t a, std::int64_t b, std::int64_t c) {
    const std::int64_t n = a * b;
    std::int64_t q = n / c;
    const std::int64_t r = n % c;
    const std::int64_t abs_r = r < 0 ? -r : r;
    const std::int64_t abs_c = c < 0 ? -c : c;
    if (2 * abs_r >= abs_c) q += ((n < 0) != (c < 0)) ? -1 : 1;
    return q;
}

namespace {

// True when a and b lie on different sides of `line`, or either lies on it.
bool Straddles(int a, int b, int line) {
    return (a < line && b > line) || (a > line && b < line) || a == line || b == line;
}

// Moves `end` along the segment end-other onto the horizontal line y = line.
void MoveOntoRow(PlotPoint& end, const PlotPoint& other, int line) {
    if (other.y == end.y) return;
    end.x = static_cast<int>(end.x + MulDivRound(other.x - end.x, line - end.y, other.y - end.y));
    end.y = line;
}

void MoveOntoColumn(PlotPoint& end, const PlotPoint& other, int line) {
    if (other.x == end.x) return;
    end.y = static_cast<int>(end.y + MulDivRound(other.y - end.y, line - end.x, other.x - end.x));
    end.x = line;
}

}  // namespace

void ClipSegment(const PlotRect& rect, PlotPoint& p, PlotPoint& q) {
    {
        PlotPoint& upper = q.y < p.y ? q : p;
        PlotPoint& lower = q.y < p.y ? p : q;
        if (Straddles(upper.y, lower.y, rect.top)) MoveOntoRow(upper, lower, rect.top);
    }
    {
        PlotPoint& upper = q.y < p.y ? q : p;
        PlotPoint& lower = q.y < p.y ? p : q;
        if (Straddles(upper.y, lower.y, rect.bottom - 1))
            MoveOntoRow(lower, upper, rect.bottom - 1);
    }
    {
        PlotPoint& left = q.x < p.x ? q : p;
        PlotPoint& right = q.x < p.x ? p : q;
        if (Straddles(left.x, right.x, rect.left)) MoveOntoColumn(left, right, rect.left);
    }
    {
        PlotPoint& left = q.x < p.x ? q : p;
        PlotPoint& right = q.x < p.x ? p : q;
        if (Straddles(left.x, right.x, rect.right - 1)) MoveOntoColumn(right, left, rect.right - 1);
    }
}
