#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// What an XML 1.0 document can hold. Text is UTF-8; a character outside the XML Char
// production (NUL and the other control characters except tab, line feed and carriage return,
// U+FFFE, U+FFFF) can be written only as a character reference that conforming parsers refuse,
// and a NUL would end the text where the XML library stores it.

struct XmlCharFault {
    std::size_t offset = 0;     // byte offset of the offending character in the text
    bool invalid_utf8 = false;  // the bytes there are no UTF-8 encoding of any character
    char32_t code_point = 0;    // otherwise the character, which XML 1.0 cannot hold
};

// The first place where `text` stops being XML 1.0 character data, if any.
std::optional<XmlCharFault> FindNonXmlChar(std::string_view text);

// "U+0000 at byte 2", "a byte that is not UTF-8 (0xFF) at byte 5": for messages.
std::string DescribeXmlCharFault(std::string_view text, const XmlCharFault& fault);

// True when `name` is an XML 1.0 Name (the Name production, character by character) that a
// namespace-aware reader also accepts as an element name: at most one ":", and not at either
// end.
bool IsXmlName(std::string_view name);
