#pragma once

#include <cstddef>
#include <cstdint>

#include "synth/Peak4.h"
#include "synth/SampleCount.h"

// The names and units of an AIA (ANDI, ASTM E1947) chromatography file as this program writes
// and reads it. The document keeps times in minutes; the file keeps them in seconds.

inline constexpr double kSecondsPerMinute = 60.0;

// The customary fixed string lengths every AIA file declares, whether or not it uses them.
inline constexpr std::size_t kStringDimensionLengths[] = {2, 4, 8, 12, 16, 32, 64, 80, 128, 255};
// Peak names are kept in the 32-byte strings.
inline constexpr std::size_t kPeakNameBytes = 32;

inline constexpr const char* kPointDimension = "point_number";
inline constexpr const char* kPeakDimension = "peak_number";
inline constexpr const char* kRangeDimension = "range";
inline constexpr const char* kOrdinateVariable = "ordinate_values";
inline constexpr const char* kPeakNameVariable = "peak_name";

// One number of the peak table, taken from a stored peak.
struct AiaPeakVariable {
    const char* name;
    const char* unit;  // for people: the file states units once, in global attributes
    double (*value)(const Peak4&);
};

// The peak table in the order it is written. Bounds are also the baseline's ends, as they are
// in the document.
inline constexpr AiaPeakVariable kAiaPeakVariables[] = {
    {"peak_retention_time", "s", [](const Peak4& p) { return p.time * kSecondsPerMinute; }},
    {"peak_start_time", "s", [](const Peak4& p) { return p.front * kSecondsPerMinute; }},
    {"peak_end_time", "s", [](const Peak4& p) { return p.back * kSecondsPerMinute; }},
    {"peak_height", "mV", [](const Peak4& p) { return p.height; }},
    {"peak_area", "mV*s", [](const Peak4& p) { return p.area * kSecondsPerMinute; }},
    {"peak_amount", "as stored", [](const Peak4& p) { return p.concent; }},
    {"baseline_start_time", "s", [](const Peak4& p) { return p.front * kSecondsPerMinute; }},
    {"baseline_start_value", "mV", [](const Peak4& p) { return p.front_base_height; }},
    {"baseline_stop_time", "s", [](const Peak4& p) { return p.back * kSecondsPerMinute; }},
    {"baseline_stop_value", "mV", [](const Peak4& p) { return p.back_base_height; }},
};

// The classic format counts a variable's bytes in 32 bits and keeps at most 2^31 - 4 of them.
inline constexpr std::uint64_t kMaxAiaPoints = ((std::uint64_t{1} << 31) - 4) / sizeof(float);

// The largest AIA file read: a document's whole signal on one channel (four bytes a sample),
// and room for the peak table of a full document and the header.
inline constexpr std::uint64_t kMaxAiaFileBytes =
    4 * std::uint64_t{kMaxDocumentSampleCount} + (std::uint64_t{64} << 20);
