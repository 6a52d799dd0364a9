#pragma once

#include <ostream>

#include "aia/AiaReader.h"

// Prints what an AIA file holds as JSON: its global attributes, its scalar variables, the
// number of points (and with `with_samples` the samples themselves, read and written a slice at
// a time) and the peak table, one object per peak, under the file's own names and in its own
// units. Throws AiaError when the samples cannot be read.
void WriteAiaJson(const AiaFile& file, std::ostream& stream, bool with_samples);
