#include <gtest/gtest.h>

#include <unistd.h>
#include <cmath>
#include <cstdio>
#include <string>

#include "SurfaceRecordMeshes.hpp"
#include "mesh/MeshTopology.hpp"
#include "mesh/PrimitiveOutput.hpp"
#include "mesh/SceneObject.hpp"
#include "mesh/SurfaceOutput.hpp"
#include "shell/Errors.hpp"

using namespace zil;

namespace {

// An unbuffered report stream whose text the test reads back.
class Captured {
public:
    Captured() : file_(std::tmpfile()), stream_(fileno(file_), false) {}
    ~Captured() { std::fclose(file_); }
    OutStream& stream() { return stream_; }
    std::string text() {
        stream_.flush();
        std::string s;
        char buf[512];
        lseek(fileno(file_), 0, SEEK_SET);
        for (ssize_t n; (n = read(fileno(file_), buf, sizeof buf)) > 0;)
            s.append(buf, static_cast<std::size_t>(n));
        return s;
    }

private:
    std::FILE* file_;
    OutStream stream_;
};

const RiPrimitiveCall& onlyCall(const RiState& st) {
    EXPECT_EQ(st.recordedCalls.size(), 1u);
    return st.recordedCalls.front();
}

const std::vector<Xyz>& param(const RiPrimitiveCall& call, std::size_t i) {
    return call.params.at(i).value.xyz;
}

}  // namespace

TEST(SceneObject, RegenerationRecordsTheCubeSurface) {
    Captured out;
    RiState st;
    SceneObject obj;
    ZilLValue mesh = testmesh::defaultCubeRecord();
    SubdivisionMesh::regenerate(obj, mesh, st, out.stream());
    EXPECT_EQ(out.text(), "");
    EXPECT_FALSE(st.recording);
    EXPECT_EQ(obj.surfaceReady, 1);
    EXPECT_TRUE(st.sceneTriangles.empty());

    const RiPrimitiveCall& call = onlyCall(st);
    // 24 faces after the mesh step, 32 triangles each; 26 vertices, 3 points
    // inside each of 48 edges and 9 inside each face.
    EXPECT_EQ(call.vertexCounts.size(), 768u);
    EXPECT_EQ(call.vertexIndices.size(), 3u * 768u);
    ASSERT_EQ(call.params.size(), 2u);
    EXPECT_EQ(call.params[0].token, st.tokens.P);
    EXPECT_EQ(call.params[1].token, st.tokens.N);
    EXPECT_EQ(param(call, 0).size(), 26u + 144u + 216u);
    EXPECT_EQ(param(call, 1).size(), param(call, 0).size());

    // The first triangle is (a, b, c') of the last face's cell (3, 3): c' is
    // that face's corner 2, the face point 13 of the cube's last face. The
    // last is (a, c', d) of the first face's cell (0, 0): vertex 0, then the
    // first interior point and the first point inside edge 4.
    EXPECT_EQ(call.vertexIndices[2], 13);
    const std::size_t n = call.vertexIndices.size();
    EXPECT_EQ(call.vertexIndices[n - 3], 0);
    EXPECT_EQ(call.vertexIndices[n - 2], 30);
    EXPECT_EQ(call.vertexIndices[n - 1], 29);
    EXPECT_TRUE(obj.linkedMesh.isRecord());
    EXPECT_TRUE(obj.subdividedMesh.isRecord());
    EXPECT_TRUE(obj.surfaceMesh.isRecord());
}

TEST(SceneObject, RegenerationStartsFromTheBaseMeshEachTime) {
    RiState st;
    SceneObject obj;
    ZilLValue mesh = testmesh::defaultCubeRecord();
    SubdivisionMesh::regenerate(obj, mesh, st, stdOut());
    const std::vector<Xyz> first = param(onlyCall(st), 0);
    SubdivisionMesh::regenerate(obj, mesh, st, stdOut());
    EXPECT_EQ(param(onlyCall(st), 0), first);
    // Fully sharp corners stay where the base mesh has them.
    mesh = testmesh::defaultCubeRecord(3.0, 0.0);
    SubdivisionMesh::regenerate(obj, mesh, st, stdOut());
    const std::vector<Xyz>& sharp = param(onlyCall(st), 0);
    const std::vector<Xyz> corners = testmesh::defaultCubePoints();
    for (std::size_t v = 0; v < 8; ++v) EXPECT_EQ(sharp[v], corners[v]);
}

