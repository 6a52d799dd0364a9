#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

class TextFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Replaces or creates the file with `text`, atomically (AtomicFile.h). Throws TextFileError with
// the system's reason, or what lies there instead of a regular file (without the path).
void WriteTextFile(const std::string& path, std::string_view text);
