#include "AutoSeries.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>
#include <optional>

#include "ColumnReducer.h"
#include "PolylineTracer.h"

namespace {

void Fold(double v, double& min, double& max) {
    if (v < min) min = v;
    if (v > max) max = v;
}

void FoldArray(const float* values, std::int64_t n, double& min, double& max) {
    float lo = values[0];
    float hi = values[0];
    for (std::int64_t i = 1; i < n; ++i) {
        lo = std::min(lo, values[i]);
        hi = std::max(hi, values[i]);
    }
    // A leading NaN survives the loop above; the others are skipped by the comparisons.
    if (std::isnan(lo)) {
        for (std::int64_t i = 0; i < n; ++i) Fold(values[i], min, max);
        return;
    }
    Fold(lo, min, max);
    Fold(hi, min, max);
}

// Feeds the samples a..b of one pixel column `c` to the reducer. When every sample lies inside
// the plot vertically, only the column's first and last sample and the extremes of the others
// are mapped at all; otherwise every sample goes to the reducer, which sorts out the runs.
template <class Get>
void FeedColumnPointwise(ColumnReducer& reducer, const CAutoSeries& s, int c, std::int64_t a,
                         std::int64_t b, Get get) {
    for (std::int64_t i = a; i <= b; ++i) reducer.Add({c, s.MapY(get(i))});
}

// Orders floats as integers: Key(f) < Key(g) exactly when f < g (NaN aside, -0 below +0).
std::int32_t Key(float f) {
    const auto bits = std::bit_cast<std::int32_t>(f);
    return bits < 0 ? bits ^ 0x7fffffff : bits;
}
float FromKey(std::int32_t k) {
    return std::bit_cast<float>(k < 0 ? k ^ 0x7fffffff : k);
}

// Lowest and highest of y[a..end), end > a, in eight independent lanes so that the compiler
// can keep them in vector registers. Returns true when a value is not finite (NaN or an
// infinity), which the caller then treats sample by sample.
bool ScanRange(const float* y, std::int64_t a, std::int64_t end, float& lo_out, float& hi_out) {
    constexpr int kLanes = 8;
    float lo[kLanes], hi[kLanes], probe[kLanes];
    for (int k = 0; k < kLanes; ++k) {
        lo[k] = hi[k] = y[a];
        probe[k] = 0.0f;
    }
    std::int64_t i = a;
    for (; i + kLanes <= end; i += kLanes) {
        for (int k = 0; k < kLanes; ++k) {
            const float v = y[i + k];
            lo[k] = v < lo[k] ? v : lo[k];
            hi[k] = v > hi[k] ? v : hi[k];
            probe[k] += v - v;  // stays 0 unless v is NaN or infinite
        }
    }
    for (; i < end; ++i) {
        const float v = y[i];
        lo[0] = v < lo[0] ? v : lo[0];
        hi[0] = v > hi[0] ? v : hi[0];
        probe[0] += v - v;
    }
    bool bad = !std::isfinite(y[a]);
    for (int k = 0; k < kLanes; ++k) {
        lo[0] = std::min(lo[0], lo[k]);
        hi[0] = std::max(hi[0], hi[k]);
        bad |= probe[k] != 0.0f;
    }
    lo_out = lo[0];
    hi_out = hi[0];
    return bad;
}

// Thinning of one pixel column of float samples, with the samples' place above, inside or
// below the plot decided by comparing them with two thresholds found once per draw, so that
// only the few samples that reach the reducer are mapped to pixels.
class FloatColumns {
public:
    FloatColumns(const CAutoSeries& s, ColumnReducer& reducer, const float* y)
        : m_s(s), m_r(reducer), m_y(y) {
        // The mapping falls as the value grows (max > min is required by the caller), so the
        // values above the plot are those from some float up, those below it up to another.
        const std::int32_t lo = Key(-std::numeric_limits<float>::infinity());
        const std::int32_t hi = Key(std::numeric_limits<float>::infinity());
        const int top = s.m_rect.top;
        const int bottom = s.m_rect.bottom;
        m_above = FirstKey(lo, hi, [&](std::int32_t k) { return s.MapY(FromKey(k)) < top; });
        // Last key still below = one before the first key that is not.
        const std::int64_t not_below =
            FirstKey(lo, hi, [&](std::int32_t k) { return s.MapY(FromKey(k)) <= bottom - 1; });
        m_below = not_below - 1;
    }

