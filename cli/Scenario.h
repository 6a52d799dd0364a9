#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include "synth/SignalComponents.h"

// What a scenario file asks for: the time axis shared by every channel, passport fields, and
// per channel its noise, drift and peaks. Times in minutes, values in millivolts.
struct ScenarioPeak {
    std::string name;
    double time = 0.0;
    double height = 0.0;
    double width = 0.0;
    std::optional<double> area;   // given instead of the width, which is then fitted
    std::optional<double> front;  // front and back come together or not at all
    std::optional<double> back;
    double tailing = 1.0;  // tailing factor at 5 % of the height; 1 is the Gaussian
};

// The keys of the passport's lists in a scenario (and in the JSON dump).
inline constexpr const char* kScenarioColumns = "columns";
inline constexpr const char* kScenarioEntries = "entries";

struct ScenarioChannel {
    double noise = 0.0;
    double drift = 0.0;
    std::vector<ScenarioPeak> peaks;
    // Baselines, pink noise and spikes (steps, sine, settle, wander, pink, spikes); checked by
    // the rules of synth/ComponentRules.h. Their seed and channel number are the generator's.
    ChannelComponents components;
};

struct Scenario {
    double analysis_time = 0.0;
    double sample_rate = 0.0;
    std::size_t sample_count = 0;  // ceil(analysis_time * sample_rate), within the synthesis limit
    // The "passport" object as written, checked; applied to the document by the generator.
    nlohmann::json passport = nlohmann::json::object();
    std::vector<ScenarioChannel> channels;
    // What the command line otherwise gives, so that a scenario can describe its document to the
    // byte (a batch writes them for every document it makes).
    std::optional<std::uint32_t> seed;          // of the noise generator
    std::optional<std::string> assay_id;        // UUID, lower case
    std::optional<std::int64_t> analysis_date;  // seconds since 1970-01-01 00:00 UTC
};

// A scenario that cannot be used; the message says where and what, without the file name.
class ScenarioError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The most peaks a scenario may hold over all its channels. Each stored peak takes about 700
// bytes and 29 markup characters of XML, so 50,000 keep the document well inside its XML limits
// (DocumentLimits.h); a channel of them given by area would take hours anyway.
inline constexpr std::size_t kMaxScenarioPeaks = 50'000;

// The largest scenario file read: far more than any scenario needs.
inline constexpr std::uint64_t kMaxScenarioBytes = std::uint64_t{64} << 20;

// Parses and checks the text of a scenario file. Every key must be known and given once, every
// value of the right kind and range, every text storable in XML, so that a typo is never silently
// ignored and nothing is stored other than what was asked.
Scenario ParseScenario(const std::string& text);
// The same checks on a scenario already read as JSON, such as one drawn from a recipe: it gives
// the same Scenario as ParseScenario of its text, whose numbers read back exactly.
Scenario ScenarioFromJson(const nlohmann::ordered_json& root);

// The text of the scenario file at `path`: only a regular file of at most kMaxScenarioBytes is
// read, so that a FIFO, a device such as /dev/zero, or a folder is refused instead of read
// without end. Throws ScenarioError with the reason (without the path). `kind` names the file in
// messages; batch recipes are read the same way.
std::string ReadScenarioFile(const std::string& path, std::string_view kind = "scenario file");
