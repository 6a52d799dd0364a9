#include "Generator.h"

#include "file/NewGuidString.h"
#include "synth/NoiseEngine.h"
#include "synth/Regeneration.h"
#include "synth/SampleCount.h"
#include "synth/StoredPeaks.h"
#include "synth/WidthFit.h"

namespace {

std::vector<GenPeak4> WorkingPeaks(const ScenarioChannel& channel) {
    std::vector<GenPeak4> peaks;
    peaks.reserve(channel.peaks.size());
    for (const ScenarioPeak& p : channel.peaks) {
        GenPeak4 peak = MakeNewPeak(p.time, p.height);
        peak.name = p.name;
        peak.width = p.width;
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

template <typename T>
void Take(const nlohmann::json& fields, const char* key, T& field) {
    if (fields.contains(key)) field = fields[key].get<T>();
}

ColumnInfo ScenarioColumn(const nlohmann::json& fields) {
    ColumnInfo column;
    Take(fields, "channel", column.channel);
    Take(fields, "name", column.name);
    Take(fields, "brand", column.brand);
    Take(fields, "type", column.type);
    Take(fields, "diameter", column.diameter);
    Take(fields, "length", column.length);
    Take(fields, "carrier", column.carrier);
    Take(fields, "phase", column.phase);
    Take(fields, "percent", column.percent);
    Take(fields, "unit", column.unit);
    Take(fields, "fraction0", column.fraction0);
    Take(fields, "fraction1", column.fraction1);
    Take(fields, "film", column.film);
    Take(fields, "part", column.part);
    Take(fields, "serial", column.serial);
    Take(fields, "channelsId", column.channelsId);
    return column;
}

}  // namespace

void ApplyScenarioPassport(const nlohmann::json& fields, Passport& passport) {
    Take(fields, "series", passport.series);
    Take(fields, "duration", passport.duration);
    Take(fields, "sample", passport.sample);
    Take(fields, "method", passport.method);
    Take(fields, "graduation", passport.graduation);
    Take(fields, "date", passport.date);
    Take(fields, "defect", passport.defect);
    Take(fields, "mixture", passport.mixture);
    Take(fields, "isDeleted", passport.isDeleted);
    if (fields.contains("columns"))
        for (const nlohmann::json& column : fields["columns"])
            passport.columns.push_back(ScenarioColumn(column));
    if (fields.contains("entries"))
        for (const nlohmann::json& entry : fields["entries"])
            passport.entries.push_back({entry.value("name", std::string()),
                                        entry.value("title", std::string()),
                                        entry.value("value", std::string())});
}

void GenerateDocument(const Scenario& scenario, const GenerateOptions& options,
                      CTarvikFile4& document, const ProgressFn& progress) {
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

        std::vector<GenPeak4> peaks = WorkingPeaks(wanted);
        RegenerateSignal(channel.signal, peaks, wanted.noise, wanted.drift);
        advance();
        for (std::size_t i = 0; i < peaks.size(); ++i) {
            if (!wanted.peaks[i].area) continue;
            peaks[i].area = *wanted.peaks[i].area;
            peaks[i].auto_bounds = true;
            FitWidthToArea(channel.signal, peaks[i], wanted.noise, wanted.drift);
            RegenerateSignal(channel.signal, peaks, wanted.noise, wanted.drift);
            advance();
        }
        channel.table = CollectStoredPeaks(channel.signal, peaks);
    }

    ApplyScenarioPassport(scenario.passport, document.m_passport);
    document.m_passport.assayid = options.assay_id.empty() ? NewGuidString() : options.assay_id;
    document.m_passport.andate = options.date;
}
