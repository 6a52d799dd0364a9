#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "Refusal.h"
#include "synth/SignalComponents.h"

// What a chromatogram document can hold, in one place for the desktop program, the scenario
// reader and the recipe reader. Times in minutes, values in millivolts, rates in samples per
// minute. Each check returns an empty Refusal when the value is acceptable.

// The document numbers channels with 8 bits.
inline constexpr std::size_t kMaxChannels = 256;

// A positive time, at least one sample per minute, ceil(time x rate) samples within the
// synthesis limit for one channel and, over `channels` channels, within the document's limit.
Refusal CheckTimeAndRate(double minutes, double per_minute, std::size_t channels);

// Whether one more channel fits beside `channels` others at this time and rate.
Refusal CheckChannelCount(std::size_t channels);

// A finite, non-negative standard deviation whose deviates stay within single precision.
Refusal CheckNoise(double millivolts);

// A finite drift whose contribution at the end of an analysis of `minutes` (and at one minute,
// for short runs) stays within single precision.
Refusal CheckDrift(double millivolts_per_minute, double minutes);

// A finite retention time.
Refusal CheckPeakTime(double minutes);

// A finite height within single precision (the samples are 32-bit floats); negative peaks are
// allowed.
Refusal CheckPeakHeight(double millivolts);

// A finite width greater than 0: the distance from the centre at which a Gaussian has fallen to
// 1/e of its height.
Refusal CheckPeakWidth(double minutes);

// A tailing factor at 5 % of the height within 0.5..4; 1 is the Gaussian, below 1 fronting.
Refusal CheckTailing(double factor);
// A channel's components on a run of `minutes` at `per_minute` samples a minute: the synthesis's
// own rules (FindComponentFault), which name the value at fault.
Refusal CheckComponents(const ChannelComponents& components, double minutes, double per_minute);
// The value CheckComponents refuses, as a scenario names it ("sine.period", "steps[2].width"),
// "" for the components as a whole; nullopt when they are acceptable.
std::optional<std::string> ComponentFaultKey(const ChannelComponents& components, double minutes,
                                             double per_minute);

// An area to fit a width to: finite and greater than 0.
Refusal CheckRequestedArea(double millivolt_minutes);

// Manual bounds: front before back, both within the analysis [start, end], and the retention
// time between them (inclusive).
Refusal CheckManualBounds(double front, double back, double time, double start, double end);

// A Gaussian's width from its standard deviation and back: exp(-(x/w)^2) = exp(-x^2/(2 s^2)).
double WidthFromSigma(double sigma);
double SigmaFromWidth(double width);
