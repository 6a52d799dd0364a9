#pragma once

#include <cstdint>
#include <string>

enum class FileOperation { Save, Load, LoadBuffer };

// What went wrong in the last save or load of a document, beyond its result code: which of the
// two files, the system's reason and, for XML that does not parse, where the parser stopped.
struct FileFailure {
    FileOperation operation = FileOperation::Load;
    int code = 0;              // the operation's result; 0 when it succeeded
    std::string path;          // the file concerned: the document or its spectra file
    bool spectra = false;      // true when the spectra file failed, not the document
    int system_error = 0;      // errno of the failing system call; 0 when none
    std::string detail;        // what is wrong in the content, e.g. which text, the parser's words
    std::int64_t offset = -1;  // byte offset in the file (or buffer) where the XML parser stopped
};
