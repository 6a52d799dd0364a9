#include "AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>

#include "DeferredFlush.h"
#include "NewFilesOnly.h"
#include "SaveTarget.h"
#include "TemporaryFiles.h"

namespace {

std::atomic<FileWriteCall> g_write_call{&::write};

// Unnamed temporary files open on this thread. Each keeps its descriptor until it is committed,
// so a thread keeps one at a time; the further files of an export that commits several together
// get named ones, which close when finished.
thread_local unsigned t_unnamed_open = 0;
constexpr unsigned kUnnamedPerThread = 1;

void SyncFolder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);  // best effort: the rename itself has already succeeded
    ::close(fd);
}

// Replacing a file keeps what its owner gave it. Run as root, the tool would otherwise hand a
// user's document to root; a process that may not give the file away keeps at least the group
// when it is one of its own. The special bits are dropped: a document is data.
void KeepOwnerAndPermissions(int fd, const std::string& old_file) {
    struct stat old {};
    if (::stat(old_file.c_str(), &old) != 0) return;
    if (::fchown(fd, old.st_uid, old.st_gid) != 0)
        (void)::fchown(fd, static_cast<uid_t>(-1), old.st_gid);
    ::fchmod(fd, old.st_mode & 0777);
}

// An unnamed file is given its name through its entry in /proc, which must be there.
bool CanNameUnnamedFiles() {
    static const bool proc = ::access("/proc/self/fd", X_OK) == 0;
    return proc;
}

std::string ProcPath(int fd) {
    char path[32];
    std::snprintf(path, sizeof path, "/proc/self/fd/%d", fd);
    return path;
}

}  // namespace

AtomicFile::~AtomicFile() {
    Discard();
}

bool AtomicFile::Fail(int error) {
    m_error = error;
    m_failed = true;
    return false;
}

bool AtomicFile::Open(const std::string& target) {
    return Open(TargetOfSave(target));
}

bool AtomicFile::Open(const SaveTarget& resolved) {
    Discard();
    m_failed = false;
    m_finished = false;
    m_deferred = DeferredFlush::Active();
    m_new_only = NewFilesOnly::Active();
    m_position = 0;
    m_error = 0;
    m_refusal.clear();
    m_target = resolved.path;
    if (!resolved.ok()) {
        m_refusal = resolved.refusal;
        return Fail(resolved.error);
    }
    if (!OpenUnnamed() && !OpenNamed()) return false;
    if (resolved.exists) KeepOwnerAndPermissions(m_fd, m_target);
    return true;
}

// Under a DeferredFlush the temporary file has no name until Commit links it to the target: its
// creation takes no lock on the folder, the commit is one link instead of a rename, and a process
// killed by any signal leaves nothing behind. Where the file system or the kernel cannot make
// unnamed files, a named one is made instead.
bool AtomicFile::OpenUnnamed() {
    if (!m_deferred || t_unnamed_open >= kUnnamedPerThread || !CanNameUnnamedFiles()) return false;
    // 0666 so that the process's umask decides, as for a file opened the ordinary way.
    m_fd = ::open(FolderOf(m_target).c_str(), O_WRONLY | O_TMPFILE | O_CLOEXEC, 0666);
    if (m_fd < 0) return false;
    m_unnamed = true;
    ++t_unnamed_open;
    return true;
}

