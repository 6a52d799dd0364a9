#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Batch.h"

// The folder of a corpus, as a run finds it and leaves it.

// Creates the folder, or accepts an existing one that is empty or, with `force`, one that is
// not. Throws BatchError.
void PrepareFolder(const std::string& folder, bool force);

// The files in `folder` a batch writes for documents `first` to `last` (CorpusFiles.h),
// whatever their padding, as paths. Throws BatchError when the folder cannot be read.
std::vector<std::string> RunFilesIn(const std::string& folder, std::uint64_t first,
                                    std::uint64_t last);

// Removes the files; a file already gone is no failure. Returns the failures, one per file.
std::vector<BatchError> RemoveFiles(const std::vector<std::string>& paths);
