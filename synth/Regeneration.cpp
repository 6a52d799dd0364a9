#include "Regeneration.h"

#include <algorithm>

#include "Drift.h"
#include "FillSignal.h"
#include "IndexRange.h"
#include "NoiseEngine.h"
#include "PeakArea.h"
#include "PeakBounds.h"

namespace {

// The samples step 4 will read, sorted and merged, or the whole signal.
std::vector<IndexRange> SamplesToDisturb(const Signal4& signal, const std::vector<GenPeak4>& peaks,
                                         RegenerationScope scope) {
    if (scope == RegenerationScope::Everything) return {IndexRange{0, signal.Size()}};
    std::vector<IndexRange> read;
    for (const GenPeak4& peak : peaks)
        for (const IndexRange& range : SamplesReadByArea(signal, peak))
            if (range.first < range.last) read.push_back(range);
    std::sort(read.begin(), read.end(),
              [](const IndexRange& a, const IndexRange& b) { return a.first < b.first; });
    std::vector<IndexRange> merged;
    for (const IndexRange& range : read) {
        if (!merged.empty() && range.first <= merged.back().last)
            merged.back().last = std::max(merged.back().last, range.last);
        else
            merged.push_back(range);
    }
    return merged;
}

}  // namespace

void RegenerateSignal(Signal4& signal, std::vector<GenPeak4>& peaks, double noise, double drift,
                      RegenerationScope scope) {
    FillSignal(signal, signal.Size(), peaks);
    for (GenPeak4& peak : peaks)
        if (peak.auto_bounds) FindPeakBounds(signal, peak);
    const std::vector<IndexRange> disturbed = SamplesToDisturb(signal, peaks, scope);
    AddNoiseWithin(signal, noise, disturbed);
    AddDriftWithin(signal, drift, disturbed);
    for (GenPeak4& peak : peaks) ComputePeakArea(signal, peak);
}
