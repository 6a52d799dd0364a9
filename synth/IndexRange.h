#pragma once

#include <cstddef>

// Half-open range of sample indices, [first, last).
struct IndexRange {
    std::size_t first = 0;
    std::size_t last = 0;
};
