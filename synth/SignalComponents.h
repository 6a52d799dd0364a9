#pragma once

#include <cstdint>
#include <optional>
#include <vector>

// What a detector adds to a channel besides its peaks, its white noise and its linear drift:
// baseline components summed with the drift, and noise components added to the white noise. Times
// in minutes, values in millivolts. ComponentRules.h says which values can be synthesised.

// A sigmoid step of the baseline (a gradient change): height / (1 + e^(-(t - time)/s)) with
// s = width / (2 ln 9), so that it rises from 10 % to 90 % of its height within `width`.
struct BaselineStep {
    double time = 0.0;
    double height = 0.0;
    double width = 0.0;  // 0 is a sharp step: half its height at `time`, all of it after

    bool operator==(const BaselineStep&) const = default;
};

// amplitude * sin(2 pi t / period + phase), phase in radians (pump pulsation).
struct BaselineSine {
    double amplitude = 0.0;
    double period = 1.0;
    double phase = 0.0;

    bool operator==(const BaselineSine&) const = default;
};

// height * e^(-t / time_constant): the offset of a detector still warming up, from time 0.
struct BaselineSettle {
    double height = 0.0;
    double time_constant = 1.0;

    bool operator==(const BaselineSettle&) const = default;
};

// Spikes one sample high at the times of a Poisson process of `rate` per minute, each of a height
// drawn uniformly from min_height to max_height with a random sign.
struct SpikeTrain {
    double rate = 0.0;
    double min_height = 0.0;
    double max_height = 0.0;

    bool operator==(const SpikeTrain&) const = default;
};

struct ChannelComponents {
    std::vector<BaselineStep> steps;
    std::optional<BaselineSine> sine;
    std::optional<BaselineSettle> settle;
    // Random walk: from one sample to the next a normal step of standard deviation
    // wander * sqrt(step), wander in millivolts per square root of a minute; 0 at the first sample.
    double wander = 0.0;
    // 1/f noise whose samples have this standard deviation, in millivolts.
    double pink = 0.0;
    std::optional<SpikeTrain> spikes;

    // Where the random components draw from: the document's seed and the channel's number.
    std::uint32_t seed = 42;
    std::uint32_t channel = 0;

    // True when the channel has no component that changes a sample: it is then made exactly as
    // one with its peaks, white noise and drift alone.
    bool operator==(const ChannelComponents&) const = default;
    bool IsEmpty() const;
};

// The random components, each with a generator of its own, so that adding one never moves
// another's draws, nor the white noise's.
enum class ComponentStream : std::uint32_t { Wander = 1, Pink = 2, Spikes = 3 };

// The MT19937 seed of a component's generator on a channel: the high 32 bits of
// SplitMix64(seed * 2^32 + channel * 16 + stream).
std::uint32_t ComponentSeed(std::uint32_t seed, std::uint32_t channel, ComponentStream stream);
