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
    friend constexpr bool operator==(const IRect2D&, const IRect2D&) = default;
};

}  // namespace zil
