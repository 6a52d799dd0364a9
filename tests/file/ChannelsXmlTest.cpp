#include <gtest/gtest.h>

#include <limits>

#include "FileTestSupport.h"

namespace {

void ReadChannelsText(CTarvikFile4& doc, const char* xml) {
    pugi::xml_document parsed;
    ASSERT_TRUE(parsed.load_string(xml));
    doc.ReadChannels(parsed.child("channels"));
}

TEST(ChannelsXml, ItemFieldsFallBackToTheStoredPeakDefaults) {
    CTarvikFile4 doc;
    doc.m_channels.emplace_back(0);
    ReadChannelsText(doc,
                     R"(<channels><channel><number value="0"/><table><item/>)"
                     R"(<item><left value="7"/><reference value="yes"/><time value="2.5 min"/>)"
                     R"(<flags value="4294967296"/><unknown value="1"/></item>)"
                     R"(<item><reference value="True"/><right value="-99999999999"/></item>)"
                     R"(<item><reference value="no"/></item><item><reference value="0"/></item>)"
                     R"(<item><reference value=""/></item></table></channel></channels>)");
    const std::vector<Peak4>& table = doc.m_channels[0].table;
    ASSERT_EQ(table.size(), 6u);
    Peak4 blank;
    blank.left = -1;
    blank.right = -1;
    ExpectSamePeak(table[0], blank);
    EXPECT_EQ(table[1].left, 7);
    EXPECT_EQ(table[1].right, -1);
    EXPECT_EQ(table[1].time, 2.5);
    EXPECT_EQ(table[1].flags, std::numeric_limits<std::uint32_t>::max());  // saturates
    EXPECT_TRUE(table[1].reference);
    EXPECT_TRUE(table[2].reference);
    EXPECT_EQ(table[2].right, std::numeric_limits<std::int32_t>::min());
    for (int i = 3; i < 6; ++i) EXPECT_FALSE(table[i].reference) << i;
}

TEST(ChannelsXml, TablesGoToChannelsMatchedByNumber) {
    CTarvikFile4 doc;
    for (int number : {4, 2, 2, 9}) {
        doc.m_channels.emplace_back(number);
        Peak4 own;
        own.name = "own " + std::to_string(number);
        doc.m_channels.back().table.push_back(own);
    }
    ReadChannelsText(doc,
                     R"(<channels><channel><number value="-1"/><table><item/></table></channel>)"
                     R"(<channel><table><item/></table></channel>)"
                     R"(<channel><number value="77"/><table><item/></table></channel>)"
                     R"(<channel><number value="2"/><table><item/><item/></table></channel>)"
                     R"(<other><number value="4"/><table/></other>)"
                     R"(<channel><number value="4"/><table><item/></table></channel>)"
                     R"(<channel><number value="4"/><table/></channel>)"
                     R"(<channel><number value="9"/></channel></channels>)");
    EXPECT_TRUE(doc.m_channels[0].table.empty());   // the later element for 4 wins
    EXPECT_EQ(doc.m_channels[1].table.size(), 2u);  // the first channel numbered 2
    ASSERT_EQ(doc.m_channels[2].table.size(), 1u);  // the second keeps its own
    EXPECT_EQ(doc.m_channels[2].table[0].name, "own 2");
    EXPECT_TRUE(doc.m_channels[3].table.empty());  // no "table": no items
}

TEST(ChannelsXml, NumbersAbove255LoseTheirTable) {
    TempDir dir;
    CTarvikFile4 doc;
    doc.m_channels.emplace_back(300);
    doc.m_channels[0].table.push_back(Peak4{});
    doc.m_channels.emplace_back(5);  // empty table
    ASSERT_EQ(doc.SaveToFile(dir / "c.xstg"), save_result::kOk);
    EXPECT_NE(ReadBytes(dir / "c.xstg").find(R"(<number value="300"/>)"), std::string::npos);
    EXPECT_NE(ReadBytes(dir / "c.xstg").find(R"(<number value="5"/><table/>)"), std::string::npos);
    CTarvikFile4 back;
    ASSERT_EQ(back.LoadFromFile(dir / "c.xstg"), load_result::kOk);
    ASSERT_EQ(back.m_channels.size(), 2u);
    EXPECT_EQ(back.m_channels[0].number, 44);  // 300 mod 256
    EXPECT_TRUE(back.m_channels[0].table.empty());
}

}  // namespace
