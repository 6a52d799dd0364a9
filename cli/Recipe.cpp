#include "Recipe.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <initializer_list>
#include <random>
#include <string_view>
#include <tuple>
#include <utility>
#include <vector>

#include "EchoText.h"
#include "RuleText.h"
#include "Scenario.h"
#include "StrictJson.h"
#include "model/DocumentRules.h"
#include "synth/ComponentRules.h"
#include "synth/SampleCount.h"
#include "synth/ScalarMath.h"
#include "synth/SplitMix64.h"
#include "synth/TailedPeak.h"

using nlohmann::json;

namespace {

// Far beyond any detector, far below where sums of peaks, noise and drift leave a float.
constexpr double kLargestValue = 1e30;
// Baseline separation is 1.5; far beyond it peaks no longer meet at all.
constexpr double kMaxResolution = 100.0;
// Tries for a retention time at the minimum resolution before the recipe is called impossible.
constexpr int kPlacementTries = 1000;

[[noreturn]] void Fail(std::string_view where, const std::string& what) {
    throw RecipeError(where.empty() ? what : std::string(where) + ": " + what);
}

std::string Text(double value) {
    return json(value).dump();
}

RecipeRange ParseRangeAt(const json& value, const std::string& key) {
    if (value.is_number()) {
        const double number = value.get<double>();
        return {number, number, false};
    }
    if (!value.is_object()) Fail(key, "must be a number or an object with \"min\" and \"max\"");
    for (const auto& [name, item] : value.items())
        if (name != "min" && name != "max" && name != "log") Fail(key, "unknown key " + Echo(name));
    if (!value.contains("min") || !value.contains("max"))
        Fail(key, "needs both \"min\" and \"max\"");
    if (!value["min"].is_number() || !value["max"].is_number())
        Fail(key, "\"min\" and \"max\" must be numbers");
    RecipeRange range{value["min"].get<double>(), value["max"].get<double>(), false};
    if (value.contains("log")) {
        if (!value["log"].is_boolean()) Fail(key, "\"log\" must be true or false");
        range.log = value["log"].get<bool>();
    }
    if (!std::isfinite(range.min) || !std::isfinite(range.max))
        Fail(key, "\"min\" and \"max\" must be finite numbers");
    if (range.min > range.max)
        Fail(key, "min " + Text(range.min) + " is greater than max " + Text(range.max));
    if (range.log && !(range.min > 0.0)) Fail(key, "a log-uniform range needs min > 0");
    return range;
}

RecipeRange ParseRange(const json& root, const char* key) {
    return ParseRangeAt(root[key], key);
}

RecipeCount ParseCountAt(const json& value, const std::string& key) {
    auto whole = [key](const json& number) {
        if (number.is_number_unsigned()) return number.get<std::uint64_t>();
        // 1.0 is a whole number too; one beyond 64 bits is kept as the largest, which every
        // bound below refuses.
        const double value = number.is_number_float() ? number.get<double>() : -1.0;
        if (!(value >= 0.0 && value == std::floor(value)))
            Fail(key, "must be a whole number, 0 or more");
        return value < 18446744073709551616.0 ? static_cast<std::uint64_t>(value) : UINT64_MAX;
    };
    if (value.is_number()) return {whole(value), whole(value)};
    if (!value.is_object())
        Fail(key, "must be a whole number or an object with \"min\" and \"max\"");
    for (const auto& [name, item] : value.items())
        if (name != "min" && name != "max") Fail(key, "unknown key " + Echo(name));
    if (!value.contains("min") || !value.contains("max"))
        Fail(key, "needs both \"min\" and \"max\"");
    const RecipeCount count{whole(value["min"]), whole(value["max"])};
    if (count.min > count.max)
        Fail(key, "min " + std::to_string(count.min) + " is greater than max " +
                      std::to_string(count.max));
    return count;
}

RecipeCount ParseCount(const json& root, const char* key) {
    return ParseCountAt(root[key], key);
}

void Require(const json& root, const char* key) {
    if (!root.contains(key)) Fail("", "\"" + std::string(key) + "\" is missing");
}

void CheckWithin(const RecipeRange& range, const char* key, double lowest, double highest,
                 const std::string& meaning) {
    if (!(range.min >= lowest && range.max <= highest)) Fail(key, meaning);
}

// Fails at `key` when the document's rules refuse an end of the range; each rule used here holds
// between the ends when it holds at them.
template <class Rule>
void RequireEnds(const RecipeRange& range, const char* key, Rule rule) {
    for (double end : {range.min, range.max})
        if (const Refusal refusal = rule(end)) Fail(key, RuleText(refusal));
}

// Every document's scenario must hold what the scenario parser accepts, also at the largest
// draws: sample counts, channels and peaks.
void CheckSizes(const Recipe& r) {
    const Refusal shortest = CheckTimeAndRate(r.analysis_time.min, r.sample_rate.min, 1);
    if (shortest.code == RefusalCode::TimeNotPositive) Fail("analysis_time", RuleText(shortest));
    if (shortest.code == RefusalCode::RateBelowOne) Fail("sample_rate", RuleText(shortest));
    if (const Refusal largest = CheckTimeAndRate(r.analysis_time.max, r.sample_rate.max, 1))
        Fail("", "at the largest analysis_time and sample_rate: " + RuleText(largest));
    if (r.channels.min < 1 || CheckChannelCount(r.channels.max))
        Fail("channels", "must lie between 1 and " + std::to_string(kMaxChannels));
    if (const Refusal refusal =
            CheckTimeAndRate(r.analysis_time.max, r.sample_rate.max, r.channels.max))
        Fail("",
             std::to_string(r.channels.max) + " channels of " +
                 std::to_string(ComputeSampleCount(r.analysis_time.max, r.sample_rate.max).count) +
                 " samples: " + RuleText(refusal));
    if (r.peaks_per_channel.max > kMaxScenarioPeaks ||
        r.peaks_per_channel.max * r.channels.max > kMaxScenarioPeaks)
        Fail("peaks_per_channel", "allows more than the " + std::to_string(kMaxScenarioPeaks) +
                                      " peaks a document holds");
}

// The document's rules at both ends of each range, then the recipe's own: heights are drawn
// positive, and no value beyond kLargestValue.
void CheckPeakRanges(const Recipe& r) {
    CheckWithin(r.peak_time, "peak_time", 0.0, std::nextafter(r.analysis_time.min, 0.0),
                "must lie from 0 to before the shortest analysis_time (" +
                    Text(r.analysis_time.min) + " min)");
    const std::string positive = "must lie above 0 and at most " + Text(kLargestValue);
    CheckWithin(r.height, "height", std::numeric_limits<double>::min(), kLargestValue, positive);
    if (r.width.has_value() == r.area.has_value()) Fail("", "give either \"width\" or \"area\"");
    if (r.width) RequireEnds(*r.width, "width", CheckPeakWidth);
    if (r.area) RequireEnds(*r.area, "area", CheckRequestedArea);
    RequireEnds(r.tailing, "tailing", CheckTailing);
    RequireEnds(r.noise, "noise", CheckNoise);
    const double longest = r.analysis_time.max;
    RequireEnds(r.drift, "drift", [longest](double drift) { return CheckDrift(drift, longest); });
    for (const auto& [range, key] : {std::pair{r.width, "width"}, std::pair{r.area, "area"}})
        if (range) CheckWithin(*range, key, 0.0, kLargestValue, positive);
    CheckWithin(r.noise, "noise", 0.0, kLargestValue, "must be at most " + Text(kLargestValue));
    CheckWithin(r.drift, "drift", -kLargestValue, kLargestValue,
                "must lie within +-" + Text(kLargestValue));
}

// The members of a component's object, named `where` in messages: every key known, `required`
// all given.
const json& ComponentObject(const json& object, const std::string& where,
                            std::initializer_list<std::string_view> required,
                            std::initializer_list<std::string_view> optional = {}) {
    if (!object.is_object()) Fail(where, "must be an object");
    for (const auto& [name, value] : object.items()) {
        bool known = false;
        for (auto list : {required, optional})
            for (std::string_view k : list) known = known || k == name;
        if (!known) Fail(where, "unknown key " + Echo(name));
    }
    for (std::string_view k : required)
        if (!object.contains(k)) Fail(where, "\"" + std::string(k) + "\" is missing");
    return object;
}

std::string Member(const char* key, const char* member) {
    return std::string(key) + "." + member;
}

RecipeComponents ParseComponents(const json& root) {
    RecipeComponents c;
    auto range = [](const json& object, const char* key, const char* member) {
        return ParseRangeAt(object[member], Member(key, member));
    };
    if (root.contains("steps")) {
        const json& o =
            ComponentObject(root["steps"], "steps", {"count", "time", "height", "width"});
        c.steps = RecipeSteps{ParseCountAt(o["count"], "steps.count"), range(o, "steps", "time"),
                              range(o, "steps", "height"), range(o, "steps", "width")};
    }
    if (root.contains("sine")) {
        const json& o = ComponentObject(root["sine"], "sine", {"amplitude", "period"}, {"phase"});
        c.sine =
            RecipeSine{range(o, "sine", "amplitude"), range(o, "sine", "period"), std::nullopt};
        if (o.contains("phase")) c.sine->phase = range(o, "sine", "phase");
    }
    if (root.contains("settle")) {
        const json& o = ComponentObject(root["settle"], "settle", {"height", "time_constant"});
        c.settle = RecipeSettle{range(o, "settle", "height"), range(o, "settle", "time_constant")};
    }
    if (root.contains("wander"))
        c.wander = range(ComponentObject(root["wander"], "wander", {"sigma"}), "wander", "sigma");
    if (root.contains("pink")) c.pink = ParseRange(root, "pink");
    if (root.contains("spikes")) {
        const json& o = ComponentObject(root["spikes"], "spikes", {"rate", "height"});
        const json& height = ComponentObject(o["height"], "spikes.height", {"min", "max"});
        c.spikes = RecipeSpikes{range(o, "spikes", "rate"),
                                ParseRangeAt(height["min"], "spikes.height.min"),
                                ParseRangeAt(height["max"], "spikes.height.max")};
        if (c.spikes->min_height.max > c.spikes->max_height.min)
            Fail("spikes.height", "min may be drawn up to " + Text(c.spikes->min_height.max) +
                                      ", above max, which may be drawn down to " +
                                      Text(c.spikes->max_height.min));
    }
    return c;
}

// The components at the ends of their ranges: every value at its lower end, or, `upper`, at its
// upper end and every height and amplitude at its largest magnitude.
ChannelComponents ComponentsAtEnd(const RecipeComponents& r, bool upper) {
    auto end = [upper](const RecipeRange& range) { return upper ? range.max : range.min; };
    auto size = [upper, &end](const RecipeRange& range) {
        return upper ? std::max(std::fabs(range.min), std::fabs(range.max)) : end(range);
    };
    ChannelComponents c;
    if (r.steps)
        // One step more than a channel may have is enough to be refused.
        c.steps.assign(std::min<std::uint64_t>(r.steps->count.max, kMaxBaselineSteps + 1),
                       {end(r.steps->time), size(r.steps->height), end(r.steps->width)});
    if (r.sine)
        c.sine = BaselineSine{size(r.sine->amplitude), end(r.sine->period),
                              r.sine->phase ? end(*r.sine->phase) : 0.0};
    if (r.settle) c.settle = BaselineSettle{size(r.settle->height), end(r.settle->time_constant)};
    if (r.wander) c.wander = end(*r.wander);
    if (r.pink) c.pink = end(*r.pink);
    if (r.spikes)
        c.spikes =
            SpikeTrain{end(r.spikes->rate), end(r.spikes->min_height), end(r.spikes->max_height)};
    return c;
}

// Every document's components must pass the scenario's rules (synth/ComponentRules.h): they are
// checked at the ends of the ranges, where each rule is hardest to meet, on the fastest and on the
// slowest sampling the recipe allows, at the longest analysis. A fault is named by its recipe key.
void CheckComponents(const Recipe& r) {
    const auto at = [&](double rate) {
        return std::pair{SampleGrid{0.0, 1.0 / rate},
                         ComputeSampleCount(r.analysis_time.max, rate).count};
    };
    const auto [fast, fast_count] = at(r.sample_rate.max);
    const auto [slow, slow_count] = at(r.sample_rate.min);
    for (const auto& [c, grid, n] :
         {std::tuple{ComponentsAtEnd(r.components, false), fast, fast_count},
          std::tuple{ComponentsAtEnd(r.components, true), fast, fast_count},
          std::tuple{ComponentsAtEnd(r.components, true), slow, slow_count}}) {
        const std::optional<ComponentFault> fault = FindComponentFault(c, grid, n);
        if (!fault) continue;
        std::string key = fault->key;
        if (key.rfind("steps[", 0) == 0) key.erase(5, key.find(']') - 4);
        Fail(key, fault->reason + (fault->key.empty() ? " at the ranges' largest values" : ""));
    }
}

// The passport and the analysis date go into every scenario unchanged: checked once, by the
// scenario parser itself.
void CheckSharedKeys(const json& root) {
    json probe = {
        {"analysis_time", 1.0}, {"sample_rate", 1.0}, {"channels", json::array({json::object()})}};
    for (const char* key : {"passport", "analysis_date"})
        if (root.contains(key)) probe[key] = root[key];
    try {
        ParseScenario(probe.dump());
    } catch (const ScenarioError& error) {
        Fail("", error.what());
    }
}

class Draws {
public:
    explicit Draws(std::uint64_t seed) : m_bits(seed) {}

