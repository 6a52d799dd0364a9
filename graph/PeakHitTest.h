#pragma once

#include <vector>

#include "PeakMarks.h"

struct PeakHit {
    PeakDrag drag = PeakDrag::None;
    int index = -1;
};

// The first mark within `tolerance` pixels (inclusive, in x and in y) of `at`. Peaks are tried
// in list order and, within a peak, front, back, apex, left and right window marker: a front
// marker at time 0 or back marker at time 0 is not yet placed and is never hit, an apex only on
// a positive height, window markers only on a positive width.
// The apex is where DrawPeakMarks draws it, on the baseline.
PeakHit HitTestPeaks(const CAutoCoordObject& frame, const std::vector<GenPeak4>& peaks,
                     PlotPoint at, int tolerance, const BaselineFn& baseline = {});
