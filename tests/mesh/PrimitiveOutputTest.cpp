#include <gtest/gtest.h>

#include <SDL.h>

#include <cmath>
#include <limits>

#include "SurfaceRecordMeshes.hpp"
#include "mesh/PrimitiveOutput.hpp"
#include "mesh/SceneObject.hpp"
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
        ASSERT_NE(surface_, nullptr);
        ASSERT_TRUE(RealtimeZilyMan::installOffscreenDevice(st, surface_, 64, 64));
        st.deviceWidth = 64;
        st.deviceHeight = 64;
        st.lights = {{0.0, 0.0, 0.0}};
        st.currentColor = {1.0, 1.0, 1.0};
    }
    void TearDown() override {
        RealtimeZilyMan::releaseDevice(st);
        SDL_FreeSurface(surface_);
    }

    // Three points facing the eye from z = 5, normals towards the eye.
    RiParamList params(std::vector<Xyz> normals) {
        return {{st.tokens.P, RiParamValue::points({{0.0, 0.0, 5.0}, {0.01, 0.0, 5.0}, {0.0, 0.01, 5.0}})},
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
    ASSERT_EQ(st.sceneTriangles.size(), 1u);
    const SceneTriangle& t = st.sceneTriangles[0];
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
    EXPECT_NEAR(st.sceneTriangles.at(1).a.colour.r, 32640, 1);
}

TEST_F(Primitive, OnlyTrianglesAreDrawn) {
    RiParamList p = params(facing);
    riPrimitiveOutput(st, {3, 3, 4, 3}, {0, 1, 2, 2, 1, 0, 0, 1, 2, 0, 0, 1, 2}, p);
    EXPECT_EQ(st.sceneTriangles.size(), 2u);
    // Too few indices left ends the walk as well.
    riPrimitiveOutput(st, {3, 3}, {0, 1, 2, 0}, p);
    EXPECT_EQ(st.sceneTriangles.size(), 3u);
}

TEST_F(Primitive, LightingFailures) {
    // Fewer normals than points: the unlit vertex cannot be indexed.
    EXPECT_THROW(riPrimitiveOutput(st, {3}, {0, 1, 2}, params({{0, 0, -1}, {0, 0, -1}})), Subscript);
    // A light at a vertex.
    st.lights = {{0.0, 0.0, 5.0}};
    EXPECT_THROW(riPrimitiveOutput(st, {3}, {0, 1, 2}, params(facing)), Divide);
    // A raster position that is not a number.
    st.lights = {{0.0, 0.0, 0.0}};
    const double nan = std::numeric_limits<double>::quiet_NaN();
    RiParamList p{{st.tokens.P, RiParamValue::points({{nan, 0.0, 5.0}, {0.01, 0.0, 5.0}, {0.0, 0.01, 5.0}})},
                  {st.tokens.N, RiParamValue::normals(facing)}};
    EXPECT_THROW(riPrimitiveOutput(st, {3}, {0, 1, 2}, p), Domain);
    EXPECT_TRUE(st.sceneTriangles.empty());
}

TEST_F(Primitive, RecordingKeepsTheCallNewestFirst) {
    st.recording = true;
    riPrimitiveOutput(st, {3}, {0, 1, 2}, params(facing));
    riPrimitiveOutput(st, {3, 3}, {0, 1, 2, 0, 1, 2}, params(facing));
    EXPECT_TRUE(st.sceneTriangles.empty());
    ASSERT_EQ(st.recordedCalls.size(), 2u);
    EXPECT_EQ(st.recordedCalls[0].vertexCounts.size(), 2u);
    st.recording = false;
    drawPrimitive(st, st.recordedCalls[0]);
    EXPECT_EQ(st.sceneTriangles.size(), 2u);
}

TEST_F(Primitive, ObjectOutputReplaysTheRecordedSurface) {
    SceneObject obj;
    ZilLValue mesh = testmesh::defaultCubeRecord();
    int flag = 0;
    Matrix4x4 place = Constants::identity;
    place.rows[2][3] = 5.0;  // five units in front of the eye
    // Before any regeneration only the handles come back.
    auto handles = SubdivisionMesh::outputObject(obj, mesh, st, place, flag, st.tokens.camera);
    EXPECT_EQ(flag, 1);
    EXPECT_TRUE(st.sceneTriangles.empty());
    ASSERT_EQ(handles.vertices.size(), 8u);
    EXPECT_EQ(handles.vertices[3].first, 3);
    EXPECT_EQ(handles.vertices[3].second, (Xyz{0.5, -0.5, 5.5}));
    EXPECT_EQ(handles.edges.size(), 12u);

    SubdivisionMesh::regenerate(obj, mesh, st, stdOut());
    EXPECT_TRUE(st.sceneTriangles.empty());
    SubdivisionMesh::outputObject(obj, mesh, st, place, flag, st.tokens.camera);
    EXPECT_EQ(st.sceneTriangles.size(), 768u);
    // A second redraw replays the same recording.
    SubdivisionMesh::outputObject(obj, mesh, st, place, flag, st.tokens.camera);
    EXPECT_EQ(st.sceneTriangles.size(), 2u * 768u);
    EXPECT_EQ(st.recordedCalls.size(), 1u);
}
