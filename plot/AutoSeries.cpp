#include "AutoSeries.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "ColumnReducer.h"
#include "FloatColumns.h"
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
            for (std::int64_t k = i; k < next; ++k) reducer.Add({c, MapY(YAt(k))});
        i = next;
    }
}
