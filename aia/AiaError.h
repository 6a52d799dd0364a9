#pragma once

#include <stdexcept>

// An AIA file that cannot be written or read; the message says why, without the file's name.
class AiaError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};
