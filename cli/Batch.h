#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// A corpus made from a recipe: documents first .. first + count - 1, each written as
// FOLDER/NNNNNNN.json (its complete scenario) and FOLDER/NNNNNNN.xstg (CorpusFiles.h), and
// FOLDER/manifest.csv with the truth of every stored peak.
struct BatchOptions {
    std::string recipe;  // path of the recipe file
    std::string folder;
    std::uint64_t count = 100;
    std::uint32_t seed = 42;
    std::uint64_t first = 1;
    unsigned jobs = 0;   // documents made at once; 0: one per core
    bool force = false;  // write into a folder that is not empty
    bool aia = false;    // also write each document's channels as AIA files (NNNNNNN.cdf)
};

inline constexpr std::uint64_t kMaxBatchCount = 1'000'000;

// A failure, as "<subject>: <what>".
struct BatchError {
    std::string subject;
    std::string what;
};

struct BatchResult {
    std::uint64_t finished = 0;  // documents completed, from `first` on without a gap
    bool interrupted = false;    // SIGINT, SIGTERM or SIGHUP stopped the run
    // Empty when the run succeeded or was interrupted. Otherwise the failure that stopped the run
    // (the first in document order), and after it, when the manifest could not be written at the
    // end, that failure and what was done about it.
    std::vector<BatchError> failures;
};

// Refuses a count of documents beyond kMaxBatchCount and numbers beyond 4294967295, before
// anything else is looked at. Throws BatchError naming the option.
void CheckBatchNumbers(const BatchOptions& options);

// Makes the corpus on `jobs` threads. Each document is made and saved whole, atomically, by one
// thread; its bytes do not depend on the threads. The files are made durable together, once, at
// the end, before the manifest that lists them is committed.
//
// The folder always matches its manifest: before the first document is written, manifest.csv is
// replaced by one that lists no document (finished=0), and, with --force, the files this command
// writes for the run's document numbers are removed. At the end the folder holds documents
// first .. first + finished - 1 and nothing else of this run, and the manifest lists exactly them.
// SIGINT, SIGTERM and SIGHUP (unless ignored) stop the run after the documents being made are
// complete; a failed document stops it too, and the documents finished after it are removed.
//
// Throws BatchError, before any file is written, when the recipe, the options or the folder are
// refused.
BatchResult RunBatch(const BatchOptions& options,
                     const std::function<void(std::size_t done, std::size_t total)>& progress);
