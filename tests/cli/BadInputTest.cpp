#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
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

std::string WithPassport(const std::string& passport) {
    return R"({"analysis_time": 1, "sample_rate": 10, "passport": )" + passport +
           R"(, "channels": [{}]})";
}

std::string ManyPeaks(int count) {
    std::string peaks;
    for (int i = 0; i < count; ++i)
        peaks += (i ? R"(,{"time":1,"height":1})" : R"({"time":1,"height":1})");
    return WithPeak(peaks);
}

std::string WithComponents(const std::string& keys) {
    return R"({"analysis_time": 10, "sample_rate": 100, "channels": [{"noise": 0.1, )" + keys +
           "}]}";
}

std::string ManySteps(int count) {
    std::string steps;
    for (int i = 0; i < count; ++i)
        steps += (i ? "," : "") + std::string(R"({"time":1,"height":1,"width":0.1})");
    return WithComponents(R"("steps": [)" + steps + "]");
}

std::string Nested(int depth) {
    return WithPassport(R"({"entries": )" + std::string(depth, '[') + std::string(depth, ']') +
                        "}");
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
        // Numbers beyond a double, named with their key and place.
        {"huge exponent", R"({"analysis_time": 1e400, "sample_rate": 100, "channels": [{}]})",
         "analysis_time: the number \"1e400\" at line 1, column 19 is beyond the range"},
        {"400 digits", WithPeak(R"({"time": 1, "height": )" + std::string(400, '9') + "}"),
         "channels[0].peaks[0].height: the number \"9999"},
        {"duplicate key", WithPeak(R"({"time": 1, "height": 1, "time": 2})"),
         "channels[0].peaks[0]: duplicate key \"time\""},
        {"duplicate top key", R"({"analysis_time": 1, "analysis_time": 2})",
         "duplicate key \"analysis_time\""},
        {"nested deeply", Nested(100), "nested deeper than 64 levels"},
        // Text that XML 1.0 cannot hold, refused instead of cut or written as broken XML.
        {"NUL in a name", WithPeak(R"({"name": "ab\u0000cd", "time": 1, "height": 1})"),
         "channels[0].peaks[0].name: holds U+0000 at byte 2"},
        {"control character", WithPassport(R"({"sample": "a\u0001"})"),
         "passport.sample: holds U+0001"},
        {"U+FFFF", WithPassport(R"({"entries": [{"name": "x", "value": "\uffff"}]})"),
         "passport.entries[0].value: holds U+FFFF"},
        {"U+FFFE", WithPassport(R"({"columns": [{"serial": "\ufffe"}]})"),
         "passport.columns[0].serial: holds U+FFFE"},
        {"times sign", WithPassport(R"({"entries": [{"name": "×x"}]})"), "XML element name"},
        {"middle dot", WithPassport(R"({"entries": [{"name": "·x"}]})"), "XML element name"},
        {"colon", WithPassport(R"({"entries": [{"name": ":"}]})"), "XML element name"},
        // Keys and names are echoed short, with control characters escaped, on one line.
        {"long key", WithPeak(R"({"\n)" + std::string(500, 'k') + R"(": 1})"),
         "unknown key \"\\nkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkk...\""},
        {"too many peaks", ManyPeaks(50'001), "hold 50001 peaks; a document holds at most 50000"},
        {"tailing below the range", WithPeak(R"({"time": 1, "height": 1, "tailing": 0.49})"),
         "channels[0].peaks[0].tailing: must lie between 0.5 and 4"},
        {"tailing above the range", WithPeak(R"({"time": 1, "height": 1, "tailing": 4.01})"),
         "must lie between 0.5 and 4"},
        // Values single precision cannot hold, refused at their key by the document's rules.
        {"height beyond a float", WithPeak(R"({"time": 1, "height": 1e39})"),
         "channels[0].peaks[0].height: must lie within"},
        {"noise beyond a float",
         R"({"analysis_time": 10, "sample_rate": 100, "channels": [{"noise": 1e38}]})",
         "channels[0].noise: must be at most"},
        {"drift beyond a float", WithComponents(R"("drift": 1e38)"),
         "channels[0].drift: must lie within"},
        {"tailing as text", WithPeak(R"({"time": 1, "height": 1, "tailing": "2"})"),
         "tailing: must be a number"},
        {"seed beyond 32 bits",
         R"({"analysis_time": 1, "sample_rate": 10, "seed": 4294967296, "channels": [{}]})",
         "seed: must be a whole number"},
        {"negative seed",
         R"({"analysis_time": 1, "sample_rate": 10, "seed": -1, "channels": [{}]})",
         "seed: must be a whole number"},
        {"assay id",
         R"({"analysis_time": 1, "sample_rate": 10, "assay_id": "x", "channels": [{}]})",
         "assay_id: must be a UUID"},
        {"fractional date",
         R"({"analysis_time": 1, "sample_rate": 10, "analysis_date": 1.5, "channels": [{}]})",
         "analysis_date: must be a whole number"},
        {"overflowing samples",
         WithPeak(R"({"time": 5, "height": 3e38}, {"time": 5.01, "height": 3e38})"),
         "channels[0]: its samples overflow single precision"},
        // Finite samples whose area is not: the half-sum of the samples at the bounds, formed in
        // single precision, overflows.
        {"infinite area",
         WithPeak(R"({"name": "tall", "time": 5, "height": 3e38, "front": 4.99, "back": 5.01})"),
         R"(channels[0].peaks[0] "tall": its area is not finite)"},
        // The channel components: each rule, and the keys as strictly as the peaks'.
        {"negative step width",
         WithComponents(R"("steps": [{"time": 1, "height": 1, "width": -1}])"),
         "channels[0].steps[0].width: must be a finite number, 0 or more"},
        {"too many steps", ManySteps(10'001), "channels[0].steps: holds more than 10000 steps"},
        {"zero period", WithComponents(R"("sine": {"amplitude": 1, "period": 0})"),
         "channels[0].sine.period: must be a finite number greater than 0"},
        {"zero time constant", WithComponents(R"("settle": {"height": 1, "time_constant": 0})"),
         "channels[0].settle.time_constant: must be a finite number greater than 0"},
        {"negative wander", WithComponents(R"("wander": {"sigma": -0.1})"),
         "channels[0].wander.sigma: must be a finite number, 0 or more"},
        {"negative pink", WithComponents(R"("pink": -0.1)"), "channels[0].pink: must be a finite"},
        {"pink beyond a double", WithComponents(R"("pink": 1e400)"),
         "channels[0].pink: the number \"1e400\""},
        {"negative spike rate",
         WithComponents(R"("spikes": {"rate": -1, "height": {"min": 1, "max": 2}})"),
         "channels[0].spikes.rate: must be a finite number, 0 or more"},
        {"a spike per sample and more",
         WithComponents(R"("spikes": {"rate": 100.5, "height": {"min": 1, "max": 2}})"),
         "channels[0].spikes.rate: 100.5 per minute is more than one spike per sample on average "
         "(100 samples per minute)"},
        {"spike heights reversed",
         WithComponents(R"("spikes": {"rate": 1, "height": {"min": 3, "max": 2}})"),
         "channels[0].spikes.height: min 3 is greater than max 2"},
        {"reach beyond 1e30",
         WithComponents(R"("sine": {"amplitude": 6e29, "period": 1}, "settle": {"height": 6e29,
                                                                          "time_constant": 1})"),
         "channels[0]: its components could reach 1.2e+30 mV, beyond the 1e+30 mV"},
        {"unknown component key", WithComponents(R"("sine": {"amplitude": 1, "periode": 1})"),
         "channels[0].sine: unknown key \"periode\""},
        {"missing component key", WithComponents(R"("spikes": {"rate": 1})"),
         "channels[0].spikes: \"height\" is missing"},
        {"component of another kind", WithComponents(R"("wander": 0.1)"),
         "channels[0].wander: must be an object"},
        {"steps not a list", WithComponents(R"("steps": {"time": 1})"),
         "channels[0].steps: must be an array"},
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

// Only a regular file is read as a scenario, and only up to its size limit; anything else is
// named for what it is.
TEST(BadInput, ScenarioPathsThatAreNoScenarioFiles) {
    ToolFolder dir;
    std::filesystem::create_directory(dir.Path("folder"));
    ::mkfifo(dir.Path("fifo").c_str(), 0644);
    dir.Write("huge.json", "{}");
    std::filesystem::resize_file(dir.Path("huge.json"), (std::uint64_t{64} << 20) + 1);
    const std::pair<std::string, std::string> cases[] = {
        {"folder", "folder: it is a folder, not a scenario file"},
        {"fifo", "fifo: it is a FIFO (named pipe), not a scenario file"},
        {"/dev/zero", "/dev/zero: it is a character device, not a scenario file"},
        {"huge.json", "huge.json: the file is 67108865 bytes; a scenario file is at most 67108864"},
        {"missing.json", "missing.json: cannot open the file: No such file or directory"},
        {"new\nline.json", "new\\nline.json: cannot open the file: No such file or directory"},
    };
    for (const auto& [path, expected] : cases) {
        SCOPED_TRACE(path);
        const ToolResult run = dir.Run({"generate", path, "-o", "out.xstg"});
        EXPECT_NE(run.exit_code, 0);
        EXPECT_EQ(run.err, "xstgtool: " + expected + "\n");
        EXPECT_FALSE(dir.Exists("out.xstg"));
    }
}

// An output that is not a regular file is refused before any work and stays as it was.
TEST(BadInput, OutputsThatAreNoRegularFilesAreLeftAlone) {
    ToolFolder dir;
    dir.Write("s.json", R"({"analysis_time": 1, "sample_rate": 10, "channels": [{}]})");
    ::mkfifo(dir.Path("fifo").c_str(), 0644);
    std::filesystem::create_symlink("fifo", dir.Path("link"));
    const std::vector<std::string> before = {"fifo", "link", "s.json"};
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"generate", "s.json", "-o", "fifo"}, "fifo: cannot save: result code -8"},
        {{"generate", "s.json", "-o", "link"}, "it is a symbolic link to a FIFO (named pipe)"},
        {{"generate", "s.json", "-o", "doc.xspc"}, "doc.xspc: cannot save: result code -9"},
        {{"generate", "s.json", "-o", "no-folder/out.xstg"},
         "no-folder/out.xstg: cannot save: result code -1: the document cannot be created or "
         "put in place: No such file or directory"},
    };
    for (const auto& [args, expected] : cases) {
        SCOPED_TRACE(args[3]);
        const ToolResult run = dir.Run(args);
        EXPECT_NE(run.exit_code, 0);
        EXPECT_NE(run.err.find(expected), std::string::npos) << run.err;
        EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << run.err;
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(dir.Path("")))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        EXPECT_EQ(names, before);
        EXPECT_TRUE(std::filesystem::is_fifo(dir.Path("fifo")));
    }
    ASSERT_EQ(dir.Run({"generate", "s.json", "-o", "d.xstg"}).exit_code, 0);
    for (const char* format : {"--csv", "--aia"}) {
        const ToolResult run = dir.Run({"export", "d.xstg", format, "fifo"});
        EXPECT_EQ(run.err,
                  "xstgtool: fifo: cannot write: it is a FIFO (named pipe), not a regular file\n");
        EXPECT_TRUE(std::filesystem::is_fifo(dir.Path("fifo")));
    }
}

