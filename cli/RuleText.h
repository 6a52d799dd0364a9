#pragma once

#include <string>

#include "model/Refusal.h"

// The tool's English words for a rule of the document (model/DocumentRules.h) that a value
// broke, written to follow the key it concerns: "tailing: must lie between 0.5 and 4". The
// desktop program words the same refusals in its own language (dialog/RefusalText).
std::string RuleText(const Refusal& refusal);
