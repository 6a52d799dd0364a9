#include "Batch.h"

#include <signal.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>
#include <vector>

#include "AiaExport.h"
#include "Generator.h"
#include "Manifest.h"
#include "Recipe.h"
#include "Scenario.h"
#include "TextFile.h"
#include "aia/AiaError.h"
#include "file/ResultText.h"
#include "file/SaveTarget.h"

namespace {

// Set by the signal handler; read by the workers before they start a document.
volatile std::sig_atomic_t g_interrupted = 0;

void NoteInterrupt(int) {
    g_interrupted = 1;
}

// While it lives, SIGINT, SIGTERM and SIGHUP only ask the run to stop, so that no document is
// left half made. Installed before the first document is saved: the document class's own
// handler, which removes temporary files and ends the process, is then not installed, since it
// keeps any handler it finds. Signals the caller ignores stay ignored.
class InterruptGuard {
public:
    InterruptGuard() {
        g_interrupted = 0;
        for (std::size_t i = 0; i < std::size(kSignals); ++i) {
            struct sigaction current {};
            sigaction(kSignals[i], nullptr, &current);
            m_installed[i] = current.sa_handler == SIG_DFL;
            if (!m_installed[i]) continue;
            struct sigaction note {};
            note.sa_handler = NoteInterrupt;
            sigemptyset(&note.sa_mask);
            sigaction(kSignals[i], &note, &m_previous[i]);
        }
    }
    ~InterruptGuard() {
        for (std::size_t i = 0; i < std::size(kSignals); ++i)
            if (m_installed[i]) sigaction(kSignals[i], &m_previous[i], nullptr);
    }
    InterruptGuard(const InterruptGuard&) = delete;
    InterruptGuard& operator=(const InterruptGuard&) = delete;

private:
    static constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};
    bool m_installed[3] = {};
    struct sigaction m_previous[3] = {};
};

Recipe ReadRecipe(const std::string& path, std::string& text) {
    try {
        text = ReadScenarioFile(path, "recipe file");
        return ParseRecipe(text);
    } catch (const ScenarioError& error) {
        throw BatchError{path, error.what()};
    } catch (const RecipeError& error) {
        throw BatchError{path, error.what()};
    }
}

void CheckRange(const BatchOptions& options) {
    if (options.count < 1 || options.count > kMaxBatchCount)
        throw BatchError{"--count", "must lie between 1 and " + std::to_string(kMaxBatchCount)};
    if (options.first < 1 || options.first - 1 > UINT32_MAX - options.count)
        throw BatchError{"--first", "documents are numbered from 1 to 4294967295"};
}

void PrepareFolder(const std::string& folder, bool force) {
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::file_status status = fs::status(folder, error);
    if (fs::exists(status)) {
        if (!fs::is_directory(status)) throw BatchError{folder, "it exists and is not a folder"};
        const bool empty = fs::is_empty(folder, error);
        if (error)
            throw BatchError{folder, "cannot read the folder: " + SystemErrorText(error.value())};
        if (!empty && !force)
            throw BatchError{folder, "the folder is not empty; give --force to write into it"};
        return;
    }
    if (!fs::create_directory(folder, error) && error)
        throw BatchError{folder, "cannot create the folder: " + SystemErrorText(error.value())};
}

// Everything one document of the corpus consists of: its scenario, its document, and its rows of
// the manifest, which are returned. Further per-document outputs belong here.
// The document's channels as AIA files beside it: NNNN.cdf, or NNNN-channel-N.cdf for several.
void WriteAia(const CTarvikFile4& document, const std::string& stem, const std::string& source) {
    try {
        ExportAia(document, PlanAiaExport(document, stem + ".cdf"), source);
    } catch (const AiaError& error) {
        throw BatchError{stem + ".xstg", error.what()};
    } catch (const AiaWriteError& error) {
        throw BatchError{error.File(), error.what()};
    }
}

std::string MakeDocument(const Recipe& recipe, const BatchOptions& options, std::uint64_t number) {
    const std::string stem = options.folder + "/" + DocumentStem(number);
    std::string text;
    try {
        text =
            DrawScenario(recipe, options.seed, static_cast<std::uint32_t>(number)).dump(2) + "\n";
    } catch (const RecipeError& error) {
        throw BatchError{options.recipe, error.what()};
    }
    Scenario scenario;
    try {
        scenario = ParseScenario(text);
    } catch (const ScenarioError& error) {
        throw BatchError{stem + ".json", error.what()};
    }
    try {
        WriteTextFile(stem + ".json", text);
    } catch (const TextFileError& error) {
        throw BatchError{stem + ".json", error.what()};
    }

    GenerateOptions generate;
    generate.seed = scenario.seed.value();
    generate.assay_id = scenario.assay_id.value();
    generate.date = scenario.analysis_date.value();
    CTarvikFile4 document;
    DocumentTruth truth;
    try {
        GenerateDocument(scenario, generate, document, {}, &truth);
    } catch (const ScenarioError& error) {
        throw BatchError{stem + ".json", error.what()};
    }
    const std::string path = stem + ".xstg";
    if (document.SaveToFile(path) != 0) {
        const FileFailure& failure = document.LastFailure();
        throw BatchError{failure.path.empty() ? path : failure.path, DescribeFailure(failure)};
    }
    if (options.aia) WriteAia(document, stem, DocumentStem(number) + ".xstg");
    return ManifestRows(number, scenario, document, truth);
}

