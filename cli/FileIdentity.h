#pragma once

#include <string>

// Which file a path names, so that two spellings of one file ("d.xstg", "./d.xstg", a symbolic or
// hard link to it) compare equal: the device and inode of a file that exists (its links
// followed), otherwise the path made absolute with the links of its folder resolved.
struct FileIdentity {
    bool exists = false;
    unsigned long long device = 0;
    unsigned long long inode = 0;
    std::string path;  // when it does not exist

    bool operator==(const FileIdentity&) const = default;
};

FileIdentity IdentityOf(const std::string& path);
