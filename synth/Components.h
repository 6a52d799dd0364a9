#pragma once

#include <span>
#include <vector>

#include "IndexRange.h"
#include "Signal4.h"
#include "SignalComponents.h"

// What the components and the drift add to each sample, in double: the baseline
//   t * drift + (time terms + wander)
// (BaselineTerms.h: ((steps + sine) + settle)) and the noise components pink + spike
// (ComponentStreams.h, which states each random component's draws).

// Each sample inside `ranges` (sorted, not overlapping, within the signal) becomes the float
// nearest to (baseline + noise) + sample, computed in double. When `baseline` and `noise` are
// given, they receive every sample's two values (they are resized to the signal's length).
void AddComponentsWithin(Signal4& signal, double drift, const ChannelComponents& components,
                         std::span<const IndexRange> ranges,
                         std::vector<double>* baseline = nullptr,
                         std::vector<double>* noise = nullptr);

// The true baseline, t * drift + the baseline components, at each of `times` on a signal of n
// samples on `grid`: at a sample's time exactly what AddComponentsWithin adds there; between
// samples the steps, sine and settling term at that time and the wander interpolated linearly, as
// Signal4::GetValue interpolates (extrapolating along the first or last pair beyond the samples).
std::vector<double> TrueBaselineAt(const ChannelComponents& components, double drift,
                                   const SampleGrid& grid, std::size_t n,
                                   std::span<const double> times);
