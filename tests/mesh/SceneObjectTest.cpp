// The mesh sees the Ri layer and nothing of SDL: none of its headers may
// bring SDL in.
#include "mesh/PrimitiveOutput.hpp"
#include "mesh/SceneObject.hpp"
#ifdef _SDL_H
#error "a mesh header includes SDL"
#endif

#include "mesh/MeshTestUtil.hpp"
#include "records/RecordConstants.hpp"
#include "render/RenderTestUtil.hpp"

using namespace zil;
using namespace zil::test;

namespace {

// A state with an offscreen device, and an object.
struct Regen {
    Capture cap;
    Scene scene{64, 64};
    RiState& st = scene.st;
    SceneObject obj;
    // The one recorded call, after a regeneration that reported nothing.
    const RiPrimitiveCall& operator()(const ZilLValue& mesh) {
        SubdivisionMesh::regenerate(obj, mesh, st, cap.out());
        EXPECT_EQ(cap.text(), "");
        EXPECT_EQ(obj.definition.recordedCalls.size(), 1u);
        return obj.definition.recordedCalls.front();
    }
};

const std::vector<Xyz>& points(const RiPrimitiveCall& call) { return call.params.at(0).value.xyz; }

}  // namespace

TEST(SceneObject, RegenerationRecordsTheCubeSurfaceAndOutputReplaysIt) {
    Regen regen;
    RiState& st = regen.st;
    const ZilLValue mesh = cubeOfSide(1.0);
    int flag = 0;
    Matrix4x4 place = Constants::identity;
    place.rows[2][3] = 5.0;  // five units in front of the eye
    auto output = [&] { return SubdivisionMesh::outputObject(regen.obj, mesh, st, place, flag, st.tokens.camera); };
    // Before any regeneration only the handles come back.
    EXPECT_EQ(output().vertices.at(3), (std::pair<std::int32_t, Xyz>{3, {0.5, -0.5, 5.5}}));
    EXPECT_EQ(flag, 1);
    EXPECT_TRUE(st.renderer().sceneTriangles.empty());

    const RiPrimitiveCall& call = regen(mesh);
    EXPECT_FALSE(regen.obj.definition.recording);
    EXPECT_EQ(regen.st.surfaceReady, 1);
    EXPECT_TRUE(st.renderer().sceneTriangles.empty());  // only recorded
    // 24 faces after the mesh step, 32 triangles each; 26 vertices, 3 points
    // inside each of 48 edges and 9 inside each face.
    EXPECT_EQ(call.vertexCounts.size(), 768u);
    EXPECT_EQ(call.vertexIndices.size(), 3u * 768u);
    ASSERT_EQ(call.params.size(), 2u);
    EXPECT_EQ(call.params[0].token, st.tokens.P);
    EXPECT_EQ(call.params[1].token, st.tokens.N);
    EXPECT_EQ(points(call).size(), 386u);
    EXPECT_EQ(call.params[1].value.xyz.size(), 386u);
    // The first triangle is (a, b, c') of the last face's cell (3, 3): c' is
    // that face's corner 2, the face point 13 of the cube's last face. The
    // last is (a, c', d) of the first face's cell (0, 0): vertex 0, then the
    // first interior point and the first point inside edge 4.
    EXPECT_EQ(call.vertexIndices[2], 13);
    EXPECT_EQ(std::vector<std::int32_t>(call.vertexIndices.end() - 3, call.vertexIndices.end()),
              (std::vector<std::int32_t>{0, 30, 29}));
    // Each redraw replays the same recording.
    for (std::size_t n : {768u, 2u * 768u}) {
        output();
        EXPECT_EQ(st.renderer().sceneTriangles.size(), n);
    }
    // Each regeneration starts from the base mesh again.
    const std::vector<Xyz> first = points(call);
    EXPECT_EQ(points(regen(mesh)), first);
}

TEST(SceneObject, FailedRegenerationAndValidationTrace) {
    {
        Regen regen;
        EXPECT_THROW(SubdivisionMesh::regenerate(regen.obj, ZilLValue::INT(3), regen.st, regen.cap.out()), Match);
        EXPECT_EQ(regen.cap.text(), "Exception while regenerating object!Exception while validating object\n");
        EXPECT_EQ(regen.st.surfaceReady, 0);
        EXPECT_FALSE(regen.obj.definition.recording);
    }
    const std::vector<Xyz> pts{{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}};
    // A three-corner face: the quads report, then the missing corner.
    Regen tri;
    const ZilLValue three = meshRecord(pts, {{0, 1, 2}});
    EXPECT_THROW(SubdivisionMesh::validate(tri.obj, tri.st, three, tri.cap.out()), Subscript);
    EXPECT_EQ(tri.cap.text(),
              "Error: A Catmull-Clark subdivision mesh can only have quads!\n"
              "Exception while validating object\n");
    EXPECT_TRUE(tri.obj.surfaceMesh.sameNode(three));
    EXPECT_EQ(tri.st.surfaceReady, 0);
    // Five corners, the fifth not a record: found by the numbering pass
    // after the flags are set. Two faces back to back close the mesh.
    Regen pent;
    const ZilLValue five =
        SubdivisionMesh::linkNeighbours(meshRecord(pts, {{0, 1, 2, 3, 0}, {0, 3, 2, 1}}), pent.cap.out());
    corners(five, 0).set(4, ZilLValue::INT(7));
    EXPECT_THROW(SubdivisionMesh::validate(pent.obj, pent.st, five, pent.cap.out()), InternalError);
    EXPECT_EQ(pent.cap.text(),
              "Error: A Catmull-Clark subdivision mesh can only have quads!\n"
              "Internal Error: record match error: in function wrapInRECORD\n"
              "Exception while validating object\n");
    EXPECT_EQ(pent.st.surfaceReady, 1);
    EXPECT_TRUE(pent.obj.definition.recordedCalls.empty());
    EXPECT_FALSE(pent.obj.definition.recording);
    // The fifth corner a record whose "vertexIndex" is not an integer.
    Regen odd;
    corners(five, 0).set(4, ZilLValue::RECORD(FieldArray{ZilLField{N().vertexIndex, ZilLValue::REAL(1.0)}}));
    EXPECT_THROW(SubdivisionMesh::validate(odd.obj, odd.st, five, odd.cap.out()), InternalError);
    EXPECT_NE(odd.cap.text().find("Could not get field vertexIndex"), std::string::npos) << odd.cap.text();
}
