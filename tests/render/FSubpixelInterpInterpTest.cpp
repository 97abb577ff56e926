#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <vector>

#include "render/FSubpixelInterpInterp.hpp"

namespace zil {
namespace {

// Plain colour and depth buffers with a guard band around the drawable part.
struct Buffers {
    int w, h, stride;
    std::vector<std::uint32_t> colour;
    std::vector<float> depth;
    Buffers(int w, int h, int guard = 0)
        : w(w), h(h), stride(w + guard), colour(static_cast<size_t>(stride) * (h + guard), 0u),
          depth(static_cast<size_t>(stride) * (h + guard), 0.0f) {}
    RasterTarget target() {
        return {reinterpret_cast<std::uint8_t*>(colour.data()), stride * 4,
                reinterpret_cast<std::uint8_t*>(depth.data()), stride * 4, w, h};
    }
    std::uint32_t& at(int x, int y) { return colour[static_cast<size_t>(y) * stride + x]; }
    float& depthAt(int x, int y) { return depth[static_cast<size_t>(y) * stride + x]; }
    void clear() {
        std::fill(colour.begin(), colour.end(), 0u);
        std::fill(depth.begin(), depth.end(), 0.0f);
    }
};

RasterVertex v(int x, int y, double z = 1.0, FixedColor c = {0xFF00, 0x8000, 0x0100}) { return {x, y, z, c}; }

void sortAndDraw(RasterVertex a, RasterVertex b, RasterVertex c, const RasterTarget& t) {
    if (b.y < a.y) std::swap(a, b);
    if (c.y < a.y) std::swap(a, c);
    if (c.y < b.y) std::swap(b, c);
    FSubpixelInterpInterp::ySortedTriangle(a, b, c, t);
}

// Signed distance of sample (sx, sy) from the line p->q, in sub-pixel units.
double edgeDistance(const RasterVertex& p, const RasterVertex& q, double sx, double sy) {
    double ex = q.x - p.x, ey = q.y - p.y;
    return ((sx - p.x) * ey - (sy - p.y) * ex) / std::hypot(ex, ey);
}

// Whether the sample lies inside the triangle by at least `margin` (positive)
// or outside by at least -margin (negative margin tests "clearly outside").
bool insideBy(const RasterVertex& a, const RasterVertex& b, const RasterVertex& c, double sx, double sy,
              double margin) {
    double d0 = edgeDistance(a, b, sx, sy), d1 = edgeDistance(b, c, sx, sy), d2 = edgeDistance(c, a, sx, sy);
    double orient = (b.x - a.x) * double(c.y - a.y) - (b.y - a.y) * double(c.x - a.x);
    if (orient > 0) {
        d0 = -d0;
        d1 = -d1;
        d2 = -d2;
    }
    return std::min({d0, d1, d2}) >= margin;
}

TEST(Rasteriser, SharedEdgeDrawsEveryPixelOnce) {
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> coord(0, 64 * 512 - 1);
    for (int round = 0; round < 400; ++round) {
        RasterVertex p[4];
        for (auto& q : p) q = v(coord(rng), coord(rng));
        // p1 and p3 on opposite sides of the shared edge p0-p2.
        if ((edgeDistance(p[0], p[2], p[1].x, p[1].y) > 0) == (edgeDistance(p[0], p[2], p[3].x, p[3].y) > 0))
            continue;
        Buffers one(64, 64), two(64, 64);
        sortAndDraw(p[0], p[1], p[2], one.target());
        sortAndDraw(p[0], p[2], p[3], two.target());
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 64; ++x) {
                bool a = one.at(x, y) != 0, b = two.at(x, y) != 0;
                ASSERT_FALSE(a && b) << "pixel drawn twice at " << x << "," << y << " round " << round;
                double sx = 512.0 * x, sy = 512.0 * y;
                // Rounding of the slopes moves an edge by less than a unit per row.
                if (insideBy(p[0], p[1], p[2], sx, sy, 80.0)) {
                    EXPECT_TRUE(a) << x << "," << y;
                }
                if (!insideBy(p[0], p[1], p[2], sx, sy, -80.0)) {
                    EXPECT_FALSE(a) << x << "," << y;
                }
                if (insideBy(p[0], p[2], p[3], sx, sy, 80.0)) {
                    EXPECT_TRUE(b) << x << "," << y;
                }
                if (!insideBy(p[0], p[2], p[3], sx, sy, -80.0)) {
                    EXPECT_FALSE(b) << x << "," << y;
                }
            }
    }
}

TEST(Rasteriser, SampleColumnAndRowRules) {
    Buffers b(8, 8);
    // Left edge exactly on column 2, right edge exactly on column 5: columns 2..4.
    FSubpixelInterpInterp::ySortedTriangle(v(1024, 0), v(1024, 4096), v(5 * 512, 4096), b.target());
    b.clear();
    // A rectangle-like pair: vertical left edge x = 1024, right edge x = 2560.
    sortAndDraw(v(1024, 512), v(2560, 512), v(2560, 2048), b.target());
    sortAndDraw(v(1024, 512), v(2560, 2048), v(1024, 2048), b.target());
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) {
            bool expected = x >= 2 && x < 5 && y >= 1 && y < 4;
            EXPECT_EQ(b.at(x, y) != 0, expected) << x << "," << y;
        }
}

TEST(Rasteriser, DegenerateTrianglesDrawNothing) {
    Buffers b(8, 8);
    // Three vertices on one sample row: no row satisfies top.y <= y < bottom.y.
    FSubpixelInterpInterp::ySortedTriangle(v(0, 1024), v(1024, 1024), v(3000, 1024), b.target());
    // A span narrower than the distance to the next sample.
    FSubpixelInterpInterp::ySortedTriangle(v(600, 0), v(700, 2048), v(650, 3000), b.target());
    for (auto w : b.colour) EXPECT_EQ(w, 0u);
}

