#include "SpectraFile.h"

#include <array>
#include <cstring>

#include "AtomicFile.h"
#include "ByteOrder.h"
#include "DocumentLimits.h"
#include "InputFile.h"
#include "ResultCodes.h"

using byte_order::LoadLe;
using byte_order::StoreLe;

namespace {

constexpr std::size_t kHeaderSize = 24;
constexpr std::size_t kRecordHeaderSize = 16;
constexpr unsigned char kMagic[3] = {'S', 'P', 'C'};
constexpr std::uint8_t kVersion = 1;

struct SpectraHeader {
    std::uint8_t version = kVersion;
    std::uint16_t first = 0;
    std::uint16_t step = 1;
    std::uint16_t count = 0;
    std::uint64_t total_size = 0;
};

std::array<unsigned char, kHeaderSize> EncodeHeader(const SpectraHeader& header) {
    std::array<unsigned char, kHeaderSize> bytes{};
    std::memcpy(bytes.data(), kMagic, sizeof kMagic);
    bytes[3] = header.version;
    StoreLe<std::uint16_t>(bytes.data() + 8, header.first);
    StoreLe<std::uint16_t>(bytes.data() + 10, header.step);
    StoreLe<std::uint16_t>(bytes.data() + 12, header.count);
    StoreLe<std::uint64_t>(bytes.data() + 16, header.total_size);
    return bytes;
}

SpectraHeader DecodeHeader(const unsigned char* bytes) {
    SpectraHeader header;
    header.version = bytes[3];
    header.first = LoadLe<std::uint16_t>(bytes + 8);
    header.step = LoadLe<std::uint16_t>(bytes + 10);
    header.count = LoadLe<std::uint16_t>(bytes + 12);
    header.total_size = LoadLe<std::uint64_t>(bytes + 16);
    return header;
}

bool HasStorableLength(const std::vector<SpectrumRecord>& records) {
    const std::size_t n = records.front().points.size();
    if (n == 0 || n > kMaxSpectrumPoints) return false;
    for (const SpectrumRecord& record : records) {
        if (record.points.size() != n) return false;
    }
    return true;
}

}  // namespace

std::string SpectraPath(const std::string& document_path) {
    const auto slash = document_path.find_last_of('/');
    const std::size_t name_at = slash == std::string::npos ? 0 : slash + 1;
    const auto dot = document_path.find_last_of('.');
    if (dot == std::string::npos || dot < name_at) return document_path + ".xspc";
    return document_path.substr(0, dot) + ".xspc";
}

int WriteSpectraFile(const std::string& document_path, const std::vector<SpectrumRecord>& records,
                     AtomicFile& out) {
    if (records.empty()) return save_result::kOk;
    // Every record must have the length the header gives, or the file reads back shifted.
    if (!HasStorableLength(records)) return save_result::kBadSpectrumLength;

    const std::vector<SpectrumPoint>& first_points = records.front().points;
    const std::size_t n = first_points.size();
    SpectraHeader header;
    header.first = first_points[0].position;
    header.step = n > 1 ? static_cast<std::uint16_t>(first_points[1].position - header.first) : 1;
    header.count = static_cast<std::uint16_t>(n);
    header.total_size = kHeaderSize + static_cast<std::uint64_t>(records.size()) *
                                          (kRecordHeaderSize + 4 * static_cast<std::uint64_t>(n));
    if (header.total_size > kMaxSpectraBytes) return save_result::kTooLarge;

    if (!out.Open(SpectraPath(document_path))) return save_result::kOpenFailed;
    if (!out.Write(EncodeHeader(header).data(), kHeaderSize)) return save_result::kHeaderNotWritten;
    std::vector<unsigned char> values(4 * n);
    for (const SpectrumRecord& record : records) {
        unsigned char record_header[kRecordHeaderSize] = {};
        StoreLe<double>(record_header + 8, record.key);
        if (!out.Write(record_header, kRecordHeaderSize))
            return save_result::kBlockHeaderNotWritten;
        for (std::size_t i = 0; i < n; ++i) StoreLe<float>(&values[4 * i], record.points[i].value);
        if (!out.Write(values.data(), values.size())) return save_result::kDataNotWritten;
    }
    if (!out.Finish()) return save_result::kDataNotWritten;
    return save_result::kOk;
}

int ReadSpectraFile(const std::string& document_path, std::vector<SpectrumRecord>& records) {
    InputFile in;
    if (!in.Open(SpectraPath(document_path))) return spectra_read_result::kOpenFailed;
    if (in.Size() > kMaxSpectraBytes) return spectra_read_result::kTooLarge;
    unsigned char bytes[kHeaderSize];
    if (in.Read(bytes, kHeaderSize) != kHeaderSize) return spectra_read_result::kShortHeader;
    if (std::memcmp(bytes, kMagic, sizeof kMagic) != 0) return spectra_read_result::kBadMagic;
    const SpectraHeader header = DecodeHeader(bytes);
    if (header.version > kVersion) return spectra_read_result::kUnknownVersion;
    if (header.count == 0 || header.count > kMaxSpectrumPoints) {
        return spectra_read_result::kBadPointCount;
    }

    records.clear();
    std::vector<unsigned char> values(4 * std::size_t{header.count});
    // Records are read until the stored size is reached; at least one always is. Each is at
    // most 801 points, and a record is only kept when all of its bytes were there.
    do {
        if (in.Read(bytes, kRecordHeaderSize) != kRecordHeaderSize) {
            return spectra_read_result::kShortRecordHeader;
        }
        if (in.Read(values.data(), values.size()) != values.size()) {
            return spectra_read_result::kShortValues;
        }
        SpectrumRecord record;
        record.key = LoadLe<double>(bytes + 8);
        record.points.resize(header.count);
        for (std::uint16_t i = 0; i < header.count; ++i) {
            record.points[i].position = static_cast<std::uint16_t>(header.first + i * header.step);
            record.points[i].value = LoadLe<float>(&values[4 * std::size_t{i}]);
        }
        records.push_back(std::move(record));
    } while (in.Position() < header.total_size);
    return spectra_read_result::kOk;
}
