#include "DistinctFiles.h"

#include "FileIdentity.h"

std::optional<std::pair<CommandFile, CommandFile>> FindSameFile(
    const std::vector<CommandFile>& files) {
    std::vector<FileIdentity> identities;
    identities.reserve(files.size());
    for (const CommandFile& file : files) identities.push_back(IdentityOf(file.path));
    for (std::size_t later = 1; later < files.size(); ++later)
        for (std::size_t earlier = 0; earlier < later; ++earlier)
            if ((files[earlier].written || files[later].written) &&
                identities[earlier] == identities[later])
                return std::pair{files[earlier], files[later]};
    return std::nullopt;
}
