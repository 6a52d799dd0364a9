#pragma once

#include <stdexcept>
#include <string>
#include <vector>

#include "PendingFiles.h"
#include "file/TarvikFile4.h"

// A document whose signals cannot be written as CSV.
class CsvSourceError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct CsvExportPlan {
    std::vector<std::string> files;  // the files to write, in channel order when split
    bool split = false;              // true: the channels' time axes differ, one file each
};

// Decides which files an export to `path` writes. Throws CsvSourceError when a channel's start
// or step is not a finite number: its time column would be meaningless.
CsvExportPlan PlanCsvExport(const CTarvikFile4& document, const std::string& path);

// Writes the signals as comma-separated text that a spreadsheet opens directly: a header row,
// then one row per sample with the time in minutes and one value column per channel, "." as the
// decimal point whatever the locale. Channels that share start and step share one file (a shorter
// channel leaves its cells empty); otherwise each channel gets its own file, named after `path`
// with "-channel-N" before the extension (N the channel's position, from 0). The files go into
// `pending`, which puts them in place. Throws FileWriteError.
void ExportCsv(const CTarvikFile4& document, const CsvExportPlan& plan, PendingFiles& pending);
