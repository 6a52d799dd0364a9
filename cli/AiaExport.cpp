#include "AiaExport.h"

#include "ChannelFiles.h"
#include "aia/AiaWriter.h"

std::vector<std::string> PlanAiaExport(const CTarvikFile4& document, const std::string& path) {
    return ChannelFileNames(path, document.m_channels.size());
}

void ExportAia(const CTarvikFile4& document, const std::vector<std::string>& files,
               const std::string& source_name, PendingFiles& pending) {
    // One channel's bytes are in memory at a time.
    for (std::size_t i = 0; i < files.size(); ++i) {
        const AiaBytes bytes = MakeAiaFile(document, i, source_name);
        pending.Open(files[i]).Write(bytes.data(), bytes.size());
        pending.Finish();
    }
}
