#pragma once

#include <cstddef>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "file/InputFile.h"

// What an AIA chromatography file holds, as read: the values are the file's own, in its units
// (seconds, millivolts), not converted back to a document's.
struct AiaAttribute {
    std::string name;
    bool is_text = false;
    std::string text;             // when is_text, without trailing NUL bytes
    std::vector<double> numbers;  // otherwise
};

// Everything but the samples.
struct AiaTrace {
    std::vector<AiaAttribute> attributes;                 // global, in file order
    std::vector<std::pair<std::string, double>> scalars;  // numeric variables without dimensions
    std::size_t point_count = 0;                          // the length of "point_number"
    std::vector<std::string> peak_names;                  // "peak_name", without trailing NULs
    // Numeric variables over "peak_number", in file order, one value per peak.
    std::vector<std::pair<std::string, std::vector<double>>> peak_columns;
};

// An AIA file open for reading. Opening reads its header, attributes, scalars and peak table and
// checks that its samples are a numeric "ordinate_values" over "point_number"; the samples
// themselves are read on request, a slice at a time, so that memory does not grow with the file.
// Only a netCDF classic file whose header passes CheckClassicHeader reaches the netCDF library,
// which is held (NetcdfLock) while the object lives: a thread opens one file at a time and makes
// no AIA file meanwhile. Every call throws AiaError.
class AiaFile {
public:
    // From the bytes of a whole file.
    explicit AiaFile(std::vector<unsigned char> bytes);
    // The file at `path`: a regular file of at most kMaxAiaFileBytes, of which only the header
    // is read here.
    explicit AiaFile(const std::string& path);
    ~AiaFile();
    AiaFile(const AiaFile&) = delete;
    AiaFile& operator=(const AiaFile&) = delete;

    const AiaTrace& Trace() const { return m_trace; }
    // Samples `first` to `first + count - 1`, as floats.
    void ReadSamples(std::size_t first, std::size_t count, float* samples) const;

private:
    void ReadContents();

    std::unique_lock<std::mutex> m_lock;
    std::vector<unsigned char> m_bytes;  // of a file opened from memory
    InputFile m_in;                      // of a file opened from disk
    int m_id = -1;
    int m_samples = -1;  // the variable "ordinate_values"
    AiaTrace m_trace;
};

// True when the file at `path` begins as a netCDF file does ("CDF" or the HDF5 signature), so
// that it is read as an AIA file rather than as a document. False when it cannot be read.
bool LooksLikeNetcdf(const std::string& path);
