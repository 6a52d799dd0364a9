#include "WidthFit.h"

#include <vector>

#include "Regeneration.h"

void FitWidthToArea(const Signal4& signal, GenPeak4& peak, double noise, double drift,
                    const ChannelComponents& components) {
    const SampleGrid grid = signal.Grid();
    double lo = grid.start;
    double hi = signal.GetEndTime();
    const double target = peak.area;

    // The trial signal has this signal's time axis and length; its samples are refilled by every
    // trial, so they are not copied.
    Signal4 trial(grid.step, grid.start, nullptr, 0);
    trial.last_index = signal.last_index;
    trial.Resize(signal.Size());
    std::vector<GenPeak4> single(1);

    while (hi - lo > grid.step) {
        const double mid = (hi + lo) * 0.5;
        // Once the interval is as narrow as double precision allows, the midpoint is one of its
        // ends and bisection cannot make progress (a step below the spacing of doubles).
        if (mid == lo || mid == hi) break;
        GenPeak4& trial_peak = single.front();
        trial_peak = peak;
        trial_peak.width = mid;
        // A trial always finds its bounds, whatever the peak's own setting; only its area is
        // used, so the samples nothing measures need no noise.
        trial_peak.auto_bounds = true;
        RegenerateSignal(trial, single, noise, drift, components, RegenerationScope::Measurements);
        if (target > trial_peak.area)
            lo = mid;
        else
            hi = mid;
    }
    peak.width = (hi + lo) * 0.5;
}
