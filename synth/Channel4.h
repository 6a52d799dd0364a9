#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "Peak4.h"
#include "Signal4.h"

// One detector channel: its number, its samples and its peaks in stored form.
struct Channel4 {
    std::int32_t number = 0;
    Signal4 signal;
    std::vector<Peak4> table;

    // A channel with step 1, start 0, no samples and no peaks.
    explicit Channel4(std::int32_t number_ = 0);
    // A channel read from a block of the document's signal section.
    Channel4(std::int32_t number_, double step, double start, const float* data, std::size_t count);
};