bool AtomicFile::OpenNamed() {
    constexpr unsigned kAttempts = 100;
    for (unsigned attempt = 0; attempt < kAttempts; ++attempt) {
        m_temporary = HiddenSibling(m_target, ".tmp");
        // Tracked before it exists, so that no signal can come between creating and tracking.
        m_tracked = temporary_files::Track(m_temporary);
        m_fd = ::open(m_temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (m_fd >= 0) return true;
        const int error = errno;
        temporary_files::Untrack(m_tracked);
        m_tracked = -1;
        if (error != EEXIST) {
            m_temporary.clear();
            return Fail(error);
        }
    }
    m_temporary.clear();
    return Fail(EEXIST);
}

bool AtomicFile::Write(const void* data, std::size_t size) {
    if (m_fd < 0 || m_failed || m_finished) return false;
    const auto* bytes = static_cast<const unsigned char*>(data);
    if (m_buffer.size() + size <= kBufferBytes) {
        if (m_buffer.capacity() < kBufferBytes) m_buffer.reserve(kBufferBytes);
        m_buffer.insert(m_buffer.end(), bytes, bytes + size);
        return true;
    }
    if (!WriteBuffer()) return false;
    return size < kBufferBytes ? Write(data, size) : WriteThrough(bytes, size);
}

bool AtomicFile::WriteBuffer() {
    const bool written = WriteThrough(m_buffer.data(), m_buffer.size());
    m_buffer.clear();
    return written;
}

bool AtomicFile::WriteThrough(const unsigned char* bytes, std::size_t size) {
    while (size > 0) {
        const ssize_t written = g_write_call.load(std::memory_order_relaxed)(m_fd, bytes, size);
        if (written < 0 && errno == EINTR) continue;
        if (written < 0) return Fail(errno);
        if (written == 0) return Fail(ENOSPC);
        bytes += written;
        size -= static_cast<std::size_t>(written);
        m_position += static_cast<std::uint64_t>(written);
    }
    return true;
}

bool AtomicFile::Finish() {
    if (m_fd < 0 || m_finished) return false;
    if (!m_failed) WriteBuffer();
    m_buffer = {};
    if (!m_deferred && ::fsync(m_fd) != 0 && !m_failed) Fail(errno);
    // An unnamed file stays open: its descriptor is the only way to it.
    if (!m_unnamed) {
        if (::close(m_fd) != 0 && !m_failed) Fail(errno);
        m_fd = -1;
    }
    m_finished = true;
    return !m_failed;
}

bool AtomicFile::Commit() {
    if (!m_finished || m_failed || (m_temporary.empty() && !m_unnamed)) return false;
    if (m_unnamed) {
        // Linked straight to the target where nothing is there; otherwise to a hidden name
        // first, which then replaces what is there as a named temporary file does.
        if (::linkat(AT_FDCWD, ProcPath(m_fd).c_str(), AT_FDCWD, m_target.c_str(),
                     AT_SYMLINK_FOLLOW) == 0)
            return Committed();
        if (errno != EEXIST || m_new_only || !NameUnnamed()) {
            m_error = errno;
            return false;
        }
    }
    if (m_new_only) return CommitNew();
    // Checked once more: the file the rename would replace may have become a FIFO or device
    // since Open. (Its links were resolved then; what they lead to is what gets replaced.)
    struct stat now {};
    if (::lstat(m_target.c_str(), &now) == 0 && !S_ISREG(now.st_mode)) {
        m_refusal = DescribeFileKind(now.st_mode);
        return false;
    }
    if (::rename(m_temporary.c_str(), m_target.c_str()) != 0) {
        m_error = errno;
        return false;
    }
    return Committed();
}

// A named temporary file becomes a new file: linked to the target, which a link never replaces,
// then unlinked from its own name.
bool AtomicFile::CommitNew() {
    if (::link(m_temporary.c_str(), m_target.c_str()) != 0) {
        m_error = errno;
        return false;
    }
    ::unlink(m_temporary.c_str());
    return Committed();
}

// Gives the unnamed file a hidden name beside the target, as OpenNamed would have.
bool AtomicFile::NameUnnamed() {
    for (int attempt = 0; attempt < 100; ++attempt) {
        m_temporary = HiddenSibling(m_target, ".tmp");
        m_tracked = temporary_files::Track(m_temporary);
        if (::linkat(AT_FDCWD, ProcPath(m_fd).c_str(), AT_FDCWD, m_temporary.c_str(),
                     AT_SYMLINK_FOLLOW) == 0)
            return true;
        const int error = errno;
        temporary_files::Untrack(m_tracked);
        m_tracked = -1;
        m_temporary.clear();
        if (error != EEXIST) {
            errno = error;
            return false;
        }
    }
    errno = EEXIST;
    return false;
}

bool AtomicFile::Committed() {
    temporary_files::Untrack(m_tracked);
    m_tracked = -1;
    m_temporary.clear();
    CloseUnnamed();
    if (!m_deferred) SyncFolder(FolderOf(m_target));
    return true;
}

void AtomicFile::CloseUnnamed() {
    if (!m_unnamed) return;
    ::close(m_fd);  // local file systems, the only ones with unnamed files, report nothing here
    m_fd = -1;
    m_unnamed = false;
    --t_unnamed_open;
}

void AtomicFile::Discard() {
    m_buffer = {};
    CloseUnnamed();
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
    if (!m_temporary.empty()) {
        ::unlink(m_temporary.c_str());
        m_temporary.clear();
    }
    temporary_files::Untrack(m_tracked);
    m_tracked = -1;
}

FileWriteCall ReplaceFileWriteCall(FileWriteCall call) {
    return g_write_call.exchange(call);
}
