#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "SurfaceRecordMeshes.hpp"
#include "SurfaceTestMeshes.hpp"
#include "mesh/CornerPoints.hpp"
#include "mesh/OutputWeights.hpp"
#include "mesh/SurfaceOutput.hpp"
#include "shell/Errors.hpp"
#include "shell/OutStream.hpp"

using namespace zil;
using namespace zil::SubdivisionMesh;

namespace {

bool near(const Xyz& a, const Xyz& b, double eps = 1e-12) {
    return std::fabs(a.x - b.x) <= eps && std::fabs(a.y - b.y) <= eps && std::fabs(a.z - b.z) <= eps;
}

// Sets the sharpness of edge (a, b) on both faces that share it.
void setEdgeSharpness(testmesh::QuadMesh& m, int a, int b, double s) {
    if (m.edgeSharpness.empty()) m.edgeSharpness.assign(m.quads.size(), {0.0, 0.0, 0.0, 0.0});
    for (std::size_t f = 0; f < m.quads.size(); ++f)
        for (std::size_t k = 0; k < 4; ++k) {
            const int c = m.quads[f][k], d = m.quads[f][(k + 1) & 3];
            if ((c == a && d == b) || (c == b && d == a)) m.edgeSharpness[f][k] = s;
        }
}

std::vector<GridFace> refined(const testmesh::QuadMesh& m, bool share = true) {
    auto faces = testmesh::gridFaces(m);
    refineGrids(faces, share);
    return faces;
}

SurfaceMesh surfaceOf(const testmesh::QuadMesh& m) {
    auto faces = refined(m);
    return buildSurface(faces, m.points);
}

// Level-2 cell of `face` at position p (0..4) along edge e in grid order.
Xyz edgeCell(const GridFace& face, int e, int p) {
    const PointGrid g = face.grid(2);
    switch (e) {
        case 1: return g.at(0, p);
        case 2: return g.at(p, 4);
        case 3: return g.at(4, p);
        default: return g.at(p, 0);
    }
}

}  // namespace

TEST(PointGrid, SizesAndBounds) {
    GridFace f;
    EXPECT_EQ(f.grid(1).rows(), 3);
    EXPECT_EQ(f.grid(2).cols(), 5);
    f.grid(1).at(2, 0) = {1, 2, 3};
    EXPECT_EQ(f.cells[4 + 6], (Xyz{1, 2, 3}));
    EXPECT_THROW(f.grid(0).at(2, 0), Subscript);
    EXPECT_THROW(f.grid(0).at(0, -1), Subscript);
    EXPECT_THROW(f.grid(3), Subscript);
}

TEST(SurfaceGrid, CountsOfTheCubeSurface) {
    const auto s = surfaceOf(testmesh::centredCube());
    // 8 vertices, 3 points inside each of 12 edges, 9 inside each of 6 faces.
    EXPECT_EQ(s.points.size(), 8u + 36u + 54u);
    EXPECT_EQ(s.normals.size(), s.points.size());
    EXPECT_EQ(s.counts.size(), 6u * 32u);
    EXPECT_EQ(s.indices.size(), 6u * 32u * 3u);
    EXPECT_TRUE(std::all_of(s.counts.begin(), s.counts.end(), [](int c) { return c == 3; }));
    // Every point is used and no two points coincide: the numbering shares
    // each edge and corner point between the faces that meet there.
    std::vector<int> used(s.points.size(), 0);
    for (int i : s.indices) ++used.at(static_cast<std::size_t>(i));
    EXPECT_TRUE(std::all_of(used.begin(), used.end(), [](int u) { return u > 0; }));
    for (std::size_t i = 0; i < s.points.size(); ++i)
        for (std::size_t j = i + 1; j < s.points.size(); ++j)
            ASSERT_FALSE(near(s.points[i], s.points[j], 1e-9)) << i << " " << j;
}

