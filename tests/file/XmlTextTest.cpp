#include <gtest/gtest.h>

#include "FileTestSupport.h"

namespace {

// A small document of one channel, saved; the expected bytes below are written out by hand.
void SmallDocument(CTarvikFile4& doc) {
    doc.m_passport.duration = 0.1;
    doc.m_passport.sample = "Проба <1> & \"2\"";
    doc.m_passport.graduation = true;
    ColumnInfo column;
    column.channel = 2;
    column.name = "HP-5";
    column.diameter = 0.32;
    column.length = 30.0;
    column.channelsId = {1, 2, 10};
    doc.m_passport.columns.push_back(column);
    doc.m_passport.entries.push_back({"operator", "Operator", "X"});
    doc.m_channels.push_back(MakeChannel(3, 0.0, 0.5, {1.0f, -2.5f}));
    Peak4 peak;
    peak.front = 1.5;
    peak.back = 2.25;
    peak.time = 2.0;
    peak.area = 0.1;
    peak.height = 10.0;
    peak.name = "Бензол";
    peak.left = -1;
    peak.right = -1;
    peak.flags = 7;
    peak.index = 1e-5;
    doc.m_channels[0].table.push_back(peak);
}

TEST(XmlText, SmallDocumentIsByteForByteAsExpected) {
    TempDir dir;
    CTarvikFile4 doc;
    SmallDocument(doc);
    ASSERT_EQ(doc.SaveToFile(dir / "small.xstg"), save_result::kOk);

    // Header: magic, version 1, reserved, xml_offset 16 + 32 + 2*4 = 56.
    std::string expected("STG\x01\0\0\0\0", 8);
    expected += Le<std::uint64_t>(56);
    // Block: number 3, reserved, start 0, step 0.5, two samples.
    expected += std::string("\x03\0\0\0\0\0\0\0", 8) + Le(0.0) + Le(0.5) + Le<std::uint64_t>(2);
    expected += Le(1.0f) + Le(-2.5f);
    expected +=
        R"(<?xml version="1.0" encoding="utf-8"?><root version="1"><passport version="1">)"
        R"(<assayid value="00000000-0000-0000-0000-000000000000"/><series value=""/>)"
        R"(<andate value="0"/><duration value="0.10000000000000001"/>)"
        R"(<sample value="Проба &lt;1> &amp; &quot;2&quot;"/><method value=""/>)"
        R"(<graduation value="true"/><date value="0"/><defect value="false"/>)"
        R"(<mixture value=""/><isDeleted value="false"/>)"
        R"(<column><channel value="2"/><name value="HP-5"/><brand value=""/><type value="0"/>)"
        R"(<diameter value="0.32000000000000001"/><length value="30"/><carrier value=""/>)"
        R"(<phase value=""/><percent value="0"/><unit value="0"/><fraction0 value="0"/>)"
        R"(<fraction1 value="0"/><film value="0"/><part value=""/><serial value=""/>)"
        R"(<channelsId value="1,2,10"/></column><operator title="Operator" value="X"/>)"
        R"(</passport><channels version="1"><channel><number value="3"/><table><item>)"
        R"(<front value="1.5"/><back value="2.25"/><time value="2"/>)"
        R"(<area value="0.10000000000000001"/><height value="10"/><concent value="0"/>)"
        R"(<name value="Бензол"/><reference value="false"/><left value="-1"/>)"
        R"(<right value="-1"/><flags value="7"/><front_base_height value="0"/>)"
        R"(<back_base_height value="0"/><index value="1.0000000000000001e-05"/>)"
        R"(</item></table></channel></channels></root>)";
    EXPECT_EQ(ReadBytes(dir / "small.xstg"), expected);

    CTarvikFile4 back;
    ASSERT_EQ(back.LoadFromFile(dir / "small.xstg"), load_result::kOk);
    ExpectSameChannels(back.m_channels, doc.m_channels);
    back.m_passport.path.clear();
    doc.m_passport.path.clear();
    EXPECT_EQ(back.m_passport, doc.m_passport);
}

TEST(XmlText, EmptyDocumentIsTheHeaderAndOneLineWithShortChannels) {
    TempDir dir;
    CTarvikFile4 doc;
    ASSERT_EQ(doc.SaveToFile(dir / "empty.xstg"), save_result::kOk);
    const std::string bytes = ReadBytes(dir / "empty.xstg");
    EXPECT_EQ(bytes.substr(0, 16), std::string("STG\x01\0\0\0\0", 8) + Le<std::uint64_t>(16));
    const std::string xml = bytes.substr(16);
    EXPECT_EQ(xml.find('\n'), std::string::npos);
    EXPECT_NE(xml.find(R"(<channels version="1"/></root>)"), std::string::npos);
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"empty.xstg"});  // no spectra file
}

// Replaces the XML text of a saved one-channel document and loads it.
int LoadWithXml(const TempDir& dir, const std::string& xml, CTarvikFile4& doc) {
    CTarvikFile4 source;
    source.m_channels.push_back(MakeChannel(1, 0.0, 1.0, {4.0f}));
    source.m_channels[0].table.push_back(Peak4{});
    EXPECT_EQ(source.SaveToFile(dir / "x.xstg"), save_result::kOk);
    const std::string section = ReadBytes(dir / "x.xstg").substr(0, 16 + 32 + 4);
    WriteBytes(dir / "x.xstg", section + xml);
    return doc.LoadFromFile(dir / "x.xstg");
}

TEST(XmlText, TextIsUtf8WhateverTheDeclarationSays) {
    TempDir dir;
    CTarvikFile4 doc;
    const std::string xml =
        "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"windows-1251\"?><root><passport>"
        "<sample value=\"Проба\"/></passport></root>";
    ASSERT_EQ(LoadWithXml(dir, xml, doc), load_result::kOk);
    EXPECT_EQ(doc.m_passport.sample, "Проба");
}

TEST(XmlText, MissingRootPassportOrChannelsStillLoads) {
    TempDir dir;
    for (const char* xml : {"<other/>", "<root/>", "<root><channels/></root>"}) {
        SCOPED_TRACE(xml);
        CTarvikFile4 doc;
        doc.m_passport.series = "kept";
        ASSERT_EQ(LoadWithXml(dir, xml, doc), load_result::kOk);
        EXPECT_EQ(doc.m_passport.series, "kept");
        ASSERT_EQ(doc.m_channels.size(), 1u);
        EXPECT_TRUE(doc.m_channels[0].table.empty());
    }
}

TEST(XmlText, TextThatIsNotWellFormedOrHasNoElementFails) {
    TempDir dir;
    for (const char* xml : {"<root><passport></root>", "", "<?xml version=\"1.0\"?>", "plain"}) {
        SCOPED_TRACE(xml);
        CTarvikFile4 doc;
        EXPECT_EQ(LoadWithXml(dir, xml, doc), load_result::kXmlNotParsed);
        // The signal section was read before the text failed.
        ASSERT_EQ(doc.m_channels.size(), 1u);
        EXPECT_EQ(doc.m_channels[0].signal.samples, std::vector<float>{4.0f});
        EXPECT_TRUE(doc.m_channels[0].table.empty());
    }
}

}  // namespace
