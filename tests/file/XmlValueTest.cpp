#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstring>
#include <limits>

#include "file/XmlValue.h"

namespace {

TEST(XmlValue, RealsHaveSeventeenSignificantDigitsInPrintfForm) {
    EXPECT_EQ(FormatReal(0.0), "0");
    EXPECT_EQ(FormatReal(10.0), "10");
    EXPECT_EQ(FormatReal(0.1), "0.10000000000000001");
    EXPECT_EQ(FormatReal(-2.5), "-2.5");
    EXPECT_EQ(FormatReal(1e-5), "1.0000000000000001e-05");  // exponent below -4
    EXPECT_EQ(FormatReal(0.0001), "0.0001");                // exponent -4: still fixed
    EXPECT_EQ(FormatReal(1e16), "10000000000000000");
    EXPECT_EQ(FormatReal(1e17), "1e+17");  // exponent at least 17
}

TEST(XmlValue, AwkwardRealsReadBackBitForBit) {
    const double values[] = {0.1,
                             1.0 / 3.0,
                             -0.0,
                             2.2250738585072014e-308,  // smallest normal
                             4.9406564584124654e-324,  // smallest subnormal
                             std::numeric_limits<double>::max(),
                             9007199254740993.0,  // 2^53 + 1 rounds to an even neighbour
                             123456.78901234567,
                             std::numeric_limits<double>::infinity()};
    for (double value : values) {
        const double back = ParseReal(FormatReal(value).c_str());
        EXPECT_EQ(std::memcmp(&back, &value, sizeof value), 0) << FormatReal(value);
    }
    EXPECT_TRUE(std::isnan(ParseReal(FormatReal(std::nan("")).c_str())));
}

TEST(XmlValue, RealsReadTheLeadingNumberLikeCStrtod) {
    EXPECT_EQ(ParseReal("  12.5abc"), 12.5);
    EXPECT_EQ(ParseReal("+3"), 3.0);
    EXPECT_EQ(ParseReal("-.5"), -0.5);
    EXPECT_EQ(ParseReal("1e"), 1.0);
    EXPECT_EQ(ParseReal("0x1.8p1"), 3.0);
    EXPECT_EQ(ParseReal("0x"), 0.0);
    EXPECT_EQ(ParseReal("abc"), 0.0);
    EXPECT_EQ(ParseReal(""), 0.0);
    EXPECT_EQ(ParseReal("+-1"), 0.0);
    EXPECT_EQ(ParseReal("1,5"), 1.0);  // a decimal comma is not a decimal point
    EXPECT_EQ(ParseReal("1e999"), std::numeric_limits<double>::infinity());
    EXPECT_EQ(ParseReal("-1e999"), -std::numeric_limits<double>::infinity());
    EXPECT_EQ(ParseReal("1e-999"), 0.0);
    EXPECT_EQ(ParseReal("0.000001e-999"), 0.0);
}

// The numbers must not follow the user's locale. Only machines with a decimal-comma locale
// installed can show it.
TEST(XmlValue, NumbersIgnoreTheProcessLocale) {
    const char* const locales[] = {"de_DE.UTF-8", "ru_RU.UTF-8", "fr_FR.UTF-8"};
    const char* installed = nullptr;
    for (const char* name : locales) {
        if (std::setlocale(LC_NUMERIC, name) != nullptr) {
            installed = name;
            break;
        }
    }
    if (installed == nullptr) GTEST_SKIP() << "no decimal-comma locale installed";
    const std::string text = FormatReal(0.5);
    const double back = ParseReal("2.25");
    std::setlocale(LC_NUMERIC, "C");
    EXPECT_EQ(text, "0.5");
    EXPECT_EQ(back, 2.25);
}

TEST(XmlValue, MissingFieldsGiveTheCallersDefault) {
    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_string(
        R"(<f><i value=" -0x10"/><big value="99999999999"/><b value="Yes"/><n/></f>)"));
    const pugi::xml_node f = doc.child("f");
    EXPECT_EQ(ReadInt(f.child("i")), -16);
    EXPECT_EQ(ReadInt(f.child("big")), std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(ReadInt64(f.child("big")), 99999999999LL);
    EXPECT_TRUE(ReadBool(f.child("b")));
    EXPECT_EQ(ReadInt(f.child("n"), -1), -1);     // element without "value"
    EXPECT_EQ(ReadInt(f.child("none"), -1), -1);  // no element at all
    EXPECT_EQ(ReadReal(f.child("none"), 7.0), 7.0);
    EXPECT_EQ(ReadText(f.child("none")), "");
}

}  // namespace
