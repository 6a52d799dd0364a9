#include "DeferredFlush.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

FileSystemFlush::FileSystemFlush(const std::string& folder) {
    m_fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (m_fd < 0) m_error = errno;
}

FileSystemFlush::~FileSystemFlush() {
    if (m_fd >= 0) ::close(m_fd);
    if (m_early_fd >= 0) ::close(m_early_fd);
}

void FileSystemFlush::WriteBackSoFar() {
    if (m_fd < 0) return;
    // syncfs reports a write-back error once per open file description, so this one opens the
    // folder anew: on m_fd's own it would keep the error from Flush.
    if (m_early_fd < 0) m_early_fd = ::openat(m_fd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (m_early_fd >= 0) (void)::syncfs(m_early_fd);
}

bool FileSystemFlush::Flush() {
    if (m_fd < 0) return false;
    // syncfs writes back every dirty file of the file system and commits its journal once; since
    // Linux 5.8 it also reports a write-back error that happened after the folder was opened.
    if (::syncfs(m_fd) != 0 || ::fsync(m_fd) != 0) {
        m_error = errno;
        return false;
    }
    return true;
}
