#include "XmlValue.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

namespace {

constexpr const char* kValue = "value";

std::string FormatInt(std::int64_t value) {
    char buffer[24];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
    return std::string(buffer, end);
}

// FormatReal's text in `buffer`, ended by a NUL; returns its end. A document holds many reals,
// each longer than a string keeps without an allocation.
char* FormatRealInto(char (&buffer)[32], double value) {
    char* const end =
        std::to_chars(buffer, buffer + sizeof buffer - 1, value, std::chars_format::general, 17)
            .ptr;
    *end = '\0';
    return end;
}

}  // namespace

std::string FormatReal(double value) {
    char buffer[32];
    return std::string(buffer, FormatRealInto(buffer, value));
}

void AppendReal(pugi::xml_node parent, const char* name, double value) {
    char buffer[32];
    FormatRealInto(buffer, value);
    parent.append_child(name).append_attribute(kValue).set_value(buffer);
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