TEST(Rasteriser, FlatTopStartsAtMiddleRow) {
    Buffers b(8, 8);
    // top.y == middle.y: the upper half has no row.
    FSubpixelInterpInterp::ySortedTriangle(v(0, 700), v(4096, 700), v(2048, 2600), b.target());
    for (int x = 0; x < 8; ++x) EXPECT_EQ(b.at(x, 1), 0u);
    EXPECT_NE(b.at(2, 2), 0u);
    EXPECT_NE(b.at(4, 4), 0u);
    EXPECT_EQ(b.at(4, 6), 0u);
}

TEST(Rasteriser, DepthTestKeepsNearerAndEarlierOnTies) {
    Buffers b(8, 8);
    FixedColor red{0xFF00, 0, 0}, green{0, 0xFF00, 0}, blue{0, 0, 0xFF00};
    auto tri = [&](double z, FixedColor c) {
        FSubpixelInterpInterp::ySortedTriangle(v(0, 0, z, c), v(4096, 0, z, c), v(0, 4096, z, c), b.target());
    };
    tri(5.0, red);
    EXPECT_EQ(b.at(0, 0), 0x00FF0000u);
    EXPECT_FLOAT_EQ(b.depthAt(0, 0), static_cast<float>(5.0 - 1000000.0));
    tri(5.0, green);  // equal depth: the earlier colour stays
    EXPECT_EQ(b.at(1, 1), 0x00FF0000u);
    tri(6.0, green);  // farther
    EXPECT_EQ(b.at(1, 1), 0x00FF0000u);
    tri(4.0, blue);  // nearer
    EXPECT_EQ(b.at(1, 1), 0x000000FFu);

    Buffers far(8, 8);
    FSubpixelInterpInterp::ySortedTriangle(v(0, 0, 1000000.0), v(4096, 0, 1000000.0), v(0, 4096, 1000000.0),
                                           far.target());
    for (auto w : far.colour) EXPECT_EQ(w, 0u);
}

TEST(Rasteriser, DepthIsInterpolatedAcrossSpans) {
    Buffers b(16, 4);
    FSubpixelInterpInterp::ySortedTriangle(v(0, 0, 10.0), v(8192, 0, 26.0), v(0, 2048, 10.0), b.target());
    EXPECT_FLOAT_EQ(b.depthAt(0, 0), static_cast<float>(10.0 - 1000000.0));
    EXPECT_NEAR(b.depthAt(8, 0) + 1000000.0, 18.0, 0.1);
    EXPECT_LT(b.depthAt(2, 0), b.depthAt(3, 0));
}

TEST(Rasteriser, ColourWordPacking) {
    EXPECT_EQ(FSubpixelInterpInterp::colourWord(0xFF00, 0x8000, 0x0100), 0x00FF8001u);
    EXPECT_EQ(FSubpixelInterpInterp::colourWord(0x12FF, 0x34FF, 0x56FF), 0x00123456u);
    Buffers b(4, 4);
    FSubpixelInterpInterp::ySortedTriangle(v(0, 0), v(2048, 0), v(0, 2048), b.target());
    EXPECT_EQ(b.at(0, 0), 0x00FF8001u);
}

TEST(Rasteriser, ShadedChannelsStayInRange) {
    Buffers b(32, 32);
    FixedColor hi{0xFF00, 0x0100, 0}, lo{0, 0, 0xFF00};
    FSubpixelInterpInterp::ySortedTriangle(v(3, 5, 1.0, hi), v(16000, 7000, 1.0, lo), v(77, 16001, 1.0, lo),
                                           b.target());
    EXPECT_GE(b.at(1, 1) >> 16, 0xF0u);  // near the first vertex: nearly full red
    int drawn = 0;
    for (auto w : b.colour) {
        if (!w) continue;
        ++drawn;
        EXPECT_EQ(w & 0xFF000000u, 0u);
        EXPECT_LE((w >> 8) & 0xFF, 1u);  // green runs from 1 down to 0, never wraps to 255
    }
    EXPECT_GT(drawn, 100);
}

TEST(Rasteriser, ThinTrianglesAndOutsideVerticesStayInBounds) {
    // A 10 x 10 target inside a 16 x 16 buffer: the guard band must stay clear.
    Buffers b(10, 10, 6);
    // Nearly flat upper edge: slope x row distance exceeds 32 bits.
    FSubpixelInterpInterp::ySortedTriangle(v(0, 1), v(9 * 512, 2), v(0, 9 * 512), b.target());
    FSubpixelInterpInterp::ySortedTriangle(v(-100000, -3000), v(200000, 1), v(-50000, 300000), b.target());
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            if (x >= 10 || y >= 10) {
                EXPECT_EQ(b.at(x, y), 0u) << x << "," << y;
            }
    EXPECT_NE(b.at(5, 5), 0u);
}

TEST(Rasteriser, OrderAssertionsAreReported) {
    Buffers b(8, 8);
    testing::internal::CaptureStdout();
    FSubpixelInterpInterp::ySortedTriangle(v(0, 2048), v(1024, 512), v(2048, 4096), b.target());
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(out,
              "Assert error: y0 > y1"
              "Assert error: lowStartPixelY <> topEndPixelY + 1\nlowStartPixelY = 1 topEndPixelY = 3\n");
    testing::internal::CaptureStdout();
    FSubpixelInterpInterp::ySortedTriangle(v(0, 0), v(1024, 4096), v(2048, 512), b.target());
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Assert error: y1 > y2");
}

}  // namespace
}  // namespace zil
