#include "SignalSection.h"

#include <algorithm>
#include <cstring>
#include <mutex>

#include "AtomicFile.h"
#include "ByteOrder.h"
#include "DocumentHeader.h"
#include "InputFile.h"
#include "ResultCodes.h"

namespace {

// Converts samples to and from the file's byte order a slice at a time when the machine's
// differs; on little-endian machines they go straight through.
constexpr std::size_t kSliceSamples = 1 << 16;

bool WriteSamples(AtomicFile& out, const float* samples, std::uint64_t count) {
    if constexpr (byte_order::kNativeLittle) {
        return out.Write(samples, static_cast<std::size_t>(count) * sizeof(float));
    } else {
        std::vector<unsigned char> slice(kSliceSamples * 4);
        for (std::uint64_t i = 0; i < count; i += kSliceSamples) {
            const auto n =
                static_cast<std::size_t>(std::min<std::uint64_t>(kSliceSamples, count - i));
            for (std::size_t k = 0; k < n; ++k) byte_order::StoreLe(&slice[4 * k], samples[i + k]);
            if (!out.Write(slice.data(), 4 * n)) return false;
        }
        return true;
    }
}

bool WriteZeros(AtomicFile& out, std::uint64_t count) {
    const std::vector<float> zeros(
        static_cast<std::size_t>(std::min<std::uint64_t>(count, kSliceSamples)));
    for (std::uint64_t i = 0; i < count; i += kSliceSamples) {
        const auto n = std::min<std::uint64_t>(kSliceSamples, count - i);
        if (!out.Write(zeros.data(), static_cast<std::size_t>(n) * sizeof(float))) return false;
    }
    return true;
}

void SamplesFromLe(float* samples, std::size_t count) {
    if constexpr (!byte_order::kNativeLittle) {
        for (std::size_t i = 0; i < count; ++i) {
            unsigned char bytes[4];
            std::memcpy(bytes, &samples[i], 4);
            samples[i] = byte_order::LoadLe<float>(bytes);
        }
    } else {
        (void)samples;
        (void)count;
    }
}

Channel4 ChannelFromBlock(const SignalBlockHeader& block) {
    Channel4 channel(block.number);
    channel.signal.start = block.start;
    channel.signal.step = block.step;
    return channel;
}

}  // namespace

int WriteSignalSection(AtomicFile& out, std::uint8_t version,
                       const std::vector<Channel4>& channels) {
    // The sizes are taken once, so that the offset in the header and the blocks agree.
    std::vector<std::uint64_t> counts;
    counts.reserve(channels.size());
    DocumentHeader header;
    header.version = version;
    for (const Channel4& channel : channels) {
        std::lock_guard lock(channel.signal.guard);
        counts.push_back(channel.signal.samples.size());
        header.xml_offset += SignalBlockSize(counts.back());
    }
    if (!out.Write(header.Encode().data(), kDocumentHeaderSize))
        return save_result::kHeaderNotWritten;

    for (std::size_t i = 0; i < channels.size(); ++i) {
        const Signal4& signal = channels[i].signal;
        SignalBlockHeader block;
        block.number = static_cast<std::uint8_t>(channels[i].number & 0xff);
        const SampleGrid grid = signal.Grid();
        block.start = grid.start;
        block.step = grid.step;
        block.count = counts[i];
        if (!out.Write(block.Encode().data(), kSignalBlockHeaderSize)) {
            return save_result::kBlockHeaderNotWritten;
        }
        std::uint64_t present = 0;
        bool written = false;
        {
            std::lock_guard lock(signal.guard);
            present = std::min<std::uint64_t>(counts[i], signal.samples.size());
            written = WriteSamples(out, signal.samples.data(), present);
        }
        // A signal that shrank since the sizes were taken still fills its block.
        if (!written || !WriteZeros(out, counts[i] - present)) return save_result::kDataNotWritten;
    }
    return save_result::kOk;
}

int ReadSignalSection(InputFile& in, std::uint8_t& version, std::vector<Channel4>& channels) {
    unsigned char bytes[kSignalBlockHeaderSize];
    if (in.Read(bytes, kDocumentHeaderSize) != kDocumentHeaderSize)
        return load_result::kShortHeader;
    DocumentHeader header;
    if (!header.Decode(bytes)) return load_result::kBadMagic;
    if (header.version > kDocumentVersion) return load_result::kUnknownVersion;
    version = header.version;
    channels.clear();

    // The offset only ends the loop; the blocks themselves say how long they are.
    while (in.Position() < header.xml_offset) {
        if (in.Read(bytes, kSignalBlockHeaderSize) != kSignalBlockHeaderSize) {
            return load_result::kShortBlockHeader;
        }
        const SignalBlockHeader block = SignalBlockHeader::Decode(bytes);
        // Checked before allocating: a damaged count must not make us reserve gigabytes.
        if (block.count >> 32 != 0 || block.count > in.Remaining() / 4) {
            return load_result::kBadSamples;
        }
        Channel4 channel = ChannelFromBlock(block);
        const auto count = static_cast<std::size_t>(block.count);
        channel.signal.samples.resize(count);
        const std::size_t size = count * sizeof(float);
        if (in.Read(channel.signal.samples.data(), size) != size) return load_result::kBadSamples;
        SamplesFromLe(channel.signal.samples.data(), count);
        channels.push_back(std::move(channel));
    }
    return load_result::kOk;
}

int ReadSignalSection(const unsigned char* data, std::size_t length, std::uint8_t& version,
                      std::vector<Channel4>& channels, std::size_t& xml_at) {
    if (data == nullptr || length < kDocumentHeaderSize) return buffer_result::kShortHeader;
    DocumentHeader header;
    if (!header.Decode(data)) return buffer_result::kBadMagic;
    if (header.version > kDocumentVersion) return buffer_result::kUnknownVersion;
    version = header.version;
    channels.clear();

    std::size_t at = kDocumentHeaderSize;
    while (at < header.xml_offset) {
        if (length - at < kSignalBlockHeaderSize) return buffer_result::kShortBlockHeader;
        const SignalBlockHeader block = SignalBlockHeader::Decode(data + at);
        at += kSignalBlockHeaderSize;
        if (block.count > (length - at) / 4) return buffer_result::kSamplesPastEnd;
        Channel4 channel = ChannelFromBlock(block);
        const auto count = static_cast<std::size_t>(block.count);
        channel.signal.samples.resize(count);
        if (count != 0)
            std::memcpy(channel.signal.samples.data(), data + at, count * sizeof(float));
        SamplesFromLe(channel.signal.samples.data(), count);
        channels.push_back(std::move(channel));
        at += count * sizeof(float);
    }
    xml_at = at;
    return buffer_result::kOk;
}
