#pragma once

#include <string>

#include <nlohmann/json.hpp>

// The result of reading JSON text strictly: `error` is empty on success.
struct StrictJson {
    nlohmann::json value;
    std::string error;  // one line: where in the text and in the tree, and what is wrong
};

// Parses JSON as nlohmann::json::parse does, but refuses what the plain parser would let
// through silently or throw from: a key given twice in one object (the earlier value would be
// dropped), a number beyond the range of a double (1e400), and nesting deeper than any scenario
// needs. Errors name the place in the tree ("channels[0].peaks[2].time") and the line and column.
StrictJson ParseStrictJson(const std::string& text);
