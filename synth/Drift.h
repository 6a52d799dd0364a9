#pragma once

#include <span>

#include "IndexRange.h"
#include "Signal4.h"

// Adds drift * t to every sample, t being the sample's time: the baseline rises by `drift`
// millivolts per minute of retention time. A negative drift lowers it.
void AddDrift(Signal4& signal, double drift);

// The same for the samples inside `ranges` (within the signal) only.
void AddDriftWithin(Signal4& signal, double drift, std::span<const IndexRange> ranges);
