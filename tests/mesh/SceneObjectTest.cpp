#include "mesh/MeshTestUtil.hpp"
#include "mesh/PrimitiveOutput.hpp"
#include "mesh/SceneObject.hpp"

using namespace zil;
using namespace zil::test;

namespace {

struct Regen {
    Capture cap;
    RiState st;
    SceneObject obj;
    // The one recorded call, after a regeneration that reported nothing.
    const RiPrimitiveCall& operator()(const ZilLValue& mesh) {
        SubdivisionMesh::regenerate(obj, mesh, st, cap.out());
        EXPECT_EQ(text(), "");
        EXPECT_EQ(st.recordedCalls.size(), 1u);
        return st.recordedCalls.front();
    }
    std::string text() {
        cap.out().flush();
        return cap.text();
    }
};

const std::vector<Xyz>& points(const RiPrimitiveCall& call) { return call.params.at(0).value.xyz; }

}  // namespace

TEST(SceneObject, RegenerationRecordsTheCubeSurface) {
    Regen regen;
    const ZilLValue mesh = defaultCubeRecord();
    const RiPrimitiveCall& call = regen(mesh);
    EXPECT_FALSE(regen.st.recording);
    EXPECT_EQ(regen.obj.surfaceReady, 1);
    EXPECT_TRUE(regen.st.sceneTriangles.empty());
    // 24 faces after the mesh step, 32 triangles each; 26 vertices, 3 points
    // inside each of 48 edges and 9 inside each face.
    EXPECT_EQ(call.vertexCounts.size(), 768u);
    EXPECT_EQ(call.vertexIndices.size(), 3u * 768u);
    ASSERT_EQ(call.params.size(), 2u);
    EXPECT_EQ(call.params[0].token, regen.st.tokens.P);
    EXPECT_EQ(call.params[1].token, regen.st.tokens.N);
    EXPECT_EQ(points(call).size(), 386u);
    EXPECT_EQ(call.params[1].value.xyz.size(), 386u);
    // The first triangle is (a, b, c') of the last face's cell (3, 3): c' is
    // that face's corner 2, the face point 13 of the cube's last face. The
    // last is (a, c', d) of the first face's cell (0, 0): vertex 0, then the
    // first interior point and the first point inside edge 4.
    EXPECT_EQ(call.vertexIndices[2], 13);
    EXPECT_EQ(std::vector<std::int32_t>(call.vertexIndices.end() - 3, call.vertexIndices.end()),
              (std::vector<std::int32_t>{0, 30, 29}));

    // Each regeneration starts from the base mesh again.
    const std::vector<Xyz> first = points(call);
    EXPECT_EQ(points(regen(mesh)), first);
    // Fully sharp corners stay where the base mesh has them.
    const ZilLValue sharp = defaultCubeRecord(3.0, 0.0);
    const std::vector<Xyz>& corners = points(regen(sharp));
    for (std::size_t v = 0; v < 8; ++v) EXPECT_EQ(corners[v], pointOf(sharp, v));
}

TEST(SceneObject, SymmetricCubeGivesSymmetricSurface) {
    // With the same sharpness on every edge and corner the surface of the
    // centred cube has the cube's symmetry.
    Regen regen;
    const std::vector<Xyz>& pts = points(regen(defaultCubeRecord(0.4, 1.3)));
    auto has = [&](const Xyz& p) {
        return std::any_of(pts.begin(), pts.end(), [&](const Xyz& q) { return near(p, q); });
    };
    for (const Xyz& p : pts) {
        ASSERT_TRUE(has({-p.x, p.y, p.z}));
        ASSERT_TRUE(has({p.x, -p.y, p.z}));
        ASSERT_TRUE(has({p.z, p.x, p.y}));
    }
}

TEST(SceneObject, FailedRegenerationAndValidationTrace) {
    {
        Regen regen;
        EXPECT_THROW(SubdivisionMesh::regenerate(regen.obj, ZilLValue::INT(3), regen.st, regen.cap.out()), Match);
        EXPECT_EQ(regen.text(), "Exception while regenerating object!Exception while validating object\n");
        EXPECT_EQ(regen.obj.surfaceReady, 0);
        EXPECT_FALSE(regen.st.recording);
    }
    const std::vector<Xyz> pts{{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}};
    // Replaces face 0's corners by the first `keep` of them, then `extra`.
    auto withCorners = [](const ZilLValue& mesh, std::size_t keep, std::vector<ZilLValue> extra) {
        const ValueArray cs = corners(mesh, 0);
        for (std::size_t k = 0; k < keep; ++k) extra.insert(extra.begin() + k, cs[k]);
        FieldArray face = faces(mesh)[0].fields();
        face.set(0, {face.at(0).name, ZilLValue::ARRAY(ValueArray(extra.begin(), extra.end()))});
    };
    {
        // A three-corner face: the quads report, then the missing corner.
        Regen regen;
        const ZilLValue mesh = meshRecord(pts, {{0, 1, 2, 3}});
        withCorners(mesh, 3, {});
        EXPECT_THROW(SubdivisionMesh::validate(regen.obj, regen.st, mesh, regen.cap.out()), Subscript);
        EXPECT_EQ(regen.text(),
                  "Error: A Catmull-Clark subdivision mesh can only have quads!\n"
                  "Exception while validating object\n");
        EXPECT_TRUE(regen.obj.surfaceMesh.sameNode(mesh));
        EXPECT_EQ(regen.obj.surfaceReady, 0);
    }
    {
        // Five corners, the fifth not a record: found by the numbering pass
        // after the flags are set. Two faces back to back close the mesh.
        Regen regen;
        const ZilLValue mesh =
            SubdivisionMesh::linkNeighbours(meshRecord(pts, {{0, 1, 2, 3}, {0, 3, 2, 1}}), regen.cap.out());
        withCorners(mesh, 4, {ZilLValue::INT(7)});
        EXPECT_THROW(SubdivisionMesh::validate(regen.obj, regen.st, mesh, regen.cap.out()), InternalError);
        EXPECT_EQ(regen.text(),
                  "Error: A Catmull-Clark subdivision mesh can only have quads!\n"
                  "Internal Error: record match error: in function wrapInRECORD\n"
                  "Exception while validating object\n");
        EXPECT_EQ(regen.obj.surfaceReady, 1);
        EXPECT_TRUE(regen.st.recordedCalls.empty());
        EXPECT_FALSE(regen.st.recording);
    }
}
