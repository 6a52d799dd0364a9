#pragma once

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

// True when an extra entry of this name can be written and reads back as the same entry: a name
// the XML parser accepts as an element name (a letter, "_", ":" or any non-ASCII byte first, then
// also digits, "-" and "."), and not the name of a passport field or of "column".
bool IsStorableEntryName(const std::string& name);

// The column's channel list as text: decimal numbers joined by "," without blanks.
std::string JoinChannelIds(const std::vector<std::int32_t>& ids);
// Splits at every ","; skips empty pieces and pieces that are not a 32-bit decimal number
// (leading blanks and a sign allowed, trailing characters ignored).
std::vector<std::int32_t> SplitChannelIds(const std::string& text);
