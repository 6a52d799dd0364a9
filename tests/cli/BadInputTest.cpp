#include <gtest/gtest.h>

#include <string>

#include "ToolRunner.h"

namespace {

struct BadScenario {
    const char* label;
    std::string text;
    std::string expected;  // a part of the message
};

std::string WithPeak(const std::string& peak) {
    return R"({"analysis_time": 10, "sample_rate": 100, "channels": [{"peaks": [)" + peak + "]}]}";
}

std::string ManyChannels(int count) {
    std::string channels;
    for (int i = 0; i < count; ++i) channels += (i ? ",{}" : "{}");
    return R"({"analysis_time": 1, "sample_rate": 10, "channels": [)" + channels + "]}";
}

// Every refusal: a non-zero exit, one line on standard error naming the scenario, and no
// output file at all.
TEST(BadInput, ScenarioErrorsAreOneLineAndLeaveNoFile) {
    const BadScenario cases[] = {
        {"syntax", "{\"analysis_time\": 10,\n  \"sample_rate\": 100,\n  \"channels\": [}\n",
         "line 3, column 16"},
        {"missing time", WithPeak(R"({"height": 1})"), "\"time\" is missing"},
        {"missing height", WithPeak(R"({"time": 1})"), "\"height\" is missing"},
        {"width and area", WithPeak(R"({"time": 1, "height": 1, "width": 0.1, "area": 2})"),
         "not both"},
        {"zero width", WithPeak(R"({"time": 1, "height": 1, "width": 0})"),
         "channels[0].peaks[0].width: must be greater than 0"},
        {"negative width", WithPeak(R"({"time": 1, "height": 1, "width": -0.1})"),
         "must be greater than 0"},
        {"one bound", WithPeak(R"({"time": 1, "height": 1, "front": 0.5})"), "\"back\""},
        {"typo", WithPeak(R"({"time": 1, "hieght": 1})"), "unknown key \"hieght\""},
        {"top-level typo",
         R"({"analysis_time": 10, "sample_rate": 100, "chanels": [], "channels": [{}]})",
         "unknown key \"chanels\""},
        {"zero time", R"({"analysis_time": 0, "sample_rate": 100, "channels": [{}]})",
         "analysis_time"},
        {"slow rate", R"({"analysis_time": 10, "sample_rate": 0.5, "channels": [{}]})",
         "sample_rate"},
        {"too many samples", R"({"analysis_time": 1e6, "sample_rate": 1e6, "channels": [{}]})",
         "more than 50000000 samples"},
        {"too many channels", ManyChannels(257), "at most 256"},
        {"string number", WithPeak(R"({"time": "5", "height": 1})"), "time: must be a number"},
        {"passport identifier", R"({"analysis_time": 1, "sample_rate": 10,
           "passport": {"assayid": "x"}, "channels": [{}]})",
         "unknown key \"assayid\""},
        {"entry name", R"({"analysis_time": 1, "sample_rate": 10,
           "passport": {"entries": [{"name": "a b"}]}, "channels": [{}]})",
         "XML element name"},
    };
    ToolFolder dir;
    for (const BadScenario& c : cases) {
        SCOPED_TRACE(c.label);
        dir.Write("bad.json", c.text);
        const ToolResult run = dir.Run({"generate", "bad.json", "-o", "out.xstg"});
        EXPECT_NE(run.exit_code, 0);
        EXPECT_EQ(run.err.rfind("xstgtool: bad.json: ", 0), 0u) << run.err;
        EXPECT_NE(run.err.find(c.expected), std::string::npos) << run.err;
        EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << run.err;
        EXPECT_FALSE(dir.Exists("out.xstg"));
    }
}

TEST(BadInput, CommandLineErrors) {
    ToolFolder dir;
    dir.Write("s.json", R"({"analysis_time": 1, "sample_rate": 10, "channels": [{}]})");

    ToolResult run = dir.Run({"generate", "missing.json", "-o", "out.xstg"});
    EXPECT_NE(run.exit_code, 0);
    EXPECT_NE(run.err.find("missing.json: cannot open"), std::string::npos) << run.err;

    run = dir.Run({"generate", "s.json", "-o", "out.xstg", "--assay-id", "not-a-uuid"});
    EXPECT_NE(run.exit_code, 0);
    EXPECT_NE(run.err.find("not a UUID"), std::string::npos) << run.err;

    run = dir.Run({"generate", "s.json", "-o", "no-such-folder/out.xstg"});
    EXPECT_NE(run.exit_code, 0);
    EXPECT_NE(run.err.find("result code -1"), std::string::npos) << run.err;

    run = dir.Run({"generate", "s.json"});  // no output named
    EXPECT_NE(run.exit_code, 0);
    EXPECT_FALSE(dir.Exists("out.xstg"));

    run = dir.Run({});
    EXPECT_NE(run.exit_code, 0);
}

TEST(BadInput, AFailedGenerationKeepsTheOldOutput) {
    ToolFolder dir;
    dir.Write("out.xstg", "precious");
    dir.Write("bad.json", WithPeak(R"({"time": 1})"));
    EXPECT_NE(dir.Run({"generate", "bad.json", "-o", "out.xstg"}).exit_code, 0);
    EXPECT_EQ(dir.Read("out.xstg"), "precious");
}

}  // namespace
