#include <gtest/gtest.h>

#include <SDL.h>

#include <limits>

#include "mesh/PrimitiveOutput.hpp"
#include "mesh/SceneObject.hpp"
#include "render/RealtimeZilyMan.hpp"
#include "mesh/DefaultCube.hpp"
#include "records/RecordConstants.hpp"
#include "shell/Errors.hpp"

using namespace zil;

namespace {

// A state with an offscreen device, identity matrices and one light at the
// eye: camera space is raster space, scaled by 512.
class Primitive : public ::testing::Test {
protected:
    void SetUp() override {
        surface_ = SDL_CreateRGBSurface(0, 64, 64, 32, 0x00FF0000, 0x0000FF00, 0x000000FF, 0);
        ASSERT_TRUE(surface_ && RealtimeZilyMan::installOffscreenDevice(st, surface_, 64, 64));
        st.deviceWidth = st.deviceHeight = 64;
        st.lights = {{0.0, 0.0, 0.0}};
        st.currentColor = {1.0, 1.0, 1.0};
    }
    void TearDown() override {
        RealtimeZilyMan::releaseDevice(st);
        SDL_FreeSurface(surface_);
    }
    // Three points facing the eye from z = 5, with the given normals.
    RiParamList params(std::vector<Xyz> normals, double x = 0.0) {
        return {{st.tokens.P, RiParamValue::points({{x, 0.0, 5.0}, {0.01, 0.0, 5.0}, {0.0, 0.01, 5.0}})},
                {st.tokens.N, RiParamValue::normals(std::move(normals))}};
    }
    const std::vector<Xyz> facing{{0, 0, -1}, {0, 0, -1}, {0, 0, -1}};

    RiState st;
    SDL_Surface* surface_ = nullptr;
};

}  // namespace

TEST_F(Primitive, VerticesAreLitProjectedAndConverted) {
    // White light along the normal and the view: diffuse 1 + specular 1,
    // clamped. A zero normal is drawn unlit; a back face is lit all the same.
    riPrimitiveOutput(st, {3}, {0, 1, 2}, params({{0, 0, -1}, {0, 0, 0}, {0, 0, 1}}));
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
    riPrimitiveOutput(st, {3}, {0, 1, 2}, params(facing));
    EXPECT_NEAR(st.renderer().sceneTriangles.at(1).a.colour.r, 32640, 1);
}

TEST_F(Primitive, OnlyTrianglesAreDrawnAndBadInputRaises) {
    // The walk stops at the first count other than 3, or when too few
    // indices are left.
    riPrimitiveOutput(st, {3, 3, 4, 3}, {0, 1, 2, 2, 1, 0, 0, 1, 2, 0, 0, 1, 2}, params(facing));
    riPrimitiveOutput(st, {3, 3}, {0, 1, 2, 0}, params(facing));
    EXPECT_EQ(st.renderer().sceneTriangles.size(), 3u);
    // A call's triangles go in front of the pending ones in polygon order,
    // so the renderer, drawing oldest first, meets the call's last first.
    EXPECT_EQ(st.renderer().sceneTriangles[0].c.y, 0);  // (2, 1, 0)
    EXPECT_EQ(st.renderer().sceneTriangles[1].c.y, 6);  // (0, 1, 2)
    st.renderer().sceneTriangles.clear();
    // Fewer normals than points: the unlit vertex cannot be indexed.
    EXPECT_THROW(riPrimitiveOutput(st, {3}, {0, 1, 2}, params({{0, 0, -1}, {0, 0, -1}})), Subscript);
    // A raster position that is not a number.
    EXPECT_THROW(riPrimitiveOutput(st, {3}, {0, 1, 2}, params(facing, std::numeric_limits<double>::quiet_NaN())),
                 Domain);
    // A light at a vertex.
    st.lights = {{0.0, 0.0, 5.0}};
    EXPECT_THROW(riPrimitiveOutput(st, {3}, {0, 1, 2}, params(facing)), Divide);
    EXPECT_TRUE(st.renderer().sceneTriangles.empty());
}

TEST_F(Primitive, RecordingKeepsTheCallNewestFirst) {
    st.recording = true;
    riPrimitiveOutput(st, {3}, {0, 1, 2}, params(facing));
    riPrimitiveOutput(st, {3, 3}, {0, 1, 2, 0, 1, 2}, params(facing));
    EXPECT_TRUE(st.renderer().sceneTriangles.empty());
    ASSERT_EQ(st.recordedCalls.size(), 2u);
    st.recording = false;
    drawPrimitive(st, st.recordedCalls[0]);
    EXPECT_EQ(st.renderer().sceneTriangles.size(), 2u);
}

TEST_F(Primitive, ObjectOutputReplaysTheRecordedSurface) {
    SceneObject obj;
    ZilLValue mesh = DemoPage::defaultCube();
    int flag = 0;
    Matrix4x4 place = Constants::identity;
    place.rows[2][3] = 5.0;  // five units in front of the eye
    // Before any regeneration only the handles come back.
    auto handles = SubdivisionMesh::outputObject(obj, mesh, st, place, flag, st.tokens.camera);
    EXPECT_EQ(flag, 1);
    EXPECT_TRUE(st.renderer().sceneTriangles.empty());
    EXPECT_EQ(handles.vertices.at(3), (std::pair<std::int32_t, Xyz>{3, {0.5, -0.5, 5.5}}));
    // Regeneration only records; each redraw replays the same recording.
    SubdivisionMesh::regenerate(obj, mesh, st, stdOut());
    EXPECT_TRUE(st.renderer().sceneTriangles.empty());
    for (std::size_t n : {768u, 2u * 768u}) {
        SubdivisionMesh::outputObject(obj, mesh, st, place, flag, st.tokens.camera);
        EXPECT_EQ(st.renderer().sceneTriangles.size(), n);
    }
    EXPECT_EQ(st.recordedCalls.size(), 1u);
}
