#pragma once

#include <stdexcept>
#include <string>
#include <vector>

#include "file/TarvikFile4.h"

// A file of the export that could not be written: the message says why, File() which.
class AiaWriteError : public std::runtime_error {
public:
    AiaWriteError(std::string file, const std::string& why)
        : std::runtime_error(why), m_file(std::move(file)) {}
    const std::string& File() const { return m_file; }

private:
    std::string m_file;
};

// The files an AIA export to `path` writes, one per channel since an AIA file holds one trace:
// `path` itself for a single channel, otherwise `path` with "-channel-N" before the extension.
std::vector<std::string> PlanAiaExport(const CTarvikFile4& document, const std::string& path);

// Writes each channel as an AIA file to `files` (from PlanAiaExport), citing `source_name` as
// the document's file. Every file is made and written in full before any is put in place, so a
// refused channel or a failed write leaves every existing file as it was. Throws AiaError for a
// channel the format cannot hold, AiaWriteError for a file that cannot be written.
void ExportAia(const CTarvikFile4& document, const std::vector<std::string>& files,
               const std::string& source_name);
