#include <limits>

#include "mesh/PrimitiveOutput.hpp"
#include "render/RenderTestUtil.hpp"

using namespace zil;

namespace {

// An offscreen device, identity matrices and one white light at the eye:
// camera space is raster space, scaled by 512.
struct Primitive : ::testing::Test {
    test::Scene scene{64, 64};
    RiState& st = scene.st;
    RiObjectDefinition none;  // not recording: every call draws
    void SetUp() override { st.lights = {{0.0, 0.0, 0.0}}; }
    // Three points facing the eye from z = 5, with the given normals.
    RiParamList params(std::vector<Xyz> normals, double x = 0.0) {
        return {{st.tokens.P, RiParamValue::points({{x, 0.0, 5.0}, {0.01, 0.0, 5.0}, {0.0, 0.01, 5.0}})},
                {st.tokens.N, RiParamValue::normals(std::move(normals))}};
    }
    const std::vector<Xyz> facing{{0, 0, -1}, {0, 0, -1}, {0, 0, -1}};
};

}  // namespace

TEST_F(Primitive, VerticesAreLitProjectedAndConverted) {
    // White light along the normal and the view: diffuse 1 + specular 1,
    // clamped. A zero normal is drawn unlit; a back face is lit all the same.
    riPrimitiveOutput(st, none, {3}, {0, 1, 2}, params({{0, 0, -1}, {0, 0, 0}, {0, 0, 1}}));
    ASSERT_EQ(st.renderer().sceneTriangles.size(), 1u);
    const SceneTriangle& t = st.renderer().sceneTriangles[0];
    EXPECT_EQ(t.a.colour, (FixedColor{65280, 65280, 65280}));
    EXPECT_EQ(t.b.colour, (FixedColor{0, 0, 0}));
    EXPECT_EQ(t.c.colour, (FixedColor{65280, 65280, 65280}));
    EXPECT_EQ(t.b.x, 6);  // 0.01 * 512 = 5.12, rounded up
    EXPECT_EQ(t.c.y, 6);
    EXPECT_EQ(t.a.z, 5.0);
    // Four colour components count as black, which leaves the specular
    // term: half of full for a light off to the side.
    st.currentColor = {1.0, 1.0, 1.0, 1.0};
    st.lights = {{5.0, 0.0, 0.0}};
    riPrimitiveOutput(st, none, {3}, {0, 1, 2}, params(facing));
    EXPECT_NEAR(st.renderer().sceneTriangles.at(1).a.colour.r, 32640, 1);
}

TEST_F(Primitive, OnlyTrianglesAreDrawnAndBadInputRaises) {
    // The walk stops at the first count other than 3, or when too few
    // indices are left.
    riPrimitiveOutput(st, none, {3, 3, 4, 3}, {0, 1, 2, 2, 1, 0, 0, 1, 2, 0, 0, 1, 2}, params(facing));
    riPrimitiveOutput(st, none, {3, 3}, {0, 1, 2, 0}, params(facing));
    EXPECT_EQ(st.renderer().sceneTriangles.size(), 3u);
    // A call's triangles go in front of the pending ones in polygon order,
    // so the renderer, drawing oldest first, meets the call's last first.
    EXPECT_EQ(st.renderer().sceneTriangles[0].c.y, 0);  // (2, 1, 0)
    EXPECT_EQ(st.renderer().sceneTriangles[1].c.y, 6);  // (0, 1, 2)
    st.renderer().sceneTriangles.clear();
    // Fewer normals than points: the unlit vertex cannot be indexed.
    EXPECT_THROW(riPrimitiveOutput(st, none, {3}, {0, 1, 2}, params({{0, 0, -1}, {0, 0, -1}})), Subscript);
    // A raster position that is not a number.
    EXPECT_THROW(riPrimitiveOutput(st, none, {3}, {0, 1, 2}, params(facing, std::numeric_limits<double>::quiet_NaN())),
                 Domain);
    // A light at a vertex.
    st.lights = {{0.0, 0.0, 5.0}};
    EXPECT_THROW(riPrimitiveOutput(st, none, {3}, {0, 1, 2}, params(facing)), Divide);
    EXPECT_TRUE(st.renderer().sceneTriangles.empty());
}
