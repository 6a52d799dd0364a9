#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

// For each selection of up to 8 lanes (bit i set: lane i selected): the selected lanes in
// ascending order, then the others. Looking a vector up through this order gathers its selected
// lanes at the front. For fewer lanes the first entries of a row are a permutation of those lanes.
inline constexpr std::array<std::array<std::int64_t, 8>, 256> kCompressOrder = [] {
    std::array<std::array<std::int64_t, 8>, 256> order{};
    for (std::size_t mask = 0; mask < order.size(); ++mask) {
        std::size_t next = 0;
        for (std::size_t pass = 0; pass < 2; ++pass)
            for (std::int64_t lane = 0; lane < 8; ++lane)
                if (((mask >> lane) & 1u) == (pass == 0 ? 1u : 0u)) order[mask][next++] = lane;
    }
    return order;
}();
