#pragma once

#include <cstddef>
#include <string>
#include <vector>

// The file that holds the channel at `position` (from 0) when an export writes one file per
// channel: `path` with "-channel-N" before its extension. Positions are unique even where
// channel numbers repeat.
std::string ChannelFileName(const std::string& path, std::size_t position);

// The files of an export that writes one file per channel: `path` itself for a single channel,
// ChannelFileName for each of several.
std::vector<std::string> ChannelFileNames(const std::string& path, std::size_t channels);
