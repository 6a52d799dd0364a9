#include "DocumentCommit.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "AtomicFile.h"
#include "NewFilesOnly.h"
#include "ResultCodes.h"
#include "SaveTarget.h"

namespace {

// A file renamed out of the way, brought back or removed when the commit is decided.
class SetAside {
public:
    // Renames `path` aside when it is, or leads to, a regular file. Anything else there (a FIFO,
    // a folder) is no spectra file to a load and stays where it is.
    bool Take(const std::string& path) {
        struct stat info {};
        if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return true;
        m_aside = HiddenSibling(path, ".old");
        if (std::rename(path.c_str(), m_aside.c_str()) != 0) {
            m_aside.clear();
            return false;
        }
        m_path = path;
        return true;
    }
    bool Holds() const { return !m_aside.empty(); }
    void Restore() {
        if (Holds()) std::rename(m_aside.c_str(), m_path.c_str());
        m_aside.clear();
    }
    void Drop() {
        if (Holds()) ::unlink(m_aside.c_str());
        m_aside.clear();
    }

private:
    std::string m_path;
    std::string m_aside;
};

}  // namespace

int CommitDocument(AtomicFile& document, AtomicFile* spectra, const std::string& spectra_path,
                   FileFailure& failure) {
    // With new spectra the old file they replace is the one their link leads to; without, the
    // name at the spectra path itself goes (a link there is removed, not the file it leads to).
    const std::string old_spectra = spectra != nullptr ? spectra->Target() : spectra_path;
    SetAside aside;
    // Under a NewFilesOnly the caller has cleared the spectra path too.
    if (!NewFilesOnly::Active() && !aside.Take(old_spectra)) {
        failure = {
            FileOperation::Save, save_result::kOpenFailed, spectra_path, true, errno, {}, -1};
        return failure.code;
    }
    if (spectra != nullptr && !spectra->Commit()) {
        aside.Restore();
        return RecordFileFailure(failure, save_result::kOpenFailed, *spectra, spectra_path, true);
    }
    if (!document.Commit()) {
        if (spectra != nullptr && !aside.Holds()) ::unlink(old_spectra.c_str());
        aside.Restore();
        return RecordFileFailure(failure, save_result::kOpenFailed, document, document.Target(),
                                 false);
    }
    aside.Drop();
    return save_result::kOk;
}

int RecordFileFailure(FileFailure& failure, int code, const AtomicFile& file,
                      const std::string& path, bool spectra) {
    failure.operation = FileOperation::Save;
    failure.path = path;
    failure.spectra = spectra;
    if (!file.Refusal().empty()) {
        failure.code = save_result::kNotRegularFile;
        failure.detail = "it is " + file.Refusal() + ", not a regular file";
    } else {
        failure.code = code;
        failure.system_error = file.Error();
    }
    return failure.code;
}
