#include "XmlChars.h"

#include <cstdint>
#include <cstdio>

namespace {

struct Decoded {
    char32_t code_point = 0;
    std::size_t length = 0;  // 0: not a UTF-8 sequence (bad lead byte, bad continuation,
                             // overlong form, surrogate or beyond U+10FFFF)
};

// One character of UTF-8 at `at`, in the strict form of RFC 3629.
Decoded DecodeUtf8(std::string_view text, std::size_t at) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[at + i]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80) return {lead, 1};
    // Lead bytes C0, C1 and F5 to FF never occur; the others give the length and first bits.
    struct Form {
        unsigned char first_lead, last_lead, value_mask;
        std::size_t length;
        char32_t smallest;  // below this the form is overlong
    };
    static constexpr Form kForms[] = {
        {0xC2, 0xDF, 0x1F, 2, 0x80}, {0xE0, 0xEF, 0x0F, 3, 0x800}, {0xF0, 0xF4, 0x07, 4, 0x10000}};
    const Form* form = nullptr;
    for (const Form& f : kForms)
        if (lead >= f.first_lead && lead <= f.last_lead) form = &f;
    if (form == nullptr) return {};
    const std::size_t length = form->length;
    char32_t value = lead & form->value_mask;
    if (text.size() - at < length) return {};
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80) return {};
        value = value << 6 | (byte(i) & 0x3F);
    }
    if (value < form->smallest || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
        return {};
    return {value, length};
}

bool IsXmlChar(char32_t c) {
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) ||
           (c >= 0xE000 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0x10FFFF);
}

// NameStartChar of XML 1.0 (fifth edition).
bool IsNameStartChar(char32_t c) {
    return c == ':' || (c >= 'A' && c <= 'Z') || c == '_' || (c >= 'a' && c <= 'z') ||
           (c >= 0xC0 && c <= 0xD6) || (c >= 0xD8 && c <= 0xF6) || (c >= 0xF8 && c <= 0x2FF) ||
           (c >= 0x370 && c <= 0x37D) || (c >= 0x37F && c <= 0x1FFF) ||
           (c >= 0x200C && c <= 0x200D) || (c >= 0x2070 && c <= 0x218F) ||
           (c >= 0x2C00 && c <= 0x2FEF) || (c >= 0x3001 && c <= 0xD7FF) ||
           (c >= 0xF900 && c <= 0xFDCF) || (c >= 0xFDF0 && c <= 0xFFFD) ||
           (c >= 0x10000 && c <= 0xEFFFF);
}

bool IsNameChar(char32_t c) {
    return IsNameStartChar(c) || c == '-' || c == '.' || (c >= '0' && c <= '9') || c == 0xB7 ||
           (c >= 0x300 && c <= 0x36F) || (c >= 0x203F && c <= 0x2040);
}

// Most text is printable ASCII, every byte of which is a character XML holds: such a block is
// passed in one test. The fixed-size loop is one the compiler turns into vector compares.
constexpr std::size_t kAsciiBlock = 16;

bool IsPrintableAsciiBlock(const char* bytes) {
    unsigned char outside = 0;
    for (std::size_t k = 0; k < kAsciiBlock; ++k)
        outside |= static_cast<unsigned char>(static_cast<unsigned char>(bytes[k] - 0x20) >= 0x60);
    return outside == 0;
}

}  // namespace

std::optional<XmlCharFault> FindNonXmlChar(std::string_view text) {
    for (std::size_t at = 0; at < text.size();) {
        if (text.size() - at >= kAsciiBlock && IsPrintableAsciiBlock(text.data() + at)) {
            at += kAsciiBlock;
            continue;
        }
        const Decoded decoded = DecodeUtf8(text, at);
        if (decoded.length == 0) return XmlCharFault{at, true, 0};
        if (!IsXmlChar(decoded.code_point)) return XmlCharFault{at, false, decoded.code_point};
        at += decoded.length;
    }
    return std::nullopt;
}

std::string DescribeXmlCharFault(std::string_view text, const XmlCharFault& fault) {
    char what[64];
    if (fault.invalid_utf8)
        std::snprintf(what, sizeof what, "a byte that is not UTF-8 (0x%02X)",
                      static_cast<unsigned>(static_cast<unsigned char>(text[fault.offset])));
    else
        std::snprintf(what, sizeof what, "U+%04X", static_cast<unsigned>(fault.code_point));
    return std::string(what) + " at byte " + std::to_string(fault.offset);
}

bool IsXmlName(std::string_view name) {
    if (name.empty()) return false;
    std::size_t colons = 0;
    for (std::size_t at = 0; at < name.size();) {
        const Decoded decoded = DecodeUtf8(name, at);
        if (decoded.length == 0) return false;
        const bool allowed =
            at == 0 ? IsNameStartChar(decoded.code_point) : IsNameChar(decoded.code_point);
        if (!allowed) return false;
        colons += decoded.code_point == ':' ? 1 : 0;
        at += decoded.length;
    }
    return colons == 0 || (colons == 1 && name.front() != ':' && name.back() != ':');
}
