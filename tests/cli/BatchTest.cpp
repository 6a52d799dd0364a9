#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>

#include <filesystem>
#include <optional>
#include <set>

#include <nlohmann/json.hpp>

#include "CorpusSupport.h"
#include "ToolRunner.h"
#include "file/TarvikFile4.h"

namespace {

namespace fs = std::filesystem;

// One corpus made whole with one thread, and again with two, and in two parts on other thread
// counts, shared by the tests below.
class Corpus : public testing::Test {
protected:
    static void SetUpTestSuite() {
        dir_ = new ToolFolder;
        dir_->Write("recipe.json", HelpRecipe(*dir_));
        const std::vector<std::vector<std::string>> runs = {
            {"batch", "recipe.json", "-o", "one", "--count", "6", "--seed", "9", "--jobs", "1"},
            {"batch", "recipe.json", "-o", "two", "--count", "6", "--seed", "9", "--jobs", "2",
             "--aia"},
            {"batch", "recipe.json", "-o", "a", "--count", "4", "--seed", "9", "--jobs", "2"},
            {"batch", "recipe.json", "-o", "b", "--first", "5", "--count", "2", "--seed", "9",
             "--jobs", "1"}};
        for (const auto& args : runs) ASSERT_EQ(dir_->Run(args).exit_code, 0);
    }
    static void TearDownTestSuite() { delete dir_; }

