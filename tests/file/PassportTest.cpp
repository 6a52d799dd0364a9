#include <gtest/gtest.h>

#include <cctype>

#include "FileTestSupport.h"
#include "file/NewGuidString.h"
#include "file/PassportXml.h"

namespace {

void ReadPassportText(CTarvikFile4& doc, const char* xml) {
    pugi::xml_document parsed;
    ASSERT_TRUE(parsed.load_string(xml));
    doc.ReadPassport(parsed.child("passport"));
}

TEST(Passport, FullPassportRoundTripsThroughTheDocument) {
    TempDir dir;
    CTarvikFile4 doc;
    Passport& p = doc.m_passport;
    p.assayid = "0f1e2d3c-4b5a-1968-8776-a5b4c3d2e1f0";
    p.series = "S-17";
    p.andate = -2208988800LL;  // before 1970, and beyond 32 bits
    p.duration = 1.0 / 3.0;
    p.sample = "Смесь «А» <&>";
    p.method = "ISO 6974";
    p.graduation = true;
    p.date = 4102444800LL;
    p.defect = true;
    p.mixture = "природный газ";
    p.isDeleted = true;
    ColumnInfo column{-3,  "ZB-1", "Zebron", 2,   0.53, 60.0,     "He",     "PDMS",
                      5.5, 1,      0.1,      0.9, 1.5,  "part 7", "SN 001", {-1, 0, 2147483647}};
    p.columns = {column, ColumnInfo{}};
    p.entries = {{"operator", "Оператор", "Иванов"}, {"lab", "", ""}, {"operator", "b", "c"}};
    ASSERT_EQ(doc.SaveToFile(dir / "p.xstg"), save_result::kOk);

    CTarvikFile4 back;
    back.m_passport.columns.push_back(ColumnInfo{});  // the lists are replaced, not extended
    back.m_passport.entries.push_back({"old", "", ""});
    ASSERT_EQ(back.LoadFromFile(dir / "p.xstg"), load_result::kOk);
    EXPECT_EQ(doc.m_passport.path, dir / "p.xstg");
    EXPECT_EQ(back.m_passport, doc.m_passport);  // path included: both are the saved path
}

TEST(Passport, AbsentFieldsKeepTheirValueWhileListsAreReplaced) {
    CTarvikFile4 doc;
    doc.m_passport.series = "before";
    doc.m_passport.duration = 2.0;
    doc.m_passport.entries.push_back({"old", "", ""});
    ReadPassportText(doc, R"(<passport><sample value="a"/><sample value="b"/><andate/>)"
                          R"(<graduation value="Yes"/><defect value="no"/>text between)"
                          R"(<Series value="case matters"/><column/></passport>)");
    const Passport& p = doc.m_passport;
    EXPECT_EQ(p.series, "before");
    EXPECT_EQ(p.duration, 2.0);
    EXPECT_EQ(p.sample, "b");  // the last of repeated elements wins
    EXPECT_EQ(p.andate, 0);    // present without a value
    EXPECT_TRUE(p.graduation);
    EXPECT_FALSE(p.defect);
    ASSERT_EQ(p.entries.size(), 1u);  // character data is not an entry
    EXPECT_EQ(p.entries[0], (PassportEntry{"Series", "", "case matters"}));
    ASSERT_EQ(p.columns.size(), 1u);
    EXPECT_EQ(p.columns[0], ColumnInfo{});
}

TEST(Passport, ChannelIdsAreCommaSeparatedAndReadLeniently) {
    EXPECT_EQ(JoinChannelIds({1, 2, 10}), "1,2,10");
    EXPECT_EQ(JoinChannelIds({}), "");
    EXPECT_EQ(SplitChannelIds("1,,x,3"), (std::vector<std::int32_t>{1, 3}));
    EXPECT_EQ(SplitChannelIds(" -4,+5,7abc,99999999999,-,"), (std::vector<std::int32_t>{-4, 5, 7}));
    EXPECT_TRUE(SplitChannelIds("").empty());
}

TEST(Passport, NewGuidIsASequentialLowerCaseUuid) {
    const std::string a = NewGuidString();
    const std::string b = NewGuidString();
    ASSERT_EQ(a.size(), 36u);
    EXPECT_NE(a, b);
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (i == 8 || i == 13 || i == 18 || i == 23) {
            EXPECT_EQ(a[i], '-');
        } else {
            EXPECT_TRUE(std::isxdigit(static_cast<unsigned char>(a[i])) && !std::isupper(a[i]))
                << a;
        }
    }
    EXPECT_EQ(a[14], '1');  // time-based version
}

}  // namespace
