#include "ComponentsCsv.h"

#include <charconv>
#include <filesystem>
#include <system_error>

#include "ChannelFiles.h"
#include "file/SaveTarget.h"

namespace {

// Shortest text that reads back as the same number; to_chars never looks at the locale.
template <typename T>
void AppendNumber(std::string& line, T value) {
    char buffer[32];
    line.append(buffer, std::to_chars(buffer, buffer + sizeof buffer, value).ptr);
}

// Whether two names lead to one file: the same file on disk, or, for files not there yet, the
// same path once links and "." and ".." are resolved.
bool IsSameFile(const std::string& a, const std::string& b) {
    std::error_code error;
    if (std::filesystem::equivalent(a, b, error)) return true;
    auto resolved = [&error](const std::string& name) {
        return std::filesystem::weakly_canonical(std::filesystem::absolute(name, error), error);
    };
    const std::filesystem::path resolved_a = resolved(a);
    if (error) return false;
    const std::filesystem::path resolved_b = resolved(b);
    return !error && resolved_a == resolved_b;
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

std::optional<ComponentsCsv::Clash> ComponentsCsv::FindClash(
    const std::vector<std::string>& others) const {
    for (const std::string& file : m_files)
        for (const std::string& other : others)
            if (!other.empty() && IsSameFile(file, other)) return Clash{file, other};
    return std::nullopt;
}

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
