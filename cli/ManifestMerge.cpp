#include "ManifestMerge.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <optional>
#include <tuple>

#include "EchoText.h"
#include "FileIdentity.h"
#include "Manifest.h"
#include "Scenario.h"
#include "file/InputFile.h"
#include "file/SaveTarget.h"
#include "model/DocumentRules.h"

namespace {

// The largest document number (documents are numbered with 32 bits).
constexpr std::uint64_t kLastDocument = 4'294'967'295;

// The longest cell a batch writes: a double's shortest text ("-2.2250738585072014e-308", 24
// characters), longer than any whole number it writes or peak name a recipe gives ("P" and at
// most five digits).
constexpr std::size_t kLongestCell = 24;

std::size_t ColumnCount() {
    const std::string header = ManifestHeader();
    return static_cast<std::size_t>(std::count(header.begin(), header.end(), ',')) + 1;
}

// A row with every cell at its longest, its commas and its line feed; the part line and the
// header are shorter.
std::size_t LongestRow() {
    return std::max(ColumnCount() * (kLongestCell + 1), ManifestHeader().size());
}

[[noreturn]] void Fail(const std::string& path, const std::string& what) {
    throw ManifestError(Printable(path) + ": " + what);
}

[[noreturn]] void FailAt(const std::string& path, std::uint64_t line, const std::string& what) {
    Fail(path, "line " + std::to_string(line) + ": " + what);
}

// One line of a manifest (a quoted cell may hold line breaks, so a record can span lines): its
// text without the final line feed, and the number of cells.
struct Record {
    std::string text;
    std::size_t cells = 0;
    std::uint64_t line = 0;  // where it starts, from 1
};

// Reads a manifest record by record, through a buffer of fixed size, refusing what no batch
// writes: a NUL byte, an unclosed quote, text after a closing quote, a record longer than any
// row, a last record without its line feed.
class RecordReader {
public:
    explicit RecordReader(const std::string& path) : m_path(path), m_longest(LongestRow()) {
        if (m_in.Open(path)) return;
        if (!m_in.Refusal().empty()) Fail(path, "it is " + m_in.Refusal() + ", not a manifest");
        Fail(path, "cannot open the file: " + SystemErrorText(m_in.Error()));
    }

    // The next record, or false at the end of the file.
    bool Next(Record& record) {
        record = {{}, 1, m_line};
        State state = State::CellStart;
        for (;;) {
            if (m_at == m_size && !Fill()) {
                if (record.text.empty() && state == State::CellStart) return false;
                FailAt(m_path, record.line,
                       state == State::Quoted ? "a quoted cell is not closed"
                                              : "the last line has no line feed");
            }
            const char c = m_buffer[m_at++];
            if (c == '\0') FailAt(m_path, m_line, "holds a NUL byte");
            if (c == '\n') ++m_line;
            if (c == '\n' && state != State::Quoted) return true;
            state = Step(state, c, record);
            record.text += c;
            if (record.text.size() >= m_longest)
                FailAt(m_path, record.line,
                       "is longer than any row of a manifest (" + std::to_string(m_longest) +
                           " bytes)");
        }
    }

private:
    enum class State { CellStart, Plain, Quoted, QuoteInQuoted };

    State Step(State state, char c, Record& record) const {
        if (c == ',' && state != State::Quoted) {
            ++record.cells;
            return State::CellStart;
        }
        switch (state) {
            case State::CellStart:
                return c == '"' ? State::Quoted : State::Plain;
            case State::Plain:
                if (c == '"') FailAt(m_path, m_line, "a quote inside an unquoted cell");
                return State::Plain;
            case State::Quoted:
                return c == '"' ? State::QuoteInQuoted : State::Quoted;
            case State::QuoteInQuoted:
                if (c != '"') FailAt(m_path, m_line, "text after the closing quote of a cell");
                return State::Quoted;
        }
        return state;
    }

    bool Fill() {
        m_size = m_in.Read(m_buffer.data(), m_buffer.size());
        m_at = 0;
        return m_size > 0;
    }

