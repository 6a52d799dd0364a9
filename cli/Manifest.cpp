#include "Manifest.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <numeric>

#include "Recipe.h"

namespace {

constexpr double kNone = std::numeric_limits<double>::quiet_NaN();

// What one row is made of.
struct PeakFacts {
    std::uint64_t document;
    std::size_t channel;
    std::size_t peak;  // position in the stored table
    const Peak4& stored;
    const ScenarioPeak& request;
    const StoredPeakTruth& truth;
    double resolution_previous;
    double resolution_next;
};

void AppendNumber(std::string& line, double value) {
    if (std::isnan(value)) return;
    char buffer[32];
    line.append(buffer, std::to_chars(buffer, buffer + sizeof buffer, value).ptr);
}

void AppendWhole(std::string& line, std::uint64_t value) {
    char buffer[24];
    line.append(buffer, std::to_chars(buffer, buffer + sizeof buffer, value).ptr);
}

// Quoted when it holds a comma, a quote or a line break, quotes doubled.
void AppendText(std::string& line, const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) {
        line += text;
        return;
    }
    line += '"';
    for (char c : text) line += c == '"' ? std::string("\"\"") : std::string(1, c);
    line += '"';
}

struct Column {
    const char* name;
    void (*write)(std::string&, const PeakFacts&);
};

// The manifest's columns, in order; README.md describes each.
constexpr Column kColumns[] = {
    {"document", [](std::string& l, const PeakFacts& f) { AppendWhole(l, f.document); }},
    {"channel", [](std::string& l, const PeakFacts& f) { AppendWhole(l, f.channel); }},
    {"peak", [](std::string& l, const PeakFacts& f) { AppendWhole(l, f.peak); }},
    {"name", [](std::string& l, const PeakFacts& f) { AppendText(l, f.stored.name); }},
    {"time", [](std::string& l, const PeakFacts& f) { AppendNumber(l, f.request.time); }},
    {"height", [](std::string& l, const PeakFacts& f) { AppendNumber(l, f.request.height); }},
    {"width", [](std::string& l, const PeakFacts& f) { AppendNumber(l, f.truth.width); }},
    {"tailing", [](std::string& l, const PeakFacts& f) { AppendNumber(l, f.request.tailing); }},
    {"requested_area",
     [](std::string& l, const PeakFacts& f) { AppendNumber(l, f.request.area.value_or(kNone)); }},
    {"front", [](std::string& l, const PeakFacts& f) { AppendNumber(l, f.stored.front); }},
    {"back", [](std::string& l, const PeakFacts& f) { AppendNumber(l, f.stored.back); }},
    {"area", [](std::string& l, const PeakFacts& f) { AppendNumber(l, f.stored.area); }},
    {"front_base_height",
     [](std::string& l, const PeakFacts& f) { AppendNumber(l, f.stored.front_base_height); }},
    {"back_base_height",
     [](std::string& l, const PeakFacts& f) { AppendNumber(l, f.stored.back_base_height); }},
    {"front_true_baseline",
     [](std::string& l, const PeakFacts& f) { AppendNumber(l, f.truth.front_baseline); }},
    {"back_true_baseline",
     [](std::string& l, const PeakFacts& f) { AppendNumber(l, f.truth.back_baseline); }},
    {"measured_tailing",
     [](std::string& l, const PeakFacts& f) { AppendNumber(l, f.truth.shape.tailing); }},
    {"measured_asymmetry",
     [](std::string& l, const PeakFacts& f) { AppendNumber(l, f.truth.shape.asymmetry); }},
    {"resolution_previous",
     [](std::string& l, const PeakFacts& f) { AppendNumber(l, f.resolution_previous); }},
    {"resolution_next",
     [](std::string& l, const PeakFacts& f) { AppendNumber(l, f.resolution_next); }},
};

// Per stored peak, its resolution to the neighbours before and after it in time.
std::vector<std::pair<double, double>> Resolutions(const std::vector<Peak4>& table,
                                                   const std::vector<StoredPeakTruth>& truth) {
    std::vector<std::size_t> order(table.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return table[a].time < table[b].time; });
    auto half_width = [&](std::size_t k) {
        return truth[k].tail.half_height_width * truth[k].width * 0.70710678118654752440;
    };
    std::vector<std::pair<double, double>> resolutions(table.size(), {kNone, kNone});
    for (std::size_t i = 1; i < order.size(); ++i) {
        const std::size_t a = order[i - 1];
        const std::size_t b = order[i];
        const double r = Resolution(table[a].time, half_width(a), table[b].time, half_width(b));
        resolutions[a].second = r;
        resolutions[b].first = r;
    }
    return resolutions;
}

// About the length of a row, so that a document's rows are one allocation, not one per doubling.
constexpr std::size_t kRowBytesHint = 400;

std::size_t TotalPeaks(const CTarvikFile4& document) {
    std::size_t peaks = 0;
    for (const Channel4& channel : document.m_channels) peaks += channel.table.size();
    return peaks;
}

}  // namespace

std::uint64_t RecipeDigest(std::string_view text) {
    std::uint64_t hash = 0xcbf29ce484222325u;
    for (unsigned char c : text) hash = (hash ^ c) * 0x100000001b3u;
    return hash;
}

std::string ManifestHeader() {
    std::string line;
    for (const Column& column : kColumns) {
        if (!line.empty()) line += ',';
        line += column.name;
    }
    return line + '\n';
}

std::string ManifestRows(std::uint64_t document, const Scenario& scenario,
                         const CTarvikFile4& document_data, const DocumentTruth& truth) {
    std::string rows;
    rows.reserve(kRowBytesHint * TotalPeaks(document_data));
    for (std::size_t c = 0; c < document_data.m_channels.size(); ++c) {
        const std::vector<Peak4>& table = document_data.m_channels[c].table;
        const auto resolutions = Resolutions(table, truth[c]);
        for (std::size_t k = 0; k < table.size(); ++k) {
            const PeakFacts facts{document,
                                  c,
                                  k,
                                  table[k],
                                  scenario.channels[c].peaks[truth[c][k].request],
                                  truth[c][k],
                                  resolutions[k].first,
                                  resolutions[k].second};
            for (const Column& column : kColumns) {
                if (&column != kColumns) rows += ',';
                column.write(rows, facts);
            }
            rows += '\n';
        }
    }
    return rows;
}

std::string ManifestPartLine(const ManifestPart& part) {
    char recipe[17];
    const auto end = std::to_chars(recipe, recipe + 16, part.recipe, 16).ptr;
    std::string digest(recipe, end);
    digest.insert(0, 16 - digest.size(), '0');
    return std::string(kManifestPartPrefix) + "recipe=" + digest +
           " seed=" + std::to_string(part.seed) + " first=" + std::to_string(part.first) +
           " count=" + std::to_string(part.count) + " finished=" + std::to_string(part.finished) +
           "\n";
}