TEST(SurfaceGrid, BothFacesOfAnEdgeAgree) {
    auto m = testmesh::centredCube();
    setEdgeSharpness(m, 0, 1, 0.5);
    setEdgeSharpness(m, 1, 2, 1.5);
    setEdgeSharpness(m, 0, 3, 0.25);
    setEdgeSharpness(m, 6, 7, 2.5);
    m.vertexSharpness = {0.0, 0.7, 0.0, 0.0, 0.0, 0.0, 1.2, 0.0};
    // Every face computed on its own, and with the points shared.
    const auto own = refined(m, false);
    const auto shared = refined(m);
    for (std::size_t f = 0; f < own.size(); ++f) {
        for (int e = 1; e <= 4; ++e) {
            const int g = own[f].neighborFace[static_cast<std::size_t>(e - 1)];
            const int n = own[f].neighborEdge[static_cast<std::size_t>(e - 1)];
            // Both walks run in grid order; they run the same way along the
            // edge when exactly one of the two runs with its corner order.
            const bool same = (e <= 2) != (n <= 2);
            for (int p = 0; p < 5; ++p) {
                const Xyz mine = edgeCell(own[f], e, p);
                const Xyz other = edgeCell(own[static_cast<std::size_t>(g)], n, same ? p : 4 - p);
                EXPECT_TRUE(near(mine, other)) << "face " << f << " edge " << e << " cell " << p;
                EXPECT_TRUE(near(mine, edgeCell(shared[f], e, p)));
                EXPECT_EQ(edgeCell(shared[f], e, p),
                          edgeCell(shared[static_cast<std::size_t>(g)], n, same ? p : 4 - p));
            }
        }
        for (std::size_t c = 0; c < own[f].cells.size(); ++c)
            EXPECT_TRUE(near(own[f].cells[c], shared[f].cells[c]));
    }
}

TEST(SurfaceGrid, FullySharpEdgesKeepCornersAndStraightEdges) {
    auto m = testmesh::centredCube();
    m.edgeSharpness.assign(6, {3.0, 3.0, 3.0, 3.0});
    const auto s = surfaceOf(m);
    for (std::size_t v = 0; v < 8; ++v) EXPECT_EQ(s.points[v], m.points[v]);
    // Points on the cube's edges stay on them: two coordinates are +-1.
    const auto faces = refined(m);
    for (const GridFace& f : faces)
        for (int e = 1; e <= 4; ++e)
            for (int p = 0; p < 5; ++p) {
                const Xyz q = edgeCell(f, e, p);
                const int onFaces =
                    (std::fabs(q.x) == 1.0) + (std::fabs(q.y) == 1.0) + (std::fabs(q.z) == 1.0);
                EXPECT_GE(onFaces, 2);
            }
}

TEST(SurfaceGrid, SharpVerticesStayPut) {
    auto m = testmesh::centredCube();
    m.vertexSharpness.assign(8, 2.0);
    const auto s = surfaceOf(m);
    for (std::size_t v = 0; v < 8; ++v) EXPECT_EQ(s.points[v], m.points[v]);
    // Sharpness 1.5: the first level keeps the corner, the second moves it
    // only part of the way the smooth rule does.
    m.vertexSharpness.assign(8, 1.5);
    const auto half = refined(m);
    const auto smooth = refined(testmesh::centredCube());
    EXPECT_EQ(half[0].grid(1).at(0, 0), m.points[0]);
    const double x = std::fabs(half[0].grid(2).at(0, 0).x);
    EXPECT_LT(x, 1.0);
    EXPECT_GT(x, std::fabs(smooth[0].grid(2).at(0, 0).x));
}

TEST(SurfaceGrid, CreaseCornerFollowsTheCreaseRule) {
    // Two fully sharp edges at vertex 7 = (1, 1, 1): to (1, -1, 1) and
    // (-1, 1, 1). The first level's corner is 0.75 V + 0.125 (E1 + E2),
    // E being the level-0 neighbours along the sharp edges.
    auto m = testmesh::centredCube();
    setEdgeSharpness(m, 7, 3, 1.0);
    setEdgeSharpness(m, 7, 4, 1.0);
    const auto faces = refined(m);
    // Face 4 is [3, 7, 4, 0]: vertex 7 is its corner 1.
    EXPECT_TRUE(near(faces[4].grid(1).at(0, 2), {0.75, 0.75, 1.0}, 1e-15));
}

TEST(SurfaceGrid, WalkThatNeverReturnsRaises) {
    auto faces = testmesh::gridFaces(testmesh::centredCube());
    // Face 1's edge 1 now leads back into face 1 itself: the walk around
    // vertex 0 from face 0 circles without meeting its stop face.
    faces[1].neighborFace[0] = 1;
    faces[1].neighborEdge[0] = 4;
    CornerRing ring;
    EXPECT_THROW(cornerPoint(faces, 0, 0, 0, ring), InconsistencyError);
}

