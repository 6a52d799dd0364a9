#include "CorpusFolder.h"

#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <system_error>

#include "CorpusFiles.h"
#include "file/SaveTarget.h"

namespace fs = std::filesystem;

void PrepareFolder(const std::string& folder, bool force) {
    std::error_code error;
    const fs::file_status status = fs::status(folder, error);
    if (fs::exists(status)) {
        if (!fs::is_directory(status)) throw BatchError{folder, "it exists and is not a folder"};
        const bool empty = fs::is_empty(folder, error);
        if (error)
            throw BatchError{folder, "cannot read the folder: " + SystemErrorText(error.value())};
        if (!empty && !force)
            throw BatchError{folder, "the folder is not empty; give --force to write into it"};
        return;
    }
    if (!fs::create_directory(folder, error) && error)
        throw BatchError{folder, "cannot create the folder: " + SystemErrorText(error.value())};
}

std::vector<std::string> RunFilesIn(const std::string& folder, std::uint64_t first,
                                    std::uint64_t last) {
    std::vector<std::string> paths;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename().string();
        const auto number = CorpusFileNumber(name);
        if (number && *number >= first && *number <= last) paths.push_back(folder + "/" + name);
    }
    if (error)
        throw BatchError{folder, "cannot read the folder: " + SystemErrorText(error.value())};
    return paths;
}

std::vector<BatchError> RemoveFiles(const std::vector<std::string>& paths) {
    std::vector<BatchError> failures;
    for (const std::string& path : paths)
        if (::unlink(path.c_str()) != 0 && errno != ENOENT)
            failures.push_back({path, "cannot remove the file: " + SystemErrorText(errno)});
    return failures;
}
