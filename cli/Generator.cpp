#include "Generator.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <ctime>
#include <optional>
#include <type_traits>

#include "EchoText.h"
#include "ModelScenario.h"
#include "ScenarioJson.h"

#include "file/NewGuidString.h"
#include "file/PassportFields.h"
#include "model/SettingsEntry.h"
#include "synth/Components.h"
#include "synth/FillSignal.h"
#include "synth/FiniteCheck.h"
#include "synth/NoiseEngine.h"
#include "synth/Regeneration.h"
#include "synth/SampleCount.h"
#include "synth/StoredPeaks.h"
#include "synth/TailedPeak.h"
#include "synth/WidthFit.h"

namespace {

std::size_t CountRuns(const Scenario& scenario) {
    std::size_t runs = 0;
    for (const ScenarioChannel& channel : scenario.channels) {
        ++runs;
        for (const ScenarioPeak& peak : channel.peaks) runs += peak.area ? 1 : 0;
    }
    return runs;
}

std::string Number(double value) {
    char buffer[32];
    return std::string(buffer, std::to_chars(buffer, buffer + sizeof buffer, value).ptr);
}

std::string PeakPlace(std::size_t channel, std::size_t peak, const std::string& name) {
    return "channels[" + std::to_string(channel) + "].peaks[" + std::to_string(peak) + "] " +
           Echo(name);
}

// Samples beyond single precision are infinite, and every area over them NaN: such a channel
// would be stored as nonsense.
void CheckFinite(const Signal4& signal, const std::vector<GenPeak4>& peaks,
                 const ScenarioChannel& wanted, std::size_t channel) {
    const std::optional<NonFiniteValue> value = FindNonFiniteValue(signal, peaks);
    if (!value) return;
    if (value->sample)
        throw ScenarioError("channels[" + std::to_string(channel) +
                            "]: its samples overflow single precision (beyond 3.4e38 mV); lower "
                            "the heights, the noise or the drift");
    throw ScenarioError(PeakPlace(channel, value->peak, wanted.peaks[value->peak].name) + ": its " +
                        std::string(value->field) +
                        " is not finite; lower the heights, the noise or the drift");
}

void WarnLeftOut(const ScenarioChannel& wanted, std::size_t channel, const Signal4& signal,
                 const std::vector<GenPeak4>& peaks, const std::vector<LeftOutPeak>& left_out,
                 std::vector<std::string>& warnings) {
    const std::string start = Number(signal.Grid().start);
    const std::string end = Number(signal.GetEndTime());
    for (const LeftOutPeak& out : left_out) {
        const GenPeak4& peak = peaks[out.index];
        const std::string why =
            out.reason == LeftOutReason::TimeOutsideAnalysis
                ? "its retention time " + Number(peak.time) + " min lies outside the analysis (" +
                      start + " to " + end + " min)"
                : "its bounds " + Number(peak.front) + " to " + Number(peak.back) +
                      " min reach the end of the analysis (" + end + " min)";
        warnings.push_back(PeakPlace(channel, out.index, wanted.peaks[out.index].name) +
                           ": left out of the stored table: " + why);
    }
}

// Why a fit left the peak as it was, in words.
std::string WhyNotFitted(const WidthFitResult& fit) {
    switch (fit.outcome) {
        case WidthFitOutcome::NotPositive:
            return "an area must be greater than 0";
        case WidthFitOutcome::Unreachable:
            return "more than any width within the analysis gives this peak (the largest is "
                   "about " +
                   Number(fit.area) + " mV*min)";
        case WidthFitOutcome::TooSmall:
            return "less than any width gives this peak (the smallest is about " +
                   Number(fit.area) + " mV*min)";
        case WidthFitOutcome::NoHeight:
            return "a peak of height 0 has no area";
        case WidthFitOutcome::NonFinite:
        case WidthFitOutcome::Fitted:
            break;
    }
    return "the channel's values are not finite";
}

// One line per peak given by area whose stored area is not the request: the fit refused it (the
// peak keeps the width its area has in closed form), no width gives it exactly, or a peak fitted
// later changed it. Areas count in the direction of the peak's height.
void WarnUnreachedAreas(const ScenarioChannel& wanted, std::size_t channel,
                        const std::vector<GenPeak4>& peaks,
                        const std::vector<std::optional<WidthFitResult>>& fits,
                        const std::vector<LeftOutPeak>& left_out,
                        std::vector<std::string>& warnings) {
    for (std::size_t i = 0; i < peaks.size(); ++i) {
        if (!fits[i]) continue;
        const double requested = *wanted.peaks[i].area;
        const WidthFitResult& fit = *fits[i];
        const GenPeak4& peak = peaks[i];
        const std::string line = PeakPlace(channel, i, wanted.peaks[i].name) + ": area " +
                                 Number(requested) + " mV*min requested";
        if (fit.outcome != WidthFitOutcome::Fitted) {
            warnings.push_back(line + ": " + WhyNotFitted(fit) + "; it keeps width " +
                               Number(peak.width) + " min");
            continue;
        }
        const bool stored = std::none_of(left_out.begin(), left_out.end(),
                                         [i](const LeftOutPeak& out) { return out.index == i; });
        const double area = peak.height < 0.0 ? -peak.area : peak.area;
        if (!stored || std::fabs(area - requested) <= kWidthFitTolerance * requested) continue;
        const bool fit_met = std::fabs(fit.area - requested) <= kWidthFitTolerance * requested;
        warnings.push_back(line + ", " + Number(peak.area) + " stored (fitted width " +
                           Number(peak.width) + " min): " +
                           (fit_met ? "a peak fitted after it changed its area"
                                    : "no width gives it; the area jumps past it where a bound "
                                      "moves, and this is the nearest it comes"));
    }
}

// The stored peaks' truth: the working peaks not left out, in order, measured on their clean sum,
// with the true baseline at their bounds.
std::vector<StoredPeakTruth> TruthOf(const Signal4& signal, const std::vector<GenPeak4>& peaks,
                                     const std::vector<LeftOutPeak>& left_out,
                                     const ScenarioChannel& wanted,
                                     const ChannelComponents& components) {
    Signal4 clean(signal.Grid().step, signal.Grid().start, nullptr, 0);
    FillSignal(clean, signal.Size(), peaks);
    std::vector<StoredPeakTruth> truth;
    std::vector<double> bounds;
    auto out = left_out.begin();
    for (std::size_t i = 0; i < peaks.size(); ++i) {
        if (out != left_out.end() && out->index == i) {
            ++out;
            continue;
        }
        truth.push_back({i, peaks[i].width, peaks[i].tail,
                         MeasurePeakShape(clean, peaks[i].time, peaks[i].width), 0.0, 0.0});
        bounds.insert(bounds.end(), {peaks[i].front, peaks[i].back});
    }
    const std::vector<double> baseline =
        TrueBaselineAt(components, wanted.drift, signal.Grid(), signal.Size(), bounds);
    for (std::size_t k = 0; k < truth.size(); ++k) {
        truth[k].front_baseline = baseline[2 * k];
        truth[k].back_baseline = baseline[2 * k + 1];
    }
    return truth;
}

// Copies every field of `record` that `fields` holds; the scenario reader has checked the types.
template <class Record, class ForEach>
void TakeFields(const nlohmann::json& fields, Record& record, ForEach for_each) {
    for_each(record, [&fields](const PassportField& f, auto& member) {
        if (!f.made_with_document && fields.contains(f.key))
            member = fields[f.key].template get<std::decay_t<decltype(member)>>();
    });
}

}  // namespace

