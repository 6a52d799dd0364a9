#include "InputFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "SaveTarget.h"

InputFile::~InputFile() {
    if (m_fd >= 0) ::close(m_fd);
}

bool InputFile::Open(const std::string& path) {
    m_error = 0;
    m_refusal.clear();
    // Without O_NONBLOCK, opening a FIFO would wait for a writer; a regular file ignores it.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        m_error = errno;
        return false;
    }
    struct stat info {};
    const bool examined = ::fstat(fd, &info) == 0;
    if (!examined || !S_ISREG(info.st_mode)) {
        if (examined)
            m_refusal = DescribeFileKind(info.st_mode);
        else
            m_error = errno;
        ::close(fd);
        return false;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    if (m_fd >= 0) ::close(m_fd);
    m_fd = fd;
    m_position = 0;
    m_size = static_cast<std::uint64_t>(info.st_size);
    return true;
}

std::size_t InputFile::Read(void* data, std::size_t size) {
    if (m_fd < 0) return 0;
    auto* bytes = static_cast<unsigned char*>(data);
    std::size_t total = 0;
    while (total < size) {
        const ssize_t got = ::read(m_fd, bytes + total, size - total);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;
        total += static_cast<std::size_t>(got);
    }
    m_position += total;
    return total;
}
