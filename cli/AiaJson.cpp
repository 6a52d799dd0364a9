#include "AiaJson.h"

#include <algorithm>
#include <vector>

#include "PrettyJson.h"

using nlohmann::ordered_json;

namespace {

// Samples read at once: 256 KiB of floats.
constexpr std::size_t kSliceSamples = 1 << 16;

void WriteSamples(const AiaFile& file, PrettyJson& out) {
    std::vector<float> slice(std::min(kSliceSamples, file.Trace().point_count));
    out.BeginArray();
    for (std::size_t first = 0; first < file.Trace().point_count; first += slice.size()) {
        const std::size_t count = std::min(slice.size(), file.Trace().point_count - first);
        file.ReadSamples(first, count, slice.data());
        for (std::size_t i = 0; i < count; ++i) out.Number(slice[i]);
    }
    out.EndArray();
}

}  // namespace

void WriteAiaJson(const AiaFile& file, std::ostream& stream, bool with_samples) {
    const AiaTrace& trace = file.Trace();
    PrettyJson out(stream);
    out.BeginObject();
    out.Key("format");
    out.Value("AIA");
    out.Key("attributes");
    out.BeginObject();
    for (const AiaAttribute& attribute : trace.attributes) {
        out.Key(attribute.name);
        if (attribute.is_text)
            out.Value(attribute.text);
        else if (attribute.numbers.size() == 1)
            out.Number(attribute.numbers.front());
        else
            out.Value(attribute.numbers);
    }
    out.EndObject();
    out.Key("variables");
    out.BeginObject();
    for (const auto& [name, value] : trace.scalars) {
        out.Key(name);
        out.Number(value);
    }
    out.EndObject();
    out.Key("point_count");
    out.Value(trace.point_count);
    if (with_samples) {
        out.Key("samples");
        WriteSamples(file, out);
    }
    // One object per peak: its name when the file has names, then every peak variable.
    std::size_t peaks = trace.peak_names.size();
    for (const auto& column : trace.peak_columns) peaks = std::max(peaks, column.second.size());
    out.Key("peaks");
    out.BeginArray();
    for (std::size_t p = 0; p < peaks; ++p) {
        ordered_json peak = ordered_json::object();
        if (p < trace.peak_names.size()) peak["peak_name"] = trace.peak_names[p];
        for (const auto& [name, values] : trace.peak_columns)
            if (p < values.size()) peak[name] = values[p];
        out.Value(peak);
    }
    out.EndArray();
    out.EndObject();
    stream << '\n';
}
