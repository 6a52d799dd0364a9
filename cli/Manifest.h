#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "Generator.h"
#include "Scenario.h"
#include "file/TarvikFile4.h"

// The ground truth of a corpus as CSV: one row per stored peak, in document, channel and table
// order. Numbers are the shortest text that reads back as the same double, with "." whatever the
// locale; an empty cell is a value that does not apply (no requested area, no neighbour) or could
// not be measured.
inline constexpr const char* kManifestName = "manifest.csv";

// Which part of which corpus a manifest describes, kept on its first line as a comment:
// "# xstgtool batch: recipe=<16 hex digits> seed=S first=K count=N finished=F". The recipe digest
// tells parts of different recipes apart; `finished` of an interrupted run is the number of
// documents from K on that were completed (the rows are theirs).
inline constexpr std::string_view kManifestPartPrefix = "# xstgtool batch: ";

struct ManifestPart {
    std::uint64_t recipe = 0;
    std::uint32_t seed = 0;
    std::uint64_t first = 1;
    std::uint64_t count = 0;
    std::uint64_t finished = 0;
};

class ManifestError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The digest of a recipe's text (64-bit FNV-1a), for ManifestPart::recipe.
std::uint64_t RecipeDigest(std::string_view text);

// The header line: the column names, comma-separated, with a line feed.
std::string ManifestHeader();

// The rows of one generated document, each ending in a line feed.
std::string ManifestRows(std::uint64_t document, const Scenario& scenario,
                         const CTarvikFile4& document_data, const DocumentTruth& truth);

// The comment line of a part, with a line feed.
std::string ManifestPartLine(const ManifestPart& part);
