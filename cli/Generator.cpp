#include "Generator.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <numbers>
#include <type_traits>

#include "EchoText.h"

#include "file/NewGuidString.h"
#include "file/PassportFields.h"
#include "synth/Components.h"
#include "synth/FillSignal.h"
#include "synth/NoiseEngine.h"
#include "synth/Regeneration.h"
#include "synth/SampleCount.h"
#include "synth/StoredPeaks.h"
#include "synth/TailedPeak.h"
#include "synth/WidthFit.h"

namespace {

std::vector<GenPeak4> WorkingPeaks(const ScenarioChannel& channel) {
    std::vector<GenPeak4> peaks;
    peaks.reserve(channel.peaks.size());
    for (const ScenarioPeak& p : channel.peaks) {
        GenPeak4 peak = MakeNewPeak(p.time, p.height);
        peak.name = p.name;
        peak.width = p.width;
        peak.tail = SolveTailShape(p.tailing);
        if (p.front && p.back) {
            peak.front = *p.front;
            peak.back = *p.back;
            peak.auto_bounds = false;
        }
        peaks.push_back(peak);
    }
    return peaks;
}

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
void CheckFinite(const Signal4& signal, std::size_t channel) {
    const auto& s = signal.samples;
    if (std::all_of(s.begin(), s.end(), [](float v) { return std::isfinite(v); })) return;
    throw ScenarioError("channels[" + std::to_string(channel) +
                        "]: its samples overflow single precision (beyond 3.4e38 mV); lower "
                        "the heights, the noise or the drift");
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

// A fitted area is reached when it lies within this share of the request, plus what one step of
// width changes it by (the resolution of the fit: height * sqrt(pi) * step).
constexpr double kAreaTolerance = 0.05;

void WarnUnreachedAreas(const ScenarioChannel& wanted, std::size_t channel, const Signal4& signal,
                        const std::vector<GenPeak4>& peaks,
                        const std::vector<LeftOutPeak>& left_out,
                        std::vector<std::string>& warnings) {
    const SampleGrid grid = signal.Grid();
    // The fit searches widths between the start and the end time of the analysis.
    const double lowest = grid.start;
    const double highest = signal.GetEndTime();
    for (std::size_t i = 0; i < peaks.size(); ++i) {
        const std::optional<double> requested = wanted.peaks[i].area;
        if (!requested) continue;
        if (std::any_of(left_out.begin(), left_out.end(),
                        [i](const LeftOutPeak& out) { return out.index == i; }))
            continue;
        const GenPeak4& peak = peaks[i];
        const double resolution = std::fabs(peak.height) * std::sqrt(std::numbers::pi) * grid.step;
        if (std::fabs(peak.area - *requested) <= kAreaTolerance * *requested + resolution) continue;
        const bool at_limit = peak.width - lowest <= grid.step || highest - peak.width <= grid.step;
        warnings.push_back(
            PeakPlace(channel, i, wanted.peaks[i].name) + ": area " + Number(*requested) +
            " mV*min requested, " + Number(peak.area) + " stored: " +
            (at_limit ? "the width fit ended at its limit, " + Number(peak.width) + " min"
                      : "the measured area is far from the request (fitted "
                        "width " +
                            Number(peak.width) + " min)"));
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
        // The parts are kept by the last regeneration only: the one after the last width fit.
        std::size_t fits = 0;
        for (const ScenarioPeak& peak : wanted.peaks) fits += peak.area ? 1 : 0;
        SignalParts kept;
        auto regenerate = [&](bool last) {
            RegenerateSignal(channel.signal, peaks, wanted.noise, wanted.drift, components,
                             RegenerationScope::Everything, last && parts ? &kept : nullptr);
            advance();
        };
        regenerate(fits == 0);
        for (std::size_t i = 0; i < peaks.size(); ++i) {
            if (!wanted.peaks[i].area) continue;
            peaks[i].area = *wanted.peaks[i].area;
            peaks[i].auto_bounds = true;
            FitWidthToArea(channel.signal, peaks[i], wanted.noise, wanted.drift, components);
            regenerate(--fits == 0);
        }
        CheckFinite(channel.signal, c);
        std::vector<LeftOutPeak> left_out;
        channel.table = CollectStoredPeaks(channel.signal, peaks, &left_out);
        WarnLeftOut(wanted, c, channel.signal, peaks, left_out, warnings);
        WarnUnreachedAreas(wanted, c, channel.signal, peaks, left_out, warnings);
        if (truth != nullptr)
            truth->push_back(TruthOf(channel.signal, peaks, left_out, wanted, components));
        if (parts) parts(c, channel.signal, kept);
    }

    ApplyScenarioPassport(scenario.passport, document.m_passport);
    document.m_passport.assayid = options.assay_id.empty() ? NewGuidString() : options.assay_id;
    document.m_passport.andate = options.date;
    return warnings;
}
