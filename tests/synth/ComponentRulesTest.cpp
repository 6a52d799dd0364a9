#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <string>

#include "synth/ComponentRules.h"

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInfinity = std::numeric_limits<double>::infinity();

// Every component, each value valid, on 10 minutes at 100 samples per minute.
ChannelComponents Valid() {
    ChannelComponents c;
    c.steps = {{2.0, 1.0, 0.5}, {5.0, -1.0, 0.0}};
    c.sine = BaselineSine{0.1, 0.5, -3.0};
    c.settle = BaselineSettle{2.0, 1.0};
    c.wander = 0.1;
    c.pink = 0.05;
    c.spikes = SpikeTrain{100.0, 0.0, 3.0};  // one spike per sample on average: the most allowed
    return c;
}

// Each rule, broken once: the fault names the value as a scenario does, or the channel for the
// reach of the whole; values the scenario reader cannot even produce (NaN, infinities) too.
TEST(ComponentRules, EachBrokenRuleIsNamed) {
    const SampleGrid grid{0.0, 0.01};
    const struct {
        std::function<void(ChannelComponents&)> change;
        std::string key;
    } cases[] = {
        {[](auto& c) { c.steps[1].time = kNaN; }, "steps[1].time"},
        {[](auto& c) { c.steps[0].height = kInfinity; }, "steps[0].height"},
        {[](auto& c) { c.steps[0].width = -0.1; }, "steps[0].width"},
        {[](auto& c) { c.steps[0].width = kInfinity; }, "steps[0].width"},
        {[](auto& c) { c.steps.resize(kMaxBaselineSteps + 1); }, "steps"},
        {[](auto& c) { c.sine->amplitude = -kInfinity; }, "sine.amplitude"},
        {[](auto& c) { c.sine->period = 0.0; }, "sine.period"},
        {[](auto& c) { c.sine->phase = kNaN; }, "sine.phase"},
        {[](auto& c) { c.settle->height = kNaN; }, "settle.height"},
        {[](auto& c) { c.settle->time_constant = -1.0; }, "settle.time_constant"},
        {[](auto& c) { c.wander = -0.01; }, "wander.sigma"},
        {[](auto& c) { c.pink = kNaN; }, "pink"},
        {[](auto& c) { c.spikes->rate = -1.0; }, "spikes.rate"},
        {[](auto& c) { c.spikes->rate = 100.001; }, "spikes.rate"},
        {[](auto& c) { c.spikes->min_height = -0.5; }, "spikes.height.min"},
        {[](auto& c) { c.spikes->max_height = kInfinity; }, "spikes.height.max"},
        {[](auto& c) { c.spikes->min_height = 4.0; }, "spikes.height"},
        // 12.5 * 282.8 * 4e27, 12.5 * 1e28 * sqrt(0.01) * 999 and 10,000 * 1.1e26 exceed 1e30 mV.
        {[](auto& c) { c.pink = 4e27; }, ""},
        {[](auto& c) { c.wander = 1e28; }, ""},
        {[](auto& c) {
             c.steps.assign(kMaxBaselineSteps, {1.0, 1.1e26, 0.1});
         },
         ""},
    };
    EXPECT_FALSE(FindComponentFault(Valid(), grid, 1000).has_value());
    EXPECT_FALSE(FindComponentFault(ChannelComponents{}, grid, 1000).has_value());
    for (const auto& c : cases) {
        ChannelComponents components = Valid();
        c.change(components);
        const auto fault = FindComponentFault(components, grid, 1000);
        ASSERT_TRUE(fault.has_value()) << c.key;
        EXPECT_EQ(fault->key, c.key);
        EXPECT_FALSE(fault->reason.empty());
    }
}

}  // namespace
