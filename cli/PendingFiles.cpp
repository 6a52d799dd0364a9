#include "PendingFiles.h"

#include "file/SaveTarget.h"

std::string CannotWriteText(const AtomicFile& file) {
    if (!file.Refusal().empty())
        return "cannot write: it is " + file.Refusal() + ", not a regular file";
    return "cannot write: " + SystemErrorText(file.Error());
}

AtomicFile& PendingFiles::Open(const std::string& path) {
    auto file = std::make_unique<AtomicFile>();
    if (!file->Open(path)) throw FileWriteError(path, CannotWriteText(*file));
    m_files.emplace_back(path, std::move(file));
    return *m_files.back().second;
}

void PendingFiles::Finish() {
    auto& [path, file] = m_files.back();
    if (!file->Finish()) throw FileWriteError(path, CannotWriteText(*file));
}

void PendingFiles::CommitAll() {
    for (auto& [path, file] : m_files)
        if (!file->Commit()) throw FileWriteError(path, CannotWriteText(*file));
}
