#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "CorpusSupport.h"
#include "ToolRunner.h"

namespace {

namespace fs = std::filesystem;

// No command writes over one of its inputs, nor one of its outputs over another, however the
// file is spelled or linked; and an export that must refuse part of its work writes nothing.
// Each refusal is one line before anything is written: every file stays as it was.
TEST(OwnFiles, NoCommandWritesOverItsInputsOrOverAnotherOutput) {
    ToolFolder dir;
    const std::string channel = R"({"peaks": [{"time": 0.5, "height": 1}]})";
    dir.Write("s.json",
              R"({"analysis_time": 1, "sample_rate": 10, "channels": [)" + channel + "]}");
    dir.Write("two.json", R"({"analysis_time": 1, "sample_rate": 10, "channels": [)" + channel +
                              "," + channel + "]}");
    dir.Write("s.xspc", dir.Read("s.json"));
    ASSERT_EQ(dir.Run({"generate", "s.json", "-o", "d.xstg"}).exit_code, 0);
    ASSERT_EQ(dir.Run({"generate", "two.json", "-o", "two.xstg"}).exit_code, 0);
    ASSERT_EQ(
        dir.Run({"generate", "s.json", "-o", "y10000.xstg", "--date", "253402300800"}).exit_code,
        0);
    fs::create_symlink("d.xstg", dir.Path("link.xstg"));

    const struct {
        std::vector<std::string> args;
        std::string expected;
    } cases[] = {
        {{"generate", "s.json", "-o", "d.xstg", "--manifest", "d.xstg"},
         "d.xstg: --manifest names the same file as -o (d.xstg)"},
        {{"generate", "s.json", "-o", "d.xstg", "--manifest", "./d.xstg"},
         "./d.xstg: --manifest names the same file as -o (d.xstg)"},
        {{"generate", "s.json", "-o", "d.xstg", "--manifest", "s.json"},
         "s.json: --manifest names the same file as the scenario (s.json)"},
        {{"generate", "s.json", "-o", "d.xstg", "--manifest", "d.xspc"},
         "d.xspc: --manifest names the same file as the spectra file of -o (d.xspc)"},
        {{"generate", "s.xspc", "-o", "s.xstg"},
         "s.xspc: the spectra file of -o names the same file as the scenario (s.xspc)"},
        {{"export", "d.xstg", "--csv", "d.xstg"},
         "d.xstg: --csv names the same file as the document (d.xstg)"},
        {{"export", "d.xstg", "--aia", "link.xstg"},
         "link.xstg: --aia names the same file as the document (d.xstg)"},
        {{"export", "d.xstg", "--csv", "d.xspc"},
         "d.xspc: --csv names the same file as the document's spectra file (d.xspc)"},
        {{"export", "d.xstg", "--csv", "x", "--aia", "x"},
         "x: --csv names the same file as --aia (x)"},
        {{"export", "two.xstg", "--aia", "out.cdf", "--csv", "out-channel-1.cdf"},
         "out-channel-1.cdf: --csv names the same file as --aia for channel 1 "
         "(out-channel-1.cdf)"},
        {{"export", "y10000.xstg", "--csv", "a.csv", "--aia", "b.cdf"},
         "y10000.xstg: the passport's analysis date (253402300800 s since 1970) lies outside "
         "the years 0 to 9999"},
    };
    const auto before = FilesOf(dir, ".");
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.args));
        const ToolResult run = dir.Run(c.args);
        EXPECT_EQ(run.exit_code, 1);
        EXPECT_EQ(run.err.rfind("xstgtool: " + c.expected, 0), 0u) << run.err;
        EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << run.err;
        EXPECT_EQ(FilesOf(dir, "."), before);
    }
}

}  // namespace