// A --components file that is no regular file, no name at all, or one of the command's other
// files (which the parts, committed last, would replace) is refused before any work: neither the
// document nor any other file is written.
TEST(BadInput, ComponentsFilesThatAreNoRegularFilesAreRefusedBeforeAnyWork) {
    ToolFolder dir;
    dir.Write("one.json", R"({"analysis_time": 1, "sample_rate": 10, "channels": [{"pink": 1}]})");
    dir.Write("two.json", R"({"analysis_time": 1, "sample_rate": 10, "channels": [{}, {}]})");
    ::mkfifo(dir.Path("fifo").c_str(), 0644);
    ::mkfifo(dir.Path("p-channel-1.csv").c_str(), 0644);
    std::filesystem::create_directory(dir.Path("folder"));
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"one.json", "fifo"}, "xstgtool: fifo: cannot write: it is a FIFO (named pipe)"},
        {{"one.json", "folder"}, "xstgtool: folder: cannot write: Is a directory"},
        {{"one.json", "/dev/zero"}, "xstgtool: /dev/zero: cannot write: it is a character device"},
        {{"one.json", ""}, "xstgtool: --components: the file name is empty"},
        {{"two.json", "p.csv"}, "xstgtool: p-channel-1.csv: cannot write: it is a FIFO"},
        {{"one.json", "./one.json"},
         "xstgtool: ./one.json: --components names the same file as one.json"},
        {{"one.json", "folder/../out.xstg"},
         "xstgtool: folder/../out.xstg: --components names the same file as out.xstg"},
        {{"one.json", "out.xspc"},
         "xstgtool: out.xspc: --components names the same file as out.xspc"},
    };
    for (const auto& [args, expected] : cases) {
        SCOPED_TRACE(args[1]);
        const ToolResult run =
            dir.Run({"generate", args[0], "-o", "out.xstg", "--components", args[1]});
        EXPECT_EQ(run.exit_code, 1);
        EXPECT_EQ(run.err.rfind(expected, 0), 0u) << run.err;
        EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << run.err;
        EXPECT_FALSE(dir.Exists("out.xstg"));
        EXPECT_FALSE(dir.Exists("p-channel-0.csv"));
    }
    EXPECT_TRUE(std::filesystem::is_fifo(dir.Path("fifo")));
    EXPECT_EQ(dir.Read("one.json"),
              R"({"analysis_time": 1, "sample_rate": 10, "channels": [{"pink": 1}]})");
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

    // Dates are whole seconds within 64 bits, never clamped.
    for (const char* date : {"9223372036854775808", "-9223372036854775809", "1e3", "12x", ""}) {
        run = dir.Run({"generate", "s.json", "-o", "out.xstg", "--date", date});
        EXPECT_NE(run.exit_code, 0) << date;
        EXPECT_EQ(run.err.rfind("xstgtool: --date: ", 0), 0u) << run.err;
    }
    EXPECT_FALSE(dir.Exists("out.xstg"));

    run = dir.Run({"generate", "s.json"});  // no output named
    EXPECT_NE(run.exit_code, 0);
    EXPECT_FALSE(dir.Exists("out.xstg"));

    run = dir.Run({});
    EXPECT_NE(run.exit_code, 0);

    // An export that would write nothing fails rather than succeeding silently.
    ASSERT_EQ(dir.Run({"generate", "s.json", "-o", "d.xstg"}).exit_code, 0);
    const std::pair<std::vector<std::string>, std::string> exports[] = {
        {{"export", "d.xstg"}, "export: give --csv FILE, --aia FILE or both"},
        {{"export", "d.xstg", "--aia", ""}, "--aia: the file name is empty"},
        {{"export", "d.xstg", "--csv", "", "--aia", "x.cdf"}, "--csv: the file name is empty"},
    };
    for (const auto& [args, expected] : exports) {
        run = dir.Run(args);
        EXPECT_EQ(run.exit_code, 2);
        EXPECT_EQ(run.err, "xstgtool: " + expected + "; see xstgtool export --help\n");
    }
    EXPECT_FALSE(dir.Exists("x.cdf"));
}

