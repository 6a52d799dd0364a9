#pragma once

#include <cstdint>
#include <vector>

// A row of values at evenly spaced 16-bit positions under a key. The program neither makes nor
// interprets these: it keeps what a document brought and writes it back.
struct SpectrumPoint {
    std::uint16_t position = 0;
    float value = 0.0f;

    bool operator==(const SpectrumPoint&) const = default;
};

struct SpectrumRecord {
    double key = 0.0;
    std::vector<SpectrumPoint> points;

    bool operator==(const SpectrumRecord&) const = default;
};
