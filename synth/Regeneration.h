#pragma once

#include <cstddef>
#include <vector>

#include "Peak4.h"
#include "Signal4.h"

// Brings a channel's signal and its peaks' measured values in line with the peaks, keeping the
// signal's length. The order matters: bounds are found on the clean sum of the Gaussians, areas
// on the final signal with noise (millivolts) and drift (millivolts per minute).
//   1. fill the signal from the peaks;
//   2. find the bounds of every peak whose bounds are automatic, in list order;
//   3. add noise, then drift;
//   4. measure every peak's area, in list order.
// Every regeneration in the program goes through here, and every trial of a width fit through
// RegenerateMeasurements below, which runs the same steps.
void RegenerateSignal(Signal4& signal, std::vector<GenPeak4>& peaks, double noise, double drift);

// A regeneration for a trial whose signal is thrown away: peaks[measured] gets exactly the
// bounds, baseline and window values and area that RegenerateSignal would give it from the same
// noise generator state; the other peaks are left as they are. Only the samples that peak's
// measurement reads are computed: the fill starts around the peak and grows until the bound
// walks have read filled samples only, and noise and drift reach only what the area reads. Every
// other sample keeps whatever it held, so `signal` need only have the channel's grid and length.
// The generator stops after the last deviate the measurement needs: the caller puts it back.
void RegenerateMeasurements(Signal4& signal, std::vector<GenPeak4>& peaks, std::size_t measured,
                            double noise, double drift);
