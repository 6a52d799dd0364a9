#pragma once

#include <ostream>

#include "file/TarvikFile4.h"

// Writes the whole document as JSON, indented by two: format version, passport, channels with
// their peak tables (and their samples when asked), and the spectrum records. Keys are the
// document's own field names. The text goes out as it is made, so the memory it takes does not
// grow with the document. Text that is not UTF-8 is written with U+FFFD for each bad byte;
// non-finite numbers are written as null.
void WriteDocumentJson(const CTarvikFile4& document, std::ostream& out, bool with_samples);
