#pragma once

#include "Peak4.h"
#include "Signal4.h"

// Finds where the peak begins and ends by walking outward from its flanks (half a width from the
// centre) until the signal stops falling: where a step is no larger than 1e-5 of the peak's
// height, or where the signal rises again towards a neighbouring peak. Sets front, back and their
// baseline heights, and marks the bounds automatic. Leaves the peak unchanged when it lies after
// the signal's end or the signal has fewer than 3 samples.
void FindPeakBounds(const Signal4& signal, GenPeak4& peak);
