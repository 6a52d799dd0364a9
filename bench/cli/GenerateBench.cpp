// The command-line tool's generate on a large scenario: 8 channels of 60 minutes at 6,000 samples
// per minute (360,000 samples each), 200 peaks per channel, noise and drift, saved to disk.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <random>

#include "cli/Generator.h"
#include "cli/Scenario.h"

namespace {

std::string LargeScenario() {
    std::mt19937 random(11);
    std::uniform_real_distribution<double> time(0.0, 60.0);
    std::uniform_real_distribution<double> height(1.0, 100.0);
    std::uniform_real_distribution<double> width(0.02, 0.2);
    nlohmann::json channels = nlohmann::json::array();
    for (int c = 0; c < 8; ++c) {
        nlohmann::json peaks = nlohmann::json::array();
        for (int p = 0; p < 200; ++p)
            peaks.push_back(
                {{"time", time(random)}, {"height", height(random)}, {"width", width(random)}});
        channels.push_back({{"noise", 0.1}, {"drift", 0.5}, {"peaks", peaks}});
    }
    return nlohmann::json{{"analysis_time", 60.0}, {"sample_rate", 6000.0}, {"channels", channels}}
        .dump();
}

void GenerateLarge(benchmark::State& state) {
    const Scenario scenario = ParseScenario(LargeScenario());
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

BENCHMARK(GenerateLarge)->Unit(benchmark::kMillisecond)->UseRealTime();
