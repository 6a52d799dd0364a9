#pragma once

#include <cstddef>
#include <string>

// The file that holds the channel at `position` (from 0) when an export writes one file per
// channel: `path` with "-channel-N" before its extension. Positions are unique even where
// channel numbers repeat.
std::string ChannelFileName(const std::string& path, std::size_t position);
