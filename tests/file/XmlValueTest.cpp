#include <gtest/gtest.h>

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

}  // namespace
