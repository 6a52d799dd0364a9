#include "UuidText.h"

#include <cctype>

std::optional<std::string> CanonicalUuid(std::string_view text) {
    static constexpr std::size_t kHyphens[] = {8, 13, 18, 23};
    if (text.size() != 36) return std::nullopt;
    std::string lower(text);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool hyphen_place =
            i == kHyphens[0] || i == kHyphens[1] || i == kHyphens[2] || i == kHyphens[3];
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (hyphen_place ? c != '-' : std::isxdigit(c) == 0) return std::nullopt;
        lower[i] = static_cast<char>(std::tolower(c));
    }
    return lower;
}
