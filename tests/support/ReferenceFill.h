#pragma once

#include <cstddef>
#include <vector>

#include "synth/GaussPeak.h"
#include "synth/Peak4.h"
#include "synth/Signal4.h"

// The definition of a filled signal, written as plainly as possible: every peak at every sample,
// summed in list order. The optimised FillSignal must match it bit for bit; the benchmarks use it
// as the baseline.
inline void FillSignalEveryPair(Signal4& signal, std::size_t n,
                                const std::vector<GenPeak4>& peaks) {
    signal.Resize(n);
    const SampleGrid grid = signal.Grid();
    for (std::size_t i = 0; i < n; ++i) {
        double sum = 0.0;
        for (const GenPeak4& p : peaks) sum += GaussPeak(grid.TimeAt(i), p.height, p.width, p.time);
        signal.samples[i] = static_cast<float>(sum);
    }
}
