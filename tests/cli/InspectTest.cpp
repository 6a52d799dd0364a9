#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "ToolRunner.h"
#include "file/TarvikFile4.h"

namespace {

// A document written by the document class itself, with two channels on one time axis.
void WriteDocument(const ToolFolder& dir, const std::string& name, double second_step) {
    CTarvikFile4 doc;
    const float a[] = {1.5f, -2.25f, 0.1f};
    const float b[] = {10.0f, 20.0f};
    doc.m_channels.emplace_back(0, 0.5, 0.0, a, 3);
    doc.m_channels.emplace_back(1, second_step, 0.0, b, 2);
    Peak4 peak;
    peak.name = "Пик";
    peak.time = 0.5;
    peak.flags = 7;
    doc.m_channels[0].table.push_back(peak);
    doc.m_passport.sample = "S";
    ASSERT_EQ(doc.SaveToFile(dir.Path(name).string()), 0);
}

TEST(Dump, PrintsTheWholeDocumentAsJson) {
    ToolFolder dir;
    WriteDocument(dir, "d.xstg", 0.5);
    ToolResult run = dir.Run({"dump", "d.xstg"});
    ASSERT_EQ(run.exit_code, 0) << run.err;
    const auto json = nlohmann::json::parse(run.out);
    EXPECT_EQ(json["format_version"], 1);
    EXPECT_EQ(json["passport"]["sample"], "S");
    ASSERT_EQ(json["channels"].size(), 2u);
    EXPECT_EQ(json["channels"][0]["sample_count"], 3);
    EXPECT_EQ(json["channels"][0]["step"], 0.5);
    EXPECT_FALSE(json["channels"][0].contains("samples"));
    const auto& peak = json["channels"][0]["peaks"][0];
    EXPECT_EQ(peak["name"], "Пик");
    EXPECT_EQ(peak["flags"], 7);
    EXPECT_EQ(peak.size(), 14u);
    EXPECT_TRUE(json["spectra"].empty());

    run = dir.Run({"dump", "d.xstg", "--samples"});
    const auto with_samples = nlohmann::json::parse(run.out);
    EXPECT_EQ(with_samples["channels"][0]["samples"][1], -2.25);
}

TEST(Dump, DamagedDocumentsGiveTheirResultCode) {
    ToolFolder dir;
    WriteDocument(dir, "d.xstg", 0.5);
    const std::string bytes = dir.Read("d.xstg");
    dir.Write("cut.xstg", bytes.substr(0, 20));  // inside the first block header
    dir.Write("junk.xstg", "this is not a chromatogram at all");
    for (const char* name : {"cut.xstg", "junk.xstg", "missing.xstg"}) {
        SCOPED_TRACE(name);
        for (const char* command : {"dump", "export"}) {
            std::vector<std::string> args = {command, name};
            if (std::string(command) == "export") args.insert(args.end(), {"--csv", "o.csv"});
            const ToolResult run = dir.Run(args);
            EXPECT_NE(run.exit_code, 0);
            EXPECT_NE(run.err.find(std::string(name) + ": cannot load: result code -"),
                      std::string::npos)
                << run.err;
            EXPECT_TRUE(run.out.empty());
            EXPECT_FALSE(dir.Exists("o.csv"));
        }
    }
}

TEST(Export, ChannelsOnOneTimeAxisShareAFile) {
    ToolFolder dir;
    WriteDocument(dir, "d.xstg", 0.5);
    const ToolResult run = dir.Run({"export", "d.xstg", "--csv", "out.csv"});
    ASSERT_EQ(run.exit_code, 0) << run.err;
    EXPECT_EQ(dir.Read("out.csv"),
              "time_min,channel_0_mV,channel_1_mV\n"
              "0,1.5,10\n"
              "0.5,-2.25,20\n"
              "1,0.1,\n");
}

TEST(Export, ChannelsOnDifferentTimeAxesGetAFileEach) {
    ToolFolder dir;
    WriteDocument(dir, "d.xstg", 0.25);
    const ToolResult run = dir.Run({"export", "d.xstg", "--csv", "out.csv"});
    ASSERT_EQ(run.exit_code, 0) << run.err;
    EXPECT_NE(run.err.find("one file per channel"), std::string::npos);
    EXPECT_FALSE(dir.Exists("out.csv"));
    EXPECT_EQ(dir.Read("out-channel-0.csv"), "time_min,channel_0_mV\n0,1.5\n0.5,-2.25\n1,0.1\n");
    EXPECT_EQ(dir.Read("out-channel-1.csv"), "time_min,channel_1_mV\n0,10\n0.25,20\n");
}

}  // namespace

#include "res/Version.h"

namespace {

TEST(Version, IsTheProgramsFourNumbers) {
    ToolFolder dir;
    const ToolResult run = dir.Run({"--version"});
    EXPECT_EQ(run.exit_code, 0);
    EXPECT_EQ(run.out, std::string("xstgtool ") + QuelmarVersion::kText + "\n");
    int dots = 0;
    for (const char* c = QuelmarVersion::kText; *c != '\0'; ++c) dots += *c == '.';
    EXPECT_EQ(dots, 3);
}

}  // namespace
