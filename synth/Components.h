#pragma once

#include <span>
#include <vector>

#include "IndexRange.h"
#include "Signal4.h"
#include "SignalComponents.h"

// What the components and the drift add to each sample, in double: the baseline
//   t * drift + (((steps + sine) + settle) + wander)
// and the noise components pink + spike. `steps` is the sum of the heights of the steps that have
// fully risen (in list order) plus the sum of the values of those still rising (in list order):
// a step is exactly 0 while its argument x = (t - time) * 2 ln 9 / width is below -37 and exactly
// its height above 37 (where 1 + e^-x is 1 in double).
//
// The random components draw, each from an MT19937 of its own (ComponentSeed):
//   wander: one normal deviate z_i per sample (the polar method, as the white noise draws them),
//           sample i >= 1 being w_(i-1) + wander * sqrt(step) * z_(i-1), w_0 = 0;
//   pink:   kPinkWarmUp deviates through the PinkFilter, then one per sample, scaled by
//           pink / sqrt(kPinkUnitVariance);
//   spikes: per spike, a gap (two words: u, then -ln(1 - u) / rate minutes after the previous
//           spike, the first after the start), a height (two words: min + u (max - min)) and a
//           sign (one word: negative when its top bit is set), until a spike falls at or beyond
//           sample n; a spike at time s after the start goes to sample floor(s / step), and
//           spikes that meet in one sample add.
// Each uniform u takes 53 bits from two words, as the white noise's.

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
