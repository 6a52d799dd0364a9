#pragma once

#include <cstdint>
#include <string>

#include <pugixml.hpp>

#include "synth/NumberText.h"

// The field convention of the document's XML: every field is an element of its own whose
// attribute "value" holds the data as text. Numbers are written and read in the "C" conventions
// whatever the process locale is, and reading is lenient: a missing element or attribute gives
// the caller's default.

// 17 significant digits, so that every double reads back unchanged: "%.17g" in the "C" locale
// (0 -> "0", 0.1 -> "0.10000000000000001", 1e-5 -> "1.0000000000000001e-05").
std::string FormatReal(double value);

// Appends <name value="..."/> to `parent`.
void AppendReal(pugi::xml_node parent, const char* name, double value);
void AppendText(pugi::xml_node parent, const char* name, const std::string& value);
void AppendInt(pugi::xml_node parent, const char* name, std::int64_t value);
void AppendUInt(pugi::xml_node parent, const char* name, std::uint32_t value);
void AppendBool(pugi::xml_node parent, const char* name, bool value);

// The "value" attribute of `field`, or `fallback` when the element or the attribute is missing.
// Integers follow the XML library's conversion (blanks, sign, decimal or 0x hexadecimal,
// saturating at the limits of the type); a boolean is true when its text begins with 1, T, t,
// Y or y.
double ReadReal(pugi::xml_node field, double fallback = 0.0);
std::string ReadText(pugi::xml_node field);
std::int32_t ReadInt(pugi::xml_node field, std::int32_t fallback = 0);
std::int64_t ReadInt64(pugi::xml_node field, std::int64_t fallback = 0);
std::uint32_t ReadUInt(pugi::xml_node field, std::uint32_t fallback = 0);
bool ReadBool(pugi::xml_node field, bool fallback = false);
