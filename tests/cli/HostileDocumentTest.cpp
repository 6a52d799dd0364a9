#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>
#include <streambuf>

#include <nlohmann/json.hpp>
#include <pugixml.hpp>

#include "ToolRunner.h"
#include "cli/DocumentJson.h"
#include "file/SpectraFile.h"
#include "support/AllocationMeter.h"

namespace {

// Puts `to` in place of the one sample of the file whose bits are those of `from`.
void ReplaceSample(std::string& bytes, float from, float to) {
    std::string pattern(sizeof from, '\0');
    std::memcpy(pattern.data(), &from, sizeof from);
    const std::size_t at = bytes.find(pattern);
    ASSERT_NE(at, std::string::npos);
    ASSERT_EQ(bytes.find(pattern, at + 1), std::string::npos);
    std::memcpy(bytes.data() + at, &to, sizeof to);
}

// The document saves no sample that is not finite, so the file gets its NaN and infinity
// afterwards, as another program might have written them.
void SaveRichDocument(const std::string& path) {
    CTarvikFile4 doc;
    const float a[] = {1.5f, -2.25f, 0.1f, 1234.5f, 4321.25f, 3e38f};
    doc.m_channels.emplace_back(0, 0.5, 0.0, a, 6);
    doc.m_channels.emplace_back(7, 0.25, 1.0, a, 2);
    Peak4 peak;
    peak.name = "Пик";
    peak.area = 1.0 / 3.0;
    doc.m_channels[0].table = {peak, Peak4{}};
    doc.m_passport.sample = "S\t\"q\"";
    doc.m_passport.columns.push_back(ColumnInfo{});
    doc.m_passport.columns[0].channelsId = {0, 7};
    doc.m_passport.entries.push_back({"operator", "Оператор", "X"});
    doc.m_spectra = {SpectrumRecord{0.5, {{100, 1.0f}, {102, 0.1f}}}};
    ASSERT_EQ(doc.SaveToFile(path), 0);
    std::string bytes;
    {
        std::ifstream in(path, std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), {});
    }
    ReplaceSample(bytes, 1234.5f, NAN);
    ReplaceSample(bytes, 4321.25f, INFINITY);
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// The dump is written piece by piece; it must still be exactly what the JSON library would
// print for the same tree, indentation and number forms included.
TEST(Dump, StreamedTextIsTheLibrarysOwnLayout) {
    ToolFolder dir;
    SaveRichDocument(dir.Path("d.xstg").string());
    for (const char* samples : {"", "--samples"}) {
        std::vector<std::string> args = {"dump", "d.xstg"};
        if (*samples != '\0') args.push_back(samples);
        const ToolResult run = dir.Run(args);
        ASSERT_EQ(run.exit_code, 0) << run.err;
        EXPECT_EQ(nlohmann::ordered_json::parse(run.out).dump(2) + "\n", run.out);
    }
}

// Bytes that are not UTF-8, in a value or in an element name, and character references to
// what is no character, are printed with U+FFFD instead of aborting the dump.
TEST(Dump, TextThatIsNotUtf8IsPrintedWithReplacementCharacters) {
    ToolFolder dir;
    SaveRichDocument(dir.Path("d.xstg").string());
    std::string bytes = dir.Read("d.xstg");
    const std::size_t xml_at = bytes.find("<?xml");
    std::string xml = bytes.substr(xml_at);
    const auto replace = [&xml](const std::string& from, const std::string& to) {
        xml.replace(xml.find(from), from.size(), to);
    };
    replace("value=\"Пик\"", "value=\"\xD0\xFF&#xD800;\"");
    replace("<operator ", "<op\xFFr ");
    dir.Write("bad.xstg", bytes.substr(0, xml_at) + xml);
    const ToolResult run = dir.Run({"dump", "bad.xstg"});
    ASSERT_EQ(run.exit_code, 0) << run.err;
    const auto json = nlohmann::json::parse(run.out);
    EXPECT_EQ(json["channels"][0]["peaks"][0]["name"],
              "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD");
    EXPECT_EQ(json["passport"]["entries"][0]["name"], "op\xEF\xBF\xBDr");
}

// Load failures name the file that failed and, for XML, where the parser stopped.
TEST(Dump, LoadFailuresNameTheFileAndTheXmlByte) {
    ToolFolder dir;
    SaveRichDocument(dir.Path("d.xstg").string());
    const std::string bytes = dir.Read("d.xstg");
    const std::size_t xml_at = bytes.find("<?xml");
    std::string xml = bytes.substr(xml_at);
    xml.replace(xml.find("</passport>"), 11, "</passpork>");
    dir.Write("broken.xstg", bytes.substr(0, xml_at) + xml);
    pugi::xml_document parsed;
    const std::size_t offset = xml_at + parsed.load_string(xml.c_str()).offset;

    dir.Write("spectra.xstg", bytes);
    dir.Write("spectra.xspc", "SPX");
    const std::pair<std::string, std::string> cases[] = {
        {"broken.xstg",
         "xstgtool: broken.xstg: cannot load: result code -7: the XML text does not parse: "
         "Start-end tags mismatch, at byte " +
             std::to_string(offset) + "\n"},
        {"spectra.xstg",
         "xstgtool: spectra.xspc: cannot load the spectra file: result code -2: the spectra "
         "file's header is cut short\n"},
    };
    for (const auto& [name, expected] : cases) {
        const ToolResult run = dir.Run({"dump", name});
        EXPECT_EQ(run.exit_code, 1);
        EXPECT_EQ(run.err, expected);
        EXPECT_TRUE(run.out.empty());
    }
}

// Counts what is written and keeps nothing.
class CountingBuffer : public std::streambuf {
public:
    std::size_t count = 0;

protected:
    int overflow(int c) override {
        ++count;
        return c;
    }
    std::streamsize xsputn(const char*, std::streamsize n) override {
        count += static_cast<std::size_t>(n);
        return n;
    }
};

TEST(Dump, MemoryDoesNotGrowWithTheDocument) {
    CTarvikFile4 doc;
    constexpr std::size_t kSamples = 2'000'000;
    doc.m_channels.emplace_back(0);
    doc.m_channels[0].signal.samples.assign(kSamples, 0.125f);
    doc.m_channels[0].table.assign(20'000, Peak4{});
    doc.m_passport.entries.assign(20'000, PassportEntry{"e", "t", "v"});
    CountingBuffer counter;
    std::ostream out(&counter);
    allocation_meter::Start();
    WriteDocumentJson(doc, out, true);
    // A tree of the whole document would take over 100 MB; one peak at a time takes a few KB.
    EXPECT_LT(allocation_meter::PeakSinceStart(), std::size_t{256} << 10);
    EXPECT_GT(counter.count, kSamples * 5);
}

TEST(Export, AChannelWithoutAFiniteTimeAxisIsNamed) {
    ToolFolder dir;
    CTarvikFile4 doc;
    const float a[] = {1.0f, 2.0f};
    doc.m_channels.emplace_back(3, NAN, 0.0, a, 2);
    ASSERT_EQ(doc.SaveToFile(dir.Path("d.xstg").string()), 0);
    const ToolResult run = dir.Run({"export", "d.xstg", "--csv", "out.csv"});
    EXPECT_EQ(run.exit_code, 1);
    EXPECT_EQ(run.err,
              "xstgtool: d.xstg: channel 3: its time axis is not finite (start 0, step nan min), "
              "so its times cannot be written\n");
    EXPECT_FALSE(dir.Exists("out.csv"));
}

}  // namespace
