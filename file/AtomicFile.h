#pragma once

#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct SaveTarget;

// Writes a file so that the file of that name is either the old one or the complete new one,
// never a mixture: the bytes go to a hidden temporary file in the same folder (so that the final
// rename cannot cross file systems), which replaces the target only on Commit, after it has
// been flushed to disk. Destroying the object before Commit removes the temporary file, and so
// does SIGINT, SIGTERM or SIGHUP (TemporaryFiles.h). Under a DeferredFlush the file is not
// flushed (the caller flushes many at once) and the temporary file has no name at all until
// Commit links it into place.
//
// Only a regular file is replaced, or a new one created (SaveTarget.h); under a NewFilesOnly
// only a new one is created. The new file keeps the old one's permission bits, owner and group
// where the process may set them; set-user-ID, set-group-ID and sticky bits are never carried
// over.
class AtomicFile {
public:
    AtomicFile() = default;
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;
    ~AtomicFile();

    // Creates the temporary file beside `target`. False when the target is not a regular file,
    // or the folder does not exist or refuses a new file; nothing is then created.
    bool Open(const std::string& target);
    // Open for a target the caller has just taken from TargetOfSave, which is not looked at
    // again.
    bool Open(const SaveTarget& resolved);
    bool IsOpen() const { return m_fd >= 0; }

    // Writes all `size` bytes, or returns false. Once a write has failed, every later one fails.
    // Small writes are gathered and reach the file together (by Finish at the latest), so a
    // failure may show at a later call.
    bool Write(const void* data, std::size_t size);
    // Bytes that have reached the file.
    std::uint64_t Position() const { return m_position; }

    // Flushes the bytes to disk (not under a DeferredFlush) and closes the temporary file (an
    // unnamed one stays open until Commit). False when that or any earlier write failed.
    bool Finish();
    // Renames the finished temporary file over the target (links an unnamed one there). False when
    // that fails, or the target has meanwhile become something other than a regular file, or,
    // under a NewFilesOnly, anything is there (EEXIST); it is then left as it was.
    bool Commit();
    // Closes and removes the temporary file.
    void Discard();

    // The file that Commit replaces or creates: the target with its links resolved.
    const std::string& Target() const { return m_target; }
    // Why the last failing call failed: errno, or 0 when the target was refused (see Refusal).
    int Error() const { return m_error; }
    // What lay at the target instead of a regular file, when that is why Open or Commit failed.
    const std::string& Refusal() const { return m_refusal; }

private:
    bool Fail(int error);
    bool OpenUnnamed();
    bool OpenNamed();
    bool NameUnnamed();
    bool CommitNew();
    bool Committed();
    void CloseUnnamed();
    bool WriteBuffer();
    bool WriteThrough(const unsigned char* bytes, std::size_t size);

    // Writes smaller than this are gathered: a small document is a handful of them (headers,
    // samples, pieces of XML), each a system call otherwise.
    static constexpr std::size_t kBufferBytes = 64 << 10;

    int m_fd = -1;
    int m_tracked = -1;
    bool m_failed = false;
    bool m_finished = false;
    // Opened under a DeferredFlush: neither the file nor its folder is flushed.
    bool m_deferred = false;
    bool m_unnamed = false;  // an O_TMPFILE file, open until committed or discarded
    // Opened under a NewFilesOnly: the target was not looked at, and Commit never replaces it.
    bool m_new_only = false;
    std::uint64_t m_position = 0;
    int m_error = 0;
    std::string m_refusal;
    std::string m_target;
    std::string m_temporary;
    std::vector<unsigned char> m_buffer;
};

// The call that writes the bytes of every AtomicFile: ::write, unless a test has put one in its
// place that fails as a full disk does. Returns the call it replaced.
using FileWriteCall = ssize_t (*)(int fd, const void* data, std::size_t size);
FileWriteCall ReplaceFileWriteCall(FileWriteCall call);
