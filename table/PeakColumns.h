#pragma once

#include <array>
#include <optional>

#include "model/PeakValue.h"
#include "res/Strings.h"
#include "synth/Peak4.h"

// The peak table's columns, in display order, the peak field each shows and the value an edit of
// it sets. What an edit then does to the peak is the generator model's rule.
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

struct PeakColumn {
    const char* caption;      // UTF-8
    double GenPeak4::*field;  // nullptr for the name
    PeakValue value;          // meaningless for the name
};

inline constexpr int kPeakColumnWidth = 100;  // pixels

inline constexpr std::array<PeakColumn, kPeakColumnCount> kPeakColumns{{
    {Strings::kColumnName, nullptr, PeakValue::Time},
    {Strings::kColumnTime, &GenPeak4::time, PeakValue::Time},
    {Strings::kColumnFront, &GenPeak4::front, PeakValue::Front},
    {Strings::kColumnBack, &GenPeak4::back, PeakValue::Back},
    {Strings::kColumnHeight, &GenPeak4::height, PeakValue::Height},
    {Strings::kColumnWidth, &GenPeak4::width, PeakValue::Width},
    {Strings::kColumnArea, &GenPeak4::area, PeakValue::Area},
}};
