#include "Batch.h"

#include <signal.h>
#include <sys/mman.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <csignal>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <optional>
#include <string_view>
#include <system_error>
#include <thread>
#include <vector>

#include "AiaExport.h"
#include "CorpusFiles.h"
#include "CorpusFolder.h"
#include "FileIdentity.h"
#include "Generator.h"
#include "Manifest.h"
#include "Recipe.h"
#include "Scenario.h"
#include "TextFile.h"
#include "aia/AiaError.h"
#include "aia/DateStamp.h"
#include "file/DeferredFlush.h"
#include "file/NewFilesOnly.h"
#include "file/ResultText.h"
#include "file/SaveTarget.h"

namespace {

// Set by the signal handler; read by the workers before they start a document.
volatile std::sig_atomic_t g_interrupted = 0;

void NoteInterrupt(int) {
    g_interrupted = 1;
}

// While it lives, SIGINT, SIGTERM and SIGHUP only ask the run to stop, so that no document is
// left half made. Installed before the first file is saved: the document class's own handler,
// which removes temporary files and ends the process, is then not installed, since it keeps any
// handler it finds. Signals the caller ignores stay ignored.
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

// Every document shares the recipe's analysis date, so an AIA file refusing it would refuse
// every document: that is known before the first one.
void CheckAiaDate(const Recipe& recipe, const std::string& path) {
    if (!FormatDateStamp(recipe.analysis_date))
        throw BatchError{path, "analysis_date: " + std::to_string(recipe.analysis_date) +
                                   " s since 1970 lies outside the years 0 to 9999 an AIA date "
                                   "can hold (--aia)"};
}

std::string ManifestPath(const BatchOptions& options) {
    return options.folder + "/" + kManifestName;
}

// The run replaces the manifest and, with --force, removes the earlier files of its documents:
// the recipe must be none of them.
void CheckRecipeIsNoOutput(const BatchOptions& options, const std::vector<std::string>& earlier) {
    const FileIdentity recipe = IdentityOf(options.recipe);
    std::vector<std::string> outputs = earlier;
    outputs.push_back(ManifestPath(options));
    for (const std::string& output : outputs)
        if (IdentityOf(output) == recipe)
            throw BatchError{options.recipe, "the recipe is " + output +
                                                 ", which the run replaces; move it out of the "
                                                 "folder"};
}

// The documents' rows as they are finished, and the first failure in document order.
class Results {
public:
    explicit Results(std::uint64_t count) : m_rows(count) {}

    void Finish(std::uint64_t index, std::string_view rows) {
        {
            const std::lock_guard lock(m_mutex);
            m_rows[index] = Keep(rows);
        }
        ++m_done;
    }
    void Fail(std::uint64_t index, BatchError error) {
        const std::lock_guard lock(m_mutex);
        if (!m_failure || index < m_failure->first) m_failure.emplace(index, std::move(error));
        m_failed = true;
    }
    bool Failed() const { return m_failed; }
    std::size_t Done() const { return m_done; }

    // Documents finished from the first on, without a gap. Once the workers are done.
    std::uint64_t FinishedRun() const {
        std::uint64_t n = 0;
        while (n < m_rows.size() && m_rows[n]) ++n;
        return n;
    }
    std::string_view Rows(std::uint64_t index) const { return *m_rows[index]; }
    const std::optional<std::pair<std::uint64_t, BatchError>>& Failure() const { return m_failure; }

private:
    // Rows are copied into blocks of this size, allocated whole: a string per document made the
    // heap grow a page at a time, a system call and a page fault for nearly every document. The
    // blocks are whole huge pages where the system gives them, so that filling one takes two
    // page faults rather than a thousand.
    static constexpr std::size_t kHugePageBytes = 2 << 20;
    static constexpr std::size_t kBlockBytes = 4 << 20;

    struct FreeBlock {
        void operator()(char* block) const { std::free(block); }
    };

    std::string_view Keep(std::string_view rows) {
        if (m_block_left < rows.size()) {
            // A multiple of the alignment, as aligned_alloc requires.
            const std::size_t size = std::max(
                kBlockBytes, (rows.size() + kHugePageBytes - 1) / kHugePageBytes * kHugePageBytes);
            char* const block = static_cast<char*>(std::aligned_alloc(kHugePageBytes, size));
            if (block == nullptr) throw std::bad_alloc();
            m_blocks.emplace_back(block);
            ::madvise(block, size, MADV_HUGEPAGE);  // a hint; ordinary pages do as well
            m_block_at = block;
            m_block_left = size;
        }
        char* const kept = m_block_at;
        std::copy(rows.begin(), rows.end(), kept);
        m_block_at += rows.size();
        m_block_left -= rows.size();
        return {kept, rows.size()};
    }

