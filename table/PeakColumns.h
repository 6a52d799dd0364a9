#pragma once

#include <array>

#include "res/Strings.h"
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
    {Strings::kColumnName, nullptr, false, PeakEditEffect::kNone},
    {Strings::kColumnTime, &GenPeak4::time, true, PeakEditEffect::kRegenerate},
    {Strings::kColumnFront, &GenPeak4::front, false, PeakEditEffect::kMeasureArea},
    {Strings::kColumnBack, &GenPeak4::back, false, PeakEditEffect::kMeasureArea},
    {Strings::kColumnHeight, &GenPeak4::height, true, PeakEditEffect::kRegenerate},
    {Strings::kColumnWidth, &GenPeak4::width, true, PeakEditEffect::kRegenerate},
    {Strings::kColumnArea, &GenPeak4::area, true, PeakEditEffect::kFitThenRegenerate},
}};

// Whether a value typed into a numeric column may go into a peak. Refused values would poison
// the channel's samples: anything non-finite, a width that is not positive, a height beyond
// the range of the 32-bit samples.
bool IsAcceptablePeakValue(int column, double value);
