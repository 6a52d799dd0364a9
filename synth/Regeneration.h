#pragma once

#include <cstddef>
#include <vector>

#include "Peak4.h"
#include "Signal4.h"
#include "SignalComponents.h"

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
//      the samples, begin beside step 2);
//   5. measure every peak's area, in list order.
// Every regeneration in the program goes through here, and every trial of a width fit through
// RegenerateMeasurements below, which runs the same steps. With `parts`, the parts of every
// sample are kept there.
void RegenerateSignal(Signal4& signal, std::vector<GenPeak4>& peaks, double noise, double drift,
                      const ChannelComponents& components = {}, SignalParts* parts = nullptr);

// A regeneration for a trial whose signal is thrown away: peaks[measured] gets exactly the
// bounds, baseline and window values and area that RegenerateSignal would give it from the same
// noise generator state and components; the other peaks are left as they are. Only the samples
// that peak's measurement reads are computed: the fill starts around the peak and grows until the
// bound walks have read filled samples only, and noise, drift and components reach only what the
// area reads. Every other sample keeps whatever it held, so `signal` need only have the channel's
// grid and length. The generator stops after the last deviate the measurement needs: the caller
// puts it back. The components' own generators start afresh at every regeneration, so every
// trial sees the components the channel's regeneration adds.
void RegenerateMeasurements(Signal4& signal, std::vector<GenPeak4>& peaks, std::size_t measured,
                            double noise, double drift, const ChannelComponents& components = {});
