#pragma once

#include <cstdint>
#include <functional>
#include <string>

// A corpus made from a recipe: documents first .. first + count - 1, each written as
// FOLDER/NNNN.json (its complete scenario) and FOLDER/NNNN.xstg (NNNN the number with at least
// four digits), and FOLDER/manifest.csv with the truth of every stored peak.
struct BatchOptions {
    std::string recipe;  // path of the recipe file
    std::string folder;
    std::uint64_t count = 100;
    std::uint32_t seed = 42;
    std::uint64_t first = 1;
    unsigned jobs = 0;   // documents made at once; 0: one per core
    bool force = false;  // write into a folder that is not empty
    bool aia = false;    // also write each document's channels as AIA files (NNNN.cdf)
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
};

// Makes the corpus on `jobs` threads. Each document is made and saved whole, atomically, by one
// thread; its bytes do not depend on the threads. SIGINT, SIGTERM and SIGHUP (unless ignored)
// stop the run after the documents being made are complete; the manifest then lists the
// documents finished and says how many. Throws BatchError before any document when the recipe,
// the options or the folder are refused, and after writing the manifest of the finished
// documents when a document fails.
BatchResult RunBatch(const BatchOptions& options,
                     const std::function<void(std::size_t done, std::size_t total)>& progress);

// "0001" for 1, "12345" for 12345.
std::string DocumentStem(std::uint64_t number);
