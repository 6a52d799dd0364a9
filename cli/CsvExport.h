#pragma once

#include <stdexcept>
#include <string>
#include <vector>

#include "file/TarvikFile4.h"

class CsvExportError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct CsvExportResult {
    std::vector<std::string> files;  // the files written, in channel order when split
    bool split = false;              // true: the channels' time axes differ, one file each
};

// Writes the signals as comma-separated text that a spreadsheet opens directly: a header row,
// then one row per sample with the time in minutes and one value column per channel, "." as the
// decimal point whatever the locale. Channels that share start and step share one file (a shorter
// channel leaves its cells empty); otherwise each channel gets its own file, named after `path`
// with "-channel-N" before the extension (N the channel's position, from 0). Every file is replaced
// only when complete.
CsvExportResult ExportCsv(const CTarvikFile4& document, const std::string& path);
