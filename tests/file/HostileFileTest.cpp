#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <functional>
#include <limits>
#include <thread>

#include "FileTestSupport.h"
#include "file/AtomicFile.h"
#include "file/DocumentLimits.h"
#include "file/ResultText.h"
#include "support/AllocationMeter.h"

namespace {

void SmallDocument(CTarvikFile4& doc) {
    doc.m_channels.push_back(MakeChannel(0, 0.0, 0.5, {1.0f, 2.0f, 3.0f}));
    Peak4 peak;
    peak.name = "A";
    doc.m_channels[0].table.push_back(peak);
}

mode_t KindAt(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0 ? info.st_mode & S_IFMT : 0;
}

// Whatever is at the output path, the save either replaces a regular file or leaves the thing
// there untouched and writes nothing at all.
TEST(HostileSave, SpecialFilesAreRefusedAndLeftAsTheyWere) {
    struct Case {
        const char* label;
        std::function<void(const TempDir&)> make;  // makes "out.xstg"
        int expected;
    };
    const Case cases[] = {
        {"FIFO", [](const TempDir& d) { ::mkfifo((d / "out.xstg").c_str(), 0644); },
         save_result::kNotRegularFile},
        {"link to a FIFO",
         [](const TempDir& d) {
             ::mkfifo((d / "pipe").c_str(), 0644);
             std::filesystem::create_symlink("pipe", d / "out.xstg");
         },
         save_result::kNotRegularFile},
        {"link to nothing",
         [](const TempDir& d) { std::filesystem::create_symlink("gone", d / "out.xstg"); },
         save_result::kNotRegularFile},
        {"character device (as root)",
         [](const TempDir& d) { ::mknod((d / "out.xstg").c_str(), S_IFCHR | 0666, makedev(1, 3)); },
         save_result::kNotRegularFile},
        {"folder", [](const TempDir& d) { std::filesystem::create_directory(d / "out.xstg"); },
         save_result::kOpenFailed},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        TempDir dir;
        c.make(dir);
        const std::vector<std::string> before = dir.Names();
        const mode_t kind = KindAt(dir / "out.xstg");
        if (kind == 0) continue;  // mknod needs root
        CTarvikFile4 doc;
        SmallDocument(doc);
        EXPECT_EQ(doc.SaveToFile(dir / "out.xstg"), c.expected);
        EXPECT_EQ(doc.LastFailure().path, dir / "out.xstg");
        EXPECT_EQ(KindAt(dir / "out.xstg"), kind);
        EXPECT_EQ(dir.Names(), before);
        // Reading never waits on it either.
        EXPECT_EQ(doc.LoadFromFile(dir / "out.xstg"), load_result::kOpenFailed);
    }
}

TEST(HostileSave, ReplacingKeepsOwnerAndGroupButNeverTheSpecialBits) {
    TempDir dir;
    CTarvikFile4 doc;
    SmallDocument(doc);
    ASSERT_EQ(doc.SaveToFile(dir / "a.xstg"), save_result::kOk);
    ASSERT_EQ(::chmod((dir / "a.xstg").c_str(), 07754), 0);
    const bool root = ::geteuid() == 0;
    if (root) {
        ASSERT_EQ(::chown((dir / "a.xstg").c_str(), 4321, 4322), 0);
    }
    ASSERT_EQ(doc.SaveToFile(dir / "a.xstg"), save_result::kOk);
    struct stat info {};
    ASSERT_EQ(::stat((dir / "a.xstg").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0754u);
    if (root) {
        EXPECT_EQ(info.st_uid, 4321u);
        EXPECT_EQ(info.st_gid, 4322u);
    }
}

TEST(HostileSave, ASpectraFileTheDocumentDoesNotHaveGoesWithTheSave) {
    TempDir dir;
    CTarvikFile4 other;
    SmallDocument(other);
    other.m_spectra = {SpectrumRecord{1.0, {{5, 2.0f}}}};
    ASSERT_EQ(other.SaveToFile(dir / "other.xstg"), save_result::kOk);
    const std::string valid_spectra = ReadBytes(dir / "other.xspc");

    for (const std::string& stale : {std::string("stray bytes"), valid_spectra}) {
        WriteBytes(dir / "run1.xspc", stale);
        CTarvikFile4 doc;
        SmallDocument(doc);
        ASSERT_EQ(doc.SaveToFile(dir / "run1.xstg"), save_result::kOk);
        EXPECT_FALSE(std::filesystem::exists(dir / "run1.xspc"));
        CTarvikFile4 back;
        EXPECT_EQ(back.LoadFromFile(dir / "run1.xstg"), load_result::kOk);
        EXPECT_TRUE(back.m_spectra.empty());
    }
    // A FIFO there is no spectra file to a load, and nobody's to remove.
    ::mkfifo((dir / "run2.xspc").c_str(), 0644);
    CTarvikFile4 doc;
    SmallDocument(doc);
    ASSERT_EQ(doc.SaveToFile(dir / "run2.xstg"), save_result::kOk);
    EXPECT_EQ(KindAt(dir / "run2.xspc"), static_cast<mode_t>(S_IFIFO));
    EXPECT_EQ(doc.LoadFromFile(dir / "run2.xstg"), load_result::kOk);
}

// A spectra file reached through a link is written through it; a document without spectra
// removes the link, which is what a load would follow, and not the file elsewhere.
TEST(HostileSave, SpectraBehindALinkAreReplacedThroughItOrUnlinked) {
    TempDir dir;
    WriteBytes(dir / "kept.xspc", "elsewhere");
    std::filesystem::create_symlink("kept.xspc", dir / "a.xspc");
    CTarvikFile4 doc;
    SmallDocument(doc);
    doc.m_spectra = {SpectrumRecord{2.0, {{7, 3.0f}}}};
    ASSERT_EQ(doc.SaveToFile(dir / "a.xstg"), save_result::kOk);
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "a.xspc"));
    CTarvikFile4 back;
    ASSERT_EQ(back.LoadFromFile(dir / "a.xstg"), load_result::kOk);
    EXPECT_EQ(back.m_spectra, doc.m_spectra);

