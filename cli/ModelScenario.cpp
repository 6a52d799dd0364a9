#include "ModelScenario.h"

#include "ScenarioJson.h"
#include "synth/SampleCount.h"
#include "synth/TailedPeak.h"
#include "synth/WidthFit.h"

std::vector<GenPeak4> WorkingPeaks(const ScenarioChannel& channel) {
    std::vector<GenPeak4> peaks;
    peaks.reserve(channel.peaks.size());
    for (const ScenarioPeak& p : channel.peaks) {
        GenPeak4 peak = MakeNewPeak(p.time, p.height);
        peak.name = p.name;
        peak.tail = SolveTailShape(p.tailing);
        peak.width = p.area ? WidthForArea(*p.area, peak) : p.width;
        if (p.front && p.back) {
            peak.front = *p.front;
            peak.back = *p.back;
            peak.auto_bounds = false;
        }
        peaks.push_back(peak);
    }
    return peaks;
}

std::vector<WorkingChannel> WorkingChannels(const Scenario& scenario) {
    std::vector<WorkingChannel> working;
    working.reserve(scenario.channels.size());
    for (const ScenarioChannel& channel : scenario.channels)
        working.push_back(
            {WorkingPeaks(channel), channel.noise, channel.drift, channel.components});
    return working;
}

Scenario ScenarioOfModel(const CGeneratorModel& model) {
    Scenario scenario;
    scenario.analysis_time = model.AnalysisTime();
    scenario.sample_rate = model.SampleRate();
    scenario.sample_count = ComputeSampleCount(model.AnalysisTime(), model.SampleRate()).count;
    for (int c = 0; c < model.ChannelCount(); ++c) {
        const WorkingChannel& working = model.Working(c);
        ScenarioChannel& channel = scenario.channels.emplace_back();
        channel.noise = working.noise;
        channel.drift = working.drift;
        channel.components = working.components;
        for (const GenPeak4& peak : working.peaks) {
            ScenarioPeak& p = channel.peaks.emplace_back();
            p.name = peak.name;
            p.time = peak.time;
            p.height = peak.height;
            p.width = peak.width;
            p.tailing = peak.tail.factor;
            if (!peak.auto_bounds) {
                p.front = peak.front;
                p.back = peak.back;
            }
        }
    }
    return scenario;
}

std::string SettingsText(const CGeneratorModel& model) {
    Scenario scenario = ScenarioOfModel(model);
    scenario.seed = model.Seed();
    scenario.assay_id = model.Document().m_passport.assayid;
    scenario.analysis_date = model.Document().m_passport.andate;
    return ScenarioText(scenario);
}