TEST(SurfaceGrid, BadLinksRaise) {
    auto faces = testmesh::gridFaces(testmesh::centredCube());
    CornerRing ring;
    faces[0].neighborEdge[0] = -4;
    EXPECT_THROW(cornerPoint(faces, 0, 0, 0, ring), InconsistencyError);
    faces[0].neighborEdge[0] = 4;
    faces[0].neighborFace[0] = -1;
    EXPECT_THROW(cornerPoint(faces, 0, 0, 0, ring), Subscript);
    EXPECT_THROW(pointWeights(faces, 0, 1, 0), Subscript);
    faces[0].neighborFace[0] = 1;
    faces[0].neighborEdge[0] = 0;
    EXPECT_THROW(pointWeights(faces, 0, 1, 0), InconsistencyError);
}

TEST(SurfaceGrid, TriangleOrderAndDegenerateNormals) {
    // One face linked to itself all round, every point at the origin.
    std::vector<GridFace> faces(1);
    faces[0].vertexIndex = {0, 1, 2, 3};
    faces[0].neighborFace = {0, 0, 0, 0};
    faces[0].neighborEdge = {3, 4, 1, 2};
    const std::vector<Xyz> vertices(5, Xyz{2, 2, 2});
    const auto s = buildSurface(faces, vertices);
    ASSERT_EQ(s.indices.size(), 96u);
    // Corner indices: 0 (0,0), 1 (0,4), 2 (4,4), 3 (4,0). Cell (3,3) first,
    // split along a-c': its first triangle is (a, b, c') with c' = corner 2.
    EXPECT_EQ(s.indices[2], 2);
    // Cell (0,0) last: its second triangle (a, c', d) with a = corner 0.
    EXPECT_EQ(s.indices[93], 0);
    // Cell (3,0) comes fourth from the front and is split along b-d: its
    // first triangle (b, c', d) ends at d = corner 3.
    EXPECT_EQ(s.indices[3 * 6 + 2], 3);
    // Degenerate cells give zero normals; the unused vertex 4 keeps its point.
    for (const Xyz& n : s.normals) EXPECT_EQ(n, (Xyz{0, 0, 0}));
    EXPECT_EQ(s.points[4], (Xyz{2, 2, 2}));
    EXPECT_EQ(s.points[0], (Xyz{0, 0, 0}));
}

TEST(SurfaceGrid, ReadsTheGridFacesOfALinkedRecord) {
    const auto m = testmesh::centredCube();
    auto in = readSurfaceInput(testmesh::meshRecord(m.points, m.quads, 0.5, 1.25, true), stdOut());
    const auto expected = testmesh::gridFaces(m);
    ASSERT_EQ(in.faces.size(), expected.size());
    EXPECT_EQ(in.vertexPoints, m.points);
    for (std::size_t f = 0; f < expected.size(); ++f) {
        EXPECT_EQ(in.faces[f].neighborEdge, expected[f].neighborEdge);
        EXPECT_EQ(in.faces[f].edgeSharpness[3], 1.25);
        EXPECT_EQ(in.faces[f].vertexSharpness[2], 0.5);
        EXPECT_EQ(in.faces[f].grid(0).at(1, 0), expected[f].grid(0).at(1, 0));
    }
    EXPECT_THROW(readSurfaceInput(ZilLValue::REAL(1.0), stdOut()), Match);
    EXPECT_THROW(readSurfaceInput(testmesh::meshRecord({{0, 0, 0}}, {{0, 0, 0, 1}}), stdOut()), Subscript);
}

TEST(SurfaceGrid, UnusedVertexKeepsItsPosition) {
    auto m = testmesh::centredCube();
    m.points.push_back({4, 5, 6});
    const ZilLValue mesh = testmesh::meshRecord(m.points, m.quads, 0.0, 0.0, true);
    auto in = readSurfaceInput(mesh, stdOut());
    refineGrids(in.faces);
    const auto s = buildSurface(in.faces, in.vertexPoints);
    EXPECT_EQ(s.points[8], (Xyz{4, 5, 6}));
    EXPECT_EQ(s.normals[8], (Xyz{0, 0, 0}));
    EXPECT_EQ(s.points.size(), 9u + 36u + 54u);
}
