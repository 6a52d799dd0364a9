#include "StoredPeaks.h"

std::vector<Peak4> CollectStoredPeaks(const Signal4& signal, const std::vector<GenPeak4>& peaks,
                                      std::vector<LeftOutPeak>* left_out) {
    const double start = signal.Grid().start;
    const double end = signal.GetEndTime();
    std::vector<Peak4> stored;
    stored.reserve(peaks.size());
    for (std::size_t i = 0; i < peaks.size(); ++i) {
        const GenPeak4& peak = peaks[i];
        // Written so that NaN anywhere leaves the peak out.
        if (!(peak.time >= start && peak.time < end)) {
            if (left_out != nullptr) left_out->push_back({i, LeftOutReason::TimeOutsideAnalysis});
        } else if (!(peak.front < end && peak.back < end)) {
            if (left_out != nullptr) left_out->push_back({i, LeftOutReason::ReachesEnd});
        } else {
            stored.push_back(peak);
        }
    }
    return stored;
}
