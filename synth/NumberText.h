#pragma once

#include <optional>
#include <string>
#include <string_view>

// Numbers as the user reads and types them: always with "." as the decimal point, whatever the
// process locale says (the GUI's application object adopts the user's locale for the C library,
// so printf and strtod cannot be used for this).

// "%.<decimals>f": fixed notation with exactly that many decimals, except that a value which
// rounds to zero there has no minus sign ("0.000", never "-0.000").
std::string FormatFixed(double value, int decimals);

// The shortest text that reads back as the same double ("10" for 10.0, "0.1" for 0.1).
std::string FormatShortest(double value);

// The longest leading number in `text` after blanks, as a "C"-locale strtod reads it; the rest
// is ignored. 0 when there is none; overflow gives +-infinity and underflow +-0. For the values
// of documents written by other programs, which are read as leniently as they were written.
double ParseReal(const char* text);

// What a whole edit's text says about a number typed into it.
enum class NumberTextKind {
    Number,   // a finite number, blanks around it allowed
    Partial,  // not yet a number, but typing on can make one ("", "-", ".", "1e", "1e-")
    Invalid,  // no continuation can make it a finite number
};

struct ParsedNumber {
    NumberTextKind kind = NumberTextKind::Invalid;
    double value = 0.0;  // meaningful for Number only
};

// Reads a whole edit's or table cell's text: optional blanks, an optional sign, decimal digits
// with at most one decimal separator, "." or "," (a Russian keyboard's), an optional exponent,
// optional blanks. Text that names an infinity or NaN, or whose value overflows a double, is
// Invalid; so is hexadecimal ("0x10").
ParsedNumber ParseEditNumber(std::string_view text);