void ApplyScenarioPassport(const nlohmann::json& fields, Passport& passport) {
    TakeFields(fields, passport, [](Passport& p, auto visit) { ForEachPassportField(p, visit); });
    if (fields.contains(kScenarioColumns))
        for (const nlohmann::json& item : fields[kScenarioColumns])
            TakeFields(item, passport.columns.emplace_back(),
                       [](ColumnInfo& c, auto visit) { ForEachColumnField(c, visit); });
    if (fields.contains(kScenarioEntries))
        for (const nlohmann::json& item : fields[kScenarioEntries])
            TakeFields(item, passport.entries.emplace_back(),
                       [](PassportEntry& e, auto visit) { ForEachEntryField(e, visit); });
}

GenerateOptions ScenarioOptions(const Scenario& scenario) {
    GenerateOptions options;
    options.seed = scenario.seed.value_or(NoiseEngine::kDefaultSeed);
    options.assay_id = scenario.assay_id.value_or("");
    options.date = scenario.analysis_date.value_or(static_cast<std::int64_t>(std::time(nullptr)));
    return options;
}

std::vector<std::string> GenerateDocument(const Scenario& scenario, const GenerateOptions& options,
                                          CTarvikFile4& document, const ProgressFn& progress,
                                          DocumentTruth* truth, const ChannelPartsFn& parts) {
    std::vector<std::string> warnings;
    if (truth != nullptr) truth->clear();
    NoiseEngine::Instance().Seed(options.seed);
    const std::size_t total = CountRuns(scenario);
    std::size_t done = 0;
    auto advance = [&] {
        ++done;
        if (progress) progress(done, total);
    };

    document.m_channels.clear();
    document.m_channels.reserve(scenario.channels.size());
    for (std::size_t c = 0; c < scenario.channels.size(); ++c) {
        const ScenarioChannel& wanted = scenario.channels[c];
        Channel4& channel = document.m_channels.emplace_back(static_cast<std::int32_t>(c));
        channel.signal = Signal4(1.0 / scenario.sample_rate, 0.0, nullptr, 0);
        ResizeChecked(channel.signal, scenario.sample_count);

        ChannelComponents components = wanted.components;
        components.seed = options.seed;
        components.channel = static_cast<std::uint32_t>(c);
        std::vector<GenPeak4> peaks = WorkingPeaks(wanted);
        // With `parts`, every regeneration keeps its parts: the last one's are the document's.
        SignalParts kept;
        SignalParts* keep = parts ? &kept : nullptr;
        RegenerateSignal(channel.signal, peaks, wanted.noise, wanted.drift, components, keep);
        advance();
        // The fit leaves the noise generator as it found it, so each regeneration after a fit
        // draws the noise its trials measured with.
        std::vector<std::optional<WidthFitResult>> fits(peaks.size());
        for (std::size_t i = 0; i < peaks.size(); ++i) {
            if (!wanted.peaks[i].area) continue;
            fits[i] = FitWidthToArea(channel.signal, peaks, i, *wanted.peaks[i].area, wanted.noise,
                                     wanted.drift, components);
            if (fits[i]->outcome == WidthFitOutcome::Fitted)
                RegenerateSignal(channel.signal, peaks, wanted.noise, wanted.drift, components,
                                 keep);
            advance();
        }
        CheckFinite(channel.signal, peaks, wanted, c);
        std::vector<LeftOutPeak> left_out;
        channel.table = CollectStoredPeaks(channel.signal, peaks, &left_out);
        WarnLeftOut(wanted, c, channel.signal, peaks, left_out, warnings);
        WarnUnreachedAreas(wanted, c, peaks, fits, left_out, warnings);
        if (truth != nullptr)
            truth->push_back(TruthOf(channel.signal, peaks, left_out, wanted, components));
        if (parts) parts(c, channel.signal, kept);
    }

    ApplyScenarioPassport(scenario.passport, document.m_passport);
    document.m_passport.assayid = options.assay_id.empty() ? NewGuidString() : options.assay_id;
    document.m_passport.andate = options.date;
    // The document carries the scenario that makes it again, with what the command line gave.
    Scenario carried = scenario;
    carried.seed = options.seed;
    carried.assay_id = document.m_passport.assayid;
    carried.analysis_date = options.date;
    PutSettingsEntry(document.m_passport, ScenarioText(carried));
    return warnings;
}