    void Feed(int c, std::int64_t a, std::int64_t b) {
        m_c = c;
        if (a == b) {
            Emit(a);
            return;
        }
        float lo = 0;
        float hi = 0;
        const bool nan = ScanRange(m_y, a, b, lo, hi);
        const float last = m_y[b];
        if (nan || !std::isfinite(last)) {
            FeedColumnPointwise(m_r, m_s, c, a, b, [this](std::int64_t k) { return m_y[k]; });
            return;
        }
        if (Side(std::max(hi, last)) == kInside && Side(std::min(lo, last)) == kInside) {
            EmitRun(a, b + 1, lo, hi);
            return;
        }
        FeedMixed(a, b);
    }

private:
    enum PlaceOf { kInside, kAbove, kBelow };

    template <class Pred>
    static std::int64_t FirstKey(std::int32_t lo, std::int32_t hi, Pred pred) {
        // Smallest key in [lo, hi] with pred true, pred being false then true; hi + 1 if none.
        std::int64_t l = lo;
        std::int64_t h = static_cast<std::int64_t>(hi) + 1;
        while (l < h) {
            const std::int64_t mid = l + (h - l) / 2;
            if (pred(static_cast<std::int32_t>(mid)))
                h = mid;
            else
                l = mid + 1;
        }
        return l;
    }

    PlaceOf Side(float v) const {
        const std::int32_t k = Key(v);
        if (k >= m_above) return kAbove;
        return k <= m_below ? kBelow : kInside;
    }

    void Emit(std::int64_t i) { m_r.Add({m_c, m_s.MapY(m_y[i])}); }
    void EmitAt(int py) { m_r.Add({m_c, py}); }

    // An inside run [s, e): its first and last sample and, between them, the samples holding
    // the lowest and highest value among all but the last. `lo` and `hi` are those two values
    // when already known.
    void EmitRun(std::int64_t s, std::int64_t e, std::optional<float> lo = {},
                 std::optional<float> hi = {}) {
        if (e <= s) return;
        Emit(s);
        if (e - s > 2) {
            if (!lo || !hi) {
                lo = hi = m_y[s];
                for (std::int64_t i = s + 1; i < e - 1; ++i) {
                    lo = std::min(*lo, m_y[i]);
                    hi = std::max(*hi, m_y[i]);
                }
            }
            std::int64_t at_lo = s;
            while (m_y[at_lo] != *lo) ++at_lo;
            std::int64_t at_hi = s;
            while (m_y[at_hi] != *hi) ++at_hi;
            const std::int64_t e1 = std::min(at_lo, at_hi);
            const std::int64_t e2 = std::max(at_lo, at_hi);
            if (e1 != s) Emit(e1);
            if (e2 != e1) Emit(e2);
        }
        if (e - s > 1) Emit(e - 1);
    }

    // A column whose samples leave the plot. Between its first and its last outside sample,
    // every inside run is bounded by outside samples of the same column, where only the side
    // matters: a run entered and left through the top covers the top edge down to its lowest
    // pixel, so all such runs together are one run through their lowest pixel; likewise for
    // the bottom. Runs crossing from one edge to the other keep their own thinned samples.
    void FeedMixed(std::int64_t a, std::int64_t b) {
        std::int64_t first_out = a;
        while (Side(m_y[first_out]) == kInside) ++first_out;
        EmitRun(a, first_out);
        Emit(first_out);
        std::int64_t last_out = b;
        while (Side(m_y[last_out]) == kInside) --last_out;

        const int above = m_s.m_rect.top - 1;
        const int below = m_s.m_rect.bottom;
        bool via_top = false, via_bottom = false;
        float top_min = 0, bottom_max = 0;
        PlaceOf entered = Side(m_y[first_out]);
        for (std::int64_t j = first_out + 1; j < last_out;) {
            const PlaceOf place = Side(m_y[j]);
            if (place != kInside) {
                entered = place;
                ++j;
                continue;
            }
            float lo = m_y[j], hi = m_y[j];
            std::int64_t k = j;
            for (; Side(m_y[k]) == kInside; ++k) {
                lo = std::min(lo, m_y[k]);
                hi = std::max(hi, m_y[k]);
            }
            const PlaceOf left = Side(m_y[k]);
            if (entered == kAbove && left == kAbove) {
                top_min = via_top ? std::min(top_min, lo) : lo;
                via_top = true;
            } else if (entered == kBelow && left == kBelow) {
                bottom_max = via_bottom ? std::max(bottom_max, hi) : hi;
                via_bottom = true;
            } else {
                EmitAt(entered == kAbove ? above : below);
                EmitRun(j, k);
                EmitAt(left == kAbove ? above : below);
            }
            j = k;
        }
        if (via_top) {
            EmitAt(above);
            EmitAt(m_s.MapY(top_min));
            EmitAt(above);
        }
        if (via_bottom) {
            EmitAt(below);
            EmitAt(m_s.MapY(bottom_max));
            EmitAt(below);
        }
        if (last_out != first_out) Emit(last_out);
        EmitRun(last_out + 1, b + 1);
    }

