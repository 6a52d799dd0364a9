#include "TarvikFile4.h"

#include <vector>

#include "AtomicFile.h"
#include "ChannelsXml.h"
#include "InputFile.h"
#include "PassportXml.h"
#include "SignalSection.h"
#include "SpectraFile.h"

namespace {

// Sends the XML text into the document's temporary file and remembers a failed write.
class XmlToFile : public pugi::xml_writer {
public:
    explicit XmlToFile(AtomicFile& out) : m_out(out) {}
    void write(const void* data, std::size_t size) override {
        if (!m_out.Write(data, size)) m_failed = true;
    }
    bool Failed() const { return m_failed; }

private:
    AtomicFile& m_out;
    bool m_failed = false;
};

// The text is UTF-8 whatever its declaration claims; a leading byte-order mark is skipped.
pugi::xml_parse_result ParseXml(pugi::xml_document& document, void* text, std::size_t size) {
    return document.load_buffer_inplace(text, size, pugi::parse_default, pugi::encoding_utf8);
}

}  // namespace

void CTarvikFile4::WritePassport(pugi::xml_node passport) const {
    WritePassportXml(passport, m_passport);
}

void CTarvikFile4::ReadPassport(pugi::xml_node passport) {
    ReadPassportXml(passport, m_passport);
}

void CTarvikFile4::WriteChannels(pugi::xml_node channels) const {
    WriteChannelsXml(channels, m_channels);
}

void CTarvikFile4::ReadChannels(pugi::xml_node channels) {
    ReadChannelsXml(channels, m_channels);
}

int CTarvikFile4::WriteSpectra(const std::string& path) const {
    AtomicFile out;
    const int result = WriteSpectraFile(path, m_spectra, out);
    if (result != save_result::kOk || m_spectra.empty()) return result;
    return out.Commit() ? save_result::kOk : save_result::kOpenFailed;
}

int CTarvikFile4::ReadSpectra(const std::string& path) {
    return ReadSpectraFile(path, m_spectra);
}

void CTarvikFile4::BuildXml(pugi::xml_document& document) const {
    pugi::xml_node declaration = document.prepend_child(pugi::node_declaration);
    declaration.append_attribute("version").set_value("1.0");
    declaration.append_attribute("encoding").set_value("utf-8");
    pugi::xml_node root = document.append_child("root");
    root.append_attribute("version").set_value(1);
    WritePassport(root.append_child("passport"));
    WriteChannels(root.append_child("channels"));
}

void CTarvikFile4::ReadXml(const pugi::xml_document& document) {
    const pugi::xml_node root = document.child("root");
    ReadPassport(root.child("passport"));
    ReadChannels(root.child("channels"));
}

int CTarvikFile4::SaveToFile(const std::string& path) {
    // An entry whose name is no element name would make XML that does not load again; such a
    // document is refused before anything is written.
    for (const PassportEntry& entry : m_passport.entries)
        if (!IsStorableEntryName(entry.name)) return save_result::kXmlNotWritten;

    AtomicFile document;
    if (!document.Open(path)) return save_result::kOpenFailed;
    const int section = WriteSignalSection(document, m_version, m_channels);
    if (section != save_result::kOk) return section;

    m_passport.path = path;
    pugi::xml_document xml;
    BuildXml(xml);
    XmlToFile writer(document);
    xml.save(writer, "", pugi::format_raw, pugi::encoding_utf8);
    if (writer.Failed() || !document.Finish()) return save_result::kXmlNotWritten;

    // Both files are complete before either replaces its old version.
    AtomicFile spectra;
    const int written = WriteSpectraFile(path, m_spectra, spectra);
    if (written != save_result::kOk) return written;
    if (!m_spectra.empty() && !spectra.Commit()) return save_result::kOpenFailed;
    return document.Commit() ? save_result::kOk : save_result::kOpenFailed;
}

int CTarvikFile4::LoadFromFile(const std::string& path) {
    InputFile in;
    if (!in.Open(path)) return load_result::kOpenFailed;
    const int section = ReadSignalSection(in, m_version, m_channels);
    if (section != load_result::kOk) return section;

    // The XML text runs to the end of the file; its size is what the file really holds.
    std::vector<char> text(static_cast<std::size_t>(in.Remaining()));
    text.resize(in.Read(text.data(), text.size()));
    pugi::xml_document xml;
    if (!ParseXml(xml, text.data(), text.size())) return load_result::kXmlNotParsed;
    ReadXml(xml);
    m_passport.path = path;

    const int spectra = ReadSpectra(path);
    return spectra == spectra_read_result::kOpenFailed ? load_result::kOk : spectra;
}

int CTarvikFile4::LoadFromBuffer(const void* data, std::size_t length) {
    const auto* bytes = static_cast<const unsigned char*>(data);
    std::size_t xml_at = 0;
    const int section = ReadSignalSection(bytes, length, m_version, m_channels, xml_at);
    if (section != buffer_result::kOk) return section;

    // The parser works on its own copy; the caller's bytes stay untouched.
    std::vector<char> text(bytes + xml_at, bytes + length);
    pugi::xml_document xml;
    if (!ParseXml(xml, text.data(), text.size())) return buffer_result::kXmlNotParsed;
    ReadXml(xml);
    return buffer_result::kOk;
}
