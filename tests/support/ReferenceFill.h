#pragma once

#include <cmath>
#include <cstddef>
#include <vector>

#include "synth/GaussPeak.h"
#include "synth/Peak4.h"
#include "synth/Signal4.h"
#include "synth/TailedPeak.h"

// The definition of a filled signal, written as plainly as possible: every peak at every sample,
// summed in list order. The optimised FillSignal must match it bit for bit; the benchmarks use it
// as the baseline.
inline void FillSignalEveryPair(Signal4& signal, std::size_t n,
                                const std::vector<GenPeak4>& peaks) {
    signal.Resize(n);
    const SampleGrid grid = signal.Grid();
    for (std::size_t i = 0; i < n; ++i) {
        double sum = 0.0;
        for (const GenPeak4& p : peaks)
            sum += p.tail.IsGaussian() ? GaussPeak(grid.TimeAt(i), p.height, p.width, p.time)
                                       : TailedSample(grid, i, p.height, p.width, p.tail, p.time);
        signal.samples[i] = static_cast<float>(sum);
    }
}

// The same sum with the standard library's exponential: the straightforward evaluation in double
// that the program's own exponential is measured against. Terms beyond 30 widths are left out:
// std::exp of anything below -900 is exactly 0, so for finite peaks they add nothing.
inline void FillSignalWithStandardExp(Signal4& signal, std::size_t n,
                                      const std::vector<GenPeak4>& peaks) {
    signal.Resize(n);
    const SampleGrid grid = signal.Grid();
    std::vector<double> sums(n, 0.0);
    for (const GenPeak4& p : peaks) {
        const double first = std::floor((p.time - 30.0 * p.width - grid.start) / grid.step);
        const double last = std::ceil((p.time + 30.0 * p.width - grid.start) / grid.step);
        for (double i = std::max(first, 0.0); i <= last && i < static_cast<double>(n); ++i) {
            const double t = grid.TimeAt(static_cast<std::size_t>(i));
            sums[static_cast<std::size_t>(i)] +=
                std::exp(-std::pow((t - p.time) / p.width, 2.0)) * p.height;
        }
    }
    for (std::size_t i = 0; i < n; ++i) signal.samples[i] = static_cast<float>(sums[i]);
}
