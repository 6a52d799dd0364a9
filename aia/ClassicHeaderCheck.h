#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

// Why `data` is not a netCDF classic file (CDF-1 or CDF-2) that may be handed to the netCDF
// library, or nothing when it may. The library trusts the counts in a file's header and
// allocates by them before it looks at the file's size, so a header of a few bytes could make
// it ask for gigabytes; this walks the header first and accepts it only when every count, name
// and value lies within the bytes given, the lists are of a sensible length, and every
// variable's data lies within the file. Record variables, which AIA files do not use, and
// streamed files are refused.
//
// When the header passes and `used_bytes` is given, it receives where the file's contents end:
// the end of the header or of the last variable's data, whichever is later.
std::optional<std::string> CheckClassicHeader(const unsigned char* data, std::size_t size,
                                              std::uint64_t* used_bytes = nullptr);

// The same check of a file of `size` bytes whose first `given` bytes are at `data`: the header
// must lie within them, the variables' data within the file. `more` is set when the header may
// go on beyond the bytes given, which a caller can then read and check again.
struct HeaderPrefixCheck {
    std::optional<std::string> fault;
    bool more = false;
};
HeaderPrefixCheck CheckClassicHeaderPrefix(const unsigned char* data, std::size_t given,
                                           std::uint64_t size);

// The most dimensions, variables and attributes (over all lists) a header may declare: far
// more than an AIA file has (a dozen dimensions, a few dozen variables and attributes).
inline constexpr std::size_t kMaxHeaderItems = 100'000;
