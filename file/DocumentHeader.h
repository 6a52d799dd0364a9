#pragma once

#include <array>
#include <cstdint>

// The binary signal section that opens every document: a 16-byte header, then per channel a
// 32-byte block header and its float samples. All fields little-endian.

inline constexpr std::size_t kDocumentHeaderSize = 16;
inline constexpr std::size_t kSignalBlockHeaderSize = 32;
inline constexpr std::uint8_t kDocumentVersion = 1;  // newest version readers accept

struct DocumentHeader {
    std::uint8_t version = kDocumentVersion;
    std::uint64_t xml_offset = kDocumentHeaderSize;  // first byte of the XML text

    using Bytes = std::array<unsigned char, kDocumentHeaderSize>;
    Bytes Encode() const;
    // False when the bytes do not begin with the document magic; version and offset are then
    // left alone.
    bool Decode(const unsigned char* bytes);
};

struct SignalBlockHeader {
    std::uint8_t number = 0;  // low 8 bits of the channel number
    double start = 0.0;       // time of sample 0, minutes
    double step = 0.0;        // minutes between samples
    std::uint64_t count = 0;  // float samples that follow

    using Bytes = std::array<unsigned char, kSignalBlockHeaderSize>;
    Bytes Encode() const;
    static SignalBlockHeader Decode(const unsigned char* bytes);
};

// Bytes a block takes in the file: its header and 4 per sample.
constexpr std::uint64_t SignalBlockSize(std::uint64_t count) {
    return kSignalBlockHeaderSize + 4 * count;
}
