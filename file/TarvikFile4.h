#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include <pugixml.hpp>

#include "FileFailure.h"
#include "Passport.h"
#include "ResultCodes.h"
#include "SpectrumRecord.h"
#include "synth/Channel4.h"

struct SaveTarget;

// The chromatogram document: channels with their signals and peak tables, the passport and the
// spectrum records, saved as a ".xstg" file (binary signal section, then XML text) with an
// optional ".xspc" spectra file beside it.
//
// Operations report failures by their result (0, or a code of ResultCodes.h) and, in more
// detail, by LastFailure(); only a failure to allocate leaves them as an exception. Saving
// replaces the document and the spectra file only once both have been completely written, and
// only regular files, so a failed save leaves the old files as they were. A failed load leaves
// the object with what was read before the failure. Sizes are bounded by DocumentLimits.h on
// both sides.
class CTarvikFile4 {
public:
    CTarvikFile4() = default;
    CTarvikFile4(const CTarvikFile4&) = delete;
    CTarvikFile4& operator=(const CTarvikFile4&) = delete;
    virtual ~CTarvikFile4() = default;

    // Reads a whole document from memory. The passport's path and the spectra are left alone.
    // Returns 0 or a buffer_result code.
    virtual int LoadFromBuffer(const void* data, std::size_t length);
    // Reads the document at `path`, then its spectra file when there is one. Returns 0 or a
    // load_result code, or a spectra_read_result code other than kOpenFailed.
    virtual int LoadFromFile(const std::string& path);
    // Writes the document to `path` (no extension is added) and, when there are spectrum
    // records, the spectra file beside it; without records, a spectra file at the spectra path
    // is removed along with the commit. Sets the passport's path; changes no other field.
    // Returns 0 or a save_result code.
    virtual int SaveToFile(const std::string& path);

    // What SaveToFile checks of the paths before any work: the document path and, with spectra,
    // the spectra path name a regular file or nothing (in an existing folder), and they differ.
    // Returns 0 or a save_result code (kOpenFailed, kNotRegularFile, kSpectraPathIsDocument).
    int CheckSavePath(const std::string& path);

    // Which file the last save or load failed on, and why; code 0 after a success.
    const FileFailure& LastFailure() const { return m_failure; }

    // The parts of the XML text, on the elements "passport" and "channels" under "root".
    void WritePassport(pugi::xml_node passport) const;
    void ReadPassport(pugi::xml_node passport);
    void WriteChannels(pugi::xml_node channels) const;
    void ReadChannels(pugi::xml_node channels);

    // The spectra file of the document at `path`. WriteSpectra returns 0 or a save_result code
    // and replaces an old spectra file only when the new one is complete; with no records it
    // touches nothing. ReadSpectra returns 0 or a spectra_read_result code.
    int WriteSpectra(const std::string& path) const;
    int ReadSpectra(const std::string& path);

    std::uint8_t m_version = 1;  // header version written; a load keeps the version it read
    Passport m_passport;
    std::vector<Channel4> m_channels;
    std::vector<SpectrumRecord> m_spectra;  // filled only by a load, written back by a save

private:
    void BuildXml(pugi::xml_document& document) const;
    void ReadXml(const pugi::xml_document& document);
    // Sizes and texts a document may hold; 0 or a save_result code.
    int CheckStorable(const std::string& path);
    int Fail(int code, const std::string& path, bool spectra, std::string detail = {},
             int system_error = 0);
    // CheckSavePath, giving the document's target as resolved, for the save to open.
    int CheckSavePath(const std::string& path, SaveTarget& document);
    int Refuse(const SaveTarget& target, const std::string& path, bool spectra);

    FileFailure m_failure;
};

// The document as the generator dialog holds it.
class CTarvikFile4Improved : public CTarvikFile4 {};
