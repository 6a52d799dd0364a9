#pragma once

#include <cstdint>
#include <optional>
#include <string>

// The AIA format's date and time, "YYYYMMDDhhmmss+0000", for `seconds` since 1970-01-01 00:00
// UTC, always in UTC. Nothing for a moment outside the years 0 to 9999, which four digits
// cannot hold.
std::optional<std::string> FormatDateStamp(std::int64_t seconds);
