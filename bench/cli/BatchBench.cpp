// xstgtool batch: 10,000 documents of 10 minutes at 100 samples per minute with 10 peaks each,
// their scenarios and the manifest written to disk, on every core. Once with tailing and fronting
// peaks (factors 0.8 to 2.5), and with Gaussian peaks only in turn with the same corpus made by a
// plain NumPy script (bench/peer/corpus.py), a signal file and a truth file per document.
//
// The batch and the script take turns, five rounds, and each is reported as its median: on this
// kind of virtual machine creating files is several times slower for a while after many were
// removed, and the disk's speed wanders within minutes, so one run of each, one after the other,
// can favour either side by a factor of two.
//
// Each corpus goes to a folder of its own under TMPDIR, and all of them are removed only when the
// program ends: on a file system without a journal, ext4 passes over inodes freed in the last 30
// seconds when it creates a file, so removing one corpus would slow down the creation of the next.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "cli/Batch.h"

namespace {

namespace fs = std::filesystem;

constexpr std::uint64_t kDocuments = 10'000;

// The folder of every corpus of this run, removed at exit.
struct BenchFolder {
    BenchFolder() : path(fs::temp_directory_path() / "quelmar-batch-bench") {
        fs::remove_all(path);
        fs::create_directories(path);
    }
    ~BenchFolder() { fs::remove_all(path); }
    fs::path path;
};

const fs::path& Root() {
    static const BenchFolder folder;
    return folder.path;
}

std::string TenPeakRecipe(bool tailing) {
    return std::string(R"({ "analysis_time": 10, "sample_rate": 100, "peaks_per_channel": 10,
      "peak_time": { "min": 0.5, "max": 9 }, "height": { "min": 1, "max": 1000, "log": true },
      "width": { "min": 0.03, "max": 0.12 }, "noise": { "min": 0, "max": 0.05 },
      "drift": { "min": -0.1, "max": 0.1 }, "min_resolution": 1.0)") +
           (tailing ? R"(, "tailing": { "min": 0.8, "max": 2.5 } })" : "}");
}

void DocumentsPerSecond(benchmark::State& state) {
    state.counters["documents/s"] = benchmark::Counter(
        static_cast<double>(kDocuments), benchmark::Counter::kIsIterationInvariantRate);
}

// One corpus of the recipe in a folder of its own, in seconds.
class BatchRuns {
public:
    explicit BatchRuns(bool tailing) : m_name(tailing ? "tailing" : "gaussian") {
        const fs::path recipe = Root() / (m_name + ".json");
        std::ofstream(recipe) << TenPeakRecipe(tailing);
        m_options.recipe = recipe.string();
        m_options.count = kDocuments;
    }
    double Run() {
        m_options.folder = (Root() / (m_name + "-" + std::to_string(m_run++))).string();
        const auto start = std::chrono::steady_clock::now();
        RunBatch(m_options, {});
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }

private:
    std::string m_name;
    BatchOptions m_options;
    int m_run = 0;
};

void Batch(benchmark::State& state, bool tailing) {
    BatchRuns runs(tailing);
    for (auto _ : state) state.SetIterationTime(runs.Run());
    DocumentsPerSecond(state);
}

// The script's own time for its documents, from its output: Python's start and NumPy's import
// are left out, as the batch's process start is.
std::optional<double> RunPeer(const fs::path& folder) {
    const std::string command = std::string("'") + QUELMAR_SOURCE_DIR + "/bench/peer/corpus.py' '" +
                                folder.string() + "' " + std::to_string(kDocuments);
    std::FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) return std::nullopt;
    std::string output;
    char buffer[256];
    while (const std::size_t got = std::fread(buffer, 1, sizeof buffer, pipe))
        output.append(buffer, got);
    if (::pclose(pipe) != 0) return std::nullopt;
    const std::size_t at = output.find("documents: ");
    if (at == std::string::npos) return std::nullopt;
    return std::strtod(output.c_str() + at + 11, nullptr);
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

constexpr int kRounds = 5;

// The Gaussian corpus by the batch and by the script in turn; the time is the batch's median, and
// the counters give both medians and how many times faster the batch is.
void GaussianAgainstNumPy(benchmark::State& state) {
    BatchRuns runs(false);
    int run = 0;
    for (auto _ : state) {
        std::vector<double> batch;
        std::vector<double> peer;
        // The one that goes first changes from round to round, so that neither always meets the
        // disk as the other left it.
        for (int round = 0; round < kRounds; ++round) {
            if (round % 2 == 0) batch.push_back(runs.Run());
            const std::optional<double> seconds =
                RunPeer(Root() / ("numpy-" + std::to_string(run++)));
            if (!seconds) {
                state.SkipWithError("bench/peer/corpus.py failed (is python3-numpy installed?)");
                return;
            }
            peer.push_back(*seconds);
            if (round % 2 == 1) batch.push_back(runs.Run());
        }
        state.SetIterationTime(Median(batch));
        state.counters["batch_s"] = Median(batch);
        state.counters["numpy_s"] = Median(peer);
        state.counters["speedup"] = Median(peer) / Median(batch);
    }
    DocumentsPerSecond(state);
}

}  // namespace

BENCHMARK_CAPTURE(Batch, TenPeaksTailing, true)
    ->Unit(benchmark::kSecond)
    ->UseManualTime()
    ->Iterations(1);
BENCHMARK(GaussianAgainstNumPy)
    ->Name("Batch/TenPeaksGaussianAgainstNumPy")
    ->Unit(benchmark::kSecond)
    ->UseManualTime()
    ->Iterations(1);
