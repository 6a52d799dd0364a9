#include "SaveTarget.h"

#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <system_error>

#include "DeferredFlush.h"
#include "NewFilesOnly.h"

namespace {

// The file a symbolic link finally leads to, or an error when it leads nowhere.
SaveTarget FollowLink(const std::string& link) {
    SaveTarget target;
    char* real = ::realpath(link.c_str(), nullptr);
    if (real == nullptr) {
        if (errno == ENOENT)
            target.refusal = "a symbolic link to a file that does not exist";
        else
            target.error = errno;
        return target;
    }
    target.path = real;
    std::free(real);
    struct stat info {};
    if (::stat(target.path.c_str(), &info) != 0) {
        target.error = errno;
    } else if (S_ISDIR(info.st_mode)) {
        target.error = EISDIR;
    } else if (!S_ISREG(info.st_mode)) {
        target.refusal = "a symbolic link to " + DescribeFileKind(info.st_mode);
    } else {
        target.exists = true;
    }
    return target;
}

// The path as a new file, with only what its spelling tells: a folder cannot be opened as a file,
// which is an error of its own rather than a refusal.
SaveTarget NewFileTarget(const std::string& path) {
    SaveTarget target;
    target.path = path;
    if (path.empty() || path.back() == '/') target.error = path.empty() ? ENOENT : EISDIR;
    return target;
}

}  // namespace

SaveTarget ResolveSaveTarget(const std::string& path, bool examine_folder) {
    SaveTarget target = NewFileTarget(path);
    if (!target.ok()) return target;
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0) {
        if (errno != ENOENT) {
            target.error = errno;
            return target;
        }
        // Nothing there yet: the folder must exist for the new file.
        if (!examine_folder) return target;
        struct stat folder {};
        if (::stat(FolderOf(path).c_str(), &folder) != 0)
            target.error = errno;
        else if (!S_ISDIR(folder.st_mode))
            target.error = ENOTDIR;
        return target;
    }
    if (S_ISLNK(info.st_mode)) return FollowLink(path);
    if (S_ISDIR(info.st_mode))
        target.error = EISDIR;
    else if (!S_ISREG(info.st_mode))
        target.refusal = DescribeFileKind(info.st_mode);
    else
        target.exists = true;
    return target;
}

SaveTarget TargetOfSave(const std::string& path) {
    if (NewFilesOnly::Active()) return NewFileTarget(path);
    // Under a DeferredFlush (many new files in one folder) creating the file looks at the folder,
    // so it need not be looked at for every file as well.
    return ResolveSaveTarget(path, !DeferredFlush::Active());
}

std::string DescribeFileKind(unsigned mode) {
    if (S_ISDIR(mode)) return "a folder";
    if (S_ISFIFO(mode)) return "a FIFO (named pipe)";
    if (S_ISCHR(mode)) return "a character device";
    if (S_ISBLK(mode)) return "a block device";
    if (S_ISSOCK(mode)) return "a socket";
    if (S_ISLNK(mode)) return "a symbolic link";
    if (S_ISREG(mode)) return "a regular file";
    return "a special file";
}

std::string FolderOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

std::string HiddenSibling(const std::string& path, const char* suffix) {
    static std::atomic<unsigned> counter{0};
    const auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
    char unique[64];
    std::snprintf(unique, sizeof unique, ".%ld.%u.%llx", static_cast<long>(::getpid()),
                  counter.fetch_add(1), static_cast<unsigned long long>(ticks));
    const auto slash = path.find_last_of('/');
    const std::size_t name_at = slash == std::string::npos ? 0 : slash + 1;
    constexpr std::size_t kNameKept = 160;
    return path.substr(0, name_at) + "." + path.substr(name_at, kNameKept) + unique + suffix;
}

std::string SystemErrorText(int error) {
    return std::generic_category().message(error);
}
