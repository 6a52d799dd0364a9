#include "CorpusFiles.h"

#include <algorithm>
#include <charconv>

namespace {

constexpr std::size_t kFewestDigits = 4;

bool AllDigits(std::string_view text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool RemoveSuffix(std::string_view& name, std::string_view suffix) {
    if (name.size() < suffix.size() || name.substr(name.size() - suffix.size()) != suffix)
        return false;
    name.remove_suffix(suffix.size());
    return true;
}

// "NNNN-channel-K" without its extension: the stem.
std::string_view WithoutChannel(std::string_view name) {
    const std::size_t at = name.rfind("-channel-");
    if (at == std::string_view::npos || !AllDigits(name.substr(at + 9))) return name;
    return name.substr(0, at);
}

}  // namespace

std::string DocumentStem(std::uint64_t number) {
    std::string digits = std::to_string(number);
    if (digits.size() < kDocumentStemDigits)
        digits.insert(0, kDocumentStemDigits - digits.size(), '0');
    return digits;
}

std::optional<std::uint64_t> CorpusFileNumber(std::string_view name) {
    if (RemoveSuffix(name, ".cdf"))
        name = WithoutChannel(name);
    else if (!RemoveSuffix(name, ".json") && !RemoveSuffix(name, ".xstg") &&
             !RemoveSuffix(name, ".xspc"))
        return std::nullopt;
    if (name.size() < kFewestDigits || !AllDigits(name)) return std::nullopt;
    std::uint64_t number = 0;
    const auto [end, error] = std::from_chars(name.data(), name.data() + name.size(), number);
    if (error != std::errc{}) return std::nullopt;
    return number;
}
