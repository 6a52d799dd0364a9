#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The description of the analysis that a document carries beside its channels. Apart from
// `path`, `assayid` and `andate` the program only carries these fields: they are read from a
// document and written back unchanged. Text is UTF-8.

// One chromatographic column, stored as the element "column".
struct ColumnInfo {
    std::int32_t channel = 0;
    std::string name;
    std::string brand;
    std::int32_t type = 0;
    double diameter = 0.0;
    double length = 0.0;
    std::string carrier;
    std::string phase;
    double percent = 0.0;
    std::int32_t unit = 0;
    double fraction0 = 0.0;
    double fraction1 = 0.0;
    double film = 0.0;
    std::string part;
    std::string serial;
    std::vector<std::int32_t> channelsId;  // stored as one text, "1,2,10"

    bool operator==(const ColumnInfo&) const = default;
};

// A further named item, stored as an element called `name` with "title" and "value".
struct PassportEntry {
    std::string name;
    std::string title;
    std::string value;

    bool operator==(const PassportEntry&) const = default;
};

inline constexpr const char* kNullAssayId = "00000000-0000-0000-0000-000000000000";

struct Passport {
    std::string path;  // the document's own path; set by saving and loading, never stored
    std::string assayid = kNullAssayId;
    std::string series;
    std::int64_t andate = 0;  // analysis date: seconds since 1970-01-01 00:00 UTC
    double duration = 0.0;
    std::string sample;
    std::string method;
    bool graduation = false;
    std::int64_t date = 0;
    bool defect = false;
    std::string mixture;
    std::vector<ColumnInfo> columns;
    std::vector<PassportEntry> entries;
    bool isDeleted = false;

    bool operator==(const Passport&) const = default;
};
