#include "WidthFit.h"

#include <vector>

#include "Drift.h"
#include "FillSignal.h"
#include "NoiseEngine.h"
#include "PeakArea.h"
#include "PeakBounds.h"

void FitWidthToArea(const Signal4& signal, GenPeak4& peak, double noise, double drift) {
    const SampleGrid grid = signal.Grid();
    double lo = grid.start;
    double hi = signal.GetEndTime();
    const double target = peak.area;

    // The trial signal has this signal's time axis and length; its samples are refilled by every
    // trial, so they are not copied.
    Signal4 trial(grid.step, grid.start, nullptr, 0);
    trial.last_index = signal.last_index;
    const std::size_t n = signal.Size();
    std::vector<GenPeak4> single(1);

    while (hi - lo > grid.step) {
        const double mid = (hi + lo) * 0.5;
        // Once the interval is as narrow as double precision allows, the midpoint is one of its
        // ends and bisection cannot make progress (a step below the spacing of doubles).
        if (mid == lo || mid == hi) break;
        GenPeak4& trial_peak = single.front();
        trial_peak = peak;
        trial_peak.width = mid;
        FillSignal(trial, n, single);
        FindPeakBounds(trial, trial_peak);
        AddNoise(trial, noise);
        AddDrift(trial, drift);
        const double area = ComputePeakArea(trial, trial_peak);
        if (target > area)
            lo = mid;
        else
            hi = mid;
    }
    peak.width = (hi + lo) * 0.5;
}
