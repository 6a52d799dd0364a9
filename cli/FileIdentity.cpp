#include "FileIdentity.h"

#include <sys/stat.h>

#include <filesystem>
#include <system_error>

FileIdentity IdentityOf(const std::string& path) {
    FileIdentity identity;
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0) {
        identity.exists = true;
        identity.device = info.st_dev;
        identity.inode = info.st_ino;
        return identity;
    }
    namespace fs = std::filesystem;
    std::error_code error;
    // weakly_canonical resolves the part that exists and normalises the rest ("./", "..").
    const fs::path resolved = fs::weakly_canonical(fs::absolute(path, error), error);
    identity.path =
        error ? fs::absolute(path, error).lexically_normal().string() : resolved.string();
    return identity;
}