    std::uint64_t Word() { return m_bits(); }

    double From(const RecipeRange& range) {
        const double u = static_cast<double>(m_bits() >> 11) * 0x1p-53;
        if (range.min == range.max) return range.min;
        const double value =
            range.log ? range.max * ExpOfNonPositiveScalar(
                                        -(1.0 - u) * LogOfPositiveScalar(range.max / range.min))
                      : range.min + u * (range.max - range.min);
        return std::clamp(value, range.min, range.max);
    }

    std::uint64_t From(const RecipeCount& count) {
        const double u = static_cast<double>(m_bits() >> 11) * 0x1p-53;
        const double span = static_cast<double>(count.max - count.min) + 1.0;
        return std::min(count.max, count.min + static_cast<std::uint64_t>(u * span));
    }

private:
    std::mt19937_64 m_bits;
};

std::string VersionFourUuid(std::uint64_t high, std::uint64_t low) {
    high = (high & ~std::uint64_t{0xf000}) | 0x4000;
    low = (low & ~(std::uint64_t{3} << 62)) | (std::uint64_t{2} << 62);
    char text[37];
    std::snprintf(text, sizeof text, "%08x-%04x-%04x-%04x-%012llx",
                  static_cast<unsigned>(high >> 32), static_cast<unsigned>((high >> 16) & 0xffff),
                  static_cast<unsigned>(high & 0xffff), static_cast<unsigned>(low >> 48),
                  static_cast<unsigned long long>(low & 0xffffffffffffull));
    return text;
}

struct DrawnPeak {
    double time = 0.0;
    double height = 0.0;
    double size = 0.0;  // width or area
    double tailing = 1.0;
    double half_width = 0.0;
};

// The components the recipe names, into a channel of a scenario, in the order Recipe.h states.
void DrawComponents(const RecipeComponents& r, Draws& draws, nlohmann::ordered_json& channel) {
    if (r.steps) {
        const std::uint64_t count = draws.From(r.steps->count);
        nlohmann::ordered_json steps = nlohmann::ordered_json::array();
        for (std::uint64_t k = 0; k < count; ++k) {
            nlohmann::ordered_json step;
            step["time"] = draws.From(r.steps->time);
            step["height"] = draws.From(r.steps->height);
            step["width"] = draws.From(r.steps->width);
            steps.push_back(std::move(step));
        }
        channel["steps"] = std::move(steps);
    }
    if (r.sine) {
        nlohmann::ordered_json sine;
        sine["amplitude"] = draws.From(r.sine->amplitude);
        sine["period"] = draws.From(r.sine->period);
        if (r.sine->phase) sine["phase"] = draws.From(*r.sine->phase);
        channel["sine"] = std::move(sine);
    }
    if (r.settle) {
        nlohmann::ordered_json settle;
        settle["height"] = draws.From(r.settle->height);
        settle["time_constant"] = draws.From(r.settle->time_constant);
        channel["settle"] = std::move(settle);
    }
    if (r.wander) channel["wander"] = {{"sigma", draws.From(*r.wander)}};
    if (r.pink) channel["pink"] = draws.From(*r.pink);
    if (r.spikes) {
        nlohmann::ordered_json spikes;
        spikes["rate"] = draws.From(r.spikes->rate);
        const double min_height = draws.From(r.spikes->min_height);
        spikes["height"] = {{"min", min_height}, {"max", draws.From(r.spikes->max_height)}};
        channel["spikes"] = std::move(spikes);
    }
}

}  // namespace