    std::mutex m_mutex;
    std::vector<std::optional<std::string_view>> m_rows;
    std::vector<std::unique_ptr<char, FreeBlock>> m_blocks;
    char* m_block_at = nullptr;
    std::size_t m_block_left = 0;
    std::atomic<std::size_t> m_done{0};
    std::atomic<bool> m_failed{false};
    std::optional<std::pair<std::uint64_t, BatchError>> m_failure;
};

// The manifest of a part: its line, the header and the rows of its first `part.finished`
// documents.
void WriteManifest(const BatchOptions& options, const ManifestPart& part, const Results* results) {
    TextFileWriter file(ManifestPath(options));
    file.Append(ManifestPartLine(part));
    file.Append(ManifestHeader());
    for (std::uint64_t i = 0; i < part.finished; ++i) file.Append(results->Rows(i));
    file.Commit();
}

// The document's channels as AIA files beside it: NNNNNNN.cdf, or NNNNNNN-channel-N.cdf for
// several.
void WriteAia(const CTarvikFile4& document, const std::string& stem, const std::string& source) {
    try {
        PendingFiles files;
        ExportAia(document, PlanAiaExport(document, stem + ".cdf"), source, files);
        files.CommitAll();
    } catch (const AiaError& error) {
        throw BatchError{stem + ".xstg", error.what()};
    } catch (const FileWriteError& error) {
        throw BatchError{error.File(), error.what()};
    }
}

// Everything one document of the corpus consists of: its scenario, its document, and its rows of
// the manifest, which are returned. Further per-document outputs belong here.
std::string MakeDocument(const Recipe& recipe, const BatchOptions& options, std::uint64_t number) {
    const std::string stem = options.folder + "/" + DocumentStem(number);
    nlohmann::ordered_json drawn;
    try {
        drawn = DrawScenario(recipe, options.seed, static_cast<std::uint32_t>(number));
    } catch (const RecipeError& error) {
        throw BatchError{options.recipe, error.what()};
    }
    std::string text = drawn.dump(2);
    text += '\n';
    // Taken from the drawn values rather than read back from the text: a double's text reads back
    // as the same double, so the document is what `generate` makes of the file.
    Scenario scenario;
    try {
        scenario = ScenarioFromJson(drawn);
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

// How often the batch has what is written so far written back: often enough that the final
// flush finds little left (it took a quarter of a 10,000-document corpus's time), seldom enough
// that each write-back takes many files at once (writing each file back on its own cost more than
// it saved).
constexpr std::chrono::milliseconds kWriteBackEvery{250};

// While they work, this thread shows the progress and has what is written so far written back
// now and then, while the disk would otherwise wait for the final flush.
void RunWorkers(const Recipe& recipe, const BatchOptions& options, Results& results,
                FileSystemFlush& flush,
                const std::function<void(std::size_t, std::size_t)>& progress) {
    std::atomic<std::uint64_t> next{0};
    // Workers still at work; the last one to stop wakes this thread, rather than it finding out
    // at its next look at the progress.
    std::mutex running_mutex;
    std::condition_variable stopped;
    unsigned running = 0;
    auto work = [&] {
        const DeferredFlush deferred;  // RunBatch flushes the whole corpus once
        const NewFilesOnly fresh;      // RunBatch has cleared the run's names (RunFilesIn)
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
        const std::lock_guard lock(running_mutex);
        if (--running == 0) stopped.notify_one();
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
        const std::lock_guard lock(running_mutex);
        running -= wanted - static_cast<unsigned>(workers.size());
    }
    if (workers.empty()) {
        running = 1;
        work();
    }
    auto written_back = std::chrono::steady_clock::now();
    for (;;) {
        if (progress) progress(results.Done(), options.count);
        if (std::chrono::steady_clock::now() - written_back > kWriteBackEvery) {
            flush.WriteBackSoFar();
            written_back = std::chrono::steady_clock::now();
        }
        std::unique_lock lock(running_mutex);
        if (stopped.wait_for(lock, std::chrono::milliseconds(50), [&] { return running == 0; }))
            break;
    }
    for (std::thread& worker : workers) worker.join();
    if (progress) progress(results.Done(), options.count);
}

std::uint64_t LastNumber(const BatchOptions& options) {
    return options.first + options.count - 1;
}

// Removes this run's files of documents from `from` on, so that the folder holds documents
// first .. from - 1 and nothing else of the run; a file that stays is a failure of its own.
void KeepDocumentsBefore(std::uint64_t from, const BatchOptions& options, BatchResult& result) {
    try {
        for (BatchError& failure :
             RemoveFiles(RunFilesIn(options.folder, from, LastNumber(options))))
            result.failures.push_back(std::move(failure));
    } catch (BatchError& failure) {
        result.failures.push_back(std::move(failure));
    }
}

// Lists the finished documents in the manifest. When the disk is too full for all their rows,
// the last eighth of the documents is removed, which makes room for several times their rows,
// and the manifest of the others is tried, until one is written. Returns how many are listed,
// and the failure when not all.
std::uint64_t ListDocuments(const BatchOptions& options, const Results& results, ManifestPart part,
                            BatchResult& result, std::optional<TextFileError>& failure) {
    for (;;) {
        try {
            WriteManifest(options, part, &results);
            return part.finished;
        } catch (const TextFileError& error) {
            failure = error;
        }
        const int why = failure->SystemError();
        if ((why != ENOSPC && why != EDQUOT) || part.finished == 0) return 0;
        part.finished -= std::max<std::uint64_t>(1, part.finished / 8);
        KeepDocumentsBefore(options.first + part.finished, options, result);
    }
}

// After the documents: the unfinished ones' files go, the rest is made durable in one flush, and
// only then does the manifest say which documents are there. When the flush fails, or no
// manifest can be written, the manifest written at the start (finished=0) stays, and the
// documents go too.
BatchResult Conclude(const BatchOptions& options, const Results& results, FileSystemFlush& flush,
                     ManifestPart part) {
    BatchResult result;
    result.finished = results.FinishedRun();
    result.interrupted = g_interrupted != 0;
    if (results.Failure()) result.failures.push_back(results.Failure()->second);
    if (result.finished < options.count)
        KeepDocumentsBefore(options.first + result.finished, options, result);
    const std::uint64_t made = result.finished;
    BatchError unlisted;
    if (!flush.Flush()) {
        unlisted = {options.folder,
                    "cannot flush the documents to disk: " + SystemErrorText(flush.Error())};
        result.finished = 0;
    } else {
        part.finished = made;
        std::optional<TextFileError> failure;
        result.finished = ListDocuments(options, results, part, result, failure);
        if (!failure) return result;
        unlisted = {ManifestPath(options), failure->what()};
    }
    unlisted.what += result.finished == 0
                         ? "; the " + std::to_string(made) +
                               " documents made were removed, as no manifest can list them"
                         : "; it lists the first " + std::to_string(result.finished) +
                               " documents, and the " + std::to_string(made - result.finished) +
                               " after them were removed to make room";
    result.failures.push_back(std::move(unlisted));
    if (result.finished == 0) KeepDocumentsBefore(options.first, options, result);
    return result;
}

}  // namespace

void CheckBatchNumbers(const BatchOptions& options) {
    if (options.count < 1 || options.count > kMaxBatchCount)
        throw BatchError{"--count", "must lie between 1 and " + std::to_string(kMaxBatchCount)};
    if (options.first < 1 || options.first - 1 > UINT32_MAX - options.count)
        throw BatchError{"--first", "documents are numbered from 1 to 4294967295"};
}

BatchResult RunBatch(const BatchOptions& options,
                     const std::function<void(std::size_t, std::size_t)>& progress) {
    CheckBatchNumbers(options);
    std::string text;
    const Recipe recipe = ReadRecipe(options.recipe, text);
    if (options.aia) CheckAiaDate(recipe, options.recipe);
    PrepareFolder(options.folder, options.force);
    const std::vector<std::string> earlier =
        RunFilesIn(options.folder, options.first, LastNumber(options));
    CheckRecipeIsNoOutput(options, earlier);

    const InterruptGuard guard;
    // Until the run is over the manifest lists no document, so that a run killed or failing
    // half-way never leaves a manifest beside documents it does not describe.
    const ManifestPart part{RecipeDigest(text), options.seed, options.first, options.count, 0};
    try {
        WriteManifest(options, part, nullptr);
    } catch (const TextFileError& error) {
        throw BatchError{ManifestPath(options), error.what()};
    }
    if (const std::vector<BatchError> failures = RemoveFiles(earlier); !failures.empty())
        throw failures.front();

    FileSystemFlush flush(options.folder);
    Results results(options.count);
    RunWorkers(recipe, options, results, flush, progress);
    return Conclude(options, results, flush, part);
}
