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
    kTailingColumn,
    kPeakColumnCount
};

struct PeakColumn {
    const char* caption;              // UTF-8
    double (*read)(const GenPeak4&);  // the value shown; nullptr for the name
    PeakValue value;                  // meaningless for the name
};

inline constexpr int kPeakColumnWidth = 100;  // pixels

inline constexpr std::array<PeakColumn, kPeakColumnCount> kPeakColumns{{
    {Strings::kColumnName, nullptr, PeakValue::Time},
    {Strings::kColumnTime, [](const GenPeak4& p) { return p.time; }, PeakValue::Time},
    {Strings::kColumnFront, [](const GenPeak4& p) { return p.front; }, PeakValue::Front},
    {Strings::kColumnBack, [](const GenPeak4& p) { return p.back; }, PeakValue::Back},
    {Strings::kColumnHeight, [](const GenPeak4& p) { return p.height; }, PeakValue::Height},
    {Strings::kColumnWidth, [](const GenPeak4& p) { return p.width; }, PeakValue::Width},
    {Strings::kColumnArea, [](const GenPeak4& p) { return p.area; }, PeakValue::Area},
    // The tailing factor at 5 % of the height: 1 is the Gaussian, above 1 tails, below fronts.
    {Strings::kColumnTailing, [](const GenPeak4& p) { return p.tail.factor; }, PeakValue::Tailing},
}};
