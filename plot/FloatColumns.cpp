#include "FloatColumns.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>

namespace {

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

template <class Pred>
std::int64_t FirstKey(std::int32_t lo, std::int32_t hi, Pred pred) {
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

}  // namespace

FloatColumns::FloatColumns(const CAutoSeries& s, ColumnReducer& reducer, const float* y)
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

void FloatColumns::Feed(int c, std::int64_t a, std::int64_t b) {
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
        for (std::int64_t i = a; i <= b; ++i) Emit(i);
        return;
    }
    if (Side(std::max(hi, last)) == kInside && Side(std::min(lo, last)) == kInside) {
        EmitRun(a, b + 1, lo, hi);
        return;
    }
    FeedMixed(a, b);
}

FloatColumns::PlaceOf FloatColumns::Side(float v) const {
    const std::int32_t k = Key(v);
    if (k >= m_above) return kAbove;
    return k <= m_below ? kBelow : kInside;
}

void FloatColumns::EmitRun(std::int64_t s, std::int64_t e, std::optional<float> lo,
                           std::optional<float> hi) {
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

void FloatColumns::FeedMixed(std::int64_t a, std::int64_t b) {
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
