#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// A regular file read from front to back. Its size, taken when it is opened, is what every
// length read from the file is checked against before anything is allocated.
class InputFile {
public:
    InputFile() = default;
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;
    ~InputFile();

    // False when the path does not name a readable regular file; then Error() or Refusal()
    // says why. Never waits, not even for a FIFO.
    bool Open(const std::string& path);
    int Error() const { return m_error; }                     // errno of the failed open, or 0
    const std::string& Refusal() const { return m_refusal; }  // e.g. "a folder"

    // Reads up to `size` bytes and returns how many were read: fewer only at the end of the
    // file or on a read error.
    std::size_t Read(void* data, std::size_t size);
    std::uint64_t Position() const { return m_position; }
    std::uint64_t Size() const { return m_size; }
    // The open file's descriptor, -1 before a successful Open.
    int Descriptor() const { return m_fd; }
    // Bytes between the current position and the end of the file as it was when opened.
    std::uint64_t Remaining() const { return m_size > m_position ? m_size - m_position : 0; }

private:
    int m_fd = -1;
    std::uint64_t m_position = 0;
    std::uint64_t m_size = 0;
    int m_error = 0;
    std::string m_refusal;
};
