// Any bytes as a batch recipe: parsing ends in a recipe or a RecipeError, never a crash or an
// uncaught exception. For a recipe small enough to draw quickly, the scenario drawn for a
// document must be one the scenario parser accepts: the recipe's checks promise it.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "cli/Recipe.h"
#include "cli/Scenario.h"

namespace {

constexpr double kMaxFuzzSamples = 20'000;   // per channel, at the largest draws
constexpr std::uint64_t kMaxFuzzPeaks = 64;  // over all channels

bool SmallEnough(const Recipe& recipe) {
    return recipe.analysis_time.max * recipe.sample_rate.max <= kMaxFuzzSamples &&
           recipe.channels.max * recipe.peaks_per_channel.max <= kMaxFuzzPeaks;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Recipe recipe;
    try {
        recipe = ParseRecipe(std::string(reinterpret_cast<const char*>(data), size));
    } catch (const RecipeError&) {
        return 0;
    }
    if (!SmallEnough(recipe)) return 0;
    std::string scenario;
    try {
        scenario = DrawScenario(recipe, 42, 1).dump();
    } catch (const RecipeError&) {
        return 0;  // peaks that cannot be placed at the minimum resolution
    }
    try {
        ParseScenario(scenario);
    } catch (const ScenarioError&) {
        std::abort();  // the recipe let through what no scenario may hold
    }
    return 0;
}
