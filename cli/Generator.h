#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "Scenario.h"
#include "file/TarvikFile4.h"
#include "synth/NoiseEngine.h"
#include "synth/PeakShape.h"
#include "synth/Regeneration.h"
#include "synth/TailShape.h"

// Reports progress of a generation as units done out of a total (one unit per synthesis run).
using ProgressFn = std::function<void(std::size_t done, std::size_t total)>;

struct GenerateOptions {
    std::uint32_t seed =
        NoiseEngine::kDefaultSeed;  // the noise generator's seed, set once before the first channel
    std::string assay_id;           // the passport's assayid; a new UUID when empty
    std::int64_t date = 0;          // the passport's andate, seconds since 1970-01-01 00:00 UTC
};

// The options a scenario gives itself: its seed (42 when absent), assay identifier (a new one when
// absent) and date (now when absent).
GenerateOptions ScenarioOptions(const Scenario& scenario);

// What is known of a stored peak beyond what the document holds: which request it came from, the
// width and shape it was synthesised with (the width fitted when it was given by area), and its
// shape measured on the clean signal, the sum of the channel's peaks before noise and drift.
struct StoredPeakTruth {
    std::size_t request = 0;  // the peak's index in its scenario channel
    double width = 0.0;
    TailShape tail;
    PeakShapeMeasure shape{};
    // The true baseline (drift and baseline components) at the stored front and back, beside the
    // straight baseline's stored heights there.
    double front_baseline = 0.0;
    double back_baseline = 0.0;
};

// Per channel, one entry per stored peak in table order.
using DocumentTruth = std::vector<std::vector<StoredPeakTruth>>;

// Receives each finished channel (its position and signal) with the parts of its samples.
using ChannelPartsFn =
    std::function<void(std::size_t channel, const Signal4& signal, const SignalParts& parts)>;

// Fills `document` from the scenario, exactly as the generator would: channels in file order,
// each regenerated from its peaks (a peak given by its area with the width of its area's closed
// form); then for each peak given by its area, in list order, the width is fitted to that area
// and, when the fit succeeds, the channel regenerated. The stored peak tables leave out peaks
// whose time lies outside the analysis or that reach its end. The same scenario and options give
// the same document.
//
// Returns one line per peak stored differently from the request: left out of the table (why), or
// given by an area that the fit refused (why) or that the stored area misses. Throws
// ScenarioError when a channel's samples or its peaks' values are not all finite. Fills `truth`
// when given (it costs one more fill of each channel). Calls `parts` for each channel once it is
// finished, in channel order, with the parts of its samples (one float and two doubles per
// sample, for one channel at a time). The components of every channel draw from options.seed and
// the channel's position.
std::vector<std::string> GenerateDocument(const Scenario& scenario, const GenerateOptions& options,
                                          CTarvikFile4& document, const ProgressFn& progress = {},
                                          DocumentTruth* truth = nullptr,
                                          const ChannelPartsFn& parts = {});

// Copies the scenario's passport fields into the passport.
void ApplyScenarioPassport(const nlohmann::json& fields, Passport& passport);
