#include "AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "SaveTarget.h"
#include "TemporaryFiles.h"

namespace {

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
    Discard();
    m_failed = false;
    m_finished = false;
    m_position = 0;
    m_error = 0;
    m_refusal.clear();
    const SaveTarget resolved = ResolveSaveTarget(target);
    m_target = resolved.path;
    if (!resolved.ok()) {
        m_refusal = resolved.refusal;
        return Fail(resolved.error);
    }
    constexpr unsigned kAttempts = 100;
    for (unsigned attempt = 0; attempt < kAttempts; ++attempt) {
        m_temporary = HiddenSibling(m_target, ".tmp");
        // Tracked before it exists, so that no signal can come between creating and tracking.
        m_tracked = temporary_files::Track(m_temporary);
        // 0666 so that the process's umask decides, as for a file opened the ordinary way.
        m_fd = ::open(m_temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (m_fd >= 0) break;
        const int error = errno;
        temporary_files::Untrack(m_tracked);
        m_tracked = -1;
        if (error != EEXIST) {
            m_temporary.clear();
            return Fail(error);
        }
    }
    if (m_fd < 0) {
        m_temporary.clear();
        return Fail(EEXIST);
    }
    if (resolved.exists) KeepOwnerAndPermissions(m_fd, m_target);
    return true;
}

bool AtomicFile::Write(const void* data, std::size_t size) {
    if (m_fd < 0 || m_failed || m_finished) return false;
    const auto* bytes = static_cast<const unsigned char*>(data);
    while (size > 0) {
        const ssize_t written = ::write(m_fd, bytes, size);
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
    if (::fsync(m_fd) != 0 && !m_failed) Fail(errno);
    if (::close(m_fd) != 0 && !m_failed) Fail(errno);
    m_fd = -1;
    m_finished = true;
    return !m_failed;
}

bool AtomicFile::Commit() {
    if (!m_finished || m_failed || m_temporary.empty()) return false;
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
    temporary_files::Untrack(m_tracked);
    m_tracked = -1;
    m_temporary.clear();
    SyncFolder(FolderOf(m_target));
    return true;
}

void AtomicFile::Discard() {
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
