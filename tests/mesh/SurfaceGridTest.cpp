#include <algorithm>

#include "mesh/CornerPoints.hpp"
#include "mesh/MeshTestUtil.hpp"
#include "mesh/OutputWeights.hpp"

using namespace zil;
using namespace zil::test;
using namespace zil::SubdivisionMesh;

namespace {

std::vector<GridFace> refined(const ZilLValue& m, bool share = true) {
    auto faces = surfaceInput(m).faces;
    refineGrids(faces, share);
    return faces;
}

SurfaceMesh surfaceOf(const ZilLValue& m) {
    auto in = surfaceInput(m);
    refineGrids(in.faces);
    return buildSurface(in.faces, in.vertexPoints);
}

// Level-2 cell of `face` at position p (0..4) along edge e in grid order.
Xyz edgeCell(const GridFace& face, int e, int p) {
    const PointGrid g = face.grid(2);
    return e == 1 ? g.at(0, p) : e == 2 ? g.at(p, 4) : e == 3 ? g.at(4, p) : g.at(p, 0);
}

}  // namespace

TEST(SurfaceGrid, BadCellsRecordsAndLinksRaise) {
    GridFace f;
    f.grid(1).at(2, 0) = {1, 2, 3};
    EXPECT_EQ(f.cells[4 + 6], (Xyz{1, 2, 3}));
    EXPECT_THROW(f.grid(0).at(2, 0), Subscript);
    EXPECT_THROW(f.grid(0).at(0, -1), Subscript);
    EXPECT_THROW(f.grid(3), Subscript);
    EXPECT_THROW(readSurfaceInput(ZilLValue::REAL(1.0), stdOut()), Match);
    EXPECT_THROW(readSurfaceInput(meshRecord({{0, 0, 0}}, {{0, 0, 0, 1}}), stdOut()), Subscript);

    const auto linked = surfaceInput(cubeOfSide(2.0)).faces;
    CornerRing ring;
    // Face 1's edge 1 leads back into face 1 itself: the walk around vertex
    // 0 from face 0 circles without meeting its stop face.
    auto faces = linked;
    faces[1].neighborFace[0] = 1;
    faces[1].neighborEdge[0] = 4;
    EXPECT_THROW(cornerPoint(faces, 0, 0, 0, ring), InconsistencyError);
    faces = linked;
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

TEST(SurfaceGrid, CubeSurfaceSharesEdgeAndCornerPoints) {
    const auto s = surfaceOf(cubeOfSide(2.0));
    // 8 vertices, 3 points inside each of 12 edges, 9 inside each of 6 faces.
    EXPECT_EQ(s.points.size(), 8u + 36u + 54u);
    EXPECT_EQ(s.indices.size(), 6u * 32u * 3u);
    // Every point is used and no two coincide: the numbering shares each
    // edge and corner point between the faces that meet there.
    std::vector<int> used(s.points.size(), 0);
    for (int i : s.indices) ++used.at(static_cast<std::size_t>(i));
    EXPECT_TRUE(std::all_of(used.begin(), used.end(), [](int u) { return u > 0; }));
    for (std::size_t i = 0; i < s.points.size(); ++i)
        for (std::size_t j = i + 1; j < s.points.size(); ++j)
            ASSERT_FALSE(near(s.points[i], s.points[j], 1e-9)) << i << " " << j;
}

TEST(SurfaceGrid, BothFacesOfAnEdgeAgree) {
    const ZilLValue m = cubeOfSide(2.0);
    for (auto [a, b, s] :
         std::vector<std::tuple<int, int, double>>{{0, 1, 0.5}, {1, 2, 1.5}, {0, 3, 0.25}, {6, 7, 2.5}})
        sharpenEdge(m, a, b, s);
    setReal(vertices(m), 1, N().vertexSharpness, 0.7);
    setReal(vertices(m), 6, N().vertexSharpness, 1.2);
    // Every face computed on its own, and with the points shared.
    const auto own = refined(m, false);
    const auto shared = refined(m);
    for (std::size_t f = 0; f < own.size(); ++f) {
        for (int e = 1; e <= 4; ++e) {
            const std::size_t g = static_cast<std::size_t>(own[f].neighborFace[static_cast<std::size_t>(e - 1)]);
            const int n = own[f].neighborEdge[static_cast<std::size_t>(e - 1)];
            // Both walks run in grid order; they run the same way along the
            // edge when exactly one of the two runs with its corner order.
            const bool same = (e <= 2) != (n <= 2);
            for (int p = 0; p < 5; ++p) {
                const Xyz mine = edgeCell(own[f], e, p);
                EXPECT_TRUE(near(mine, edgeCell(own[g], n, same ? p : 4 - p))) << f << " " << e << " " << p;
                EXPECT_TRUE(near(mine, edgeCell(shared[f], e, p)));
                EXPECT_EQ(edgeCell(shared[f], e, p), edgeCell(shared[g], n, same ? p : 4 - p));
            }
        }
        for (std::size_t c = 0; c < own[f].cells.size(); ++c) EXPECT_TRUE(near(own[f].cells[c], shared[f].cells[c]));
    }
}

TEST(SurfaceGrid, SharpnessReachesTheLimitPositions) {
    // Fully sharp corners stay put, and so do the corners of fully sharp
    // edges, whose points stay on the cube's edges (two coordinates +-1).
    for (const ZilLValue& m : {cubeOfSide(2.0, 2.0), cubeOfSide(2.0, 0.0, 3.0)}) {
        const auto s = surfaceOf(m);
        for (std::size_t v = 0; v < 8; ++v) EXPECT_EQ(s.points[v], pointOf(m, v));
    }
    for (const GridFace& f : refined(cubeOfSide(2.0, 0.0, 3.0)))
        for (int e = 1; e <= 4; ++e)
            for (int p = 0; p < 5; ++p) {
                const Xyz q = edgeCell(f, e, p);
                EXPECT_GE((std::fabs(q.x) == 1.0) + (std::fabs(q.y) == 1.0) + (std::fabs(q.z) == 1.0), 2);
            }
    // Sharpness 1.5: the first level keeps the corner, the second moves it
    // only part of the way the smooth rule does.
    const auto half = refined(cubeOfSide(2.0, 1.5));
    EXPECT_EQ(half[0].grid(1).at(0, 0), (Xyz{-1, -1, 1}));
    const double x = std::fabs(half[0].grid(2).at(0, 0).x);
    EXPECT_LT(x, 1.0);
    EXPECT_GT(x, std::fabs(refined(cubeOfSide(2.0))[0].grid(2).at(0, 0).x));
    // Two fully sharp edges at vertex 7 = (1, 1, 1), to (1, -1, 1) and
    // (-1, 1, 1): the first level's corner is 0.75 V + 0.125 (E1 + E2).
    const ZilLValue crease = cubeOfSide(2.0);
    sharpenEdge(crease, 7, 3, 1.0);
    sharpenEdge(crease, 7, 4, 1.0);
    // Face 4 is [3, 7, 4, 0]: vertex 7 is its corner 1.
    EXPECT_TRUE(near(refined(crease)[4].grid(1).at(0, 2), {0.75, 0.75, 1.0}, 1e-15));
}

TEST(SurfaceGrid, TriangleOrderZeroNormalsAndUnusedVertices) {
    // One face linked to itself all round, every point at the origin.
    std::vector<GridFace> faces(1);
    faces[0].vertexIndex = {0, 1, 2, 3};
    faces[0].neighborFace = {0, 0, 0, 0};
    faces[0].neighborEdge = {3, 4, 1, 2};
    const auto s = buildSurface(faces, std::vector<Xyz>(5, Xyz{2, 2, 2}));
    ASSERT_EQ(s.indices.size(), 96u);
    // Corner indices: 0 (0,0), 1 (0,4), 2 (4,4), 3 (4,0). Cell (3,0) comes
    // fourth from the front and is split along b-d: its first triangle
    // (b, c', d) ends at d = corner 3. (The first and last triangles are
    // checked on the cube, in the scene object's tests.)
    EXPECT_EQ(s.indices[3 * 6 + 2], 3);
    // Degenerate cells give zero normals; the unused vertex 4 keeps its point.
    for (const Xyz& n : s.normals) EXPECT_EQ(n, (Xyz{0, 0, 0}));
    EXPECT_EQ(s.points[4], (Xyz{2, 2, 2}));
    EXPECT_EQ(s.points[0], (Xyz{0, 0, 0}));
}
