#pragma once
// Rectangle arithmetic in 64 bits for the tree's geometry, so that sums of
// 32-bit coordinates and sizes neither wrap nor overflow; results are
// brought back to 32 bits saturated.
#include <algorithm>
#include <cstdint>
#include <limits>

#include "shell/IRect2D.hpp"

namespace zil {

struct Rect64 {
    std::int64_t x = 0, y = 0, w = 0, h = 0;
    bool empty() const { return w <= 0 || h <= 0; }
};

inline Rect64 wide(const IRect2D& r) { return {r.x, r.y, r.w, r.h}; }

inline std::int32_t saturate32(std::int64_t v) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, std::numeric_limits<std::int32_t>::min(),
                                                              std::numeric_limits<std::int32_t>::max()));
}

inline IRect2D narrow(const Rect64& r) { return {saturate32(r.x), saturate32(r.y), saturate32(r.w), saturate32(r.h)}; }

// The common part; all zero when a and b do not overlap.
inline Rect64 intersect(const Rect64& a, const Rect64& b) {
    const std::int64_t left = std::max(a.x, b.x);
    const std::int64_t right = std::min(a.x + a.w, b.x + b.w);
    const std::int64_t top = std::max(a.y, b.y);
    const std::int64_t bottom = std::min(a.y + a.h, b.y + b.h);
    if (right - left <= 0 || bottom - top <= 0) return {};
    return {left, top, right - left, bottom - top};
}

}  // namespace zil
