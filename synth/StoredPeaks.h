#pragma once

#include <cstddef>
#include <vector>

#include "Peak4.h"
#include "Signal4.h"

// Why the stored table leaves a working peak out.
enum class LeftOutReason {
    TimeOutsideAnalysis,  // its retention time lies before the start or at or after the end
    ReachesEnd,           // its front or back lies at or beyond the end of the analysis
};

struct LeftOutPeak {
    std::size_t index = 0;  // position in the working list
    LeftOutReason reason = LeftOutReason::ReachesEnd;
};

// The stored form of a channel's working peaks, as a document keeps them. A peak is left out
// (it stays in the working list) when its retention time lies outside the analysis, since its
// bounds and area would then describe nothing in the signal, or when its front or back lies at
// or beyond the end of the analysis. When `left_out` is given, it receives those peaks in list
// order with the reason.
std::vector<Peak4> CollectStoredPeaks(const Signal4& signal, const std::vector<GenPeak4>& peaks,
                                      std::vector<LeftOutPeak>* left_out = nullptr);
