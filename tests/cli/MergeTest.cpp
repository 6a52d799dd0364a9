#include <gtest/gtest.h>

#include <filesystem>

#include "CorpusSupport.h"
#include "ToolRunner.h"
#include "cli/Manifest.h"
#include "cli/ManifestMerge.h"
#include "support/AllocationMeter.h"

namespace {

namespace fs = std::filesystem;

std::string Joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + '\n';
    return text;
}

// A manifest damaged in one way after another: each is refused with one line naming the file and,
// for a row, its line, and nothing is printed. Lines 1 and 2 are the part line and the header;
// the rows of documents 1 and 2, three peaks each, are lines 3 to 8.
TEST(Merge, DamagedManifestsAreRefusedNamingFileAndLine) {
    ToolFolder dir;
    dir.Write("recipe.json", Recipe(R"(, "width": 0.1)"));
    ASSERT_EQ(dir.Run({"batch", "recipe.json", "-o", "part", "--count", "2"}).exit_code, 0);
    const std::vector<std::string> good = Lines(dir.Read("part/manifest.csv"));
    ASSERT_EQ(good.size(), 8u);
    auto row = [&](std::size_t line) { return good[line - 1]; };
    auto replaced = [&](std::size_t line, const std::string& text) {
        std::vector<std::string> lines = good;
        lines[line - 1] = text;
        return Joined(lines);
    };
    auto part_line = [&](const std::string& fields) {
        return replaced(1, row(1).substr(0, row(1).find(" seed=")) + " seed=42 " + fields);
    };
    const std::string all = Joined(good);
    // A row's cells, and the longest row: every cell the 24 characters of the longest double,
    // with its comma or line feed.
    const std::size_t cells = Cells(row(2)).size();
    const std::string longest = std::to_string(cells * 25);
    const struct {
        const char* label;
        std::string text;
        std::string expected;
    } cases[] = {
        {"a document outside the part", replaced(8, "3" + row(8).substr(1)),
         "line 8: document 3 is not one of the part's documents 1 to 2"},
        {"a cell too many", replaced(5, row(5) + ",7"),
         "line 5: has " + std::to_string(cells + 1) + " cells, not " + std::to_string(cells)},
        {"rows out of order", replaced(4, row(5)),
         "line 5: is out of document, channel and peak order"},
        {"no final line feed", all.substr(0, all.size() - 1),
         "line 8: the last line has no line feed"},
        {"an unclosed quote", all + "2,0,3,\"P4,1\n", "line 9: a quoted cell is not closed"},
        {"a NUL byte", replaced(6, row(6).substr(0, 9) + '\0' + row(6).substr(9)),
         "line 6: holds a NUL byte"},
        {"a channel no document has", replaced(8, "2,256" + row(8).substr(3)),
         "line 8: channel 256, peak 2 lies beyond the 256 channels and 50000 peaks a document "
         "holds"},
        {"a line longer than any row", replaced(3, row(3) + std::string(cells * 25, '7')),
         "line 3: is longer than any row of a manifest (" + longest + " bytes)"},
        {"documents beyond the last number", part_line("first=4294967295 count=2 finished=2"),
         "manifest.csv: its part line names documents 4294967295 to 4294967296, outside 1 to "
         "4294967295"},
        {"more finished than counted", part_line("first=1 count=2 finished=3"),
         "manifest.csv: its part line says 3 documents finished of 2: more than the part has"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        fs::create_directories(dir.Path("damaged"));
        dir.Write("damaged/manifest.csv", c.text);
        const ToolResult run = dir.Run({"batch", "--merge-manifests", "damaged"});
        EXPECT_EQ(run.exit_code, 1);
        EXPECT_TRUE(run.out.empty());
        EXPECT_EQ(run.err.rfind("xstgtool: --merge-manifests: damaged/manifest.csv: ", 0), 0u)
            << run.err;
        EXPECT_NE(run.err.find(c.expected), std::string::npos) << run.err;
        EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << run.err;
    }
}

// However long a line, the merge reads it through a buffer of fixed size and refuses it.
TEST(Merge, MemoryDoesNotGrowWithALongLine) {
    ToolFolder dir;
    fs::create_directories(dir.Path("part"));
    dir.Write("part/manifest.csv",
              ManifestPartLine({1, 42, 1, 1, 1}) + ManifestHeader() + std::string(16 << 20, '1'));
    allocation_meter::Start();
    EXPECT_THROW(MergeManifests({dir.Path("part").string()}, [](std::string_view) {}),
                 ManifestError);
    EXPECT_LT(allocation_meter::PeakSinceStart(), 256u << 10);
}

// The merged manifest never replaces a part it reads, whichever way the part is named.
TEST(Merge, OutputThatIsAPartsOwnManifestIsRefused) {
    ToolFolder dir;
    dir.Write("recipe.json", Recipe(R"(, "width": 0.1)"));
    ASSERT_EQ(dir.Run({"batch", "recipe.json", "-o", "part", "--count", "2"}).exit_code, 0);
    const std::string before = dir.Read("part/manifest.csv");
    fs::create_hard_link(dir.Path("part/manifest.csv"), dir.Path("hard.csv"));
    for (const char* output : {"part/manifest.csv", "./part/../part/manifest.csv", "hard.csv"}) {
        SCOPED_TRACE(output);
        const ToolResult run = dir.Run({"batch", "--merge-manifests", "part", "-o", output});
        EXPECT_EQ(run.exit_code, 1);
        EXPECT_EQ(run.err, std::string("xstgtool: --merge-manifests: ") + output +
                               ": is part/manifest.csv, a part the merge reads; write the merged "
                               "manifest elsewhere\n");
        EXPECT_EQ(dir.Read("part/manifest.csv"), before);
    }
}

}  // namespace
