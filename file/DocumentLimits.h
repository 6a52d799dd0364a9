#pragma once

#include <cstdint>

#include "synth/SampleCount.h"

// How large a document may be. Saving refuses anything larger, and loading refuses a file larger
// than anything saving can write before reading it, so that a damaged or hostile file can make
// the program neither read gigabytes nor build a giant XML tree.

// The XML text: passport and peak tables. 64 MiB hold about 90,000 peaks with long names.
inline constexpr std::uint64_t kMaxXmlBytes = std::uint64_t{64} << 20;
// Markup characters ("<" and "=") of the XML text. Every element begins with "<" and every
// attribute has a "=", so this bounds the nodes the parser builds (about 64 bytes each) and the
// peaks and entries read from them before parsing starts. A stored peak costs 29.
inline constexpr std::uint64_t kMaxXmlMarkup = 2'000'000;
// The signal section: the samples of the largest document (four bytes each) and room for the
// header and the block headers of 32,768 channels.
inline constexpr std::uint64_t kMaxSignalSectionBytes =
    4 * std::uint64_t{kMaxDocumentSampleCount} + (std::uint64_t{1} << 20);
// The whole document file.
inline constexpr std::uint64_t kMaxDocumentBytes = kMaxSignalSectionBytes + kMaxXmlBytes;
// The spectra file: 80,000 records of 801 points. The program only carries spectra from one
// load to the next save; each point takes 8 bytes in memory for 4 in the file.
inline constexpr std::uint64_t kMaxSpectraBytes = std::uint64_t{256} << 20;