    static ToolFolder* dir_;
};

ToolFolder* Corpus::dir_ = nullptr;

TEST_F(Corpus, IsTheSameForEveryThreadCountAndForMergedParts) {
    const auto one = FilesOf(*dir_, "one");
    EXPECT_EQ(one.size(), 13u);  // six scenarios, six documents, the manifest
    // --aia adds each document's channels as AIA files: the bytes `export --aia` writes.
    auto two = FilesOf(*dir_, "two");
    fs::create_directory(dir_->Path("exported"));
    for (int d = 1; d <= 6; ++d) {
        const std::string stem = Stem(d);
        ASSERT_EQ(
            dir_->Run({"export", "one/" + stem + ".xstg", "--aia", "exported/" + stem + ".cdf"})
                .exit_code,
            0);
    }
    const auto exported = FilesOf(*dir_, "exported");
    EXPECT_GE(exported.size(), 6u);
    for (const auto& [name, bytes] : exported) {
        EXPECT_EQ(two[name], bytes) << name;
        two.erase(name);
    }
    EXPECT_EQ(two, one);

    auto parts = FilesOf(*dir_, "a");
    parts.merge(FilesOf(*dir_, "b"));  // both have a manifest; a's is kept
    for (const auto& [name, bytes] : one)
        if (name != "manifest.csv") {
            EXPECT_EQ(parts.at(name), bytes) << name;
        }

    const ToolResult merged = dir_->Run({"batch", "--merge-manifests", "b", "a"});
    ASSERT_EQ(merged.exit_code, 0) << merged.err;
    EXPECT_EQ(merged.out, one.at("manifest.csv"));
    EXPECT_NE(merged.out.find("seed=9 first=1 count=6 finished=6\n"), std::string::npos);
}

TEST_F(Corpus, EachDocumentIsMadeAgainFromItsScenarioAlone) {
    for (const std::string stem : {"0000001", "0000006"}) {
        const ToolResult run = dir_->Run({"generate", "one/" + stem + ".json", "-o", "again.xstg"});
        ASSERT_EQ(run.exit_code, 0) << run.err;
        EXPECT_EQ(dir_->Read("again.xstg"), dir_->Read("one/" + stem + ".xstg"));
    }
}

// Every stored peak of every document has one row, and its stored values are the ones dump shows,
// to the bit.
TEST_F(Corpus, ManifestRowsAreWhatDumpShows) {
    const std::vector<std::string> lines = Lines(dir_->Read("one/manifest.csv"));
    ASSERT_GE(lines.size(), 2u);
    const std::vector<std::string> header = Cells(lines[1]);
    auto column = [&](const char* name) {
        return static_cast<std::size_t>(std::find(header.begin(), header.end(), name) -
                                        header.begin());
    };
    std::size_t row = 2;
    for (int document = 1; document <= 6; ++document) {
        const ToolResult dump = dir_->Run({"dump", "one/" + Stem(document) + ".xstg"});
        ASSERT_EQ(dump.exit_code, 0);
        const nlohmann::json shown = nlohmann::json::parse(dump.out);
        for (const auto& channel : shown["channels"]) {
            std::size_t index = 0;
            for (const auto& peak : channel["peaks"]) {
                ASSERT_LT(row, lines.size());
                const std::vector<std::string> cells = Cells(lines[row++]);
                EXPECT_EQ(cells[column("document")], std::to_string(document));
                EXPECT_EQ(cells[column("channel")], channel["number"].dump());
                EXPECT_EQ(cells[column("peak")], std::to_string(index++));
                EXPECT_EQ(cells[column("name")], peak["name"].get<std::string>());
                for (const char* key : {"time", "height", "front", "back", "area",
                                        "front_base_height", "back_base_height"})
                    EXPECT_EQ(Number(cells[column(key)]), peak[key].get<double>()) << key;
            }
        }
    }
    EXPECT_EQ(row, lines.size());
}

TEST_F(Corpus, MergingRefusesPartsThatDoNotMakeOneCorpus) {
    const struct {
        std::vector<std::string> folders;
        const char* expected;
    } cases[] = {
        {{"one", "b"}, "overlaps"},
        {{"b"}, ""},  // a lone part starting at 5 is a corpus of its own
        {{"a", "missing"}, "missing/manifest.csv: cannot open"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args = {"batch", "--merge-manifests"};
        args.insert(args.end(), c.folders.begin(), c.folders.end());
        const ToolResult run = dir_->Run(args);
        if (std::string(c.expected).empty()) {
            EXPECT_EQ(run.exit_code, 0) << run.err;
            continue;
        }
        EXPECT_EQ(run.exit_code, 1);
        EXPECT_NE(run.err.find(c.expected), std::string::npos) << run.err;
        EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << run.err;
    }
}

// Interrupted by SIGINT, the run finishes the documents it is making and stops: every document in
// the folder is whole, they run from the first without a gap, and the manifest lists exactly them.
TEST(Batch, InterruptionLeavesOnlyWholeDocumentsAndSaysHowMany) {
    ToolFolder dir;
    dir.Write("recipe.json", HelpRecipe(dir));
    const std::string command = "cd '" + dir.Path("").string() +
                                "' && timeout --preserve-status -s INT 1 '" + XSTGTOOL_PATH +
                                "' batch recipe.json -o corpus --count 100000 --jobs 2 2>err";
    const int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 130);

    const std::vector<std::string> lines = Lines(dir.Read("corpus/manifest.csv"));
    ASSERT_GE(lines.size(), 2u);
    const std::size_t at = lines[0].find("finished=");
    ASSERT_NE(at, std::string::npos);
    const std::size_t finished = static_cast<std::size_t>(Number(lines[0].substr(at + 9)));
    EXPECT_LT(finished, 100000u);
    EXPECT_NE(dir.Read("err").find(std::to_string(finished) + " of 100000 documents finished"),
              std::string::npos)
        << dir.Read("err");

    std::set<std::string> expected = {"manifest.csv"};
    for (std::size_t i = 1; i <= finished; ++i) {
        expected.insert(Stem(i) + ".json");
        expected.insert(Stem(i) + ".xstg");
    }
    std::set<std::string> found;
    for (const auto& entry : fs::directory_iterator(dir.Path("corpus")))
        found.insert(entry.path().filename().string());
    EXPECT_EQ(found, expected);  // no temporary file, no document beyond the finished ones
    for (const std::string& name : found) {
        if (name.size() < 5 || name.substr(name.size() - 5) != ".xstg") continue;
        CTarvikFile4 document;
        EXPECT_EQ(document.LoadFromFile(dir.Path("corpus/" + name).string()), 0) << name;
    }
    for (std::size_t i = 2; i < lines.size(); ++i)
        EXPECT_LE(Number(Cells(lines[i])[0]), static_cast<double>(finished)) << lines[i];
}

// A recipe without components makes the corpus the build before them made: the example recipe of
// that build, three documents, their scenarios and documents compared by digest.
TEST(Batch, RecipesWithoutComponentsMakeTheirFormerCorpora) {
    ToolFolder dir;
    dir.Write("recipe.json", R"({
  "analysis_time": 10, "sample_rate": 100, "channels": { "min": 1, "max": 2 },
  "peaks_per_channel": { "min": 5, "max": 10 }, "peak_time": { "min": 0.5, "max": 9 },
  "height": { "min": 1, "max": 1000, "log": true }, "width": { "min": 0.03, "max": 0.12 },
  "tailing": { "min": 0.9, "max": 2.5 }, "noise": { "min": 0, "max": 0.05 },
  "drift": { "min": -0.1, "max": 0.1 }, "min_resolution": 1.0, "analysis_date": 1765152000,
  "passport": { "method": "Corpus A", "sample": "synthetic" } })");
    ASSERT_EQ(dir.Run({"batch", "recipe.json", "-o", "c", "--count", "3", "--seed", "9"}).exit_code,
              0);
    // The documents now also carry their settings, so their channels (samples and peak tables,
    // as dump gives them) are compared.
    const std::pair<std::uint64_t, std::uint64_t> former_channels[] = {
        {1, 0x208bcb26e98c7d18u}, {2, 0xb8e67948fba15bf9u}, {3, 0x451956df4e7e328fu}};
    for (const auto& [n, digest] : former_channels) {
        const ToolResult dump = dir.Run({"dump", "c/" + Stem(n) + ".xstg", "--samples"});
        ASSERT_EQ(dump.exit_code, 0) << dump.err;
        EXPECT_EQ(Fnv1a(nlohmann::json::parse(dump.out)["channels"].dump()), digest) << n;
    }
    const std::pair<std::uint64_t, std::uint64_t> former_scenarios[] = {{1, 0x66e3154bc7ffbd61u},
                                                                        {3, 0x1d8075199a19059cu}};
    for (const auto& [n, digest] : former_scenarios)
        EXPECT_EQ(Fnv1a(dir.Read("c/" + Stem(n) + ".json")), digest) << n;
}

