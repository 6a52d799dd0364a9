#pragma once

#include <string>

#include "ThreadScope.h"

// Saving many files at once. Flushing each file and its folder before the next one costs a
// journal commit per file, most of a corpus's time on disk; while a DeferredFlush lives on a
// thread, the AtomicFile saves of that thread close their temporary file without flushing it and
// rename it into place without flushing the folder. Each file is still either the old one or the
// complete new one under its name, but it is durable only after the caller has flushed them all
// at once (FileSystemFlush) and before it records them as done anywhere.
class DeferredFlush : public ThreadScope<DeferredFlush> {};

// One flush of everything written to the file system that holds `folder`, and of the folder
// itself. The folder is opened on construction, so that a write-back error of any file on that
// file system from then on (a disk that filled up or failed after a write was accepted) makes
// Flush fail.
class FileSystemFlush {
public:
    explicit FileSystemFlush(const std::string& folder);
    ~FileSystemFlush();
    FileSystemFlush(const FileSystemFlush&) = delete;
    FileSystemFlush& operator=(const FileSystemFlush&) = delete;

    // False, with Error(), when the folder could not be opened or the flush failed.
    bool Flush();
    int Error() const { return m_error; }

    // Writes back what has been written so far, so that Flush has less left to do; it neither
    // fails nor takes the place of Flush, which still reports any write-back error since
    // construction.
    void WriteBackSoFar();

private:
    int m_fd = -1;
    int m_error = 0;
    int m_early_fd = -1;  // a descriptor of its own, so that Flush still sees every error
};