// The documents' rows as they are finished, and the first failure in document order.
class Results {
public:
    explicit Results(std::uint64_t count) : m_rows(count) {}

    void Finish(std::uint64_t index, std::string rows) {
        m_rows[index] = std::move(rows);
        ++m_done;
    }
    void Fail(std::uint64_t index, BatchError error) {
        const std::lock_guard lock(m_mutex);
        if (!m_failure || index < m_failure->first) m_failure.emplace(index, std::move(error));
        m_failed = true;
    }
    bool Failed() const { return m_failed; }
    std::size_t Done() const { return m_done; }

    // Documents finished from the first on, without a gap.
    std::uint64_t FinishedRun() const {
        std::uint64_t n = 0;
        while (n < m_rows.size() && m_rows[n]) ++n;
        return n;
    }
    const std::string& Rows(std::uint64_t index) const { return *m_rows[index]; }
    const std::optional<std::pair<std::uint64_t, BatchError>>& Failure() const { return m_failure; }

private:
    std::vector<std::optional<std::string>> m_rows;  // each written by one thread only
    std::atomic<std::size_t> m_done{0};
    std::atomic<bool> m_failed{false};
    std::mutex m_mutex;
    std::optional<std::pair<std::uint64_t, BatchError>> m_failure;
};

void RunWorkers(const Recipe& recipe, const BatchOptions& options, Results& results,
                const std::function<void(std::size_t, std::size_t)>& progress) {
    std::atomic<std::uint64_t> next{0};
    std::atomic<unsigned> running{0};
    auto work = [&] {
        for (;;) {
            if (g_interrupted || results.Failed()) break;
            const std::uint64_t index = next++;
            if (index >= options.count) break;
            try {
                results.Finish(index, MakeDocument(recipe, options, options.first + index));
            } catch (BatchError& error) {
                results.Fail(index, std::move(error));
            } catch (const std::bad_alloc&) {
                results.Fail(index, {DocumentStem(options.first + index), "out of memory"});
            } catch (const std::exception& error) {
                results.Fail(index, {DocumentStem(options.first + index), error.what()});
            }
        }
        --running;
    };
    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    const unsigned wanted = static_cast<unsigned>(
        std::min<std::uint64_t>(options.jobs == 0 ? cores : options.jobs, options.count));
    std::vector<std::thread> workers;
    running = wanted;
    try {
        for (unsigned i = 0; i < wanted; ++i) workers.emplace_back(work);
    } catch (const std::system_error&) {
        // No more threads to be had: those running share the documents.
        running -= wanted - static_cast<unsigned>(workers.size());
    }
    if (workers.empty()) {
        running = 1;
        work();
    }
    while (running > 0) {
        if (progress) progress(results.Done(), options.count);
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    for (std::thread& worker : workers) worker.join();
    if (progress) progress(results.Done(), options.count);
}

}  // namespace

std::string DocumentStem(std::uint64_t number) {
    std::string digits = std::to_string(number);
    if (digits.size() < 4) digits.insert(0, 4 - digits.size(), '0');
    return digits;
}

BatchResult RunBatch(const BatchOptions& options,
                     const std::function<void(std::size_t, std::size_t)>& progress) {
    CheckRange(options);
    std::string text;
    const Recipe recipe = ReadRecipe(options.recipe, text);
    PrepareFolder(options.folder, options.force);

    const InterruptGuard guard;
    Results results(options.count);
    RunWorkers(recipe, options, results, progress);

    BatchResult result;
    result.finished = results.FinishedRun();
    result.interrupted = g_interrupted != 0;
    const ManifestPart part{RecipeDigest(text), options.seed, options.first, options.count,
                            result.finished};
    std::string manifest = ManifestPartLine(part) + ManifestHeader();
    for (std::uint64_t i = 0; i < result.finished; ++i) manifest += results.Rows(i);
    const std::string path = options.folder + "/" + kManifestName;
    try {
        WriteTextFile(path, manifest);
    } catch (const TextFileError& error) {
        throw BatchError{path, error.what()};
    }
    if (results.Failure()) throw results.Failure()->second;
    return result;
}
