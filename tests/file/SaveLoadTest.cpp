#include <gtest/gtest.h>
#include <sys/stat.h>

#include "FileTestSupport.h"

namespace {

void RichDocument(CTarvikFile4& doc) {
    doc.m_passport.assayid = "a1b2c3d4-0000-1000-8000-00805f9b34fb";
    doc.m_passport.andate = 1700000000;
    doc.m_passport.method = "Метод \"№5\" <tab>";
    doc.m_passport.columns.push_back(ColumnInfo{});
    doc.m_passport.entries.push_back({"operator", "Operator", "X"});
    doc.m_channels.push_back(MakeChannel(0, 0.0, 1.0 / 60.0, {0.1f, -3.4e38f, 1e-45f}));
    doc.m_channels.push_back(MakeChannel(255, 1.5, 0.1, {}));  // empty signal and table
    Peak4 peak;
    peak.name = "Метан & <этан>";
    peak.time = 0.1;
    peak.area = 1.0 / 3.0;
    peak.reference = true;
    peak.left = -1;
    peak.right = 12;
    peak.flags = 0xFFFFFFFF;
    doc.m_channels[0].table = {peak, Peak4{}};
    doc.m_spectra = {SpectrumRecord{0.5, {{100, 1.0f}, {102, 2.0f}}},
                     SpectrumRecord{-0.0, {{100, -1.0f}, {102, 0.1f}}}};
}

TEST(SaveLoad, DocumentWithSpectraComesBackWhole) {
    TempDir dir;
    CTarvikFile4 doc;
    RichDocument(doc);
    ASSERT_EQ(doc.SaveToFile(dir / "rich.xstg"), save_result::kOk);
    EXPECT_EQ(dir.Names(), (std::vector<std::string>{"rich.xspc", "rich.xstg"}));

    CTarvikFile4Improved back;
    ASSERT_EQ(back.LoadFromFile(dir / "rich.xstg"), load_result::kOk);
    ExpectSameChannels(back.m_channels, doc.m_channels);
    EXPECT_EQ(back.m_passport, doc.m_passport);
    EXPECT_EQ(back.m_passport.path, dir / "rich.xstg");
    EXPECT_EQ(back.m_spectra, doc.m_spectra);

    // From memory: the same, except that path and spectra are not touched.
    const std::string bytes = ReadBytes(dir / "rich.xstg");
    CTarvikFile4 from_buffer;
    from_buffer.m_passport.path = "elsewhere";
    ASSERT_EQ(from_buffer.LoadFromBuffer(bytes.data(), bytes.size()), buffer_result::kOk);
    ExpectSameChannels(from_buffer.m_channels, doc.m_channels);
    EXPECT_EQ(from_buffer.m_passport.path, "elsewhere");
    EXPECT_TRUE(from_buffer.m_spectra.empty());
}

TEST(SaveLoad, FolderThatCannotHoldTheFileGetsNothing) {
    TempDir dir;
    WriteBytes(dir / "plain", "x");
    CTarvikFile4 doc;
    RichDocument(doc);
    EXPECT_EQ(doc.SaveToFile(dir / "missing/a.xstg"), save_result::kOpenFailed);
    EXPECT_EQ(doc.SaveToFile(dir / "plain/a.xstg"), save_result::kOpenFailed);
    EXPECT_EQ(doc.SaveToFile(dir.path().string() + "/"), save_result::kOpenFailed);
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"plain"});
    EXPECT_EQ(doc.LoadFromFile(dir / "missing/a.xstg"), load_result::kOpenFailed);
    EXPECT_EQ(doc.LoadFromFile(dir.path().string()), load_result::kOpenFailed);  // a folder
}

TEST(SaveLoad, FailedSaveLeavesTheOldFilesAsTheyWere) {
    TempDir dir;
    CTarvikFile4 old;
    RichDocument(old);
    ASSERT_EQ(old.SaveToFile(dir / "a.xstg"), save_result::kOk);
    const std::string old_document = ReadBytes(dir / "a.xstg");
    const std::string old_spectra = ReadBytes(dir / "a.xspc");

    CTarvikFile4 ragged;
    RichDocument(ragged);
    ragged.m_channels.pop_back();
    ragged.m_spectra[1].points.pop_back();
    EXPECT_EQ(ragged.SaveToFile(dir / "a.xstg"), save_result::kBadSpectrumLength);
    EXPECT_EQ(ReadBytes(dir / "a.xstg"), old_document);
    EXPECT_EQ(ReadBytes(dir / "a.xspc"), old_spectra);
    EXPECT_EQ(dir.Names(), (std::vector<std::string>{"a.xspc", "a.xstg"}));

    // A folder in the document's place is refused before anything is written.
    std::filesystem::create_directory(dir / "b.xstg");
    CTarvikFile4 plain;
    EXPECT_EQ(plain.SaveToFile(dir / "b.xstg"), save_result::kOpenFailed);
    EXPECT_EQ(dir.Names(), (std::vector<std::string>{"a.xspc", "a.xstg", "b.xstg"}));
}

