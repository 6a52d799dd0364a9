#include "ScenarioJson.h"

using nlohmann::ordered_json;

namespace {

ordered_json PeakJson(const ScenarioPeak& peak) {
    ordered_json out;
    out["name"] = peak.name;
    out["time"] = peak.time;
    out["height"] = peak.height;
    if (peak.area)
        out["area"] = *peak.area;
    else
        out["width"] = peak.width;
    if (peak.tailing != 1.0) out["tailing"] = peak.tailing;
    if (peak.front && peak.back) {
        out["front"] = *peak.front;
        out["back"] = *peak.back;
    }
    return out;
}

void PutComponents(const ChannelComponents& c, ordered_json& out) {
    if (!c.steps.empty()) {
        ordered_json steps = ordered_json::array();
        for (const BaselineStep& step : c.steps)
            steps.push_back({{"time", step.time}, {"height", step.height}, {"width", step.width}});
        out["steps"] = std::move(steps);
    }
    if (c.sine)
        out["sine"] = {
            {"amplitude", c.sine->amplitude}, {"period", c.sine->period}, {"phase", c.sine->phase}};
    if (c.settle)
        out["settle"] = {{"height", c.settle->height}, {"time_constant", c.settle->time_constant}};
    if (c.wander != 0.0) out["wander"] = {{"sigma", c.wander}};
    if (c.pink != 0.0) out["pink"] = c.pink;
    if (c.spikes)
        out["spikes"] = {
            {"rate", c.spikes->rate},
            {"height", {{"min", c.spikes->min_height}, {"max", c.spikes->max_height}}}};
}

ordered_json ChannelJson(const ScenarioChannel& channel) {
    ordered_json out = ordered_json::object();
    if (channel.noise != 0.0) out["noise"] = channel.noise;
    if (channel.drift != 0.0) out["drift"] = channel.drift;
    PutComponents(channel.components, out);
    ordered_json peaks = ordered_json::array();
    for (const ScenarioPeak& peak : channel.peaks) peaks.push_back(PeakJson(peak));
    out["peaks"] = std::move(peaks);
    return out;
}

}  // namespace

std::string ScenarioText(const Scenario& scenario) {
    ordered_json out;
    out["analysis_time"] = scenario.analysis_time;
    out["sample_rate"] = scenario.sample_rate;
    if (scenario.seed) out["seed"] = *scenario.seed;
    if (scenario.assay_id) out["assay_id"] = *scenario.assay_id;
    if (scenario.analysis_date) out["analysis_date"] = *scenario.analysis_date;
    if (!scenario.passport.empty()) out["passport"] = scenario.passport;
    ordered_json channels = ordered_json::array();
    for (const ScenarioChannel& channel : scenario.channels)
        channels.push_back(ChannelJson(channel));
    out["channels"] = std::move(channels);
    // A name read from another program's document may hold bytes that are not UTF-8; they become
    // U+FFFD rather than stop the save.
    return out.dump(-1, ' ', false, ordered_json::error_handler_t::replace);
}