    const CAutoSeries& m_s;
    ColumnReducer& m_r;
    const float* m_y;
    // Keys (64-bit, so that "none" fits past either end): the lowest float above the plot and
    // the highest float below it.
    std::int64_t m_above = 0;
    std::int64_t m_below = 0;
    int m_c = 0;
};

}  // namespace

void CAutoSeries::FoldRangeX(double& min, double& max) const {
    const std::int64_t n = Count();
    if (n == 0) return;
    if (m_x_values) {
        FoldArray(m_x_values, n, min, max);
    } else {
        Fold(XAt(0), min, max);
        Fold(XAt(n - 1), min, max);
    }
}

void CAutoSeries::FoldRangeY(double& min, double& max) const {
    const std::int64_t n = Count();
    if (n == 0) return;
    if (m_y_values) {
        FoldArray(m_y_values, n, min, max);
    } else {
        Fold(YAt(0), min, max);
        Fold(YAt(n - 1), min, max);
    }
}

void CAutoSeries::DrawPolylineFull(Canvas& canvas) {
    const std::int64_t n = Count();
    if (n == 0) return;
    PolylineTracer tracer(*this, canvas);
    tracer.Start({MapX(XAt(0)), MapY(YAt(0))});
    for (std::int64_t i = 1; i < n; ++i) tracer.Add({MapX(XAt(i)), MapY(YAt(i))});
}

bool CAutoSeries::HasEvenColumns() const {
    // Pixel columns then grow with the index, which the column search relies on.
    return !m_x_values && std::isfinite(m_x_start) && std::isfinite(m_x_step) && m_x_step > 0 &&
           m_visible_x_max >= m_visible_x_min;
}

void CAutoSeries::DrawPolyline(Canvas& canvas) {
    if (Count() == 0) return;
    if (HasEvenColumns()) {
        DrawEvenColumns(canvas);
        return;
    }
    PolylineTracer tracer(*this, canvas);
    ColumnReducer reducer(tracer, m_rect);
    for (std::int64_t i = 0; i < Count(); ++i) reducer.Add({MapX(XAt(i)), MapY(YAt(i))});
}

void CAutoSeries::DrawEvenColumns(Canvas& canvas) {
    const std::int64_t n = Count();
    const auto column = [this](std::int64_t i) { return MapX(XAt(i)); };
    // Smallest index in [lo, n) whose column is at least c, or n.
    const auto first_at = [&](int c, std::int64_t lo) {
        std::int64_t hi = n;
        while (lo < hi) {
            const std::int64_t mid = lo + (hi - lo) / 2;
            if (column(mid) >= c)
                hi = mid;
            else
                lo = mid + 1;
        }
        return lo;
    };
    PolylineTracer tracer(*this, canvas);
    ColumnReducer reducer(tracer, m_rect);
    const auto feed = [&](std::int64_t i) { reducer.Add({column(i), MapY(YAt(i))}); };
    std::optional<FloatColumns> floats;
    if (m_y_values && m_visible_y_max > m_visible_y_min) floats.emplace(*this, reducer, m_y_values);

    // Points left of the plot only matter through the last of them, and nothing after the first
    // point right of it can be drawn: segments between two outside points never are.
    std::int64_t i = first_at(m_rect.left, 0);
    if (i > 0) feed(i - 1);
    while (i < n) {
        const int c = column(i);
        if (c >= m_rect.right) {
            feed(i);
            break;
        }
        const std::int64_t next = first_at(c + 1, i + 1);
        if (floats)
            floats->Feed(c, i, next - 1);
        else
            FeedColumnPointwise(reducer, *this, c, i, next - 1,
                                [this](std::int64_t k) { return YAt(k); });
        i = next;
    }
}
