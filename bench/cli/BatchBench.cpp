// xstgtool batch: 10,000 documents of 10 minutes at 100 samples per minute with 10 peaks each,
// their scenarios and the manifest written to disk, on every core. Once with tailing and fronting
// peaks (factors 0.8 to 2.5), once with Gaussian peaks only.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "cli/Batch.h"

namespace {

namespace fs = std::filesystem;

std::string TenPeakRecipe(bool tailing) {
    return std::string(R"({ "analysis_time": 10, "sample_rate": 100, "peaks_per_channel": 10,
      "peak_time": { "min": 0.5, "max": 9 }, "height": { "min": 1, "max": 1000, "log": true },
      "width": { "min": 0.03, "max": 0.12 }, "noise": { "min": 0, "max": 0.05 },
      "drift": { "min": -0.1, "max": 0.1 }, "min_resolution": 1.0)") +
           (tailing ? R"(, "tailing": { "min": 0.8, "max": 2.5 } })" : "}");
}

void Batch(benchmark::State& state, bool tailing) {
    const fs::path root = fs::temp_directory_path() / "quelmar-batch-bench";
    fs::remove_all(root);
    fs::create_directories(root);
    const fs::path recipe = root / "recipe.json";
    std::ofstream(recipe) << TenPeakRecipe(tailing);
    BatchOptions options;
    options.recipe = recipe.string();
    options.count = 10'000;
    for (auto _ : state) {
        state.PauseTiming();
        fs::remove_all(root / "corpus");
        options.folder = (root / "corpus").string();
        state.ResumeTiming();
        RunBatch(options, {});
    }
    state.counters["documents/s"] = benchmark::Counter(
        static_cast<double>(options.count), benchmark::Counter::kIsIterationInvariantRate);
    fs::remove_all(root);
}

}  // namespace

BENCHMARK_CAPTURE(Batch, TenPeaksTailing, true)
    ->Unit(benchmark::kSecond)
    ->UseRealTime()
    ->Iterations(1);
BENCHMARK_CAPTURE(Batch, TenPeaksGaussian, false)
    ->Unit(benchmark::kSecond)
    ->UseRealTime()
    ->Iterations(1);
