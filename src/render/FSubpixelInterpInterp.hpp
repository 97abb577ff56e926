#pragma once
// The triangle rasteriser: positions in 1/512 pixel, a sample at the top-left
// corner of each pixel, depth interpolated as a real and colour channels as
// 8.8 fixed point, with a per-pixel depth test.
#include <cstdint>

namespace zil {

// Colour channels in 8.8 fixed point: a byte value shifted left by 8.
struct FixedColor {
    std::int32_t r = 0;
    std::int32_t g = 0;
    std::int32_t b = 0;
    bool operator==(const FixedColor&) const = default;
};

// A vertex on the device: x and y in 1/512 pixel (x to the right, y down,
// 0 the top-left corner), z the camera-space depth.
struct RasterVertex {
    std::int32_t x = 0;
    std::int32_t y = 0;
    double z = 0.0;
    FixedColor colour;
};

// Where a triangle is drawn: a 32-bit colour buffer (words 0x00RRGGBB) and a
// depth buffer of single-precision floats, each with its own row pitch in
// bytes. Nothing outside width x height pixels is ever touched.
struct RasterTarget {
    std::uint8_t* colourPixels = nullptr;
    int colourPitch = 0;
    std::uint8_t* depthPixels = nullptr;
    int depthPitch = 0;
    int width = 0;
    int height = 0;
};

// Depth words hold camera depth minus this, so a cleared word (0.0) stands
// for a depth of 1,000,000 and only nearer surfaces are drawn.
inline constexpr double kDepthBias = 1000000.0;

namespace FSubpixelInterpInterp {

// Draws the triangle whose vertices are sorted by y (top.y <= middle.y <=
// bottom.y). Sample points with left edge <= x < right edge and
// top.y <= y < bottom.y are drawn, so triangles sharing an edge never draw a
// pixel twice. A pixel is written only where the new depth is strictly below
// the stored one. When the three colours are equal the triangle is flat.
void ySortedTriangle(const RasterVertex& top, const RasterVertex& middle, const RasterVertex& bottom,
                     const RasterTarget& target);

// The colour word of a fixed-point colour: 0x00RRGGBB.
inline std::uint32_t colourWord(std::int32_t r, std::int32_t g, std::int32_t b) {
    return ((static_cast<std::uint32_t>(r) & 0xFF00u) << 8) | (static_cast<std::uint32_t>(g) & 0xFF00u) |
           ((static_cast<std::uint32_t>(b) >> 8) & 0xFFu);
}

}  // namespace FSubpixelInterpInterp
}  // namespace zil
