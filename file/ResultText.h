#pragma once

#include <string>

#include "FileFailure.h"

// The result codes of the document's operations in words, for the tool's messages and the
// dialog's. The codes of the document and of its spectra file overlap; `spectra` picks the text
// for the spectra file.
std::string DescribeSaveResult(int code, bool spectra = false);
std::string DescribeLoadResult(int code, bool spectra = false);
std::string DescribeBufferResult(int code);

// The whole failure as one line without the path, e.g. "cannot load: result code -7: the XML
// text does not parse: Start-end tags mismatch, at byte 1234". Empty when there was none.
std::string DescribeFailure(const FileFailure& failure);
