#pragma once

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
// Every regeneration in the program goes through here.
void RegenerateSignal(Signal4& signal, std::vector<GenPeak4>& peaks, double noise, double drift);
