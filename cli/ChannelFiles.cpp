#include "ChannelFiles.h"

#include <filesystem>

std::string ChannelFileName(const std::string& path, std::size_t position) {
    const std::filesystem::path p(path);
    std::filesystem::path name = p.stem();
    name += "-channel-" + std::to_string(position);
    name += p.extension();
    return (p.parent_path() / name).string();
}
