#pragma once

#include <array>

#include "IndexRange.h"
#include "Peak4.h"
#include "Signal4.h"

// The area between the signal and the peak's straight baseline from front to back: trapezoidal
// integration with partial trapezoids at both ends, minus the trapezoid under the baseline.
// Stores it in the peak and returns it. While left and right are both negative the baseline
// heights and the window values are refreshed from the signal first. A reversed interval is
// swapped in the peak; an empty interval, a zero step or a non-finite bound gives 0.
double ComputePeakArea(const Signal4& signal, GenPeak4& peak);

// The samples ComputePeakArea reads for the peak as it now stands: those around its bounds and,
// while left and right are both negative, around the points whose values it refreshes. Each range
// may reach a sample or two further than the reads; an empty range reads nothing.
std::array<IndexRange, 3> SamplesReadByArea(const Signal4& signal, const GenPeak4& peak);
