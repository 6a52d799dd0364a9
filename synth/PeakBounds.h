#pragma once

#include "IndexRange.h"
#include "Peak4.h"
#include "Signal4.h"

// Finds where the peak begins and ends by walking outward from its flanks (half a width from the
// centre) until the signal stops falling: where a step is no larger than 1e-5 of the peak's
// height, or where the signal rises again towards a neighbouring peak. A peak of negative height
// is walked as its mirror image, so it gets the bounds of the positive peak of the same size. Sets
// front, back and their baseline heights, and marks the bounds automatic. Leaves the peak
// unchanged when it lies after the signal's end or the signal has fewer than 3 samples.
//
// Returns the samples the walks read (a range covering them all), empty when nothing was read.
IndexRange FindPeakBounds(const Signal4& signal, GenPeak4& peak);