double HalfHeightWidth(double width, double tailing) {
    return SolveTailShape(tailing).half_height_width * width * 0.70710678118654752440;
}

double Resolution(double time1, double half_width1, double time2, double half_width2) {
    return 1.1774100225154747 * std::fabs(time2 - time1) / (half_width1 + half_width2);
}

Recipe ParseRecipe(const std::string& text) {
    StrictJson parsed = ParseStrictJson(text);
    if (!parsed.error.empty()) Fail("", parsed.error);
    const json& root = parsed.value;
    if (!root.is_object()) Fail("", "the recipe must be an object");
    static constexpr std::string_view kKeys[] = {
        "analysis_time", "sample_rate", "channels", "peaks_per_channel",
        "peak_time",     "height",      "width",    "area",
        "tailing",       "noise",       "drift",    "min_resolution",
        "analysis_date", "passport",    "steps",    "sine",
        "settle",        "wander",      "pink",     "spikes"};
    for (const auto& [key, value] : root.items())
        if (std::find(std::begin(kKeys), std::end(kKeys), key) == std::end(kKeys))
            Fail("", "unknown key " + Echo(key));
    for (const char* key :
         {"analysis_time", "sample_rate", "peaks_per_channel", "peak_time", "height"})
        Require(root, key);

    Recipe r;
    r.analysis_time = ParseRange(root, "analysis_time");
    r.sample_rate = ParseRange(root, "sample_rate");
    if (root.contains("channels")) r.channels = ParseCount(root, "channels");
    r.peaks_per_channel = ParseCount(root, "peaks_per_channel");
    r.peak_time = ParseRange(root, "peak_time");
    r.height = ParseRange(root, "height");
    if (root.contains("width")) r.width = ParseRange(root, "width");
    if (root.contains("area")) r.area = ParseRange(root, "area");
    if (root.contains("tailing")) r.tailing = ParseRange(root, "tailing");
    if (root.contains("noise")) r.noise = ParseRange(root, "noise");
    if (root.contains("drift")) r.drift = ParseRange(root, "drift");
    if (root.contains("min_resolution")) {
        const json& value = root["min_resolution"];
        if (!value.is_number() ||
            !(value.get<double>() >= 0.0 && value.get<double>() <= kMaxResolution))
            Fail("min_resolution", "must be a number from 0 to " + Text(kMaxResolution));
        r.min_resolution = value.get<double>();
    }
    r.components = ParseComponents(root);
    CheckSizes(r);
    CheckPeakRanges(r);
    CheckComponents(r);
    CheckSharedKeys(root);
    if (root.contains("analysis_date")) r.analysis_date = root["analysis_date"].get<std::int64_t>();
    if (root.contains("passport")) r.passport = root["passport"];
    return r;
}

