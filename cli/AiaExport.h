#pragma once

#include <string>
#include <vector>

#include "PendingFiles.h"
#include "file/TarvikFile4.h"

// The files an AIA export to `path` writes, one per channel since an AIA file holds one trace:
// `path` itself for a single channel, otherwise `path` with "-channel-N" before the extension.
std::vector<std::string> PlanAiaExport(const CTarvikFile4& document, const std::string& path);

// Writes each channel as an AIA file to `files` (from PlanAiaExport), citing `source_name` as
// the document's file, into `pending`, which puts them in place. Throws AiaError for a channel
// the format cannot hold, FileWriteError for a file that cannot be written.
void ExportAia(const CTarvikFile4& document, const std::vector<std::string>& files,
               const std::string& source_name, PendingFiles& pending);
