#pragma once

#include <string>

#include "FileFailure.h"

class AtomicFile;

// Puts a finished document and its spectra file in place together. A document without spectra
// must not meet a stale spectra file at its spectra path on the next load (it would give the
// document spectra it never had, or make it unreadable), so such a file is removed in the same
// step. The old spectra file, or the stale one, is first renamed aside under a hidden name; it
// comes back if the document cannot be put in place, and is removed once it has been.
//
// `spectra` is the finished new spectra file, or null when the document has none;
// `spectra_path` is the document's spectra path. Returns 0 or save_result::kOpenFailed, and
// then fills `failure` (path, spectra, system_error).
int CommitDocument(AtomicFile& document, AtomicFile* spectra, const std::string& spectra_path,
                   FileFailure& failure);

// Fills `failure` for a save whose `file` failed with `code`: kNotRegularFile instead when the
// file refused its target, else the file's errno. Returns the code recorded.
int RecordFileFailure(FileFailure& failure, int code, const AtomicFile& file,
                      const std::string& path, bool spectra);
