#pragma once

#include "Signal4.h"

// How a peak looks in a signal: its tailing factor at 5 % of its height, (a + b) / 2a, and its
// asymmetry at 10 %, b / a, where a and b are the distances from the apex to where the signal
// crosses that share of the apex height before and after it. NaN when not measurable: fewer than
// kMinSamplesPerSigma samples per sigma of the peak, no apex above 0, or a neighbour keeps the
// signal above the level (a valley lies above it, or the signal ends first).
struct PeakShapeMeasure {
    double tailing;
    double asymmetry;
};

// Below this the apex and the crossings, interpolated between samples, are too coarse for the
// factor: at one sample per sigma its error reaches 0.5.
inline constexpr double kMinSamplesPerSigma = 3.0;

// Measured on a signal whose baseline is 0 (the clean sum of the peaks), at the local maximum
// reached by climbing from the sample nearest `time`, at most `width` away (the peak's width,
// sigma times sqrt(2)). The apex is placed by the parabola through the highest sample and its
// neighbours; the crossings by linear interpolation between samples.
PeakShapeMeasure MeasurePeakShape(const Signal4& clean, double time, double width);
