#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "Signal4.h"
#include "SignalComponents.h"

// What a channel's components may hold: the one place for these rules, used by the scenario and
// recipe readers alike.

// The most steps one channel's baseline may have.
inline constexpr std::size_t kMaxBaselineSteps = 10'000;

// The most the components together may reach, in millivolts: far beyond any detector, and far
// below the 3.4e38 where a float sample ends, so that no sum of them leaves single precision.
inline constexpr double kMaxComponentReach = 1e30;

// Why the components cannot be synthesised, and where.
struct ComponentFault {
    std::string key;     // as a scenario names it: "steps[2].width", "spikes.rate"; empty: all
    std::string reason;  // "must be a finite number, 0 or more"
};

// Checks every value of the components for a channel of n samples on `grid` (a positive step):
// times, heights, amplitudes and phases finite; widths, sigmas and the spike rate finite and not
// negative; periods and time constants finite and above 0; at most kMaxBaselineSteps steps; at
// most one spike per sample on average; spike heights from 0 up, min not above max; and the
// largest value the components can reach together (ComponentReach) within kMaxComponentReach.
std::optional<ComponentFault> FindComponentFault(const ChannelComponents& components,
                                                 const SampleGrid& grid, std::size_t n);

// The most the components can add to a sample in magnitude, in millivolts: every step at its full
// height, the sine's amplitude and the settling height, a walk of n - 1 steps of the largest
// deviate, the pink filter's largest output for the largest deviates, and one spike's largest
// height (spikes that meet in one sample add; the reach limit leaves room for 10^8 of them).
double ComponentReach(const ChannelComponents& components, const SampleGrid& grid, std::size_t n);
