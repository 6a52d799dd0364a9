#pragma once

#include <optional>
#include <string>
#include <string_view>

// A UUID as the document keeps its assay identifier: 8-4-4-4-12 hexadecimal digits, lower case.
// nullopt when `text` is not one (either case accepted).
std::optional<std::string> CanonicalUuid(std::string_view text);