    doc.m_spectra.clear();
    ASSERT_EQ(doc.SaveToFile(dir / "a.xstg"), save_result::kOk);
    EXPECT_EQ(dir.Names(), (std::vector<std::string>{"a.xstg", "kept.xspc"}));
}

TEST(HostileSave, APathThatIsItsOwnSpectraPathIsRefused) {
    TempDir dir;
    CTarvikFile4 doc;
    SmallDocument(doc);
    EXPECT_EQ(doc.SaveToFile(dir / "doc.xspc"), save_result::kSpectraPathIsDocument);
    // Through a link the same file would be both.
    std::filesystem::create_symlink("doc.xspc", dir / "doc.xstg");
    WriteBytes(dir / "doc.xspc", "old");
    EXPECT_EQ(doc.SaveToFile(dir / "doc.xstg"), save_result::kSpectraPathIsDocument);
    EXPECT_EQ(ReadBytes(dir / "doc.xspc"), "old");
}

TEST(HostileSave, TextXmlCannotHoldIsRefusedBeforeAnythingIsWritten) {
    struct Case {
        const char* label;
        std::string text;
    };
    const Case texts[] = {
        {"NUL", std::string("ab\0cd", 5)}, {"control character", "a\x01"},
        {"U+FFFE", "a\xEF\xBF\xBE"},       {"U+FFFF", "\xEF\xBF\xBF"},
        {"not UTF-8", "caf\xE9"},          {"surrogate", "\xED\xA0\x80"},
        {"overlong", "\xC0\xAF"},
    };
    const std::function<void(CTarvikFile4&, const std::string&)> places[] = {
        [](CTarvikFile4& d, const std::string& t) { d.m_passport.sample = t; },
        [](CTarvikFile4& d, const std::string& t) {
            d.m_passport.columns.push_back(ColumnInfo{});
            d.m_passport.columns.back().serial = t;
        },
        [](CTarvikFile4& d, const std::string& t) {
            d.m_passport.entries.push_back({"operator", "", t});
        },
        [](CTarvikFile4& d, const std::string& t) { d.m_channels[0].table[0].name = t; },
    };
    TempDir dir;
    WriteBytes(dir / "a.xstg", "old");
    for (const Case& c : texts) {
        for (const auto& place : places) {
            SCOPED_TRACE(c.label);
            CTarvikFile4 doc;
            SmallDocument(doc);
            place(doc, c.text);
            EXPECT_EQ(doc.SaveToFile(dir / "a.xstg"), save_result::kXmlNotWritten);
            EXPECT_NE(doc.LastFailure().detail.find("cannot hold"), std::string::npos);
        }
    }
    EXPECT_EQ(ReadBytes(dir / "a.xstg"), "old");
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"a.xstg"});

    // What XML can hold comes back exactly, blanks and all.
    CTarvikFile4 doc;
    SmallDocument(doc);
    doc.m_passport.sample = "\ttab\nline\r\n é \xF0\x9D\x84\x9E \xC2\x85";
    ASSERT_EQ(doc.SaveToFile(dir / "a.xstg"), save_result::kOk);
    CTarvikFile4 back;
    ASSERT_EQ(back.LoadFromFile(dir / "a.xstg"), load_result::kOk);
    EXPECT_EQ(back.m_passport.sample, doc.m_passport.sample);
}

