#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Writes a file so that the file of that name is either the old one or the complete new one,
// never a mixture: the bytes go to a temporary file in the same folder (so that the final
// rename cannot cross file systems), which replaces the target only on Commit, after it has
// been flushed to disk. Destroying the object before Commit removes the temporary file.
class AtomicFile {
public:
    AtomicFile() = default;
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;
    ~AtomicFile();

    // Creates the temporary file beside `target`. False when the folder does not exist or
    // refuses a new file; nothing is then created.
    bool Open(const std::string& target);
    bool IsOpen() const { return m_fd >= 0; }

    // Writes all `size` bytes, or returns false. Once a write has failed, every later one fails.
    bool Write(const void* data, std::size_t size);
    std::uint64_t Position() const { return m_position; }

    // Flushes the bytes to disk and closes the temporary file. False when that or any earlier
    // write failed.
    bool Finish();
    // Renames the finished temporary file over the target. False when the rename fails; the
    // target is then left as it was.
    bool Commit();
    // Closes and removes the temporary file.
    void Discard();

private:
    int m_fd = -1;
    bool m_failed = false;
    bool m_finished = false;
    std::uint64_t m_position = 0;
    std::string m_target;
    std::string m_temporary;
};
