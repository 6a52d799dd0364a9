#include "ChannelFiles.h"

#include <filesystem>

std::string ChannelFileName(const std::string& path, std::size_t position) {
    const std::filesystem::path p(path);
    std::filesystem::path name = p.stem();
    name += "-channel-" + std::to_string(position);
    name += p.extension();
    return (p.parent_path() / name).string();
}

std::vector<std::string> ChannelFileNames(const std::string& path, std::size_t channels) {
    if (channels == 1) return {path};
    std::vector<std::string> files;
    for (std::size_t i = 0; i < channels; ++i) files.push_back(ChannelFileName(path, i));
    return files;
}
