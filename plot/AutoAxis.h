#pragma once

#include <optional>
#include <utility>

#include "AutoCoordObject.h"
#include "TickScale.h"

enum class PlotAxis { X, Y };

// Axis scaling on top of the coordinate frame: the data range of an axis, its ticks and the
// pixel lengths of tick marks derived from the tick font.
class CAutoAxis : public CAutoCoordObject {
public:
    // Range of the data on one axis, padded to `range digits` as PadDataRange does. No value when
    // there are no series; series without points pad the extreme sentinels, which gives a range
    // about 0 of width ~1.8e305.
    std::optional<std::pair<double, double>> ComputeDataRange(PlotAxis axis) const;

    // The data range as the layout uses it: computed at most once per layout (the cached flags
    // are cleared by the end of every panel draw) and stored as the visible range. With no series
    // it is [0, 0] and the cache is left alone.
    std::pair<double, double> DataRange(PlotAxis axis);

    // Visible range of each axis from the data when automatic, else from the fixed range.
    void ResolveVisibleRanges();

    // Tick lengths and label gap from the tick font: a third, a sixth and a fifth of its height,
    // each at least one pixel.
    void UpdateFontLengths(const FontMetrics& tick_font);

    // Chooses the X step so that the widest label plus three average characters fits between
    // ticks, widening the minimum spacing one character at a time; stores the (possibly snapped)
    // range as visible X. Returns the widest label's width. The tick font must be selected.
    int LayoutTicksX(Canvas& canvas, const FontMetrics& tick_font);
    // One pass with a spacing of two font heights; returns the widest Y label's width.
    int LayoutTicksY(Canvas& canvas, const FontMetrics& tick_font);

    TickScale ScaleX() const { return {m_tick_step_x, m_first_tick_x, m_last_tick_x}; }
    TickScale ScaleY() const { return {m_tick_step_y, m_first_tick_y, m_last_tick_y}; }

    int m_range_digits_x = 3;
    int m_range_digits_y = 3;
    double m_tick_step_x = 1.0;  // also the horizontal scroll unit
    double m_tick_step_y = 1.0;  // also the vertical scroll unit
    double m_first_tick_x = 0.0;
    double m_last_tick_x = 0.0;
    double m_first_tick_y = 0.0;
    double m_last_tick_y = 0.0;
    bool m_range_cached_x = false;
    bool m_range_cached_y = false;
    int m_tick_length = 4;        // pixels, inside the frame
    int m_short_tick_length = 2;  // pixels, outside the frame
    int m_label_gap = 2;          // pixels between a tick and its label

protected:
    // Folds the extremes of every series' values on `axis` into min and max; false when there
    // are no series at all. The panel, which owns the series, provides it.
    virtual bool FoldSeriesRange(PlotAxis axis, double& min, double& max) const;

private:
    static int WidestLabel(Canvas& canvas, const TickScale& scale);
};