nlohmann::ordered_json DrawScenario(const Recipe& recipe, std::uint32_t seed,
                                    std::uint32_t number) {
    Draws draws(SplitMix64((std::uint64_t{seed} << 32) | number));
    const std::uint32_t noise_seed = static_cast<std::uint32_t>(draws.Word() >> 32);
    const std::uint64_t id_high = draws.Word();
    const std::string assay_id = VersionFourUuid(id_high, draws.Word());

    nlohmann::ordered_json scenario;
    scenario["analysis_time"] = draws.From(recipe.analysis_time);
    scenario["sample_rate"] = draws.From(recipe.sample_rate);
    scenario["seed"] = noise_seed;
    scenario["assay_id"] = assay_id;
    scenario["analysis_date"] = recipe.analysis_date;
    if (!recipe.passport.is_null()) scenario["passport"] = recipe.passport;

    const std::uint64_t channel_count = draws.From(recipe.channels);
    nlohmann::ordered_json channels = nlohmann::ordered_json::array();
    for (std::uint64_t c = 0; c < channel_count; ++c) {
        nlohmann::ordered_json channel;
        channel["noise"] = draws.From(recipe.noise);
        channel["drift"] = draws.From(recipe.drift);
        const std::uint64_t peak_count = draws.From(recipe.peaks_per_channel);
        std::vector<DrawnPeak> peaks;
        for (std::uint64_t p = 0; p < peak_count; ++p) {
            DrawnPeak peak;
            peak.height = draws.From(recipe.height);
            peak.size = draws.From(recipe.width ? *recipe.width : *recipe.area);
            peak.tailing = draws.From(recipe.tailing);
            if (recipe.min_resolution > 0.0) {
                // A peak given by area is placed as if Gaussian with the width of that area.
                const double width =
                    recipe.width ? peak.size : peak.size / (peak.height * 1.7724538509055160);
                peak.half_width = HalfHeightWidth(width, peak.tailing);
            }
            auto resolved = [&](const DrawnPeak& other) {
                return Resolution(peak.time, peak.half_width, other.time, other.half_width) >=
                       recipe.min_resolution;
            };
            int tries = 0;
            do {
                if (++tries > kPlacementTries)
                    Fail("document " + std::to_string(number) + ", channel " + std::to_string(c),
                         "no retention time for peak " + std::to_string(p + 1) +
                             " keeps min_resolution " + Text(recipe.min_resolution) + " after " +
                             std::to_string(kPlacementTries) +
                             " tries; widen peak_time or lower peaks_per_channel, widths or "
                             "min_resolution");
                peak.time = draws.From(recipe.peak_time);
            } while (recipe.min_resolution > 0.0 &&
                     !std::all_of(peaks.begin(), peaks.end(), resolved));
            peaks.push_back(peak);
        }
        std::stable_sort(peaks.begin(), peaks.end(),
                         [](const DrawnPeak& a, const DrawnPeak& b) { return a.time < b.time; });
        nlohmann::ordered_json list = nlohmann::ordered_json::array();
        for (std::size_t p = 0; p < peaks.size(); ++p) {
            nlohmann::ordered_json peak;
            peak["name"] = "P" + std::to_string(p + 1);
            peak["time"] = peaks[p].time;
            peak["height"] = peaks[p].height;
            peak[recipe.width ? "width" : "area"] = peaks[p].size;
            peak["tailing"] = peaks[p].tailing;
            list.push_back(std::move(peak));
        }
        channel["peaks"] = std::move(list);
        channels.push_back(std::move(channel));
    }
    // The components come after everything else, so that a recipe without them draws as before.
    for (nlohmann::ordered_json& channel : channels)
        DrawComponents(recipe.components, draws, channel);
    scenario["channels"] = std::move(channels);
    return scenario;
}
