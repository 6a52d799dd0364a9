#include "DocumentJson.h"

#include "PrettyJson.h"
#include "Scenario.h"
#include "file/PassportFields.h"

using nlohmann::ordered_json;

namespace {

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

// The fields `for_each` lists (ForEachColumnField and its kin), in their stored order.
template <class Record, class ForEach>
ordered_json FieldsToJson(const Record& record, ForEach for_each) {
    ordered_json object = ordered_json::object();
    for_each(record,
             [&object](const PassportField& f, const auto& member) { object[f.key] = member; });
    return object;
}

ordered_json ColumnToJson(const ColumnInfo& c) {
    return FieldsToJson(c, [](const ColumnInfo& r, auto visit) { ForEachColumnField(r, visit); });
}

ordered_json EntryToJson(const PassportEntry& e) {
    return FieldsToJson(e, [](const PassportEntry& r, auto visit) { ForEachEntryField(r, visit); });
}

// A list of any length, one small tree per item.
template <class List, class ToJson>
void WriteList(PrettyJson& out, const List& list, ToJson to_json) {
    out.BeginArray();
    for (const auto& item : list) out.Value(to_json(item));
    out.EndArray();
}

void WritePassport(PrettyJson& out, const Passport& p) {
    const ordered_json scalars =
        FieldsToJson(p, [](const Passport& r, auto visit) { ForEachPassportField(r, visit); });
    out.BeginObject();
    for (const auto& [key, value] : scalars.items()) {
        out.Key(key);
        out.Value(value);
    }
    out.Key(kScenarioColumns);
    WriteList(out, p.columns, ColumnToJson);
    out.Key(kScenarioEntries);
    WriteList(out, p.entries, EntryToJson);
    out.EndObject();
}

void WriteChannel(PrettyJson& out, const Channel4& channel, bool with_samples) {
    const SampleGrid grid = channel.signal.Grid();
    out.BeginObject();
    out.Key("number");
    out.Value(channel.number);
    out.Key("start");
    out.Value(grid.start);
    out.Key("step");
    out.Value(grid.step);
    out.Key("sample_count");
    out.Value(channel.signal.Size());
    if (with_samples) {
        out.Key("samples");
        out.BeginArray();
        for (float sample : channel.signal.samples) out.Number(sample);
        out.EndArray();
    }
    out.Key("peaks");
    WriteList(out, channel.table, PeakToJson);
    out.EndObject();
}

void WriteSpectrum(PrettyJson& out, const SpectrumRecord& record) {
    out.BeginObject();
    out.Key("key");
    out.Value(record.key);
    out.Key("positions");
    out.BeginArray();
    for (const SpectrumPoint& point : record.points) out.Value(point.position);
    out.EndArray();
    out.Key("values");
    out.BeginArray();
    for (const SpectrumPoint& point : record.points) out.Number(point.value);
    out.EndArray();
    out.EndObject();
}

}  // namespace

void WriteDocumentJson(const CTarvikFile4& document, std::ostream& stream, bool with_samples) {
    PrettyJson out(stream);
    out.BeginObject();
    out.Key("format_version");
    out.Value(document.m_version);
    out.Key("passport");
    WritePassport(out, document.m_passport);
    out.Key("channels");
    out.BeginArray();
    for (const Channel4& channel : document.m_channels) WriteChannel(out, channel, with_samples);
    out.EndArray();
    out.Key("spectra");
    out.BeginArray();
    for (const SpectrumRecord& record : document.m_spectra) WriteSpectrum(out, record);
    out.EndArray();
    out.EndObject();
    stream << '\n';
}
