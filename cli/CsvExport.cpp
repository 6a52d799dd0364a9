#include "CsvExport.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "ChannelFiles.h"

namespace {

// Shortest text that reads back as the same number; to_chars never looks at the locale.
template <typename T>
void AppendNumber(std::string& line, T value) {
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    line.append(buffer, result.ptr);
}

bool SameTimeAxis(const Channel4& a, const Channel4& b) {
    const SampleGrid ga = a.signal.Grid();
    const SampleGrid gb = b.signal.Grid();
    return ga.start == gb.start && ga.step == gb.step;
}

std::string NumberText(double value) {
    std::string text;
    AppendNumber(text, value);
    return text;
}

// Writes the channels, which share one time axis, into one file.
void WriteTable(const std::vector<const Channel4*>& channels, const std::string& path,
                PendingFiles& pending) {
    AtomicFile& file = pending.Open(path);

    std::string line = "time_min";
    for (const Channel4* channel : channels) {
        line += ",channel_";
        AppendNumber(line, channel->number);
        line += "_mV";
    }
    line += '\n';

    std::size_t rows = 0;
    for (const Channel4* channel : channels) rows = std::max(rows, channel->signal.Size());
    const SampleGrid grid = channels.empty() ? SampleGrid{} : channels.front()->signal.Grid();
    for (std::size_t i = 0; i < rows; ++i) {
        AppendNumber(line, grid.TimeAt(i));
        for (const Channel4* channel : channels) {
            line += ',';
            if (i < channel->signal.Size()) AppendNumber(line, channel->signal.samples[i]);
        }
        line += '\n';
        // Written in pieces so that a long run never needs its whole text in memory.
        if (line.size() >= (1u << 20)) {
            if (!file.Write(line.data(), line.size())) break;
            line.clear();
        }
    }
    file.Write(line.data(), line.size());
    pending.Finish();
}

}  // namespace

CsvExportPlan PlanCsvExport(const CTarvikFile4& document, const std::string& path) {
    const auto& channels = document.m_channels;
    for (const Channel4& channel : channels) {
        const SampleGrid grid = channel.signal.Grid();
        if (!std::isfinite(grid.start) || !std::isfinite(grid.step))
            throw CsvSourceError("channel " + std::to_string(channel.number) +
                                 ": its time axis is not finite (start " + NumberText(grid.start) +
                                 ", step " + NumberText(grid.step) +
                                 " min), so its times cannot be written");
    }
    CsvExportPlan plan;
    plan.split = !std::all_of(channels.begin(), channels.end(),
                              [&](const Channel4& c) { return SameTimeAxis(c, channels.front()); });
    if (!plan.split) {
        plan.files.push_back(path);
        return plan;
    }
    for (std::size_t i = 0; i < channels.size(); ++i)
        plan.files.push_back(ChannelFileName(path, i));
    return plan;
}

void ExportCsv(const CTarvikFile4& document, const CsvExportPlan& plan, PendingFiles& pending) {
    const auto& channels = document.m_channels;
    if (!plan.split) {
        std::vector<const Channel4*> all;
        for (const Channel4& channel : channels) all.push_back(&channel);
        WriteTable(all, plan.files.front(), pending);
        return;
    }
    for (std::size_t i = 0; i < channels.size(); ++i)
        WriteTable({&channels[i]}, plan.files[i], pending);
}
