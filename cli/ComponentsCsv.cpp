#include "ComponentsCsv.h"

#include <charconv>

#include "ChannelFiles.h"
#include "file/SaveTarget.h"

namespace {

// Shortest text that reads back as the same number; to_chars never looks at the locale.
template <typename T>
void AppendNumber(std::string& line, T value) {
    char buffer[32];
    line.append(buffer, std::to_chars(buffer, buffer + sizeof buffer, value).ptr);
}

[[noreturn]] void CannotWrite(const AtomicFile& file, const std::string& path) {
    throw ComponentsCsvError(
        path, "cannot write: " + (file.Refusal().empty()
                                      ? SystemErrorText(file.Error())
                                      : "it is " + file.Refusal() + ", not a regular file"));
}

}  // namespace

ComponentsCsv::ComponentsCsv(const std::string& path, std::size_t channels)
    : m_files(ChannelFileNames(path, channels)), m_written(m_files.size()) {}

void ComponentsCsv::Write(std::size_t position, const Signal4& signal, const SignalParts& parts) {
    const std::string& path = m_files.at(position);
    auto file = std::make_unique<AtomicFile>();
    if (!file->Open(path)) CannotWrite(*file, path);
    std::string text = "time_min,peaks_mV,baseline_mV,noise_mV,total_mV\n";
    const SampleGrid grid = signal.Grid();
    for (std::size_t i = 0; i < signal.Size(); ++i) {
        AppendNumber(text, grid.TimeAt(i));
        text += ',';
        AppendNumber(text, parts.peaks[i]);
        text += ',';
        AppendNumber(text, parts.baseline[i]);
        text += ',';
        AppendNumber(text, parts.noise[i]);
        text += ',';
        AppendNumber(text, signal.samples[i]);
        text += '\n';
        // Written in pieces so that a long channel never needs its whole text in memory.
        if (text.size() >= (1u << 20)) {
            if (!file->Write(text.data(), text.size())) CannotWrite(*file, path);
            text.clear();
        }
    }
    if (!file->Write(text.data(), text.size()) || !file->Finish()) CannotWrite(*file, path);
    m_written[position] = std::move(file);
}

void ComponentsCsv::Commit() {
    for (std::size_t i = 0; i < m_files.size(); ++i)
        if (m_written[i] && !m_written[i]->Commit()) CannotWrite(*m_written[i], m_files[i]);
}
