// Saving and loading a document of 4 channels with 1,000,000 samples each (about 16 MB), in a
// folder under the system's temporary directory. Saving includes the flush to disk that makes
// the replacement safe; loading usually reads from the page cache, so it shows the parsing and
// copying cost on top of the file system. Real time, not CPU time: the disk is the point.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cmath>
#include <filesystem>
#include <string>

#include "file/TarvikFile4.h"

namespace {

constexpr int kChannels = 4;
constexpr std::size_t kSamples = 1'000'000;

class Folder {
public:
    Folder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "quelmar-bench-XXXXXX").string();
        if (::mkdtemp(pattern.data()) != nullptr) m_path = pattern;
    }
    ~Folder() {
        std::error_code ignored;
        if (!m_path.empty()) std::filesystem::remove_all(m_path, ignored);
    }
    std::string File(const char* name) const { return m_path + "/" + name; }

private:
    std::string m_path;
};

void FillDocument(CTarvikFile4& doc) {
    for (int c = 0; c < kChannels; ++c) {
        doc.m_channels.emplace_back(c);
        Signal4& signal = doc.m_channels.back().signal;
        signal.step = 1.0 / 6000.0;
        signal.Resize(kSamples);
        for (std::size_t i = 0; i < kSamples; ++i) {
            signal.samples[i] = static_cast<float>(std::sin(0.001 * static_cast<double>(i)) + c);
        }
        for (int p = 0; p < 20; ++p) {
            Peak4 peak;
            peak.time = p * 8.0;
            peak.name = "Компонент " + std::to_string(p);
            doc.m_channels.back().table.push_back(peak);
        }
    }
}

void BM_SaveToFile(benchmark::State& state) {
    Folder folder;
    CTarvikFile4 doc;
    FillDocument(doc);
    const std::string path = folder.File("bench.xstg");
    for (auto _ : state) {
        if (doc.SaveToFile(path) != save_result::kOk) state.SkipWithError("save failed");
    }
    state.SetBytesProcessed(state.iterations() *
                            static_cast<std::int64_t>(std::filesystem::file_size(path)));
}
BENCHMARK(BM_SaveToFile)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_LoadFromFile(benchmark::State& state) {
    Folder folder;
    const std::string path = folder.File("bench.xstg");
    {
        CTarvikFile4 doc;
        FillDocument(doc);
        if (doc.SaveToFile(path) != save_result::kOk) state.SkipWithError("save failed");
    }
    CTarvikFile4 doc;
    for (auto _ : state) {
        if (doc.LoadFromFile(path) != load_result::kOk) state.SkipWithError("load failed");
        benchmark::DoNotOptimize(doc.m_channels.data());
    }
    state.SetBytesProcessed(state.iterations() *
                            static_cast<std::int64_t>(std::filesystem::file_size(path)));
}
BENCHMARK(BM_LoadFromFile)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