// Exit statuses: 0 for help and the version, 2 for a command line that cannot be carried out as
// written, each with one line that points to the help of the command given.
TEST(BadInput, UsageErrorsAreOneLineWithStatusTwo) {
    ToolFolder dir;
    const struct {
        std::vector<std::string> args;
        int status;
        std::string err;
    } cases[] = {
        {{"--version"}, 0, ""},
        {{"batch", "--help"}, 0, ""},
        {{}, 2, "xstgtool: A subcommand is required; see xstgtool --help\n"},
        {{"genrate", "s.json"},
         2,
         "xstgtool: \"genrate\" is not a command (generate, dump, scenario, export, batch); see "
         "xstgtool "
         "--help\n"},
        {{"generate", "s.json"},
         2,
         "xstgtool: --output is required; see xstgtool generate --help\n"},
        {{"batch", "r.json", "-o", "c", "--count", "many"},
         2,
         "xstgtool: --count: Value many not in range 1 to 1000000; see xstgtool batch --help\n"},
        {{"batch", "r.json", "-o", "c", "--first", "4294967295", "--count", "2"},
         2,
         "xstgtool: --first: documents are numbered from 1 to 4294967295; see xstgtool batch "
         "--help\n"},
        {{"dump", "a", "b"},
         2,
         "xstgtool: The following argument was not expected: b; see xstgtool dump --help\n"},
        {{"generate", "s.json", "-o", "d.xstg", "--assay-id", "\x01"},
         2,
         "xstgtool: --assay-id: \"\\u0001\" is not a UUID (8-4-4-4-12 hex digits); see xstgtool "
         "generate --help\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.args));
        const ToolResult run = dir.Run(c.args);
        EXPECT_EQ(run.exit_code, c.status);
        if (c.status != 0) {
            EXPECT_EQ(run.err, c.err);
        }
    }
    EXPECT_FALSE(dir.Exists("c"));
    EXPECT_FALSE(dir.Exists("d.xstg"));
}

TEST(BadInput, AFailedGenerationKeepsTheOldOutput) {
    ToolFolder dir;
    dir.Write("out.xstg", "precious");
    dir.Write("bad.json", WithPeak(R"({"time": 1})"));
    EXPECT_NE(dir.Run({"generate", "bad.json", "-o", "out.xstg"}).exit_code, 0);
    EXPECT_EQ(dir.Read("out.xstg"), "precious");
}

}  // namespace