    std::string m_path;
    std::size_t m_longest;
    InputFile m_in;
    std::array<char, 1 << 16> m_buffer{};
    std::size_t m_size = 0;
    std::size_t m_at = 0;
    std::uint64_t m_line = 1;
};

struct PartFile {
    std::string path;
    ManifestPart part;
};

std::optional<std::uint64_t> Field(std::string_view line, std::string_view key) {
    const std::string tag = " " + std::string(key) + "=";
    const std::size_t at = line.find(tag);
    if (at == std::string_view::npos) return std::nullopt;
    const char* begin = line.data() + at + tag.size();
    const char* end = line.data() + line.size();
    std::uint64_t value = 0;
    const int base = key == "recipe" ? 16 : 10;
    const auto [stop, error] = std::from_chars(begin, end, value, base);
    if (error != std::errc{} || (stop != end && *stop != ' ')) return std::nullopt;
    return value;
}

[[noreturn]] void NotAManifest(const std::string& path) {
    Fail(path,
         "not a manifest of xstgtool batch (its first lines are not a part line and the "
         "header)");
}

ManifestPart ParsePartLine(const std::string& path, std::string_view line) {
    const auto recipe = Field(line, "recipe");
    const auto seed = Field(line, "seed");
    const auto first = Field(line, "first");
    const auto count = Field(line, "count");
    const auto finished = Field(line, "finished");
    if (line.rfind(kManifestPartPrefix, 0) != 0 || !recipe || !seed || !first || !count ||
        !finished || *seed > UINT32_MAX)
        NotAManifest(path);
    if (*first < 1 || *count < 1 || *first > kLastDocument || *count > kLastDocument - *first + 1)
        Fail(path, "its part line names documents " + std::to_string(*first) + " to " +
                       std::to_string(*first + *count - 1) +
                       ", outside 1 to 4294967295, the documents of a corpus");
    if (*finished > *count)
        Fail(path, "its part line says " + std::to_string(*finished) + " documents finished of " +
                       std::to_string(*count) + ": more than the part has");
    return {*recipe, static_cast<std::uint32_t>(*seed), *first, *count, *finished};
}

// Reads the part line and the header of the manifest at `path`.
PartFile ReadPart(const std::string& path, RecordReader& reader) {
    PartFile file{path, {}};
    Record line;
    Record header;
    if (!reader.Next(line) || !reader.Next(header) || header.text + "\n" != ManifestHeader())
        NotAManifest(file.path);
    file.part = ParsePartLine(file.path, line.text);
    return file;
}

std::string Range(const ManifestPart& part) {
    return std::to_string(part.first) + " to " + std::to_string(part.first + part.count - 1);
}

void CheckParts(const std::vector<PartFile>& files) {
    for (const PartFile& file : files)
        if (file.part.finished != file.part.count)
            Fail(file.path, "holds " + std::to_string(file.part.finished) + " of its " +
                                std::to_string(file.part.count) +
                                " documents (the run was interrupted or failed); make the part "
                                "again first");
    for (std::size_t i = 1; i < files.size(); ++i) {
        const ManifestPart& a = files[i - 1].part;
        const ManifestPart& b = files[i].part;
        if (a.recipe != b.recipe || a.seed != b.seed)
            Fail(files[i].path, "comes from another recipe or seed than " + files[i - 1].path);
        const std::uint64_t next = a.first + a.count;
        if (b.first < next)
            Fail(files[i].path, "overlaps " + files[i - 1].path + " (documents from " +
                                    std::to_string(b.first) + ")");
        if (b.first > next)
            Fail(files[i].path, "documents " + std::to_string(next) + " to " +
                                    std::to_string(b.first - 1) + " are in none of the parts");
    }
}

// The whole number a row's first cells hold: document, channel, peak.
std::optional<std::uint64_t> Whole(std::string_view cell) {
    std::uint64_t value = 0;
    const auto [stop, error] = std::from_chars(cell.data(), cell.data() + cell.size(), value);
    if (error != std::errc{} || stop != cell.data() + cell.size()) return std::nullopt;
    return value;
}

using RowKey = std::tuple<std::uint64_t, std::uint64_t, std::uint64_t>;

RowKey KeyOf(const PartFile& file, const Record& row) {
    std::string_view text = row.text;
    std::optional<std::uint64_t> numbers[3];
    for (auto& number : numbers) {
        const std::size_t comma = text.find(',');
        number = Whole(text.substr(0, comma));
        if (!number) FailAt(file.path, row.line, "its document, channel and peak are not numbers");
        text.remove_prefix(comma + 1);
    }
    return {*numbers[0], *numbers[1], *numbers[2]};
}

// A document has at most kMaxChannels channels and kMaxScenarioPeaks stored peaks over
// all of them, so that a part holds no more rows than its documents can have.
void CheckWithinADocument(const PartFile& file, const Record& row, const RowKey& key,
                          const std::optional<RowKey>& previous, std::uint64_t& rows) {
    const auto [document, channel, peak] = key;
    if (channel >= kMaxChannels || peak >= kMaxScenarioPeaks)
        FailAt(file.path, row.line,
               "channel " + std::to_string(channel) + ", peak " + std::to_string(peak) +
                   " lies beyond the " + std::to_string(kMaxChannels) + " channels and " +
                   std::to_string(kMaxScenarioPeaks) + " peaks a document holds");
    rows = previous && std::get<0>(*previous) == document ? rows + 1 : 1;
    if (rows > kMaxScenarioPeaks)
        FailAt(file.path, row.line,
               "document " + std::to_string(document) + " has more rows than the " +
                   std::to_string(kMaxScenarioPeaks) + " peaks a document holds");
}

// Checks every row of the part, in order, and gives each to `out` when it has one.
void CheckRows(const PartFile& file, const std::function<void(std::string_view)>* out) {
    RecordReader reader(file.path);
    if (ManifestPartLine(ReadPart(file.path, reader).part) != ManifestPartLine(file.part))
        Fail(file.path, "changed while it was read");
    const std::size_t columns = ColumnCount();
    const std::uint64_t last = file.part.first + file.part.finished - 1;
    std::optional<RowKey> previous;
    std::uint64_t rows_of_document = 0;
    Record row;
    while (reader.Next(row)) {
        if (row.cells != columns)
            FailAt(file.path, row.line,
                   "has " + std::to_string(row.cells) + " cells, not " + std::to_string(columns));
        const RowKey key = KeyOf(file, row);
        const std::uint64_t document = std::get<0>(key);
        if (document < file.part.first || document > last)
            FailAt(file.path, row.line,
                   "document " + std::to_string(document) + " is not one of the part's documents " +
                       Range(file.part));
        if (previous && !(*previous < key))
            FailAt(file.path, row.line, "is out of document, channel and peak order");
        CheckWithinADocument(file, row, key, previous, rows_of_document);
        previous = key;
        if (out != nullptr) {
            (*out)(row.text);
            (*out)("\n");
        }
    }
}

std::vector<PartFile> ReadParts(const std::vector<std::string>& folders) {
    std::vector<PartFile> files;
    for (const std::string& folder : folders) {
        const std::string path = folder + "/" + kManifestName;
        RecordReader reader(path);
        files.push_back(ReadPart(path, reader));
    }
    std::stable_sort(files.begin(), files.end(), [](const PartFile& a, const PartFile& b) {
        return a.part.first < b.part.first;
    });
    return files;
}

}  // namespace

void MergeManifests(const std::vector<std::string>& folders,
                    const std::function<void(std::string_view)>& out) {
    if (folders.empty()) throw ManifestError("no manifests to merge");
    const std::vector<PartFile> files = ReadParts(folders);
    CheckParts(files);
    // Checked whole before the first byte goes out, so that a refused merge writes nothing.
    for (const PartFile& file : files) CheckRows(file, nullptr);
    ManifestPart merged = files.front().part;
    merged.count = merged.finished =
        files.back().part.first + files.back().part.count - merged.first;
    out(ManifestPartLine(merged));
    out(ManifestHeader());
    for (const PartFile& file : files) CheckRows(file, &out);
}

void CheckMergeOutput(const std::vector<std::string>& folders, const std::string& output) {
    const FileIdentity target = IdentityOf(output);
    for (const std::string& folder : folders) {
        const std::string manifest = folder + "/" + kManifestName;
        if (IdentityOf(manifest) == target)
            throw ManifestError(Printable(output) + ": is " + Printable(manifest) +
                                ", a part the merge reads; write the merged manifest elsewhere");
    }
}
