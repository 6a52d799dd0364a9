#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

// A file a command reads or writes, and how its command line names it in messages ("-o",
// "--manifest", "the scenario", "--aia for channel 1").
struct CommandFile {
    std::string path;
    std::string role;
    bool written = false;
};

// The first two files that are one file (FileIdentity.h) although the command needs them
// apart: two that it writes, or one it writes and one it reads. The second of the pair is the
// later in `files`. Nothing when every file it writes is a file of its own.
std::optional<std::pair<CommandFile, CommandFile>> FindSameFile(
    const std::vector<CommandFile>& files);
