#include <gtest/gtest.h>

#include <clocale>
#include <limits>

#include "synth/NumberText.h"

namespace {

using Kind = NumberTextKind;

TEST(NumberText, EditTextIsANumberAPrefixOfOneOrNeither) {
    struct Case {
        const char* text;
        Kind kind;
        double value;
    };
    for (const Case& c : {
             Case{"10", Kind::Number, 10},    Case{" 12.5 ", Kind::Number, 12.5},
             Case{"+.5", Kind::Number, 0.5},  Case{"-1e-3", Kind::Number, -0.001},
             Case{"5.", Kind::Number, 5},     Case{"1e-400", Kind::Number, 0},
             Case{"", Kind::Partial, 0},      Case{"-", Kind::Partial, 0},
             Case{".", Kind::Partial, 0},     Case{"1e", Kind::Partial, 0},
             Case{"1e-", Kind::Partial, 0},   Case{"1e ", Kind::Invalid, 0},
             Case{"1,5", Kind::Number, 1.5},  Case{"abc", Kind::Invalid, 0},
             Case{",25", Kind::Number, 0.25}, Case{"1,5.2", Kind::Invalid, 0},
             Case{"0x10", Kind::Invalid, 0},  Case{"5abc", Kind::Invalid, 0},
             Case{"inf", Kind::Invalid, 0},   Case{"nan", Kind::Invalid, 0},
             Case{"1e400", Kind::Invalid, 0}, Case{"1 2", Kind::Invalid, 0},
             Case{"--1", Kind::Invalid, 0},   Case{"\xff", Kind::Invalid, 0},
         }) {
        const ParsedNumber parsed = ParseEditNumber(c.text);
        EXPECT_EQ(parsed.kind, c.kind) << '"' << c.text << '"';
        if (c.kind == Kind::Number) {
            EXPECT_EQ(parsed.value, c.value) << c.text;
        }
    }
}

// A value that rounds to zero at the decimals shown has no sign: an area of -0.0004 reads
// "0.000". Anything that does not round to zero keeps its sign, infinities too.
TEST(NumberText, FixedNotationWritesNoSignForZero) {
    struct Case {
        double value;
        int decimals;
        const char* text;
    };
    for (const Case c :
         {Case{-0.0004, 3, "0.000"}, Case{-0.0, 3, "0.000"}, Case{-1e-300, 3, "0.000"},
          Case{-0.004, 2, "0.00"}, Case{-0.4, 0, "0"}, Case{-0.0006, 3, "-0.001"},
          Case{-2.5, 1, "-2.5"}, Case{0.0004, 3, "0.000"},
          Case{-std::numeric_limits<double>::infinity(), 3, "-inf"}})
        EXPECT_EQ(FormatFixed(c.value, c.decimals), c.text) << c.value;
}

TEST(NumberText, FormatsWithAPointWhateverTheLocale) {
    // Under a comma locale printf would write "1,500"; the formatting must not follow it.
    const bool comma_locale = std::setlocale(LC_NUMERIC, "de_DE.UTF-8") != nullptr ||
                              std::setlocale(LC_NUMERIC, "ru_RU.UTF-8") != nullptr;
    EXPECT_EQ(FormatFixed(1.5, 3), "1.500");
    EXPECT_EQ(FormatShortest(10.0), "10");
    EXPECT_EQ(FormatShortest(0.1), "0.1");
    EXPECT_EQ(ParseEditNumber(FormatShortest(0.1 + 0.2)).value, 0.1 + 0.2);
    if (comma_locale) std::setlocale(LC_NUMERIC, "C");
}

}  // namespace
