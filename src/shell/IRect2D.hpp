#pragma once
// Integer rectangle: position and size.
#include <cstdint>

namespace zil {

struct IRect2D {
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t w = 0;
    std::int32_t h = 0;

    // Empty when the width or the height is below 1.
    constexpr bool isEmpty() const { return w < 1 || h < 1; }
    // Whether (px, py) lies inside: left and top edges in, right and bottom out.
    constexpr bool holds(std::int64_t px, std::int64_t py) const {
        return x <= px && px < std::int64_t{x} + w && y <= py && py < std::int64_t{y} + h;
    }
    // Whether a point in the rectangle's own coordinates lies inside it.
    constexpr bool holdsLocal(std::int64_t px, std::int64_t py) const { return 0 <= px && px < w && 0 <= py && py < h; }
    friend constexpr bool operator==(const IRect2D&, const IRect2D&) = default;
};

}  // namespace zil
