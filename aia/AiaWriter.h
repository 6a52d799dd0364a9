#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "file/TarvikFile4.h"

// The bytes of an AIA chromatography file (netCDF classic) for one channel of `document`: its
// samples, its stored peak table and the passport's description of the analysis.
// `source_name` is the document's file name as the file should cite it. Throws AiaError when the
// channel cannot be written in that format (no samples, a time axis that is not finite, more
// samples than a classic variable holds, an analysis date outside the years 0 to 9999).
std::vector<unsigned char> MakeAiaFile(const CTarvikFile4& document, std::size_t channel,
                                       const std::string& source_name);
