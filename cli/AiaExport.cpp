#include "AiaExport.h"

#include <memory>

#include "ChannelFiles.h"
#include "aia/AiaWriter.h"
#include "file/AtomicFile.h"
#include "file/SaveTarget.h"

namespace {

[[noreturn]] void CannotWrite(const AtomicFile& file, const std::string& path) {
    const std::string why = file.Refusal().empty()
                                ? SystemErrorText(file.Error())
                                : "it is " + file.Refusal() + ", not a regular file";
    throw AiaWriteError(path, "cannot write: " + why);
}

}  // namespace

std::vector<std::string> PlanAiaExport(const CTarvikFile4& document, const std::string& path) {
    return ChannelFileNames(path, document.m_channels.size());
}

void ExportAia(const CTarvikFile4& document, const std::vector<std::string>& files,
               const std::string& source_name) {
    // Finished temporary files wait until every channel is done; one channel's bytes are in
    // memory at a time.
    std::vector<std::unique_ptr<AtomicFile>> finished;
    for (std::size_t i = 0; i < files.size(); ++i) {
        const AiaBytes bytes = MakeAiaFile(document, i, source_name);
        auto file = std::make_unique<AtomicFile>();
        if (!file->Open(files[i]) || !file->Write(bytes.data(), bytes.size()) || !file->Finish())
            CannotWrite(*file, files[i]);
        finished.push_back(std::move(file));
    }
    for (std::size_t i = 0; i < files.size(); ++i)
        if (!finished[i]->Commit()) CannotWrite(*finished[i], files[i]);
}
