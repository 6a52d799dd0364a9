#pragma once

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "file/AtomicFile.h"

// A file of a command that could not be written: what() says why, File() which.
class FileWriteError : public std::runtime_error {
public:
    FileWriteError(std::string file, const std::string& why)
        : std::runtime_error(why), m_file(std::move(file)) {}
    const std::string& File() const { return m_file; }

private:
    std::string m_file;
};

// "cannot write: <the system's reason, or what lies there instead of a regular file>" for a file
// whose Open, Write, Finish or Commit failed.
std::string CannotWriteText(const AtomicFile& file);

// The files of one command, each written in full to its temporary file, put in place together
// once every one is complete: a refusal or a failed write before that leaves every old file as
// it was. Each file is finished (closed) before the next is opened, so that a command of many
// files holds one descriptor at a time.
class PendingFiles {
public:
    // A new temporary file for `path`, to be written and then finished with Finish. Throws
    // FileWriteError.
    AtomicFile& Open(const std::string& path);
    // Finishes the file last opened: its bytes were written, or Write failed. Throws
    // FileWriteError.
    void Finish();
    // Puts every finished file in place, in the order they were opened. Throws FileWriteError
    // for the first that cannot be; those before it are in place.
    void CommitAll();

private:
    std::vector<std::pair<std::string, std::unique_ptr<AtomicFile>>> m_files;
};
