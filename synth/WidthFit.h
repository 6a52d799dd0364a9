#pragma once

#include "Peak4.h"
#include "Signal4.h"
#include "SignalComponents.h"

// Sets the peak's width so that its measured area comes close to its current `area`: bisection
// between the signal's start and end times, each trial synthesising the peak alone (noise and
// drift included, and the channel's components) on a signal shaped like this one. Nothing else of
// the peak or the signal changes; the noise generator advances. The caller regenerates the channel
// afterwards.
void FitWidthToArea(const Signal4& signal, GenPeak4& peak, double noise, double drift,
                    const ChannelComponents& components = {});
