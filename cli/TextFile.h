#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

#include "file/AtomicFile.h"

class TextFileError : public std::runtime_error {
public:
    explicit TextFileError(const std::string& what, int system_error = 0)
        : std::runtime_error(what), m_system_error(system_error) {}
    // errno of the failing call, 0 when the file was refused.
    int SystemError() const { return m_system_error; }

private:
    int m_system_error;
};

// A text file written piece by piece (AtomicFile gathers small pieces) and put in place
// atomically only when Commit is called; destroyed before, it leaves the old file as it was.
// Every call throws TextFileError with the system's reason, or what lies there instead of a
// regular file (without the path).
class TextFileWriter {
public:
    explicit TextFileWriter(const std::string& path);
    void Append(std::string_view text);
    void Commit();

private:
    [[noreturn]] void Fail() const;

    AtomicFile m_file;
};

// Replaces or creates the file with `text`, atomically.
void WriteTextFile(const std::string& path, std::string_view text);
