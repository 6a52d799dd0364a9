#pragma once

#include <optional>
#include <string>
#include <vector>

#include <pugixml.hpp>

#include "Passport.h"

// Fills the empty element "passport": its scalar fields, then one "column" per column, then one
// element per extra entry.
void WritePassportXml(pugi::xml_node passport, const Passport& from);

// Reads "passport" (a null element reads as empty) into `to`. The lists are replaced; a scalar
// field changes only when its element is present, and then the last such element wins. Every
// element with a name that is not a field becomes an entry.
void ReadPassportXml(pugi::xml_node passport, Passport& to);

// True when an extra entry of this name can be written and reads back as the same entry: an XML
// element name (IsXmlName), and not the name of a passport field or of "column".
bool IsStorableEntryName(const std::string& name);

// The first text of the passport that its XML could not hold (an entry name that is no element
// name, or text with a character outside XML 1.0), described for a message; nothing when every
// text can be stored.
std::optional<std::string> FindUnstorablePassportText(const Passport& passport);

// The column's channel list as text: decimal numbers joined by "," without blanks.
std::string JoinChannelIds(const std::vector<std::int32_t>& ids);
// Splits at every ","; skips empty pieces and pieces that are not a 32-bit decimal number
// (leading blanks and a sign allowed, trailing characters ignored).
std::vector<std::int32_t> SplitChannelIds(const std::string& text);
