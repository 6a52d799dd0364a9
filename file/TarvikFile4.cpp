#include "TarvikFile4.h"

#include <optional>
#include <vector>

#include "AtomicFile.h"
#include "ChannelsXml.h"
#include "DocumentCommit.h"
#include "DocumentHeader.h"
#include "DocumentLimits.h"
#include "InputFile.h"
#include "PassportXml.h"
#include "SaveTarget.h"
#include "SignalSection.h"
#include "SpectraFile.h"
#include "XmlCost.h"
#include "synth/FiniteCheck.h"

namespace {

// Sends the XML text into the document's temporary file, remembers a failed write, and stops
// once the text exceeds what a document may hold, so that loading never meets such a text.
class XmlToFile : public pugi::xml_writer {
public:
    explicit XmlToFile(AtomicFile& out) : m_out(out) {}
    void write(const void* data, std::size_t size) override {
        if (m_failed || m_too_large) return;
        const auto* text = static_cast<const char*>(data);
        m_cost.Add(text, size);
        if (m_cost.Exceeds()) {
            m_too_large = true;
            return;
        }
        if (!m_out.Write(data, size)) m_failed = true;
    }
    bool Failed() const { return m_failed; }
    bool TooLarge() const { return m_too_large; }
    const XmlCost& Cost() const { return m_cost; }

private:
    AtomicFile& m_out;
    XmlCost m_cost;
    bool m_failed = false;
    bool m_too_large = false;
};

// The text is UTF-8 whatever its declaration claims; a leading byte-order mark is skipped.
pugi::xml_parse_result ParseXml(pugi::xml_document& document, void* text, std::size_t size) {
    return document.load_buffer_inplace(text, size, pugi::parse_default, pugi::encoding_utf8);
}

// Which channel holds a sample or a stored peak value that is not finite, and where, in words.
std::optional<std::string> FindNonFiniteDocumentValue(const std::vector<Channel4>& channels) {
    for (const Channel4& channel : channels) {
        const std::optional<NonFiniteValue> value =
            FindNonFiniteValue(channel.signal, channel.table);
        if (!value) continue;
        const std::string where = "channel " + std::to_string(channel.number);
        if (value->sample) return where + ", sample " + std::to_string(*value->sample);
        return where + ", peak " + std::to_string(value->peak) + ", its " +
               std::string(value->field);
    }
    return std::nullopt;
}

std::size_t TotalSamples(const std::vector<Channel4>& channels) {
    std::size_t total = 0;
    for (const Channel4& channel : channels) total += channel.signal.Size();
    return total;
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

int CTarvikFile4::Fail(int code, const std::string& path, bool spectra, std::string detail,
                       int system_error) {
    m_failure.code = code;
    m_failure.path = path;
    m_failure.spectra = spectra;
    m_failure.detail = std::move(detail);
    m_failure.system_error = system_error;
    return code;
}

int CTarvikFile4::Refuse(const SaveTarget& target, const std::string& path, bool spectra) {
    if (target.error != 0) return Fail(save_result::kOpenFailed, path, spectra, {}, target.error);
    return Fail(save_result::kNotRegularFile, path, spectra,
                "it is " + target.refusal + ", not a regular file");
}

int CTarvikFile4::CheckSavePath(const std::string& path) {
    SaveTarget document;
    return CheckSavePath(path, document);
}

int CTarvikFile4::CheckSavePath(const std::string& path, SaveTarget& document) {
    m_failure = {};
    m_failure.operation = FileOperation::Save;
    document = TargetOfSave(path);
    if (!document.ok()) return Refuse(document, path, false);
    const std::string spectra_path = SpectraPath(path);
    if (spectra_path == path) return Fail(save_result::kSpectraPathIsDocument, path, false);
    // The spectra path can lead to the document's file only when that file exists; without
    // spectra to write, a new document (a batch's every one) needs no look at it.
    if (m_spectra.empty() && !document.exists) return save_result::kOk;
    const SaveTarget spectra = TargetOfSave(spectra_path);
    // Saving would write the spectra file over the document, or, without spectra, remove it.
    if (spectra.ok() && spectra.path == document.path)
        return Fail(save_result::kSpectraPathIsDocument, path, false);
    if (!m_spectra.empty() && !spectra.ok()) return Refuse(spectra, spectra_path, true);
    return save_result::kOk;
}

int CTarvikFile4::CheckStorable(const std::string& path) {
    const std::size_t samples = TotalSamples(m_channels);
    if (samples > kMaxDocumentSampleCount)
        return Fail(save_result::kTooLarge, path, false,
                    "it holds " + std::to_string(samples) + " samples; a document holds at most " +
                        std::to_string(kMaxDocumentSampleCount));
    const std::uint64_t section = kDocumentHeaderSize +
                                  kSignalBlockHeaderSize * std::uint64_t{m_channels.size()} +
                                  4 * std::uint64_t{samples};
    if (section > kMaxSignalSectionBytes)
        return Fail(save_result::kTooLarge, path, false,
                    std::to_string(m_channels.size()) + " channels are more than a document holds");
    if (std::optional<std::string> value = FindNonFiniteDocumentValue(m_channels))
        return Fail(save_result::kNonFiniteValue, path, false, *value);
    // Text that would not read back is refused before anything is written.
    std::optional<std::string> text = FindUnstorablePassportText(m_passport);
    if (!text) text = FindUnstorablePeakName(m_channels);
    if (text) return Fail(save_result::kXmlNotWritten, path, false, *text);
    return save_result::kOk;
}

int CTarvikFile4::SaveToFile(const std::string& path) {
    SaveTarget target;
    if (const int checked = CheckSavePath(path, target); checked != save_result::kOk)
        return checked;
    if (const int storable = CheckStorable(path); storable != save_result::kOk) return storable;

    m_passport.path = path;
    pugi::xml_document xml;
    BuildXml(xml);

    AtomicFile document;
    if (!document.Open(target))
        return RecordFileFailure(m_failure, save_result::kOpenFailed, document, path, false);
    const int section = WriteSignalSection(document, m_version, m_channels);
    if (section != save_result::kOk)
        return RecordFileFailure(m_failure, section, document, path, false);
    XmlToFile writer(document);
    xml.save(writer, "", pugi::format_raw, pugi::encoding_utf8);
    if (writer.TooLarge())
        return Fail(
            save_result::kTooLarge, path, false,
            "its XML text (passport and peak tables) is larger than " + DescribeXmlLimits());
    if (writer.Failed() || !document.Finish())
        return RecordFileFailure(m_failure, save_result::kXmlNotWritten, document, path, false);

    // Both files are complete before either replaces its old version.
    const std::string spectra_path = SpectraPath(path);
    AtomicFile spectra;
    const int written = WriteSpectraFile(path, m_spectra, spectra);
    if (written != save_result::kOk)
        return RecordFileFailure(m_failure, written, spectra, spectra_path, true);
    return CommitDocument(document, m_spectra.empty() ? nullptr : &spectra, spectra_path,
                          m_failure);
}

int CTarvikFile4::LoadFromFile(const std::string& path) {
    m_failure = {};
    m_failure.operation = FileOperation::Load;
    InputFile in;
    if (!in.Open(path))
        return Fail(load_result::kOpenFailed, path, false,
                    in.Refusal().empty() ? "" : "it is " + in.Refusal() + ", not a regular file",
                    in.Error());
    if (in.Size() > kMaxDocumentBytes)
        return Fail(load_result::kTooLarge, path, false,
                    "it is " + std::to_string(in.Size()) + " bytes; a document is at most " +
                        std::to_string(kMaxDocumentBytes));
    const int section = ReadSignalSection(in, m_version, m_channels);
    if (section != load_result::kOk) return Fail(section, path, false);

    // The XML text runs to the end of the file; its size is what the file really holds.
    const std::uint64_t xml_at = in.Position();
    std::vector<char> text(static_cast<std::size_t>(in.Remaining()));
    text.resize(in.Read(text.data(), text.size()));
    XmlCost cost;
    cost.Add(text.data(), text.size());
    if (cost.Exceeds())
        return Fail(load_result::kTooLarge, path, false,
                    "its XML text is larger than " + DescribeXmlLimits());
    pugi::xml_document xml;
    const pugi::xml_parse_result parsed = ParseXml(xml, text.data(), text.size());
    if (!parsed) {
        m_failure.offset = static_cast<std::int64_t>(xml_at) + parsed.offset;
        return Fail(load_result::kXmlNotParsed, path, false, parsed.description());
    }
    ReadXml(xml);
    m_passport.path = path;

    const int spectra = ReadSpectra(path);
    if (spectra == spectra_read_result::kOk || spectra == spectra_read_result::kOpenFailed)
        return load_result::kOk;
    return Fail(spectra, SpectraPath(path), true);
}

int CTarvikFile4::LoadFromBuffer(const void* data, std::size_t length) {
    m_failure = {};
    m_failure.operation = FileOperation::LoadBuffer;
    if (length > kMaxDocumentBytes) return Fail(buffer_result::kTooLarge, {}, false);
    const auto* bytes = static_cast<const unsigned char*>(data);
    std::size_t xml_at = 0;
    const int section = ReadSignalSection(bytes, length, m_version, m_channels, xml_at);
    if (section != buffer_result::kOk) return Fail(section, {}, false);

    XmlCost cost;
    cost.Add(reinterpret_cast<const char*>(bytes) + xml_at, length - xml_at);
    if (cost.Exceeds())
        return Fail(buffer_result::kTooLarge, {}, false,
                    "its XML text is larger than " + DescribeXmlLimits());
    // The parser works on its own copy; the caller's bytes stay untouched.
    std::vector<char> text(bytes + xml_at, bytes + length);
    pugi::xml_document xml;
    const pugi::xml_parse_result parsed = ParseXml(xml, text.data(), text.size());
    if (!parsed) {
        m_failure.offset = static_cast<std::int64_t>(xml_at) + parsed.offset;
        return Fail(buffer_result::kXmlNotParsed, {}, false, parsed.description());
    }
    ReadXml(xml);
    return buffer_result::kOk;
}
