#include "Regeneration.h"

#include "Drift.h"
#include "FillSignal.h"
#include "NoiseEngine.h"
#include "PeakArea.h"
#include "PeakBounds.h"

void RegenerateSignal(Signal4& signal, std::vector<GenPeak4>& peaks, double noise, double drift) {
    FillSignal(signal, signal.Size(), peaks);
    for (GenPeak4& peak : peaks)
        if (peak.auto_bounds) FindPeakBounds(signal, peak);
    AddNoise(signal, noise);
    AddDrift(signal, drift);
    for (GenPeak4& peak : peaks) ComputePeakArea(signal, peak);
}
