#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include "RenderTestUtil.hpp"
#include "render/FSubpixelInterpInterp.hpp"

namespace zil::test {
namespace {

using FSubpixelInterpInterp::ySortedTriangle;

// Colour and depth buffers; a guard band to the right and below stays outside the target.
struct Buffers {
    int w, h, stride;
    std::vector<std::uint32_t> colour;
    std::vector<float> depth;
    Buffers(int w, int h, int guard = 0)
        : w(w), h(h), stride(w + guard), colour(size_t(stride) * (h + guard)), depth(colour.size()) {}
    RasterTarget t() {
        return {reinterpret_cast<std::uint8_t*>(colour.data()), stride * 4,
                reinterpret_cast<std::uint8_t*>(depth.data()), stride * 4, w, h};
    }
    std::uint32_t at(int x, int y) const { return colour[size_t(y) * stride + x]; }
    bool blank() const { return std::all_of(colour.begin(), colour.end(), [](std::uint32_t c) { return c == 0; }); }
};

RasterVertex v(int x, int y, double z = 1.0, FixedColor c = {0xFF00, 0x8000, 0x0100}) { return {x, y, z, c}; }

double side(const RasterVertex& p, const RasterVertex& q, double x, double y) {
    return ((x - p.x) * (q.y - p.y) - (y - p.y) * (q.x - p.x)) / std::hypot(q.x - p.x, q.y - p.y);
}

// Distance of (x, y) inside the triangle's nearest edge (negative outside).
double depthInside(const RasterVertex& a, const RasterVertex& b, const RasterVertex& c, double x, double y) {
    const double s = side(a, b, c.x, c.y) > 0 ? 1.0 : -1.0;
    return std::min({s * side(a, b, x, y), s * side(b, c, x, y), s * side(c, a, x, y)});
}

TEST(Rasteriser, TrianglesSharingAnEdgeDrawEveryPixelOnce) {
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> coord(0, 64 * 512 - 1);
    auto draw = [](RasterVertex a, RasterVertex b, RasterVertex c, const RasterTarget& t) {
        if (b.y < a.y) std::swap(a, b);
        if (c.y < a.y) std::swap(a, c);
        if (c.y < b.y) std::swap(b, c);
        ySortedTriangle(a, b, c, t);
    };
    for (int round = 0; round < 400; ++round) {
        RasterVertex p[4];
        for (auto& q : p) q = v(coord(rng), coord(rng));
        if ((side(p[0], p[2], p[1].x, p[1].y) > 0) == (side(p[0], p[2], p[3].x, p[3].y) > 0)) continue;
        Buffers one(64, 64), two(64, 64);
        draw(p[0], p[1], p[2], one.t());
        draw(p[0], p[2], p[3], two.t());
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 64; ++x) {
                const bool a = one.at(x, y) != 0, b = two.at(x, y) != 0;
                ASSERT_FALSE(a && b) << x << "," << y;
                // Rounded slopes move an edge by less than a unit per row.
                const double da = depthInside(p[0], p[1], p[2], 512.0 * x, 512.0 * y);
                const double db = depthInside(p[0], p[2], p[3], 512.0 * x, 512.0 * y);
                EXPECT_TRUE(std::fabs(da) <= 80 || a == (da > 0)) << x << "," << y;
                EXPECT_TRUE(std::fabs(db) <= 80 || b == (db > 0)) << x << "," << y;
            }
    }
}

TEST(Rasteriser, DepthTestAndItsTies) {
    Buffers b(16, 8);
    auto tri = [&](double z0, double z1, FixedColor c) {
        ySortedTriangle(v(0, 0, z0, c), v(8192, 0, z1, c), v(0, 4096, z0, c), b.t());
    };
    tri(5.0, 5.0, {0xFF00, 0, 0});
    EXPECT_EQ(b.at(0, 0), 0x00FF0000u);
    EXPECT_EQ(b.depth[0], static_cast<float>(5.0 - 1000000.0));
    tri(5.0, 5.0, {0, 0xFF00, 0});  // a tie keeps the earlier colour
    tri(6.0, 6.0, {0, 0xFF00, 0});
    EXPECT_EQ(b.at(1, 1), 0x00FF0000u);
    tri(4.0, 4.0, {0, 0, 0xFF00});
    EXPECT_EQ(b.at(1, 1), 0x000000FFu);
    Buffers ramp(16, 8);
    ySortedTriangle(v(0, 0, 10.0), v(8192, 0, 26.0), v(0, 2048, 10.0), ramp.t());
    EXPECT_NEAR(ramp.depth[8] + 1000000.0, 18.0, 0.1);
    // A cleared word stands for depth 1,000,000: nothing there or beyond is drawn.
    Buffers far(8, 8);
    ySortedTriangle(v(0, 0, 1e6), v(4096, 0, 1e6), v(0, 4096, 1e6), far.t());
    EXPECT_TRUE(far.blank());
}

TEST(Rasteriser, ColourPackingNeverWraps) {
    EXPECT_EQ(FSubpixelInterpInterp::colourWord(0xFF00, 0x8000, 0x0100), 0x00FF8001u);
    EXPECT_EQ(FSubpixelInterpInterp::colourWord(0x12FF, 0x34FF, 0x56FF), 0x00123456u);
    // Interpolated channels never wrap below 0 into 255.
    Buffers b(32, 32);
    const FixedColor hi{0xFF00, 0x0100, 0}, lo{0, 0, 0xFF00};
    ySortedTriangle(v(3, 5, 1, hi), v(16000, 7000, 1, lo), v(77, 16001, 1, lo), b.t());
    EXPECT_GE(b.at(1, 1) >> 16, 0xF0u);
    EXPECT_GT(std::count_if(b.colour.begin(), b.colour.end(), [](std::uint32_t w) { return w != 0; }), 100);
    for (auto w : b.colour) EXPECT_EQ(w & 0xFF00FF00u, 0u) << std::hex << w;
}

TEST(Rasteriser, FarVerticesAndEmptyTriangles) {
    // L = 2^24 (32,768 pixels) out: top (-L, -L), middle (L, -L), bottom
    // (L, L). The long edge x = y has slope 2L * 512 / 2L, whose numerator
    // 2^34 is past 32 bits: exactly the pixels with px >= py are drawn.
    constexpr int L = 1 << 24;
    Buffers b(8, 8, 4);
    ySortedTriangle(v(-L, -L), v(L, -L), v(L, L), b.t());
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 12; ++x) EXPECT_EQ(b.at(x, y) != 0, x < 8 && y < 8 && x >= y) << x << "," << y;
    // A left edge falling 2^24 per row, set up 511 units below its top
    // (X, -511): the set-up moves it 2^24 * 511 / 512, past 32 bits, to
    // x = 2048 (pixel 4) on row 0 for X = 2048 + 2^24 * 511 / 512. The
    // bottom (X - 2^24 * 4607 / 512, 4096) keeps the slope exact; the right
    // side runs down x = X. Row 0 is drawn from pixel 4 on, rows 1-7 whole.
    constexpr int X = 16746496;
    Buffers steep(8, 8);
    ySortedTriangle(v(X, -511), v(X, 4095), v(-134215680, 4096), steep.t());
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) EXPECT_EQ(steep.at(x, y) != 0, y > 0 || x >= 4) << x << "," << y;
    // Flat on one sample row, or narrower than the gap between samples: nothing.
    Buffers none(8, 8);
    ySortedTriangle(v(0, 1024), v(1024, 1024), v(3000, 1024), none.t());
    ySortedTriangle(v(600, 0), v(700, 2048), v(650, 3000), none.t());
    EXPECT_TRUE(none.blank());
}

TEST(Rasteriser, OrderAssertionsAreReported) {
    Buffers b(8, 8);
    EXPECT_EQ(stdoutOf([&] { ySortedTriangle(v(0, 2048), v(1024, 512), v(2048, 4096), b.t()); }),
              "Assert error: y0 > y1"
              "Assert error: lowStartPixelY <> topEndPixelY + 1\nlowStartPixelY = 1 topEndPixelY = 3\n");
    EXPECT_EQ(stdoutOf([&] { ySortedTriangle(v(0, 0), v(1024, 4096), v(2048, 512), b.t()); }), "Assert error: y1 > y2");
}

}  // namespace
}  // namespace zil::test
