#include "ComponentRules.h"

#include <cmath>
#include <string>

#include "NumberText.h"
#include "PinkFilter.h"
#include "PolarPoints.h"

namespace {

constexpr const char* kFinite = "must be a finite number";
constexpr const char* kNotNegative = "must be a finite number, 0 or more";
constexpr const char* kPositive = "must be a finite number greater than 0";

bool IsNotNegative(double x) {
    return std::isfinite(x) && x >= 0.0;
}

bool IsPositive(double x) {
    return std::isfinite(x) && x > 0.0;
}

// The first value of a component that breaks its rule.
struct FieldCheck {
    const char* key;
    bool ok;
    const char* reason;
};

std::optional<ComponentFault> FirstFault(const std::string& where,
                                         std::initializer_list<FieldCheck> checks) {
    for (const FieldCheck& check : checks)
        if (!check.ok) return ComponentFault{where + check.key, check.reason};
    return std::nullopt;
}

std::optional<ComponentFault> FindStepFault(const ChannelComponents& c) {
    if (c.steps.size() > kMaxBaselineSteps)
        return ComponentFault{"steps", "holds more than " + std::to_string(kMaxBaselineSteps) +
                                           " steps; a channel has at most that many"};
    for (std::size_t i = 0; i < c.steps.size(); ++i) {
        const BaselineStep& step = c.steps[i];
        if (auto fault = FirstFault("steps[" + std::to_string(i) + "].",
                                    {{"time", std::isfinite(step.time), kFinite},
                                     {"height", std::isfinite(step.height), kFinite},
                                     {"width", IsNotNegative(step.width), kNotNegative}}))
            return fault;
    }
    return std::nullopt;
}

std::optional<ComponentFault> FindSpikeFault(const SpikeTrain& spikes, const SampleGrid& grid) {
    if (auto fault =
            FirstFault("spikes.", {{"rate", IsNotNegative(spikes.rate), kNotNegative},
                                   {"height.min", IsNotNegative(spikes.min_height), kNotNegative},
                                   {"height.max", IsNotNegative(spikes.max_height), kNotNegative}}))
        return fault;
    if (spikes.min_height > spikes.max_height)
        return ComponentFault{"spikes.height", "min " + FormatShortest(spikes.min_height) +
                                                   " is greater than max " +
                                                   FormatShortest(spikes.max_height)};
    if (spikes.rate * grid.step > 1.0)
        return ComponentFault{"spikes.rate", FormatShortest(spikes.rate) +
                                                 " per minute is more than one spike per sample "
                                                 "on average (" +
                                                 FormatShortest(1.0 / grid.step) +
                                                 " samples per minute)"};
    return std::nullopt;
}

}  // namespace

std::optional<ComponentFault> FindComponentFault(const ChannelComponents& c, const SampleGrid& grid,
                                                 std::size_t n) {
    if (auto fault = FindStepFault(c)) return fault;
    if (c.sine)
        if (auto fault =
                FirstFault("sine.", {{"amplitude", std::isfinite(c.sine->amplitude), kFinite},
                                     {"period", IsPositive(c.sine->period), kPositive},
                                     {"phase", std::isfinite(c.sine->phase), kFinite}}))
            return fault;
    if (c.settle)
        if (auto fault = FirstFault(
                "settle.", {{"height", std::isfinite(c.settle->height), kFinite},
                            {"time_constant", IsPositive(c.settle->time_constant), kPositive}}))
            return fault;
    if (auto fault = FirstFault("", {{"wander.sigma", IsNotNegative(c.wander), kNotNegative},
                                     {"pink", IsNotNegative(c.pink), kNotNegative}}))
        return fault;
    if (c.spikes)
        if (auto fault = FindSpikeFault(*c.spikes, grid)) return fault;
    const double reach = ComponentReach(c, grid, n);
    if (!(reach <= kMaxComponentReach))
        return ComponentFault{"", "its components could reach " + FormatShortest(reach) +
                                      " mV, beyond the " + FormatShortest(kMaxComponentReach) +
                                      " mV they may add to a sample"};
    return std::nullopt;
}

double ComponentReach(const ChannelComponents& c, const SampleGrid& grid, std::size_t n) {
    double reach = 0.0;
    for (const BaselineStep& step : c.steps) reach += std::fabs(step.height);
    if (c.sine) reach += std::fabs(c.sine->amplitude);
    // The settling term is evaluated from time 0 on and held at its height before.
    if (c.settle) reach += std::fabs(c.settle->height);
    const double walk_steps = n > 0 ? static_cast<double>(n - 1) : 0.0;
    reach += kLargestDeviate * c.wander * std::sqrt(grid.step) * walk_steps;
    reach += kLargestDeviate * kPinkGainBound * c.pink / std::sqrt(kPinkUnitVariance);
    if (c.spikes) reach += std::fmax(c.spikes->min_height, c.spikes->max_height);
    return reach;
}
