#pragma once

#include <cstdint>
#include <optional>

#include "AutoSeries.h"
#include "ColumnReducer.h"

// Thinning of one pixel column of float samples, with the samples' place above, inside or
// below the plot decided by comparing them with two thresholds found once per draw, so that
// only the few samples that reach the reducer are mapped to pixels.
class FloatColumns {
public:
    // The series' visible Y range must not be empty (max > min).
    FloatColumns(const CAutoSeries& s, ColumnReducer& reducer, const float* y);

    // Feeds the samples a..b (inclusive) of pixel column c to the reducer.
    void Feed(int c, std::int64_t a, std::int64_t b);

private:
    enum PlaceOf { kInside, kAbove, kBelow };
    PlaceOf Side(float v) const;
    void Emit(std::int64_t i) { m_r.Add({m_c, m_s.MapY(m_y[i])}); }
    void EmitAt(int py) { m_r.Add({m_c, py}); }
    // An inside run [s, e): its first and last sample and, between them, the samples holding
    // the lowest and highest value among all but the last. `lo` and `hi` are those two values
    // when already known.
    void EmitRun(std::int64_t s, std::int64_t e, std::optional<float> lo = {},
                 std::optional<float> hi = {});
    // A column whose samples leave the plot. Between its first and its last outside sample,
    // every inside run is bounded by outside samples of the same column, where only the side
    // matters: a run entered and left through the top covers the top edge down to its lowest
    // pixel, so all such runs together are one run through their lowest pixel; likewise for
    // the bottom. Runs crossing from one edge to the other keep their own thinned samples.
    void FeedMixed(std::int64_t a, std::int64_t b);

    const CAutoSeries& m_s;
    ColumnReducer& m_r;
    const float* m_y;
    // Keys (64-bit, so that "none" fits past either end): the lowest float above the plot and
    // the highest float below it.
    std::int64_t m_above = 0;
    std::int64_t m_below = 0;
    int m_c = 0;
};
