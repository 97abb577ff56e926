#pragma once
// Grouping by counts: where each group starts in one flat table.
#include <cstdint>
#include <memory_resource>
#include <vector>

namespace zil::SubdivisionMesh {

// Turns per-group counts into start offsets, with the total as one more
// entry, taken from the counts' memory resource.
inline std::pmr::vector<std::uint32_t> offsetsFromCounts(const std::pmr::vector<std::uint32_t>& counts) {
    std::pmr::vector<std::uint32_t> offsets(counts.size() + 1, counts.get_allocator());
    std::uint32_t sum = 0;
    for (std::size_t i = 0; i < counts.size(); ++i) {
        offsets[i] = sum;
        sum += counts[i];
    }
    offsets[counts.size()] = sum;
    return offsets;
}

}  // namespace zil::SubdivisionMesh