// A document holding an infinity or a NaN, in a sample or in a value a peak stores, is refused
// before anything is written, and the failure says where.
TEST(HostileSave, ValuesThatAreNotFiniteAreRefusedBeforeAnythingIsWritten) {
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case {
        const char* label;
        std::function<void(CTarvikFile4&)> spoil;
        const char* where;
    };
    const Case cases[] = {
        {"infinite sample",
         [&](CTarvikFile4& d) { d.m_channels[1].signal.samples[2] = static_cast<float>(inf); },
         "channel 7, sample 2"},
        {"NaN sample", [](CTarvikFile4& d) { d.m_channels[1].signal.samples[0] = std::nanf(""); },
         "channel 7, sample 0"},
        {"infinite area", [&](CTarvikFile4& d) { d.m_channels[1].table[0].area = -inf; },
         "channel 7, peak 0, its area"},
        {"NaN front", [&](CTarvikFile4& d) { d.m_channels[0].table[0].front = nan; },
         "channel 0, peak 0, its front"},
        {"infinite base height",
         [&](CTarvikFile4& d) { d.m_channels[1].table[1].back_base_height = inf; },
         "channel 7, peak 1, its back_base_height"},
    };
    TempDir dir;
    WriteBytes(dir / "a.xstg", "old");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        CTarvikFile4 doc;
        SmallDocument(doc);
        doc.m_channels.push_back(MakeChannel(7, 0.0, 0.5, {4.0f, 5.0f, 6.0f}));
        doc.m_channels[1].table.resize(2);
        c.spoil(doc);
        EXPECT_EQ(doc.SaveToFile(dir / "a.xstg"), save_result::kNonFiniteValue);
        EXPECT_EQ(doc.LastFailure().detail, c.where);
        EXPECT_EQ(DescribeFailure(doc.LastFailure()),
                  "cannot save: result code -11: the document holds a value that is infinite or "
                  "not a number: " +
                      std::string(c.where));
    }
    EXPECT_EQ(ReadBytes(dir / "a.xstg"), "old");
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"a.xstg"});
}

// A save interrupted by a signal leaves neither the document nor its temporary file.
TEST(HostileSave, SignalsRemoveTheTemporaryFileOfASaveInProgress) {
    for (int signal_number : {SIGINT, SIGTERM, SIGHUP}) {
        SCOPED_TRACE(signal_number);
        TempDir dir;
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            AtomicFile file;
            if (!file.Open(dir / "big.xstg")) ::_exit(2);
            const std::string chunk(1 << 20, 'x');
            file.Write(chunk.data(), chunk.size());
            for (;;) ::pause();
        }
        // Waits for the temporary file, at most ten seconds; then the signal comes mid-save.
        for (int i = 0; i < 1000 && dir.Names().empty(); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        EXPECT_EQ(dir.Names().size(), 1u);
        ::kill(child, signal_number);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal_number) << status;
        EXPECT_TRUE(dir.Names().empty());
    }
}

std::string DocumentHeaderOnly() {
    return std::string("STG\x01\0\0\0\0", 8) + Le<std::uint64_t>(16);
}

TEST(HostileLoad, OversizedFilesAreRefusedBeforeTheyAreRead) {
    TempDir dir;
    // A sparse file of 10 GB: nothing of it may be read into memory.
    WriteBytes(dir / "sparse.xstg", DocumentHeaderOnly() + "<root/>");
    std::filesystem::resize_file(dir / "sparse.xstg", std::uint64_t{10} << 30);
    // A million empty elements would build a tree of gigabytes.
    std::string elements;
    for (std::uint64_t i = 0; i <= kMaxXmlMarkup; ++i) elements += "<a/>";
    WriteBytes(dir / "bomb.xstg", DocumentHeaderOnly() + "<root>" + elements + "</root>");

    for (const char* name : {"sparse.xstg", "bomb.xstg"}) {
        SCOPED_TRACE(name);
        const std::uint64_t text = name[0] == 'b' ? elements.size() : 0;
        CTarvikFile4 doc;
        allocation_meter::Start();
        EXPECT_EQ(doc.LoadFromFile(dir / name), load_result::kTooLarge);
        EXPECT_LT(allocation_meter::PeakSinceStart(), text + (64u << 10));
        EXPECT_FALSE(doc.LastFailure().detail.empty());
    }
    const std::string bomb = ReadBytes(dir / "bomb.xstg");
    CTarvikFile4 doc;
    EXPECT_EQ(doc.LoadFromBuffer(bomb.data(), bomb.size()), buffer_result::kTooLarge);
}

TEST(HostileSave, XmlLargerThanADocumentMayHoldIsNotPutInPlace) {
    TempDir dir;
    CTarvikFile4 doc;
    SmallDocument(doc);
    doc.m_passport.entries.push_back({"note", "", std::string(kMaxXmlBytes, 'x')});
    EXPECT_EQ(doc.SaveToFile(dir / "a.xstg"), save_result::kTooLarge);
    EXPECT_TRUE(dir.Names().empty());
}

}  // namespace
