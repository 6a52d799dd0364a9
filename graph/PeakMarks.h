#pragma once

#include <functional>
#include <vector>

#include "plot/AutoCoordObject.h"
#include "plot/Canvas.h"
#include "synth/Peak4.h"

// What the chromatogram graph draws over the panel, written against Canvas so that tests can
// check it without a screen. Positions come from the frame the panel has just drawn with.

// The drag under way on the graph; the numbers are the graph's drag modes.
enum class PeakDrag : int {
    None = 0,
    Front = 1,
    Back = 2,
    WindowFront = 3,
    WindowBack = 4,
    Apex = 5,
};

struct PeakMarkStyle {
    Rgb peak{38, 213, 153};
    Rgb selected_peak{96, 96, 96};
    int apex_radius = 3;  // pixels
};

// What a channel's baseline (drift and the like) adds to its signal at a time in minutes. A
// peak's apex stands on it; empty means nothing.
using BaselineFn = std::function<double(double)>;

// The signal value at which a peak's apex is drawn and hit: its own height on the baseline.
double ApexValue(const GenPeak4& peak, const BaselineFn& baseline);

// Length in pixels of the vertical marks through bounds and window markers: a twentieth of the
// plot's height, so that they stay readable whatever the window size.
int MarkLength(const PlotRect& plot);

// Every peak's apex dot, baseline, bound marks, window line and window marks, clipped to the
// plot rectangle, in list order; the selected peak in its own colour. The bound and window marks
// stand at their measured signal values, the apex at ApexValue. While a bound or window drag runs,
// guides through every peak's bounds or window span the plot's full height. Leaves the canvas
// without clipping.
void DrawPeakMarks(Canvas& canvas, const CAutoCoordObject& frame,
                   const std::vector<GenPeak4>& peaks, int selected, PeakDrag drag,
                   const PeakMarkStyle& style, const BaselineFn& baseline = {});

// The crosshair through `cursor` across the plot, in black.
void DrawCrosshair(Canvas& canvas, const PlotRect& plot, PlotPoint cursor);

// "X: <x>, Y: <y>" with two decimals, black, its top-left corner `offset` pixels right of and
// below the cursor.
void DrawReadout(Canvas& canvas, PlotPoint cursor, double x, double y, int offset,
                 const FontSpec& font);
