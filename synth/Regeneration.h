#pragma once

#include <vector>

#include "Peak4.h"
#include "Signal4.h"

// How much of a regeneration's result the caller will use.
enum class RegenerationScope {
    // The signal and every measured value of the peaks.
    Everything,
    // Every measured value of the peaks, and the noise generator's state, exactly as Everything
    // leaves them; but noise and drift reach only the samples the area measurement reads, the
    // others keeping the clean sum of the peaks. For trial signals that are thrown away.
    Measurements,
};

// Brings a channel's signal and its peaks' measured values in line with the peaks, keeping the
// signal's length. The order matters: bounds are found on the clean sum of the Gaussians, areas
// on the final signal with noise (millivolts) and drift (millivolts per minute).
//   1. fill the signal from the peaks;
//   2. find the bounds of every peak whose bounds are automatic, in list order;
//   3. add noise, then drift;
//   4. measure every peak's area, in list order.
// Every regeneration in the program, and every trial of a width fit, goes through here.
void RegenerateSignal(Signal4& signal, std::vector<GenPeak4>& peaks, double noise, double drift,
                      RegenerationScope scope = RegenerationScope::Everything);
