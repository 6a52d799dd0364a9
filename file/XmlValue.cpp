#include "XmlValue.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

namespace {

constexpr const char* kValue = "value";

bool IsBlank(char c) {
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

std::string FormatInt(std::int64_t value) {
    char buffer[24];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
    return std::string(buffer, end);
}

}  // namespace

std::string FormatReal(double value) {
    char buffer[32];
    const auto end =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 17).ptr;
    return std::string(buffer, end);
}

double ParseReal(const char* text) {
    if (text == nullptr) return 0.0;
    const char* p = text;
    while (IsBlank(*p)) ++p;
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

void AppendReal(pugi::xml_node parent, const char* name, double value) {
    parent.append_child(name).append_attribute(kValue).set_value(FormatReal(value).c_str());
}

void AppendText(pugi::xml_node parent, const char* name, const std::string& value) {
    parent.append_child(name).append_attribute(kValue).set_value(value.c_str());
}

void AppendInt(pugi::xml_node parent, const char* name, std::int64_t value) {
    parent.append_child(name).append_attribute(kValue).set_value(FormatInt(value).c_str());
}

void AppendUInt(pugi::xml_node parent, const char* name, std::uint32_t value) {
    parent.append_child(name).append_attribute(kValue).set_value(FormatInt(value).c_str());
}

void AppendBool(pugi::xml_node parent, const char* name, bool value) {
    parent.append_child(name).append_attribute(kValue).set_value(value ? "true" : "false");
}

double ReadReal(pugi::xml_node field, double fallback) {
    const pugi::xml_attribute value = field.attribute(kValue);
    return value ? ParseReal(value.value()) : fallback;
}

std::string ReadText(pugi::xml_node field) {
    return field.attribute(kValue).as_string("");
}

std::int32_t ReadInt(pugi::xml_node field, std::int32_t fallback) {
    return field.attribute(kValue).as_int(fallback);
}

std::int64_t ReadInt64(pugi::xml_node field, std::int64_t fallback) {
    return field.attribute(kValue).as_llong(fallback);
}

std::uint32_t ReadUInt(pugi::xml_node field, std::uint32_t fallback) {
    return field.attribute(kValue).as_uint(fallback);
}

bool ReadBool(pugi::xml_node field, bool fallback) {
    return field.attribute(kValue).as_bool(fallback);
}
