#include <charconv>
#include <limits>
#include <string>
#include <system_error>

#include "NumberText.h"

namespace {

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
bool IsHexDigit(char c) {
    return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// from_chars leaves the value alone when it is out of range, where strtod saturates; this
// decides which way by the decimal exponent of the first significant digit.
double OutOfRange(const char* first, const char* last, bool hex) {
    long long magnitude = 0;
    bool seen_digit = false;
    bool after_point = false;
    const char* p = first;
    for (; p != last; ++p) {
        if (*p == '.') {
            after_point = true;
        } else if (hex ? IsHexDigit(*p) : IsDigit(*p)) {
            if (!seen_digit && *p != '0') seen_digit = true;
            if (seen_digit && !after_point) ++magnitude;
            if (!seen_digit && after_point) --magnitude;
        } else {
            break;
        }
    }
    if (p != last && (*p == (hex ? 'p' : 'e') || *p == (hex ? 'P' : 'E'))) {
        long long exponent = 0;
        const char* e = p + 1;
        const bool negative = e != last && *e == '-';
        if (e != last && (*e == '-' || *e == '+')) ++e;
        for (; e != last && IsDigit(*e) && exponent < 1'000'000'000; ++e) {
            exponent = exponent * 10 + (*e - '0');
        }
        magnitude += negative ? -exponent : exponent;
    }
    return magnitude > 0 ? std::numeric_limits<double>::infinity() : 0.0;
}

}  // namespace

double ParseReal(const char* text) {
    if (text == nullptr) return 0.0;
    const char* p = text;
    while (IsSpace(*p)) ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') {
        negative = *p == '-';
        ++p;
    }
    // from_chars takes neither a plus sign nor a second sign, nor the "0x" of a hexadecimal real.
    if (*p == '+' || *p == '-') return 0.0;
    const char* const last = p + std::char_traits<char>::length(p);
    bool hex = false;
    if (p[0] == '0' && (p[1] == 'x' || p[1] == 'X') &&
        (IsHexDigit(p[2]) || (p[2] == '.' && IsHexDigit(p[3])))) {
        hex = true;
        p += 2;
    }
    double value = 0.0;
    const auto format = hex ? std::chars_format::hex : std::chars_format::general;
    const auto [end, error] = std::from_chars(p, last, value, format);
    (void)end;  // whatever follows the number is ignored
    if (error == std::errc::invalid_argument) return 0.0;
    if (error == std::errc::result_out_of_range) value = OutOfRange(p, last, hex);
    return negative ? -value : value;
}