// A count written as a decimal with nothing after the point is that whole number.
TEST(Batch, CountsWrittenAsWholeDecimalsAreCounts) {
    ToolFolder dir;
    dir.Write(
        "r.json",
        Recipe(
            R"(, "width": 0.1, "channels": 2.0, "peaks_per_channel": {"min": 3e0, "max": 3.0})"));
    const ToolResult run = dir.Run({"batch", "r.json", "-o", "c", "--count", "1"});
    ASSERT_EQ(run.exit_code, 0) << run.err;
    const nlohmann::json scenario = nlohmann::json::parse(dir.Read("c/" + Stem(1) + ".json"));
    ASSERT_EQ(scenario["channels"].size(), 2u);
    for (const auto& channel : scenario["channels"]) EXPECT_EQ(channel["peaks"].size(), 3u);
}

// Every refused recipe or option: exit status 1, one line naming what is wrong, no folder made.
TEST(Batch, HostileRecipesAndOptionsAreRefusedWithOneLine) {
    ToolFolder dir;
    mkfifo(dir.Path("fifo").c_str(), 0600);
    fs::create_directory(dir.Path("folder"));
    dir.Write("ok.json", Recipe(R"(, "width": 0.1)"));
    const struct {
        const char* label;
        std::string recipe;  // written to r.json unless empty
        std::vector<std::string> args;
        const char* expected;
    } cases[] = {
        {"empty file", "", {"r.json"}, "r.json: JSON syntax error"},
        {"not an object", "[]", {"r.json"}, "must be an object"},
        {"unknown key",
         Recipe(R"(, "width": 0.1, "widht": 1)"),
         {"r.json"},
         "unknown key \"widht\""},
        {"min above max",
         Recipe(R"(, "width": {"min": 0.2, "max": 0.1})"),
         {"r.json"},
         "width: min 0.2 is greater than max 0.1"},
        {"empty range", Recipe(R"(, "width": {})"), {"r.json"}, "width: needs both"},
        {"huge number", Recipe(R"(, "width": 1e400)"), {"r.json"}, "beyond the range of a double"},
        {"huge peak count",
         Recipe(R"(, "width": 0.1, "peaks_per_channel": 1000000000000)"),
         {"r.json"},
         "peaks_per_channel: allows more than the 50000 peaks a document holds"},
        {"fractional count",
         Recipe(R"(, "width": 0.1, "channels": 1.5)"),
         {"r.json"},
         "channels: must be a whole number"},
        {"a whole count beyond 64 bits",
         Recipe(R"(, "width": 0.1, "channels": 1e300)"),
         {"r.json"},
         "channels: must lie between 1 and 256"},
        {"negative count",
         Recipe(R"(, "width": 0.1, "peaks_per_channel": -1.0)"),
         {"r.json"},
         "peaks_per_channel: must be a whole number"},
        {"too many channels",
         Recipe(R"(, "width": 0.1, "channels": 300)"),
         {"r.json"},
         "channels: must lie between 1 and 256"},
        {"too many samples",
         Recipe(R"(, "width": 0.1, "sample_rate": {"min": 1, "max": 1e9})"),
         {"r.json"},
         "more than 50000000 samples"},
        {"log from zero",
         Recipe(R"(, "width": {"min": 0, "max": 1, "log": true})"),
         {"r.json"},
         "needs min > 0"},
        {"tailing",
         Recipe(R"(, "width": 0.1, "tailing": {"min": 0.4, "max": 2})"),
         {"r.json"},
         "tailing: must lie between 0.5 and 4"},
        {"peaks after the end",
         Recipe(R"(, "width": 0.1, "analysis_time": {"min": 5, "max": 10})"),
         {"r.json"},
         "peak_time: must lie from 0 to before the shortest analysis_time"},
        {"width and area",
         Recipe(R"(, "width": 0.1, "area": 1)"),
         {"r.json"},
         "give either \"width\" or \"area\""},
        {"fractional date",
         Recipe(R"(, "width": 0.1, "analysis_date": 1.5)"),
         {"r.json"},
         "analysis_date: must be a whole number of seconds"},
        {"bad passport",
         Recipe(R"(, "width": 0.1, "passport": {"sample": "\u0001"})"),
         {"r.json"},
         "passport.sample: holds U+0001"},
        {"not UTF-8",
         Recipe(", \"width\": 0.1, \"passport\": {\"sample\": \"\xff\"}"),
         {"r.json"},
         "JSON syntax error"},
        {"step width",
         Recipe(R"(, "width": 0.1, "steps": {"count": 1, "time": 1, "height": 1,
                                              "width": {"min": -1, "max": 1}})"),
         {"r.json"},
         "steps.width: must be a finite number, 0 or more"},
        {"too many steps",
         Recipe(R"(, "width": 0.1, "steps": {"count": {"min": 0, "max": 1000000000000},
                                              "time": 1, "height": 1, "width": 1})"),
         {"r.json"},
         "steps: holds more than 10000 steps"},
        {"period from zero",
         Recipe(R"(, "width": 0.1, "sine": {"amplitude": 1, "period": {"min": 0, "max": 1}})"),
         {"r.json"},
         "sine.period: must be a finite number greater than 0"},
        {"spikes faster than the slowest sampling",
         Recipe(R"(, "width": 0.1, "sample_rate": {"min": 50, "max": 100},
                   "spikes": {"rate": {"min": 1, "max": 60}, "height": {"min": 1, "max": 2}})"),
         {"r.json"},
         "spikes.rate: 60 per minute is more than one spike per sample on average (50 samples"},
        {"spike heights that may cross",
         Recipe(R"(, "width": 0.1, "spikes": {"rate": 1, "height": {"min": {"min": 1, "max": 3},
                                                                    "max": {"min": 2, "max": 4}}})"),
         {"r.json"},
         "spikes.height: min may be drawn up to 3.0, above max, which may be drawn down to 2.0"},
        {"reach",
         Recipe(R"(, "width": 0.1, "pink": {"min": 0, "max": 1e28})"),
         {"r.json"},
         "could reach 2.8"},
        {"component typo",
         Recipe(R"(, "width": 0.1, "wander": {"sigm": 1})"),
         {"r.json"},
         "wander: unknown key \"sigm\""},
        {"impossible resolution",
         Recipe(R"(, "width": 2, "min_resolution": 50)"),
         {"r.json"},
         "no retention time for peak 2 keeps min_resolution 50"},
        {"FIFO", "", {"fifo"}, "fifo: it is a FIFO"},
        {"folder", "", {"folder"}, "folder: it is a folder, not a recipe file"},
        {"device", "", {"/dev/zero"}, "/dev/zero: it is a"},
        {"no count", "", {"ok.json", "--count", "0"}, "--count"},
        {"huge count", "", {"ok.json", "--count", "1000001"}, "--count"},
        {"beyond the numbers",
         "",
         {"ok.json", "--first", "4294967295", "--count", "2"},
         "--first: documents are numbered from 1 to 4294967295"},
        {"output is a file",
         "",
         {"ok.json", "-o", "ok.json"},
         "ok.json: it exists and is not a folder"},
        {"output not empty", "", {"ok.json", "-o", "."}, "the folder is not empty; give --force"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        if (!c.recipe.empty() || std::string(c.label) == "empty file")
            dir.Write("r.json", c.recipe);
        std::vector<std::string> args = {"batch"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        if (std::find(args.begin(), args.end(), "-o") == args.end())
            args.insert(args.end(), {"-o", "corpus"});
        const ToolResult run = dir.Run(args);
        // Options out of their range are usage errors.
        EXPECT_EQ(run.exit_code, std::string(c.expected).rfind("--", 0) == 0 ? 2 : 1);
        EXPECT_NE(run.err.find(c.expected), std::string::npos) << run.err;
        EXPECT_EQ(run.err.rfind("xstgtool: ", 0), 0u) << run.err;
        EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << run.err;
        if (std::string(c.label) == "impossible resolution") {
            // Refused at the first document: nothing but the manifest of none.
            EXPECT_NE(dir.Read("corpus/manifest.csv").find("finished=0"), std::string::npos);
            fs::remove_all(dir.Path("corpus"));
        }
        EXPECT_FALSE(dir.Exists("corpus"));
    }
}

}  // namespace
