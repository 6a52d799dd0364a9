#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "synth/Channel4.h"

class AtomicFile;
class InputFile;

// Writes the document header and one block per channel, in list order. Each channel's guard is
// held while its samples are written, so they are not copied first. Returns 0 or a
// save_result code (kHeaderNotWritten, kBlockHeaderNotWritten, kDataNotWritten).
int WriteSignalSection(AtomicFile& out, std::uint8_t version,
                       const std::vector<Channel4>& channels);

// Reads the section from the start of `in`, leaving it positioned after the last block. Sets
// `version` and replaces `channels` once the header is accepted; after a failing block the
// channels read before it stay. Returns 0 or a load_result code.
int ReadSignalSection(InputFile& in, std::uint8_t& version, std::vector<Channel4>& channels);

// The same from `length` bytes at `data`; on success `xml_at` is the offset of the XML text.
// Returns 0 or a buffer_result code.
int ReadSignalSection(const unsigned char* data, std::size_t length, std::uint8_t& version,
                      std::vector<Channel4>& channels, std::size_t& xml_at);
