#include "StoredPeaks.h"

std::vector<Peak4> CollectStoredPeaks(const Signal4& signal, const std::vector<GenPeak4>& peaks) {
    const double end = signal.GetEndTime();
    std::vector<Peak4> stored;
    stored.reserve(peaks.size());
    for (const GenPeak4& peak : peaks)
        if (peak.front < end && peak.back < end) stored.push_back(peak);
    return stored;
}
