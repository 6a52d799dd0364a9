#include <gtest/gtest.h>

#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <filesystem>
#include <set>
#include <thread>

#include "CorpusSupport.h"
#include "ToolRunner.h"
#include "cli/Batch.h"
#include "file/AtomicFile.h"

namespace {

namespace fs = std::filesystem;
using Names = std::set<std::string>;

// Document n's files with these endings: ".json", ".xstg", ".cdf", "-channel-0.cdf", ...
Names FilesOfDocument(std::uint64_t n, const Names& endings) {
    Names names;
    for (const std::string& ending : endings) names.insert(Stem(n) + ending);
    return names;
}

Names Join(std::initializer_list<Names> parts) {
    Names all;
    for (const Names& part : parts) all.insert(part.begin(), part.end());
    return all;
}

// --force replaces everything the command writes for the run's document numbers, whatever the
// channels, --aia or the padding of the run before, and the spectra files a document would take,
// and leaves every other file alone: other documents, other files. Names keep sorting in
// document order past 9,999.
TEST(BatchFolder, ForceReplacesTheRunsOwnFilesAndNoOthers) {
    ToolFolder dir;
    dir.Write("one.json", Recipe(R"(, "width": 0.1)"));
    dir.Write("two.json", Recipe(R"(, "width": 0.1, "channels": 2)"));
    fs::create_directory(dir.Path("c"));
    const Names others = {"notes.txt", "0000009.json"};
    for (const std::string& name : others) dir.Write("c/" + name, "not the run's");
    dir.Write("c/0002.xstg", "an earlier version's document 2");
    dir.Write("c/0002.xspc", "its spectra, which would be document 2's");

    const Names two_aia = {".json", ".xstg", "-channel-0.cdf", "-channel-1.cdf"};
    const Names plain = {".json", ".xstg"};
    const auto files = FilesOfDocument;
    const Names manifest = {"manifest.csv"};
    const struct {
        std::vector<std::string> args;
        const char* folder;
        Names expected;
    } steps[] = {
        {{"two.json", "-o", "c", "--count", "3", "--aia", "--force"},
         "c",
         Join({manifest, others, files(1, two_aia), files(2, two_aia), files(3, two_aia)})},
        {{"one.json", "-o", "c", "--count", "2", "--force"},
         "c",
         Join({manifest, others, files(1, plain), files(2, plain), files(3, two_aia)})},
        {{"one.json", "-o", "c", "--first", "3", "--count", "1", "--aia", "--force"},
         "c",
         Join({manifest, others, files(1, plain), files(2, plain),
               FilesOfDocument(3, {".json", ".xstg", ".cdf"})})},
        {{"two.json", "-o", "c", "--first", "3", "--count", "1", "--aia", "--force"},
         "c",
         Join({manifest, others, files(1, plain), files(2, plain), files(3, two_aia)})},
        {{"one.json", "-o", "d", "--first", "9999", "--count", "2"},
         "d",
         {"0009999.json", "0009999.xstg", "0010000.json", "0010000.xstg", "manifest.csv"}},
    };
    for (const auto& step : steps) {
        std::vector<std::string> args = {"batch"};
        args.insert(args.end(), step.args.begin(), step.args.end());
        SCOPED_TRACE(testing::PrintToString(step.args));
        const ToolResult run = dir.Run(args);
        ASSERT_EQ(run.exit_code, 0) << run.err;
        EXPECT_EQ(NamesIn(dir, step.folder), step.expected);
    }
    for (const std::string& name : others) EXPECT_EQ(dir.Read("c/" + name), "not the run's");
}

// What can be refused before the first document is refused then, with one line, and the folder
// is left exactly as it was.
TEST(BatchFolder, RefusalsBeforeWorkLeaveTheFolderAsItWas) {
    ToolFolder dir;
    dir.Write("ok.json", Recipe(R"(, "width": 0.1)"));
    dir.Write("y10000.json", Recipe(R"(, "width": 0.1, "analysis_date": 253402300800)"));
    const struct {
        const char* label;
        void (*prepare)(const ToolFolder&);
        std::vector<std::string> args;
        const char* expected;
    } cases[] = {
        {"a date AIA files cannot hold",
         [](const ToolFolder&) {},
         {"y10000.json", "--aia"},
         "y10000.json: analysis_date: 253402300800 s since 1970 lies outside the years 0 to 9999"},
        {"manifest is a FIFO",
         [](const ToolFolder& d) { ::mkfifo(d.Path("c/manifest.csv").c_str(), 0600); },
         {"ok.json", "--force"},
         "c/manifest.csv: cannot write: it is a FIFO (named pipe), not a regular file"},
        {"manifest is a folder",
         [](const ToolFolder& d) { fs::create_directory(d.Path("c/manifest.csv")); },
         {"ok.json", "--force"},
         "c/manifest.csv: cannot write: Is a directory"},
        {"recipe is a document's scenario",
         [](const ToolFolder& d) { fs::copy_file(d.Path("ok.json"), d.Path("c/0000002.json")); },
         {"c/0000002.json", "--force"},
         "c/0000002.json: the recipe is c/0000002.json, which the run replaces"},
        {"recipe is the manifest, through a link",
         [](const ToolFolder& d) {
             fs::copy_file(d.Path("ok.json"), d.Path("c/manifest.csv"));
             fs::create_symlink("c/manifest.csv", d.Path("link.json"));
         },
         {"link.json", "--force"},
         "link.json: the recipe is c/manifest.csv, which the run replaces"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        fs::remove_all(dir.Path("c"));
        fs::create_directory(dir.Path("c"));
        dir.Write("c/0000001.xstg", "an earlier document");
        c.prepare(dir);
        const Names before = NamesIn(dir, "c");
        std::vector<std::string> args = {"batch", "-o", "c", "--count", "3"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const ToolResult run = dir.Run(args);
        EXPECT_EQ(run.exit_code, 1);
        EXPECT_EQ(run.err.rfind(std::string("xstgtool: ") + c.expected, 0), 0u) << run.err;
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
        EXPECT_EQ(NamesIn(dir, "c"), before);
        EXPECT_EQ(dir.Read("c/0000001.xstg"), "an earlier document");
    }
}

// A --force run killed with SIGKILL after it began to overwrite an older corpus leaves no
// manifest that lists the older corpus's documents as complete: merging refuses the folder.
TEST(BatchFolder, AKilledForceRunLeavesNoManifestOfTheOlderCorpus) {
    ToolFolder dir;
    dir.Write("recipe.json", Recipe(R"(, "width": 0.1)"));
    ASSERT_EQ(dir.Run({"batch", "recipe.json", "-o", "c", "--count", "3", "--seed", "1"}).exit_code,
              0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (::chdir(dir.Path("").c_str()) != 0) ::_exit(2);
        ::execl(XSTGTOOL_PATH, "xstgtool", "batch", "recipe.json", "-o", "c", "--force", "--seed",
                "2", "--count", "100000", "--jobs", "2", static_cast<char*>(nullptr));
        ::_exit(2);
    }
    // Killed once it has written documents beyond the older corpus's three.
    for (int i = 0;
         i < 2000 && !dir.Exists("c/" + Stem(10) + ".xstg") && !dir.Exists("c/0010.xstg"); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    ::kill(child, SIGKILL);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status));

    const ToolResult merge = dir.Run({"batch", "--merge-manifests", "c"});
    EXPECT_EQ(merge.exit_code, 1);
    EXPECT_NE(merge.err.find("c/manifest.csv: holds 0 of its 100000 documents"), std::string::npos)
        << merge.err;
}

// The stand-in for ::write that a test installs: fails with ENOSPC from the write numbered
// `g_first_failure` (counted from 1) on, or only at that write when `g_transient`.
std::atomic<long> g_writes{0};
long g_first_failure = 0;
bool g_transient = false;

ssize_t WriteOnFullDisk(int fd, const void* data, std::size_t size) {
    const long number = ++g_writes;
    if (number == g_first_failure || (!g_transient && number > g_first_failure)) {
        errno = ENOSPC;
        return -1;
    }
    return ::write(fd, data, size);
}

// A disk that fills up stops the run with the document's own failure, and the folder holds
// documents 1 .. finished and the manifest that lists exactly them, nothing else: no document
// made after the failure, no scenario of a document never saved, no temporary file. When the
// disk stays full the manifest of the finished documents cannot be written either: the
// documents go too, and the manifest of none stays.
TEST(BatchFolder, AFullDiskLeavesTheFolderAsItsManifestSays) {
    const struct {
        const char* label;
        long first_failure;
        bool transient;
        std::size_t failures;
    } cases[] = {
        {"the disk stays full", 40, false, 2},
        {"one write fails", 40, true, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        ToolFolder dir;
        dir.Write("recipe.json", HelpRecipe(dir));
        BatchOptions options;
        options.recipe = dir.Path("recipe.json").string();
        options.folder = dir.Path("c").string();
        options.count = 60;
        options.jobs = 2;
        g_writes = 0;
        g_first_failure = c.first_failure;
        g_transient = c.transient;
        const FileWriteCall write = ReplaceFileWriteCall(&WriteOnFullDisk);
        const BatchResult result = RunBatch(options, {});
        ReplaceFileWriteCall(write);

        ASSERT_EQ(result.failures.size(), c.failures);
        const BatchError& stop = result.failures.front();
        EXPECT_NE(stop.subject.find(dir.Path("c/").string()), std::string::npos) << stop.subject;
        EXPECT_EQ(stop.subject.find("manifest.csv"), std::string::npos) << stop.subject;
        EXPECT_NE(stop.what.find("No space left on device"), std::string::npos) << stop.what;
        if (c.failures == 2) {
            EXPECT_EQ(result.failures[1].subject, dir.Path("c/manifest.csv").string());
            EXPECT_EQ(result.finished, 0u);
        } else {
            EXPECT_GT(result.finished, 0u);
        }
        EXPECT_LT(result.finished, 60u);
        Names expected = {"manifest.csv"};
        for (std::uint64_t d = 1; d <= result.finished; ++d)
            expected.merge(FilesOfDocument(d, {".json", ".xstg"}));
        EXPECT_EQ(NamesIn(dir, "c"), expected);
        const std::vector<std::string> lines = Lines(dir.Read("c/manifest.csv"));
        ASSERT_GE(lines.size(), 2u);
        EXPECT_NE(lines[0].find(" finished=" + std::to_string(result.finished)), std::string::npos);
        for (std::size_t i = 2; i < lines.size(); ++i)
            EXPECT_LE(Number(Cells(lines[i])[0]), static_cast<double>(result.finished));
    }
}

}  // namespace
