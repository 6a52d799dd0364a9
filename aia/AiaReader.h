#pragma once

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

// What an AIA chromatography file holds, as read: the values are the file's own, in its units
// (seconds, millivolts), not converted back to a document's.
struct AiaAttribute {
    std::string name;
    bool is_text = false;
    std::string text;             // when is_text, without trailing NUL bytes
    std::vector<double> numbers;  // otherwise
};

struct AiaTrace {
    std::vector<AiaAttribute> attributes;                 // global, in file order
    std::vector<std::pair<std::string, double>> scalars;  // numeric variables without dimensions
    std::size_t point_count = 0;                          // the length of "point_number"
    std::vector<float> samples;                           // "ordinate_values"
    std::vector<std::string> peak_names;                  // "peak_name", without trailing NULs
    // Numeric variables over "peak_number", in file order, one value per peak.
    std::vector<std::pair<std::string, std::vector<double>>> peak_columns;
};

// Reads an AIA file from its bytes; the buffer may be changed. Only a netCDF classic file whose
// header passes CheckClassicHeader reaches the netCDF library. Throws AiaError.
AiaTrace ReadAiaBytes(std::vector<unsigned char> bytes);

// Reads the AIA file at `path`: a regular file of at most kMaxAiaFileBytes. Throws AiaError.
AiaTrace ReadAiaFile(const std::string& path);

// True when the file at `path` begins as a netCDF file does ("CDF" or the HDF5 signature), so
// that it is read as an AIA file rather than as a document. False when it cannot be read.
bool LooksLikeNetcdf(const std::string& path);
