#pragma once

#include <cstddef>
#include <vector>

#include "Peak4.h"
#include "Signal4.h"

// How a width fit ended. Only Fitted changes the peak.
enum class WidthFitOutcome {
    Fitted,       // the width is set; `area` is what the channel's regeneration will measure
    NotPositive,  // the requested area is 0, negative or not finite
    Unreachable,  // more than any width within the analysis gives; `area` is the largest found
                  // (within a percent of the largest, or a millionth for a request within twice it)
    TooSmall,     // less than any width gives (however narrow, a peak centred on a sample keeps
                  // about height x step); `area` is the smallest found
    NoHeight,     // the peak's height is 0: no width gives it an area
    NonFinite,    // the peak's time, height or bounds, the noise, the drift, the time axis, or
                  // the area some width gives is not finite
};

// Areas here count in the direction of the peak's height: a peak of negative height has a
// negative measured area, and its magnitude is what is fitted and reported.
struct WidthFitResult {
    WidthFitOutcome outcome = WidthFitOutcome::NonFinite;
    double width = 0.0;  // the peak's width afterwards: the one found, or the one it kept
    double area = 0.0;   // millivolt-minutes; see the outcomes (0 where they say nothing)
};

// The fitted area counts as met within this share of the request; the fit aims far closer.
inline constexpr double kWidthFitTolerance = 1e-6;

// The width at which a peak of this height and shape has `area` over the whole time axis: for
// the Gaussian area / (|height| sqrt(pi)). Where that is not a positive finite number (an area
// or height of 0, an overflow) the width of a new peak.
double WidthForArea(double area, const GenPeak4& peak);

// Sets the width of peaks[fitted] so that regenerating the channel (RegenerateSignal with these
// peaks, noise in millivolts and drift in millivolts per minute) measures `area` for it, within
// kWidthFitTolerance wherever some width within (0, analysis length] gives that area. Each trial
// regenerates the whole channel, the other peaks as they are, and every trial draws the same
// noise: the generator's state is taken before the fit and restored before each trial and at the
// end. So the fit leaves the generator where it found it, and the caller's regeneration adds the
// very noise the trials saw.
//
// The search starts from WidthForArea, brackets by growing or shrinking the width, and narrows
// by root finding. The measured area jumps a little where a bound moves by a sample (with noise,
// by what the baseline's ends move); a request inside such a jump ends on its nearer side, and
// `area` says how close it came. Nothing but the width changes, and only when Fitted.
WidthFitResult FitWidthToArea(const Signal4& signal, std::vector<GenPeak4>& peaks,
                              std::size_t fitted, double area, double noise, double drift);