TEST(SaveLoad, ReplacingAFileKeepsItsPermissionsAndLinksAndDropsSpectraItNoLongerHas) {
    TempDir dir;
    CTarvikFile4 doc;
    RichDocument(doc);
    ASSERT_EQ(doc.SaveToFile(dir / "p.xstg"), save_result::kOk);
    ASSERT_EQ(::chmod((dir / "p.xstg").c_str(), 0640), 0);
    doc.m_spectra.clear();
    ASSERT_EQ(doc.SaveToFile(dir / "p.xstg"), save_result::kOk);
    struct stat info {};
    ASSERT_EQ(::stat((dir / "p.xstg").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    // The old spectra would otherwise come back with the next load.
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"p.xstg"});

    // Through a link the linked file is replaced and the link stays.
    std::filesystem::create_symlink("p.xstg", dir / "link.xstg");
    doc.m_passport.series = "through the link";
    ASSERT_EQ(doc.SaveToFile(dir / "link.xstg"), save_result::kOk);
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "link.xstg"));
    EXPECT_NE(ReadBytes(dir / "p.xstg").find("through the link"), std::string::npos);
}

TEST(SaveLoad, SpectraFileIsOptionalButItsFailuresCount) {
    TempDir dir;
    CTarvikFile4 doc;
    RichDocument(doc);
    doc.m_spectra.clear();
    ASSERT_EQ(doc.SaveToFile(dir / "n.xstg"), save_result::kOk);
    CTarvikFile4 back;
    back.m_spectra = {SpectrumRecord{9.0, {{1, 1.0f}}}};
    EXPECT_EQ(back.LoadFromFile(dir / "n.xstg"), load_result::kOk);
    EXPECT_EQ(back.m_spectra.size(), 1u);  // no spectra file: the records stay

    WriteBytes(dir / "n.xspc", std::string("XYZ\x01", 4) + std::string(20, '\0'));
    EXPECT_EQ(back.LoadFromFile(dir / "n.xstg"), spectra_read_result::kBadMagic);
    EXPECT_EQ(back.m_passport.path, dir / "n.xstg");  // the document itself was read
}

TEST(SaveLoad, DocumentsInDottedFoldersHaveSpectraOfTheirOwn) {
    TempDir dir;
    for (const char* folder : {"run.1", "run.2"}) std::filesystem::create_directory(dir / folder);
    CTarvikFile4 one;
    RichDocument(one);
    CTarvikFile4 two;
    RichDocument(two);
    two.m_spectra[0].key = 42.0;
    ASSERT_EQ(one.SaveToFile(dir / "run.1/a"), save_result::kOk);
    ASSERT_EQ(two.SaveToFile(dir / "run.2/a"), save_result::kOk);
    EXPECT_EQ(dir.Names(), (std::vector<std::string>{"run.1", "run.2"}));
    CTarvikFile4 back;
    ASSERT_EQ(back.LoadFromFile(dir / "run.1/a"), load_result::kOk);
    EXPECT_EQ(back.m_spectra, one.m_spectra);
    ASSERT_EQ(back.LoadFromFile(dir / "run.2/a"), load_result::kOk);
    EXPECT_EQ(back.m_spectra, two.m_spectra);
}

TEST(SaveLoad, PathsLongerThan260BytesWork) {
    TempDir dir;
    std::string folder = dir.path().string();
    for (int i = 0; i < 3; ++i) folder += "/" + std::string(120, static_cast<char>('a' + i));
    std::filesystem::create_directories(folder);
    const std::string path = folder + "/" + std::string(200, 'z') + ".xstg";
    CTarvikFile4 doc;
    RichDocument(doc);
    ASSERT_EQ(doc.SaveToFile(path), save_result::kOk);
    CTarvikFile4 back;
    ASSERT_EQ(back.LoadFromFile(path), load_result::kOk);
    EXPECT_EQ(back.m_spectra, doc.m_spectra);
}

}  // namespace

namespace {

TEST(SaveLoad, EntriesThatWouldNotReadBackAreRefusedBeforeWriting) {
    TempDir dir;
    CTarvikFile4 doc;
    doc.m_passport.entries = {
        {"ns:operator", "Оператор", "X"}, {"_id.2-b", "", "7"}, {"é·x", "", ""}, {"Ωмега", "", ""}};
    ASSERT_EQ(doc.SaveToFile(dir / "a.xstg"), save_result::kOk);
    CTarvikFile4 loaded;
    ASSERT_EQ(loaded.LoadFromFile(dir / "a.xstg"), load_result::kOk);
    EXPECT_EQ(loaded.m_passport.entries, doc.m_passport.entries);

    const std::string old_document = ReadBytes(dir / "a.xstg");
    // The XML Name production, character by character; a colon only inside, once.
    for (const char* bad : {"", "a b", "1st", "-x", "series", "column", "x/>", "×x", "·x", ":",
                            "a:", ":a", "a:b:c", "x\xFF", "x\xEF\xBF\xBF", "\xE2\x80\x80x"}) {
        SCOPED_TRACE(bad);
        doc.m_passport.entries = {{bad, "t", "v"}};
        EXPECT_EQ(doc.SaveToFile(dir / "a.xstg"), save_result::kXmlNotWritten);
        EXPECT_EQ(ReadBytes(dir / "a.xstg"), old_document);
    }
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"a.xstg"});
}

}  // namespace
