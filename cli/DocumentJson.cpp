#include "DocumentJson.h"

using nlohmann::ordered_json;

namespace {

ordered_json PassportToJson(const Passport& p) {
    ordered_json columns = ordered_json::array();
    for (const ColumnInfo& c : p.columns)
        columns.push_back({{"channel", c.channel},
                           {"name", c.name},
                           {"brand", c.brand},
                           {"type", c.type},
                           {"diameter", c.diameter},
                           {"length", c.length},
                           {"carrier", c.carrier},
                           {"phase", c.phase},
                           {"percent", c.percent},
                           {"unit", c.unit},
                           {"fraction0", c.fraction0},
                           {"fraction1", c.fraction1},
                           {"film", c.film},
                           {"part", c.part},
                           {"serial", c.serial},
                           {"channelsId", c.channelsId}});
    ordered_json entries = ordered_json::array();
    for (const PassportEntry& e : p.entries)
        entries.push_back({{"name", e.name}, {"title", e.title}, {"value", e.value}});
    return {{"assayid", p.assayid},       {"series", p.series},       {"andate", p.andate},
            {"duration", p.duration},     {"sample", p.sample},       {"method", p.method},
            {"graduation", p.graduation}, {"date", p.date},           {"defect", p.defect},
            {"mixture", p.mixture},       {"isDeleted", p.isDeleted}, {"columns", columns},
            {"entries", entries}};
}

ordered_json PeakToJson(const Peak4& p) {
    return {{"front", p.front},
            {"back", p.back},
            {"time", p.time},
            {"area", p.area},
            {"height", p.height},
            {"concent", p.concent},
            {"name", p.name},
            {"reference", p.reference},
            {"left", p.left},
            {"right", p.right},
            {"flags", p.flags},
            {"front_base_height", p.front_base_height},
            {"back_base_height", p.back_base_height},
            {"index", p.index}};
}

ordered_json ChannelToJson(const Channel4& channel, bool with_samples) {
    ordered_json peaks = ordered_json::array();
    for (const Peak4& peak : channel.table) peaks.push_back(PeakToJson(peak));
    const SampleGrid grid = channel.signal.Grid();
    ordered_json json = {{"number", channel.number},
                         {"start", grid.start},
                         {"step", grid.step},
                         {"sample_count", channel.signal.Size()}};
    if (with_samples) json["samples"] = channel.signal.samples;
    json["peaks"] = std::move(peaks);
    return json;
}

ordered_json SpectrumToJson(const SpectrumRecord& record) {
    ordered_json positions = ordered_json::array();
    ordered_json values = ordered_json::array();
    for (const SpectrumPoint& point : record.points) {
        positions.push_back(point.position);
        values.push_back(point.value);
    }
    return {{"key", record.key}, {"positions", positions}, {"values", values}};
}

}  // namespace

ordered_json DocumentToJson(const CTarvikFile4& document, bool with_samples) {
    ordered_json channels = ordered_json::array();
    for (const Channel4& channel : document.m_channels)
        channels.push_back(ChannelToJson(channel, with_samples));
    ordered_json spectra = ordered_json::array();
    for (const SpectrumRecord& record : document.m_spectra)
        spectra.push_back(SpectrumToJson(record));
    return {{"format_version", document.m_version},
            {"passport", PassportToJson(document.m_passport)},
            {"channels", channels},
            {"spectra", spectra}};
}
