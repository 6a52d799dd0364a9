// The command-line tool's generate on large scenarios of 8 channels of 60 minutes at 6,000 samples
// per minute (360,000 samples each), noise and drift, saved to disk: 200 peaks per channel given
// by their widths, and 20 per channel given by their areas (160 width fits).
#include <benchmark/benchmark.h>

#include <filesystem>
#include <random>

#include "cli/Generator.h"
#include "cli/Scenario.h"

namespace {

// Eight channels of 60 minutes at 6,000 samples per minute with noise and drift, their peaks given
// by widths between 0.02 and 0.2 minutes or, `by_area`, by the areas those widths give (height *
// width * sqrt(pi)).
std::string EightLongChannels(unsigned seed, int peaks_per_channel, bool by_area) {
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> time(0.0, 60.0);
    std::uniform_real_distribution<double> height(1.0, 100.0);
    std::uniform_real_distribution<double> width(0.02, 0.2);
    nlohmann::json channels = nlohmann::json::array();
    for (int c = 0; c < 8; ++c) {
        nlohmann::json peaks = nlohmann::json::array();
        for (int p = 0; p < peaks_per_channel; ++p) {
            if (by_area) {
                const double h = height(random);
                peaks.push_back({{"time", time(random)},
                                 {"height", h},
                                 {"area", h * width(random) * 1.7724538509055159}});
            } else {
                peaks.push_back(
                    {{"time", time(random)}, {"height", height(random)}, {"width", width(random)}});
            }
        }
        channels.push_back({{"noise", 0.1}, {"drift", 0.5}, {"peaks", peaks}});
    }
    return nlohmann::json{{"analysis_time", 60.0}, {"sample_rate", 6000.0}, {"channels", channels}}
        .dump();
}

std::string LargeScenario() {
    return EightLongChannels(11, 200, false);
}

std::string ScenarioByArea() {
    return EightLongChannels(13, 20, true);
}

void Generate(benchmark::State& state, const std::string& scenario_text) {
    const Scenario scenario = ParseScenario(scenario_text);
    const std::string path =
        (std::filesystem::temp_directory_path() / "quelmar-generate-bench.xstg").string();
    GenerateOptions options;
    options.assay_id = "00000000-0000-0000-0000-000000000001";
    for (auto _ : state) {
        CTarvikFile4 document;
        GenerateDocument(scenario, options, document);
        if (document.SaveToFile(path) != 0) state.SkipWithError("save failed");
    }
    std::filesystem::remove(path);
}

}  // namespace

BENCHMARK_CAPTURE(Generate, Large, LargeScenario())->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(Generate, ByArea, ScenarioByArea())->Unit(benchmark::kMillisecond)->UseRealTime();
