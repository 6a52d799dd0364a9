#include "Scenario.h"

#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

#include "EchoText.h"
#include "RuleText.h"
#include "StrictJson.h"
#include "UuidText.h"
#include "file/PassportFields.h"
#include "file/PassportXml.h"
#include "file/XmlChars.h"
#include "model/DocumentRules.h"
#include "synth/ComponentRules.h"
#include "synth/Peak4.h"
#include "synth/SampleCount.h"

// Read as an ordered object: a scenario drawn from a recipe comes so, and needs no copy. Every
// object is checked for unknown keys before it is searched, so that its members, searched one by
// one, are never more than the keys it may have.
using json = nlohmann::ordered_json;

namespace {

[[noreturn]] void Fail(const std::string& where, const std::string& what) {
    throw ScenarioError(where.empty() ? what : where + ": " + what);
}

// Fails at `where` when the document's rules refused the value.
void Require(const Refusal& refusal, const std::string& where) {
    if (refusal) Fail(where, RuleText(refusal));
}

std::string Child(const std::string& where, std::string_view key) {
    return where.empty() ? std::string(key) : where + "." + std::string(key);
}

// Require for the value at `key` of `where`, whose place is written out only for a refusal.
void Require(const Refusal& refusal, const std::string& where, std::string_view key) {
    if (refusal) Fail(Child(where, key), RuleText(refusal));
}

std::string Item(const std::string& where, std::size_t i) {
    return where + "[" + std::to_string(i) + "]";
}

const json& RequireObject(const json& value, const std::string& where) {
    if (!value.is_object()) Fail(where, "must be an object");
    return value;
}

void RejectUnknownKeys(const json& object, const std::string& where,
                       std::initializer_list<std::string_view> known) {
    for (const auto& [key, value] : object.items()) {
        bool found = false;
        for (std::string_view k : known) found = found || k == key;
        if (!found) Fail(where, "unknown key " + Echo(key));
    }
}

double Number(const json& object, std::string_view key, const std::string& where) {
    const json& value = object.at(std::string(key));
    if (!value.is_number()) Fail(Child(where, key), "must be a number");
    const double number = value.get<double>();
    if (!std::isfinite(number)) Fail(Child(where, key), "must be a finite number");
    return number;
}

std::optional<double> OptionalNumber(const json& object, std::string_view key,
                                     const std::string& where) {
    if (!object.contains(key)) return std::nullopt;
    return Number(object, key, where);
}

double RequiredNumber(const json& object, std::string_view key, const std::string& where) {
    if (!object.contains(key)) Fail(where, "\"" + std::string(key) + "\" is missing");
    return Number(object, key, where);
}

ScenarioPeak ParsePeak(const json& object, const std::string& where) {
    RequireObject(object, where);
    RejectUnknownKeys(object, where,
                      {"name", "time", "height", "width", "area", "front", "back", "tailing"});
    ScenarioPeak peak;
    peak.name = kNewPeakName;
    if (object.contains("name")) {
        if (!object["name"].is_string()) Fail(Child(where, "name"), "must be a string");
        peak.name = object["name"].get<std::string>();
    }
    peak.time = RequiredNumber(object, "time", where);
    peak.height = RequiredNumber(object, "height", where);
    const std::optional<double> width = OptionalNumber(object, "width", where);
    peak.area = OptionalNumber(object, "area", where);
    peak.front = OptionalNumber(object, "front", where);
    peak.back = OptionalNumber(object, "back", where);
    peak.tailing = OptionalNumber(object, "tailing", where).value_or(1.0);
    Require(CheckPeakHeight(peak.height), where, "height");
    Require(CheckTailing(peak.tailing), where, "tailing");

    if (width && peak.area) Fail(where, "give either \"width\" or \"area\", not both");
    peak.width = width.value_or(kNewPeakWidth);
    Require(CheckPeakWidth(peak.width), where, "width");
    // Unlike the window, a scenario may ask for an area of 0 or bounds beyond the analysis: the
    // tool keeps such a peak out of the fit or the stored table and says so in a warning.
    if (peak.area && *peak.area < 0.0) Fail(Child(where, "area"), "must not be negative");
    if (peak.front.has_value() != peak.back.has_value())
        Fail(where, "give both \"front\" and \"back\" for manual bounds, or neither");
    if (peak.front && peak.area)
        Fail(where, "a peak given by its area has automatic bounds; drop \"front\" and \"back\"");
    return peak;
}

// An object of numbers, each of `required` given, each of `optional` perhaps.
const json& NumberObject(const json& parent, std::string_view key, const std::string& where,
                         std::initializer_list<std::string_view> required,
                         std::initializer_list<std::string_view> optional = {}) {
    const std::string place = Child(where, key);
    const json& object = RequireObject(parent.at(std::string(key)), place);
    for (const auto& [name, value] : object.items()) {
        bool known = false;
        for (auto list : {required, optional})
            for (std::string_view k : list) known = known || k == name;
        if (!known) Fail(place, "unknown key " + Echo(name));
    }
    for (std::string_view k : required) RequiredNumber(object, k, place);
    return object;
}

// The component keys of a channel, read as written; their rules are checked by the caller.
ChannelComponents ParseComponents(const json& channel, const std::string& where) {
    ChannelComponents c;
    if (channel.contains("steps")) {
        const json& steps = channel["steps"];
        const std::string steps_where = Child(where, "steps");
        if (!steps.is_array()) Fail(steps_where, "must be an array");
        for (std::size_t i = 0; i < steps.size(); ++i) {
            const std::string step_where = Item(steps_where, i);
            RequireObject(steps[i], step_where);
            RejectUnknownKeys(steps[i], step_where, {"time", "height", "width"});
            c.steps.push_back({RequiredNumber(steps[i], "time", step_where),
                               RequiredNumber(steps[i], "height", step_where),
                               RequiredNumber(steps[i], "width", step_where)});
        }
    }
    if (channel.contains("sine")) {
        const json& sine = NumberObject(channel, "sine", where, {"amplitude", "period"}, {"phase"});
        c.sine = BaselineSine{sine["amplitude"].get<double>(), sine["period"].get<double>(),
                              OptionalNumber(sine, "phase", Child(where, "sine")).value_or(0.0)};
    }
    if (channel.contains("settle")) {
        const json& settle = NumberObject(channel, "settle", where, {"height", "time_constant"});
        c.settle =
            BaselineSettle{settle["height"].get<double>(), settle["time_constant"].get<double>()};
    }
    if (channel.contains("wander"))
        c.wander = NumberObject(channel, "wander", where, {"sigma"})["sigma"].get<double>();
    c.pink = OptionalNumber(channel, "pink", where).value_or(0.0);
    if (channel.contains("spikes")) {
        const std::string spikes_where = Child(where, "spikes");
        const json& spikes = RequireObject(channel["spikes"], spikes_where);
        RejectUnknownKeys(spikes, spikes_where, {"rate", "height"});
        if (!spikes.contains("height")) Fail(spikes_where, "\"height\" is missing");
        const json& height = NumberObject(spikes, "height", spikes_where, {"min", "max"});
        c.spikes = SpikeTrain{RequiredNumber(spikes, "rate", spikes_where),
                              height["min"].get<double>(), height["max"].get<double>()};
    }
    return c;
}

ScenarioChannel ParseChannel(const json& object, const std::string& where, double minutes,
                             const SampleGrid& grid, std::size_t sample_count) {
    RequireObject(object, where);
    RejectUnknownKeys(
        object, where,
        {"noise", "drift", "peaks", "steps", "sine", "settle", "wander", "pink", "spikes"});
    ScenarioChannel channel;
    channel.noise = OptionalNumber(object, "noise", where).value_or(0.0);
    channel.drift = OptionalNumber(object, "drift", where).value_or(0.0);
    Require(CheckNoise(channel.noise), where, "noise");
    Require(CheckDrift(channel.drift, minutes), where, "drift");
    if (object.contains("peaks")) {
        const json& peaks = object["peaks"];
        const std::string peaks_where = Child(where, "peaks");
        if (!peaks.is_array()) Fail(peaks_where, "must be an array");
        for (std::size_t i = 0; i < peaks.size(); ++i)
            channel.peaks.push_back(ParsePeak(peaks[i], Item(peaks_where, i)));
    }
    channel.components = ParseComponents(object, where);
    if (const auto fault = FindComponentFault(channel.components, grid, sample_count))
        Fail(fault->key.empty() ? where : Child(where, fault->key), fault->reason);
    return channel;
}

// Checks a passport value against the member it will be copied into.
void CheckValue(const json& value, const std::string& where, const std::string&) {
    if (!value.is_string()) Fail(where, "must be a string");
}

void CheckValue(const json& value, const std::string& where, const double&) {
    if (!value.is_number() || !std::isfinite(value.get<double>()))
        Fail(where, "must be a finite number");
}

void CheckValue(const json& value, const std::string& where, const bool&) {
    if (!value.is_boolean()) Fail(where, "must be true or false");
}

template <typename Int>
void CheckValue(const json& value, const std::string& where,
                const Int&) requires std::is_integral_v<Int> &&(!std::is_same_v<Int, bool>) {
    const bool fits =
        value.is_number_unsigned()
            ? std::in_range<Int>(value.get<std::uint64_t>())
            : value.is_number_integer() && std::in_range<Int>(value.get<std::int64_t>());
    if (!fits) Fail(where, "must be a " + std::to_string(8 * sizeof(Int)) + "-bit integer");
}

void CheckValue(const json& value, const std::string& where, const std::vector<std::int32_t>&) {
    if (!value.is_array()) Fail(where, "must be an array of integers");
    for (std::size_t i = 0; i < value.size(); ++i)
        CheckValue(value[i], Item(where, i), std::int32_t{});
}

// Checks every key of `object` against the fields `for_each` lists (ForEachPassportField and
// its kin) and against `lists`, the keys of nested lists checked by the caller.
template <class Record, class ForEach>
void CheckFields(const json& object, const std::string& where, ForEach for_each,
                 std::initializer_list<std::string_view> lists = {}) {
    RequireObject(object, where);
    const Record types;
    for (const auto& item : object.items()) {
        // Named, not structured bindings, which clang 14 cannot capture in a lambda.
        const std::string& key = item.key();
        const json& value = item.value();
        bool known = false;
        for (std::string_view list : lists) known = known || key == list;
        for_each(types, [&](const PassportField& f, const auto& member) {
            if (key != f.key || f.made_with_document) return;
            CheckValue(value, Child(where, key), member);
            known = true;
        });
        if (!known) Fail(where, "unknown key " + Echo(key));
    }
}

void CheckColumn(const json& column, const std::string& where) {
    CheckFields<ColumnInfo>(column, where,
                            [](const ColumnInfo& c, auto visit) { ForEachColumnField(c, visit); });
}

void CheckEntry(const json& entry, const std::string& where) {
    CheckFields<PassportEntry>(
        entry, where, [](const PassportEntry& e, auto visit) { ForEachEntryField(e, visit); });
    if (!entry.contains("name")) Fail(where, "\"name\" is missing");
    const std::string name = entry["name"].get<std::string>();
    if (!IsStorableEntryName(name))
        Fail(Child(where, "name"),
             Echo(name) + " is not usable as an XML element name (or names a passport field)");
}

void CheckPassport(const json& passport) {
    const std::string where = "passport";
    CheckFields<Passport>(passport, where,
                          [](const Passport& p, auto visit) { ForEachPassportField(p, visit); },
                          {kScenarioColumns, kScenarioEntries});
    for (const char* list : {kScenarioColumns, kScenarioEntries}) {
        if (!passport.contains(list)) continue;
        const json& items = passport[list];
        const std::string list_where = Child(where, list);
        if (!items.is_array()) Fail(list_where, "must be an array");
        for (std::size_t i = 0; i < items.size(); ++i) {
            if (std::string_view(list) == kScenarioColumns)
                CheckColumn(items[i], Item(list_where, i));
            else
                CheckEntry(items[i], Item(list_where, i));
        }
    }
}

// One step down from a value of a scenario: the key of an object's member, or (key null) the
// index of an array's item.
struct TreeStep {
    const std::string* key;
    std::size_t index;
};

std::string PlaceOf(const std::vector<TreeStep>& steps) {
    std::string where;
    for (const TreeStep& step : steps)
        where = step.key != nullptr ? Child(where, *step.key) : Item(where, step.index);
    return where;
}

// Every string of a scenario ends up in the document's XML, so each must be text XML can hold.
// The place of a fault is kept as steps and written out only for a fault: every value of every
// document of a batch passes here. The reader limits nesting, so the recursion stays shallow.
void CheckXmlText(const json& value, std::vector<TreeStep>& steps) {
    if (value.is_string()) {
        const std::string& text = value.get_ref<const std::string&>();
        if (const auto fault = FindNonXmlChar(text))
            Fail(PlaceOf(steps), "holds " + DescribeXmlCharFault(text, *fault) +
                                     ", which a document's XML cannot hold");
    } else if (value.is_array()) {
        for (std::size_t i = 0; i < value.size(); ++i) {
            steps.push_back({nullptr, i});
            CheckXmlText(value[i], steps);
            steps.pop_back();
        }
    } else if (value.is_object()) {
        for (auto item = value.begin(); item != value.end(); ++item) {
            steps.push_back({&item.key(), 0});
            CheckXmlText(item.value(), steps);
            steps.pop_back();
        }
    }
}

// The keys that stand for generate's --seed, --assay-id and --date.
void ParseDocumentIdentity(const json& root, Scenario& scenario) {
    if (root.contains("seed")) {
        const json& seed = root["seed"];
        if (!seed.is_number_unsigned() || seed.get<std::uint64_t>() > UINT32_MAX)
            Fail("seed", "must be a whole number from 0 to 4294967295");
        scenario.seed = static_cast<std::uint32_t>(seed.get<std::uint64_t>());
    }
    if (root.contains("assay_id")) {
        const json& id = root["assay_id"];
        std::optional<std::string> uuid;
        if (id.is_string()) uuid = CanonicalUuid(id.get_ref<const std::string&>());
        if (!uuid) Fail("assay_id", "must be a UUID (8-4-4-4-12 hex digits)");
        scenario.assay_id = *uuid;
    }
    if (root.contains("analysis_date")) {
        const json& date = root["analysis_date"];
        if (!date.is_number_integer() ||
            (date.is_number_unsigned() && date.get<std::uint64_t>() > INT64_MAX))
            Fail("analysis_date", "must be a whole number of seconds within 64 bits");
        scenario.analysis_date = date.get<std::int64_t>();
    }
}

}  // namespace

