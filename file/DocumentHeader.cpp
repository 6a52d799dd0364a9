#include "DocumentHeader.h"

#include <cstring>

#include "ByteOrder.h"

using byte_order::LoadLe;
using byte_order::StoreLe;

namespace {
constexpr unsigned char kMagic[3] = {'S', 'T', 'G'};
}

DocumentHeader::Bytes DocumentHeader::Encode() const {
    Bytes bytes{};
    std::memcpy(bytes.data(), kMagic, sizeof kMagic);
    bytes[3] = version;
    StoreLe<std::uint64_t>(bytes.data() + 8, xml_offset);
    return bytes;
}

bool DocumentHeader::Decode(const unsigned char* bytes) {
    if (std::memcmp(bytes, kMagic, sizeof kMagic) != 0) return false;
    version = bytes[3];
    xml_offset = LoadLe<std::uint64_t>(bytes + 8);
    return true;
}

SignalBlockHeader::Bytes SignalBlockHeader::Encode() const {
    Bytes bytes{};
    bytes[0] = number;
    StoreLe<double>(bytes.data() + 8, start);
    StoreLe<double>(bytes.data() + 16, step);
    StoreLe<std::uint64_t>(bytes.data() + 24, count);
    return bytes;
}

SignalBlockHeader SignalBlockHeader::Decode(const unsigned char* bytes) {
    SignalBlockHeader header;
    header.number = bytes[0];
    header.start = LoadLe<double>(bytes + 8);
    header.step = LoadLe<double>(bytes + 16);
    header.count = LoadLe<std::uint64_t>(bytes + 24);
    return header;
}
