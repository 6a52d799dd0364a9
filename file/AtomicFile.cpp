#include "AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace {

std::string FolderOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

// A name no other writer in this or another process is using at the moment; O_EXCL settles any
// remaining race.
std::string TemporaryName(const std::string& target, unsigned attempt) {
    static std::atomic<unsigned> counter{0};
    const auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
    char suffix[64];
    std::snprintf(suffix, sizeof suffix, ".%ld.%u.%llx.tmp", static_cast<long>(::getpid()),
                  counter.fetch_add(1) + attempt, static_cast<unsigned long long>(ticks));
    const auto slash = target.find_last_of('/');
    const std::size_t name_at = slash == std::string::npos ? 0 : slash + 1;
    // Hidden, so that a folder listing does not show half-written documents; shortened so that
    // a target name near the 255-byte limit still leaves room for the suffix.
    constexpr std::size_t kNameKept = 160;
    return target.substr(0, name_at) + "." + target.substr(name_at, kNameKept) + suffix;
}

// Saving through a symbolic link replaces the file it points to, as writing in place would, and
// keeps the link.
std::string ResolveLink(const std::string& target) {
    struct stat link {};
    if (::lstat(target.c_str(), &link) != 0 || !S_ISLNK(link.st_mode)) return target;
    char* real = ::realpath(target.c_str(), nullptr);
    if (real == nullptr) return target;
    std::string resolved(real);
    std::free(real);
    return resolved;
}

void SyncFolder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);  // best effort: the rename itself has already succeeded
    ::close(fd);
}

}  // namespace

AtomicFile::~AtomicFile() {
    Discard();
}

bool AtomicFile::Open(const std::string& target) {
    Discard();
    m_failed = false;
    m_finished = false;
    m_position = 0;
    if (target.empty() || target.back() == '/') return false;  // no file name
    m_target = ResolveLink(target);
    constexpr unsigned kAttempts = 100;
    for (unsigned attempt = 0; attempt < kAttempts; ++attempt) {
        m_temporary = TemporaryName(m_target, attempt);
        // 0666 so that the process's umask decides, as for a file opened the ordinary way.
        m_fd = ::open(m_temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (m_fd >= 0) break;
        if (errno != EEXIST) break;
    }
    if (m_fd < 0) {
        m_temporary.clear();
        return false;
    }
    // Replacing a document keeps the permissions its owner gave it.
    struct stat old {};
    if (::stat(m_target.c_str(), &old) == 0 && S_ISREG(old.st_mode)) {
        ::fchmod(m_fd, old.st_mode & 07777);
    }
    return true;
}

bool AtomicFile::Write(const void* data, std::size_t size) {
    if (m_fd < 0 || m_failed || m_finished) return false;
    const auto* bytes = static_cast<const unsigned char*>(data);
    while (size > 0) {
        const ssize_t written = ::write(m_fd, bytes, size);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) {
            m_failed = true;
            return false;
        }
        bytes += written;
        size -= static_cast<std::size_t>(written);
        m_position += static_cast<std::uint64_t>(written);
    }
    return true;
}

bool AtomicFile::Finish() {
    if (m_fd < 0 || m_finished) return false;
    if (::fsync(m_fd) != 0) m_failed = true;
    if (::close(m_fd) != 0) m_failed = true;
    m_fd = -1;
    m_finished = true;
    return !m_failed;
}

bool AtomicFile::Commit() {
    if (!m_finished || m_failed || m_temporary.empty()) return false;
    if (::rename(m_temporary.c_str(), m_target.c_str()) != 0) return false;
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
}
