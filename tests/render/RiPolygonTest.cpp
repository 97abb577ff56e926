#include <gtest/gtest.h>

#include "RenderTestUtil.hpp"
#include "records/RecordConstants.hpp"
#include "render/ColorRGB.hpp"
#include "render/RiPolygon.hpp"
#include "shell/Errors.hpp"

namespace zil {
namespace {

using test::captured;

// Identity camera and raster matrices: polygon points are pixel coordinates.
struct PolygonScene {
    RiState st;
    test::Surface colour{64, 64};
    PolygonScene() {
        EXPECT_TRUE(RealtimeZilyMan::installOffscreenDevice(st, colour.s, 64, 64));
        st.deviceWidth = st.deviceHeight = 64;
    }
    ~PolygonScene() { RealtimeZilyMan::releaseDevice(st); }
    RiParamList points(std::vector<Rt::Point> p) { return {{st.tokens.P, RiParamValue::points(std::move(p))}}; }
    const std::vector<SceneTriangle>& tris() const { return st.sceneTriangles; }
};

RasterPosition pos(const RasterVertex& v) { return {v.x, v.y, v.z}; }

TEST(RiPolygon, QuadSplitsIntoTwoTriangles) {
    PolygonScene s;
    RiColor(s.st, {1.0, 0.5, 0.0});
    RiPolygon(s.st, s.points({{1, 1, 5}, {9, 1, 6}, {9, 9, 7}, {1, 9, 8}}));
    ASSERT_EQ(s.tris().size(), 2u);
    const RasterPosition a{512, 512, 5}, b{9 * 512, 512, 6}, c{9 * 512, 9 * 512, 7}, d{512, 9 * 512, 8};
    EXPECT_EQ(pos(s.tris()[0].a), a);
    EXPECT_EQ(pos(s.tris()[0].b), b);
    EXPECT_EQ(pos(s.tris()[0].c), c);
    EXPECT_EQ(pos(s.tris()[1].a), a);
    EXPECT_EQ(pos(s.tris()[1].b), c);
    EXPECT_EQ(pos(s.tris()[1].c), d);
    // 127.5 rounds to the even 128.
    EXPECT_EQ(s.tris()[1].b.colour, (FixedColor{255 << 8, 128 << 8, 0}));
}

TEST(RiPolygon, RasterCoordinatesRoundUpwards) {
    PolygonScene s;
    RiPolygon(s.st, s.points({{2.0, 2.001, 1}, {-0.0001, 3, 1}, {4, -2.0009, 1}}));
    ASSERT_EQ(s.tris().size(), 1u);
    EXPECT_EQ(s.tris()[0].a.x, 1024);
    EXPECT_EQ(s.tris()[0].a.y, 1025);
    EXPECT_EQ(s.tris()[0].b.x, 0);
    EXPECT_EQ(s.tris()[0].c.y, -1024);
}

TEST(RiPolygon, PointsGoThroughCameraAndRaster) {
    PolygonScene s;
    s.st.cameraTransform = {{{{1, 0, 0, 10}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}}}};
    s.st.rasterTransform = {{{{2, 0, 0, 0}, {0, 2, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}}}};
    concatTransform(s.st, {{{{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 3}, {0, 0, 0, 1}}}});
    RiPolygon(s.st, s.points({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}));
    ASSERT_EQ(s.tris().size(), 1u);
    EXPECT_EQ(pos(s.tris()[0].a), (RasterPosition{20 * 512, 0, 3.0}));  // z is the camera depth
    EXPECT_EQ(pos(s.tris()[0].c), (RasterPosition{20 * 512, 2 * 512, 3.0}));
    EXPECT_FALSE(s.st.transformChanged);
}

TEST(RiPolygon, Messages) {
    PolygonScene s;
    const std::string lazy = "I have been lazy - only use triangles or quads when calling Polygon please...\n";
    EXPECT_EQ(captured([&] { RiPolygon(s.st, {}); }), lazy);
    EXPECT_EQ(captured([&] { RiPolygon(s.st, {{s.st.tokens.N, RiParamValue::normals({{0, 0, 1}})}}); }), lazy);
    EXPECT_EQ(captured([&] { RiPolygon(s.st, {{s.st.tokens.P, RiParamValue::normals({{0, 0, 1}})}}); }),
              "Parameter type error: Expecting type Rt.Point list for parameter P\n" + lazy);
    EXPECT_EQ(captured([&] { RiPolygon(s.st, s.points({{1, 1, 1}, {2, 2, 1}})); }), lazy);
    EXPECT_EQ(captured([&] {
                  RiPolygon(s.st, s.points({{1, 1, 1}, {2, 2, 1}, {3, 1, 1}, {4, 4, 1}, {5, 1, 1}}));
              }),
              lazy);
    EXPECT_TRUE(s.tris().empty());

    s.st.currentColor = {1.0, 1.0};
    EXPECT_EQ(captured([&] { RiPolygon(s.st, s.points({{1, 1, 1}, {5, 1, 1}, {1, 5, 1}})); }),
              "Exactly 3 color components are required in ColorRGB.fromColorN!\n");
    ASSERT_EQ(s.tris().size(), 1u);
    EXPECT_EQ(s.tris()[0].a.colour, (FixedColor{0, 0, 0}));

    // A point on the camera plane of a perspective raster matrix cannot be divided.
    s.st.rasterTransform = {{{{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 1, 0}}}};
    EXPECT_THROW(RiPolygon(s.st, s.points({{1, 1, 0}, {5, 1, 1}, {1, 5, 1}})), EGeneric);
}

TEST(RiPolygon, EdgeQuadsPickTheirOffsetByDirection) {
    PolygonScene s;
    const Xyz h{0, 1, 0}, v{1, 0, 0};
    drawEdgesAsQuads(s.st, {{{1, 1, 1}, {9, 2, 1}}, {{1, 1, 1}, {4, 4, 1}}, {{1, 1, 1}, {2, 9, 1}}}, h, v);
    ASSERT_EQ(s.tris().size(), 6u);
    // Horizontal edge: (p0, p1, p1 + h) and (p0, p1 + h, p0 + h).
    EXPECT_EQ(pos(s.tris()[0].c), (RasterPosition{9 * 512, 3 * 512, 1}));
    EXPECT_EQ(pos(s.tris()[1].c), (RasterPosition{512, 2 * 512, 1}));
    // |dy| == |dx| takes the vertical-edge offset.
    EXPECT_EQ(pos(s.tris()[2].c), (RasterPosition{5 * 512, 4 * 512, 1}));
    EXPECT_EQ(pos(s.tris()[5].c), (RasterPosition{2 * 512, 512, 1}));
    drawEdgesAsQuads(s.st, {}, h, v);
    drawPointMarkers(s.st, {});
    EXPECT_EQ(s.tris().size(), 6u);
}

TEST(RiPolygon, PointMarkers) {
    PolygonScene s;
    RiColor(s.st, {0.5, 0.63, 0.75});
    drawPointMarkers(s.st, {{40, 20, 2.0}});
    ASSERT_EQ(s.tris().size(), 1u);
    const SceneTriangle& t = s.tris()[0];
    EXPECT_EQ(pos(t.a), (RasterPosition{40 * 512, 17 * 512, 2.0 - 1e-10}));
    EXPECT_EQ(pos(t.b), (RasterPosition{37 * 512, 22 * 512, 2.0 - 1e-10}));
    EXPECT_EQ(pos(t.c), (RasterPosition{43 * 512, 22 * 512, 2.0 - 1e-10}));
    EXPECT_EQ(t.a.colour, (FixedColor{128 << 8, 161 << 8, 191 << 8}));
    // The marker wins over a surface at the same depth drawn before it.
    RiColor(s.st, {0.0, 1.0, 0.0});
    RiPolygon(s.st, s.points({{30, 10, 2.0}, {50, 10, 2.0}, {30, 30, 2.0}}));
    RealtimeZilyMan::renderScene(s.st);
    RealtimeZilyMan::worldEnd(s.st);
    EXPECT_EQ(s.colour.at(40, 18), 0x0080A1BFu);
}

}  // namespace
}  // namespace zil