TEST(SceneObject, FailedRegenerationTraces) {
    Captured out;
    RiState st;
    SceneObject obj;
    ZilLValue mesh = ZilLValue::INT(3);
    EXPECT_THROW(SubdivisionMesh::regenerate(obj, mesh, st, out.stream()), Match);
    EXPECT_EQ(out.text(), "Exception while regenerating object!Exception while validating object\n");
    EXPECT_EQ(obj.surfaceReady, 0);
    EXPECT_FALSE(st.recording);
}

TEST(SceneObject, ValidationReportsFacesThatAreNotQuads) {
    const std::vector<Xyz> pts{{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}};
    {
        // A three-corner face: the quads report, then the missing corner.
        Captured out;
        RiState st;
        SceneObject obj;
        ZilLValue mesh = testmesh::meshRecord(pts, {{0, 1, 2, 3}});
        FieldArray face = mesh.fields().at(0).value.elements().at(0).fields();
        const ValueArray corners = face.at(0).value.elements();
        face.set(0, {face.at(0).name, ZilLValue::ARRAY(ValueArray{corners[0], corners[1], corners[2]})});
        EXPECT_THROW(SubdivisionMesh::validate(obj, st, mesh, out.stream()), Subscript);
        EXPECT_EQ(out.text(),
                  "Error: A Catmull-Clark subdivision mesh can only have quads!\n"
                  "Exception while validating object\n");
        EXPECT_TRUE(obj.surfaceMesh.sameNode(mesh));
        EXPECT_EQ(obj.surfaceReady, 0);
    }
    {
        // Five corners, the fifth not a record: found by the numbering pass
        // after the flags are set. Two faces back to back close the mesh.
        Captured out;
        RiState st;
        SceneObject obj;
        ZilLValue mesh = SubdivisionMesh::linkNeighbours(
            testmesh::meshRecord(pts, {{0, 1, 2, 3}, {0, 3, 2, 1}}), out.stream());
        FieldArray face = mesh.fields().at(0).value.elements().at(0).fields();
        const ValueArray corners = face.at(0).value.elements();
        face.set(0, {face.at(0).name, ZilLValue::ARRAY(ValueArray{corners[0], corners[1], corners[2],
                                                                  corners[3], ZilLValue::INT(7)})});
        EXPECT_THROW(SubdivisionMesh::validate(obj, st, mesh, out.stream()), InternalError);
        EXPECT_EQ(out.text(),
                  "Error: A Catmull-Clark subdivision mesh can only have quads!\n"
                  "Internal Error: record match error: in function wrapInRECORD\n"
                  "Exception while validating object\n");
        EXPECT_EQ(obj.surfaceReady, 1);
        EXPECT_TRUE(st.recordedCalls.empty());
        EXPECT_FALSE(st.recording);
    }
}

TEST(SceneObject, SymmetricCubeGivesSymmetricSurface) {
    // The default cube is centred at the origin; with the same sharpness on
    // every edge and corner the drawn surface has the cube's symmetry.
    RiState st;
    SceneObject obj;
    const ZilLValue mesh = testmesh::defaultCubeRecord(0.4, 1.3);
    SubdivisionMesh::regenerate(obj, mesh, st, stdOut());
    const std::vector<Xyz>& pts = param(onlyCall(st), 0);
    auto has = [&](const Xyz& p) {
        for (const Xyz& q : pts)
            if (std::fabs(p.x - q.x) <= 1e-12 && std::fabs(p.y - q.y) <= 1e-12 &&
                std::fabs(p.z - q.z) <= 1e-12)
                return true;
        return false;
    };
    for (const Xyz& p : pts) {
        ASSERT_TRUE(has({-p.x, p.y, p.z}));
        ASSERT_TRUE(has({p.x, -p.y, p.z}));
        ASSERT_TRUE(has({p.z, p.x, p.y}));
    }
}
