#pragma once

#include <cstddef>
#include <vector>

#include "IndexRange.h"
#include "Peak4.h"
#include "Signal4.h"

// Resizes the signal to n samples and sets each to the sum of the peaks' terms at its time (the
// Gaussian, or the tailing or fronting shape of TailedPeak.h), summed in double in list order and
// rounded to float. Earlier sample values are all overwritten.
//
// Each peak is evaluated only over the samples where its term can be non-zero; since adding 0.0
// to a sum changes nothing, the samples are bit-identical to summing every peak at every sample.
void FillSignal(Signal4& signal, std::size_t n, const std::vector<GenPeak4>& peaks);

// Sets the samples in `range` exactly as FillSignal would, leaving the signal's length and every
// other sample as they are: each sample depends only on its index, the grid and the peaks.
void FillSamples(Signal4& signal, const std::vector<GenPeak4>& peaks, IndexRange range);
