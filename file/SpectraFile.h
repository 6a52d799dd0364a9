#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "SpectrumRecord.h"

class AtomicFile;

// The ".xspc" file beside a document: a 24-byte header, then per record a 16-byte header with
// its key and the float values. Positions are not stored: point i of every record is at
// first + i*step (16-bit arithmetic), file-wide. All fields little-endian.

inline constexpr std::size_t kMaxSpectrumPoints = 801;

// The spectra file of a document: the extension of the file name (from the last "." of the last
// path component) becomes ".xspc", or ".xspc" is appended when the name has none. Folder names
// never change, so documents in different folders never share a spectra file.
std::string SpectraPath(const std::string& document_path);

// Writes `records` into a temporary file beside the spectra file of `document_path`, finished
// but not yet in place: the caller commits `out`. Refuses an empty first record, one of more
// than 801 points, and records of unequal lengths with kBadSpectrumLength, and a file larger than
// kMaxSpectraBytes with kTooLarge, before creating anything. Returns 0 or a save_result code. With
// no records it creates nothing and returns 0.
int WriteSpectraFile(const std::string& document_path, const std::vector<SpectrumRecord>& records,
                     AtomicFile& out);

// Replaces `records` with those of the spectra file of `document_path`. Returns 0 or a
// spectra_read_result code; a file larger than kMaxSpectraBytes is refused unread. Up to
// kBadPointCount the list is unchanged; after a short record
// header or short values it holds the records read before.
int ReadSpectraFile(const std::string& document_path, std::vector<SpectrumRecord>& records);
