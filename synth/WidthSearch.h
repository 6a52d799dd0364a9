#pragma once

#include <functional>

#include "WidthFit.h"

// What a trial of one width measured: the area, counted in the direction of the peak's height,
// and the bounds it lies between.
struct WidthTrial {
    double area = 0.0;
    double front = 0.0;
    double back = 0.0;
};
using MeasureWidth = std::function<WidthTrial(double width)>;

// What the search looks for, and where.
struct WidthSearchRange {
    double target = 0.0;    // the requested area, > 0
    double step = 0.0;      // the sampling step: the area jumps where a bound moves by one
    double shortest = 0.0;  // the narrowest and the widest width tried
    double longest = 0.0;
};

// The search of FitWidthToArea on any measurement of the area by width. From `start` it
// brackets the request by one step to where the area's proportion to the width points and then
// by doubling or halving; narrows by regula falsi (Illinois); looks around a jump it closes on
// for a smooth piece that crosses the request; and when the longest width falls short, looks
// for the largest area before giving up. Returns Fitted with the width and area found (the
// nearest to the request where none meets it), Unreachable or TooSmall with the largest or
// smallest area met, or NonFinite as soon as a trial's area is not finite.
WidthFitResult SearchWidth(const MeasureWidth& measure, double start,
                           const WidthSearchRange& range);