Scenario ParseScenario(const std::string& text) {
    StrictJson parsed = ParseStrictJson(text);
    if (!parsed.error.empty()) Fail("", parsed.error);
    return ScenarioFromJson(json(parsed.value));
}

Scenario ScenarioFromJson(const json& root) {
    RequireObject(root, "the scenario");
    RejectUnknownKeys(root, "",
                      {"analysis_time", "sample_rate", "seed", "assay_id", "analysis_date",
                       "passport", "channels"});
    Scenario scenario;
    scenario.analysis_time = RequiredNumber(root, "analysis_time", "");
    scenario.sample_rate = RequiredNumber(root, "sample_rate", "");
    const Refusal run = CheckTimeAndRate(scenario.analysis_time, scenario.sample_rate, 1);
    Require(run, run.code == RefusalCode::TimeNotPositive ? "analysis_time"
                 : run.code == RefusalCode::RateBelowOne  ? "sample_rate"
                                                          : "");
    scenario.sample_count = ComputeSampleCount(scenario.analysis_time, scenario.sample_rate).count;
    ParseDocumentIdentity(root, scenario);

    if (root.contains("passport")) {
        CheckPassport(root["passport"]);
        scenario.passport = root["passport"];
    }

    if (!root.contains("channels")) Fail("", "\"channels\" is missing");
    const json& channels = root["channels"];
    if (!channels.is_array()) Fail("channels", "must be an array");
    if (channels.empty()) Fail("channels", "must hold at least one channel");
    if (const Refusal refusal = CheckChannelCount(channels.size()))
        Fail("channels",
             "holds " + std::to_string(channels.size()) + " channels; " + RuleText(refusal));
    if (const Refusal refusal =
            CheckTimeAndRate(scenario.analysis_time, scenario.sample_rate, channels.size()))
        Fail("", std::to_string(channels.size()) + " channels of " +
                     std::to_string(scenario.sample_count) + " samples: " + RuleText(refusal));
    // The time axis every channel gets (GenerateDocument).
    const SampleGrid grid{0.0, 1.0 / scenario.sample_rate};
    std::size_t peaks = 0;
    for (std::size_t i = 0; i < channels.size(); ++i) {
        scenario.channels.push_back(ParseChannel(
            channels[i], Item("channels", i), scenario.analysis_time, grid, scenario.sample_count));
        peaks += scenario.channels.back().peaks.size();
    }
    if (peaks > kMaxScenarioPeaks)
        Fail("channels", "hold " + std::to_string(peaks) + " peaks; a document holds at most " +
                             std::to_string(kMaxScenarioPeaks));
    std::vector<TreeStep> steps;
    CheckXmlText(root, steps);
    return scenario;
}
