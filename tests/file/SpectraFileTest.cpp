#include <gtest/gtest.h>

#include "FileTestSupport.h"
#include "file/SpectraFile.h"

namespace {

SpectrumRecord Record(double key, std::uint16_t first, std::uint16_t step, std::size_t n) {
    SpectrumRecord record{key, {}};
    for (std::size_t i = 0; i < n; ++i) {
        record.points.push_back({static_cast<std::uint16_t>(first + i * step),
                                 static_cast<float>(key) + 0.5f * static_cast<float>(i)});
    }
    return record;
}

std::string Header(std::uint8_t version, std::uint16_t first, std::uint16_t step,
                   std::uint16_t count, std::uint64_t total) {
    return "SPC" + std::string(1, static_cast<char>(version)) + std::string(4, '\0') + Le(first) +
           Le(step) + Le(count) + std::string(2, '\0') + Le(total);
}

TEST(SpectraFile, PathReplacesOnlyTheExtensionOfTheFileName) {
    EXPECT_EQ(SpectraPath("a.xstg"), "a.xspc");
    EXPECT_EQ(SpectraPath("/data/run.1/a"), "/data/run.1/a.xspc");
    EXPECT_EQ(SpectraPath("run.1/a.b.xstg"), "run.1/a.b.xspc");
    EXPECT_EQ(SpectraPath("a"), "a.xspc");
    EXPECT_EQ(SpectraPath("dir/.xstg"), "dir/.xspc");
    const std::string deep = std::string(300, 'd') + "/" + std::string(200, 'n') + ".xstg";
    EXPECT_EQ(SpectraPath(deep), deep.substr(0, deep.size() - 5) + ".xspc");
}

TEST(SpectraFile, SinglePointRecordHasStepOneAndSize44) {
    TempDir dir;
    CTarvikFile4 doc;
    doc.m_spectra = {SpectrumRecord{2.5, {{250, -1.0f}}}};
    ASSERT_EQ(doc.WriteSpectra(dir / "s.xstg"), save_result::kOk);
    EXPECT_EQ(ReadBytes(dir / "s.xspc"),
              Header(1, 250, 1, 1, 44) + std::string(8, '\0') + Le(2.5) + Le(-1.0f));
}

TEST(SpectraFile, RecordsRoundTripWithWrappingPositions) {
    TempDir dir;
    CTarvikFile4 doc;
    doc.m_spectra = {Record(1.0, 65535, 1, 801), Record(-2.0, 65535, 1, 801),
                     Record(3.0, 65535, 1, 801)};
    ASSERT_EQ(doc.WriteSpectra(dir / "w.xstg"), save_result::kOk);
    const std::string bytes = ReadBytes(dir / "w.xspc");
    EXPECT_EQ(bytes.size(), 9684u);
    EXPECT_EQ(bytes.substr(16, 8), Le<std::uint64_t>(24 + 3 * 3220));
    CTarvikFile4 back;
    ASSERT_EQ(back.ReadSpectra(dir / "w.xstg"), spectra_read_result::kOk);
    EXPECT_EQ(back.m_spectra, doc.m_spectra);
    EXPECT_EQ(back.m_spectra[0].points[1].position, 0);
}

TEST(SpectraFile, UnstorableListsAreRefusedBeforeAnyFileIsTouched) {
    TempDir dir;
    WriteBytes(dir / "r.xspc", "old");
    const std::vector<std::vector<SpectrumRecord>> lists = {
        {Record(1, 0, 1, 802)},
        {SpectrumRecord{}},
        {Record(1, 0, 1, 5), Record(2, 0, 1, 4)},  // ragged: the second would read back shifted
        {Record(1, 0, 1, 5), Record(2, 0, 1, 6)}};
    for (const auto& list : lists) {
        CTarvikFile4 doc;
        doc.m_spectra = list;
        EXPECT_EQ(doc.WriteSpectra(dir / "r.xstg"), save_result::kBadSpectrumLength);
    }
    EXPECT_EQ(ReadBytes(dir / "r.xspc"), "old");
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"r.xspc"});
    CTarvikFile4 empty;  // nothing to write: nothing touched
    EXPECT_EQ(empty.WriteSpectra(dir / "r.xstg"), save_result::kOk);
    EXPECT_EQ(ReadBytes(dir / "r.xspc"), "old");
}

TEST(SpectraFile, EveryReadFailureHasItsCode) {
    TempDir dir;
    const std::string record = std::string(8, '\0') + Le(7.0) + Le(1.0f) + Le(2.0f);
    const std::string good = Header(1, 10, 5, 2, 24 + 2 * 24) + record + record;
    struct Case {
        std::string bytes;
        int result;
        std::size_t records_after;  // 99: the list is unchanged
    };
    const Case cases[] = {
        {good, spectra_read_result::kOk, 2},
        {Header(0, 10, 5, 2, 0) + record, spectra_read_result::kOk, 1},  // one record at least
        {good.substr(0, 23), spectra_read_result::kShortHeader, 99},
        {"SPD" + good.substr(3), spectra_read_result::kBadMagic, 99},
        {"SPC\x02" + good.substr(4), spectra_read_result::kUnknownVersion, 99},
        {Header(1, 10, 5, 0, 24), spectra_read_result::kBadPointCount, 99},
        {Header(1, 10, 5, 802, 24), spectra_read_result::kBadPointCount, 99},
        {good.substr(0, 24), spectra_read_result::kShortRecordHeader, 0},
        {good.substr(0, 24 + 24 + 15), spectra_read_result::kShortRecordHeader, 1},
        {good.substr(0, good.size() - 1), spectra_read_result::kShortValues, 1},
        {Header(1, 10, 5, 801, 1ull << 62) + record, spectra_read_result::kShortValues, 0}};
    for (const Case& c : cases) {
        WriteBytes(dir / "f.xspc", c.bytes);
        CTarvikFile4 doc;
        doc.m_spectra.resize(99);
        EXPECT_EQ(doc.ReadSpectra(dir / "f.xstg"), c.result) << c.bytes.size();
        EXPECT_EQ(doc.m_spectra.size(), c.records_after) << c.bytes.size();
    }
    CTarvikFile4 doc;
    ASSERT_EQ(doc.ReadSpectra(dir / "f.xstg"), spectra_read_result::kShortValues);
    WriteBytes(dir / "f.xspc", good);
    ASSERT_EQ(doc.ReadSpectra(dir / "f.xstg"), spectra_read_result::kOk);
    EXPECT_EQ(doc.m_spectra[1], (SpectrumRecord{7.0, {{10, 1.0f}, {15, 2.0f}}}));
    EXPECT_EQ(doc.ReadSpectra(dir / "missing.xstg"), spectra_read_result::kOpenFailed);
    EXPECT_EQ(doc.m_spectra.size(), 2u);
}

}  // namespace
