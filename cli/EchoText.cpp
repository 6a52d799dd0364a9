#include "EchoText.h"

#include <nlohmann/json.hpp>

namespace {

constexpr std::size_t kEchoedCharacters = 40;

bool IsContinuationByte(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

}  // namespace

std::string Echo(std::string_view text) {
    std::size_t characters = 0;
    std::size_t cut = 0;
    for (; cut < text.size(); ++cut) {
        if (IsContinuationByte(text[cut])) continue;
        if (characters == kEchoedCharacters) break;
        ++characters;
    }
    const nlohmann::json shown = std::string(text.substr(0, cut));
    std::string echoed = shown.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
    if (cut < text.size()) echoed.insert(echoed.size() - 1, "...");
    return echoed;
}

std::string Printable(std::string_view text) {
    const nlohmann::json shown = std::string(text);
    const std::string quoted = shown.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
    std::string printable;
    // Quotes and backslashes need no escape outside quotes; control characters keep theirs.
    for (std::size_t i = 1; i + 1 < quoted.size(); ++i) {
        if (quoted[i] == '\\' && (quoted[i + 1] == '"' || quoted[i + 1] == '\\')) ++i;
        printable += quoted[i];
    }
    return printable;
}
