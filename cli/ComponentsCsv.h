#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "file/AtomicFile.h"
#include "synth/Regeneration.h"
#include "synth/Signal4.h"

// The truth of every sample of a generated document as CSV: a header row, then per sample its
// time (minutes), the clean sum of its peaks, its baseline (drift and baseline components), its
// noise (white noise and noise components) and the stored sample (millivolts), with "." as the
// decimal point whatever the locale. One file per channel; every file is put in place only when
// all are complete.
class ComponentsCsv {
public:
    // `path` itself for one channel; for several, one file per channel named as export --csv
    // names them (ChannelFiles.h).
    ComponentsCsv(const std::string& path, std::size_t channels);

    const std::vector<std::string>& Files() const { return m_files; }

    // A parts file that is also one of `others` (the command's other files: its input, the
    // document, its spectra file, the manifest), with that file's name as given. Committed after
    // them, the parts would replace it. Empty names in `others` are passed over.
    struct Clash {
        std::string file;
        std::string other;
    };
    std::optional<Clash> FindClash(const std::vector<std::string>& others) const;

    // Writes the rows of the channel at `position` into a temporary file beside its own.
    void Write(std::size_t position, const Signal4& signal, const SignalParts& parts);
    // Puts the files written in place. Files not committed are removed when this is destroyed.
    void Commit();

private:
    std::vector<std::string> m_files;
    std::vector<std::unique_ptr<AtomicFile>> m_written;
};

// A file that could not be written: File() names it, what() says why.
class ComponentsCsvError : public std::runtime_error {
public:
    ComponentsCsvError(std::string file, const std::string& what)
        : std::runtime_error(what), m_file(std::move(file)) {}
    const std::string& File() const { return m_file; }

private:
    std::string m_file;
};
