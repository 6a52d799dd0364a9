#pragma once

#include <vector>

#include "Peak4.h"
#include "Signal4.h"

// The stored form of a channel's working peaks, as a document keeps them: a peak whose front or
// back lies at or beyond the end of the analysis is left out (it stays in the working list).
std::vector<Peak4> CollectStoredPeaks(const Signal4& signal, const std::vector<GenPeak4>& peaks);
