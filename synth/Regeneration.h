#pragma once

#include <vector>

#include "Peak4.h"
#include "Signal4.h"
#include "SignalComponents.h"

// How much of a regeneration's result the caller will use.
enum class RegenerationScope {
    // The signal and every measured value of the peaks.
    Everything,
    // Every measured value of the peaks, and the noise generator's state, exactly as Everything
    // leaves them; but noise and drift reach only the samples the area measurement reads, the
    // others keeping the clean sum of the peaks. For trial signals that are thrown away.
    Measurements,
};

// The parts a regenerated signal is made of, sample by sample: the clean sum of the peaks (as
// stored, a float), the baseline (drift and baseline components) and the noise (white noise and
// the noise components), both in double. The finished sample is the float nearest to the sum the
// pipeline forms from them (Components.h); it can differ from peaks + baseline + noise by the
// roundings to float on the way.
struct SignalParts {
    std::vector<float> peaks;
    std::vector<double> baseline;
    std::vector<double> noise;
};

// Brings a channel's signal and its peaks' measured values in line with the peaks, keeping the
// signal's length. The order matters: bounds are found on the clean sum of the peaks, areas on
// the final signal with white noise (millivolts), drift (millivolts per minute) and the
// channel's components.
//   1. fill the signal from the peaks;
//   2. find the bounds of every peak whose bounds are automatic, in list order;
//   3. add the white noise;
//   4. add the drift, or, when the channel has components, the drift, the baseline components and
//      the noise components in one step (ComponentPass; its random draws, which do not depend on
//      the samples, begin beside step 3);
//   5. measure every peak's area, in list order.
// Every regeneration in the program, and every trial of a width fit, goes through here. With
// `parts` (and RegenerationScope::Everything), the parts of every sample are kept there.
void RegenerateSignal(Signal4& signal, std::vector<GenPeak4>& peaks, double noise, double drift,
                      const ChannelComponents& components,
                      RegenerationScope scope = RegenerationScope::Everything,
                      SignalParts* parts = nullptr);

// A channel without components, as the desktop program has them.
void RegenerateSignal(Signal4& signal, std::vector<GenPeak4>& peaks, double noise, double drift,
                      RegenerationScope scope = RegenerationScope::Everything);
