#pragma once

#include <array>
#include <string>

#include "synth/Peak4.h"

// The peak table's columns, in display order, and what an edit of each one does to its peak.
enum PeakColumnIndex : int {
    kNameColumn,
    kTimeColumn,
    kFrontColumn,
    kBackColumn,
    kHeightColumn,
    kWidthColumn,
    kAreaColumn,
    kPeakColumnCount
};

enum class PeakEditEffect {
    kNone,               // the name: nothing to recompute
    kRegenerate,         // the shape changed: the whole channel is synthesised again
    kMeasureArea,        // a bound moved by hand: only this peak's area is measured again
    kFitThenRegenerate,  // a typed area: the width is fitted to it, then the channel regenerated
};

struct PeakColumn {
    const char* caption;      // UTF-8
    double GenPeak4::*field;  // nullptr for the name
    bool auto_bounds;         // what the peak's auto_bounds becomes after an edit here
    PeakEditEffect effect;
};

inline constexpr int kPeakColumnWidth = 100;  // pixels

inline constexpr std::array<PeakColumn, kPeakColumnCount> kPeakColumns{{
    {"Название", nullptr, false, PeakEditEffect::kNone},
    {"Время выхода", &GenPeak4::time, true, PeakEditEffect::kRegenerate},
    {"Время начала", &GenPeak4::front, false, PeakEditEffect::kMeasureArea},
    {"Время конца", &GenPeak4::back, false, PeakEditEffect::kMeasureArea},
    {"Высота", &GenPeak4::height, true, PeakEditEffect::kRegenerate},
    {"Ширина", &GenPeak4::width, true, PeakEditEffect::kRegenerate},
    {"Площадь", &GenPeak4::area, true, PeakEditEffect::kFitThenRegenerate},
}};

// "%.3f" with a point, whatever the process locale says.
std::string FormatPeakNumber(double value);

// Whether a value typed into a numeric column may go into a peak. Refused values would poison
// the channel's samples: anything non-finite, a width that is not positive, a height beyond
// the range of the 32-bit samples.
bool IsAcceptablePeakValue(int column, double value);
