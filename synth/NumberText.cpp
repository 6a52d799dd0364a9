#include "NumberText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <system_error>

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsSeparator(char c) {
    return c == '.' || c == ',';
}

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

// Walks the grammar [sign] digits [. digits] [e [sign] digits] and says whether the text is a
// complete number, a prefix of one, or neither.
NumberTextKind Classify(std::string_view s) {
    std::size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    bool mantissa_digits = false;
    while (i < s.size() && IsDigit(s[i])) ++i, mantissa_digits = true;
    if (i < s.size() && IsSeparator(s[i])) {
        ++i;
        while (i < s.size() && IsDigit(s[i])) ++i, mantissa_digits = true;
    }
    if (i == s.size()) return mantissa_digits ? NumberTextKind::Number : NumberTextKind::Partial;
    if (!mantissa_digits || (s[i] != 'e' && s[i] != 'E')) return NumberTextKind::Invalid;
    ++i;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    bool exponent_digits = false;
    while (i < s.size() && IsDigit(s[i])) ++i, exponent_digits = true;
    if (i != s.size()) return NumberTextKind::Invalid;
    return exponent_digits ? NumberTextKind::Number : NumberTextKind::Partial;
}

// The power of ten of the leading non-zero digit of a complete, non-zero number's text (2 for
// "123", -3 for "0.001e0"), saturated so that an absurd exponent cannot overflow.
long long DecimalOrder(std::string_view s) {
    if (!s.empty() && (s.front() == '-' || s.front() == '+')) s.remove_prefix(1);
    const std::size_t e = s.find_first_of("eE");
    const std::string_view mantissa = s.substr(0, e);
    long long exponent = 0;
    if (e != std::string_view::npos) {
        std::string_view x = s.substr(e + 1);
        const bool negative = !x.empty() && x.front() == '-';
        if (!x.empty() && (x.front() == '-' || x.front() == '+')) x.remove_prefix(1);
        for (char c : x) exponent = std::min(exponent * 10 + (c - '0'), 1'000'000'000LL);
        if (negative) exponent = -exponent;
    }
    const std::size_t point = std::min(mantissa.find_first_of(".,"), mantissa.size());
    const std::size_t first = mantissa.find_first_of("123456789");
    if (first == std::string_view::npos) return exponent;
    const long long order = first < point ? static_cast<long long>(point - first) - 1
                                          : -static_cast<long long>(first - point);
    return order + exponent;
}

}  // namespace

std::string FormatFixed(double value, int decimals) {
    // Enough for any double in fixed notation (308 integer digits) and the decimals asked for.
    char buffer[400];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value,
                                      std::chars_format::fixed, decimals < 0 ? 0 : decimals);
    if (result.ec != std::errc()) return "?";
    std::string text(buffer, result.ptr);
    // A value that rounds to zero at these decimals (-0.0001, -0.0) reads as zero, unsigned.
    if (std::isfinite(value) && text.front() == '-' &&
        text.find_first_of("123456789") == std::string::npos)
        text.erase(0, 1);
    return text;
}

std::string FormatShortest(double value) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

ParsedNumber ParseEditNumber(std::string_view text) {
    const std::string_view s = TrimBlanks(text);
    // Trailing blanks make a prefix complete: "1e " can no longer grow into "1e5".
    const bool trailing_blank = !s.empty() && s.size() < text.size() && IsBlank(text.back());
    NumberTextKind kind = Classify(s);
    if (kind == NumberTextKind::Partial && trailing_blank && !s.empty())
        kind = NumberTextKind::Invalid;
    if (kind != NumberTextKind::Number) return {kind, 0.0};

    // from_chars takes no plus sign and no decimal comma.
    std::string digits(s.front() == '+' ? s.substr(1) : s);
    std::replace(digits.begin(), digits.end(), ',', '.');
    double value = 0.0;
    const auto result = std::from_chars(digits.data(), digits.data() + digits.size(), value,
                                        std::chars_format::general);
    if (result.ec == std::errc::result_out_of_range) {
        // Too small to hold reads as 0, like any value below the smallest subnormal; too large
        // would be an infinity, which no field accepts.
        if (DecimalOrder(digits) >= 0) return {NumberTextKind::Invalid, 0.0};
        value = 0.0;
    } else if (result.ec != std::errc() || result.ptr != digits.data() + digits.size()) {
        return {NumberTextKind::Invalid, 0.0};
    }
    if (!std::isfinite(value)) return {NumberTextKind::Invalid, 0.0};
    return {NumberTextKind::Number, value};
}
