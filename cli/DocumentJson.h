#pragma once

#include <nlohmann/json.hpp>

#include "file/TarvikFile4.h"

// The whole document as JSON: format version, passport, channels with their peak tables (and
// their samples when asked), and the spectrum records. Keys are the document's own field names.
nlohmann::ordered_json DocumentToJson(const CTarvikFile4& document, bool with_samples);
