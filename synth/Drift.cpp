#include "Drift.h"

void AddDrift(Signal4& signal, double drift) {
    if (signal.samples.empty()) return;
    const SampleGrid grid = signal.Grid();
    for (std::size_t i = 0; i < signal.samples.size(); ++i)
        signal.samples[i] = static_cast<float>(grid.TimeAt(i) * drift + signal.samples[i]);
}
