#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>

#include <nlohmann/json.hpp>

// A batch recipe: the ranges from which each document of a corpus is drawn. Times in minutes,
// heights, noise and drift in millivolts (drift per minute), areas in millivolt-minutes.

// Values drawn uniformly between min and max, or log-uniformly (min > 0); min == max is a fixed
// value.
struct RecipeRange {
    double min = 0.0;
    double max = 0.0;
    bool log = false;
};

// Whole numbers drawn uniformly from min to max, both included.
struct RecipeCount {
    std::uint64_t min = 0;
    std::uint64_t max = 0;
};

// Ranges of a channel's components (Scenario.h, synth/SignalComponents.h); a component is drawn
// only when the recipe names it.
struct RecipeSteps {
    RecipeCount count;
    RecipeRange time;
    RecipeRange height;
    RecipeRange width;
};

struct RecipeSine {
    RecipeRange amplitude;
    RecipeRange period;
    std::optional<RecipeRange> phase;  // 0 when absent
};

struct RecipeSettle {
    RecipeRange height;
    RecipeRange time_constant;
};

struct RecipeSpikes {
    RecipeRange rate;
    // The ends of the range each spike's height is drawn from; every min lies below every max.
    RecipeRange min_height;
    RecipeRange max_height;
};

struct RecipeComponents {
    std::optional<RecipeSteps> steps;
    std::optional<RecipeSine> sine;
    std::optional<RecipeSettle> settle;
    std::optional<RecipeRange> wander;  // sigma
    std::optional<RecipeRange> pink;
    std::optional<RecipeSpikes> spikes;
};

struct Recipe {
    RecipeRange analysis_time;
    RecipeRange sample_rate;
    RecipeCount channels{1, 1};
    RecipeCount peaks_per_channel;
    RecipeRange peak_time;
    RecipeRange height;
    std::optional<RecipeRange> width;  // exactly one of width and area
    std::optional<RecipeRange> area;
    RecipeRange tailing{1.0, 1.0};
    RecipeRange noise;
    RecipeRange drift;
    // Neighbouring peaks of a channel are at least this far resolved (0: no condition).
    double min_resolution = 0.0;
    RecipeComponents components;
    std::int64_t analysis_date = 0;  // every document's, seconds since 1970-01-01 00:00 UTC
    nlohmann::json passport;         // copied into every scenario; null when absent
};

class RecipeError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Parses and checks a recipe as strictly as a scenario: every key known and given once, every
// range ordered and finite, every bound such that each document drawn is one the scenario parser
// accepts. Throws RecipeError saying where and what.
Recipe ParseRecipe(const std::string& text);

// The complete scenario of document `number` (1, 2, ...) of the corpus made with `seed`, with its
// own noise seed, assay identifier and analysis date. The same recipe, seed and number always give
// the same scenario. Throws RecipeError when the peaks cannot be placed at the recipe's minimum
// resolution.
//
// The rule: document i draws from std::mt19937_64 seeded with SplitMix64(seed * 2^32 + i). Its
// first output's high 32 bits are the noise seed, the next two give the assay identifier (a
// version 4 UUID), and then come, in this order, the analysis time, the sample rate, the number
// of channels and, per channel, its noise, drift and number of peaks, and per peak its height,
// width or area, tailing factor and retention time (drawn again while it is closer than the
// minimum resolution to a peak already placed). After all of these, per channel in order, the
// components the recipe names: the number of steps and per step its time, height and width; the
// sine's amplitude, period and phase; the settling height and time constant; the wander's sigma;
// the pink noise; the spike rate and the least and the greatest spike height. A uniform draw is
// min + u (max - min) and a log-uniform one max e^(-(1 - u) ln(max/min)), u being the output's
// high 53 bits over 2^53.
nlohmann::ordered_json DrawScenario(const Recipe& recipe, std::uint32_t seed, std::uint32_t number);

// Resolution of two neighbouring peaks from their apex times and half-height widths (minutes):
// sqrt(2 ln 2) (t2 - t1) / (w1 + w2), which is (t2 - t1) / (2 (sigma1 + sigma2)) for Gaussians.
double Resolution(double time1, double half_width1, double time2, double half_width2);

// The half-height width, in minutes, of a peak of this width and tailing factor.
double HalfHeightWidth(double width, double tailing);
