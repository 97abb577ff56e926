#include <algorithm>

#include "mesh/CornerPoints.hpp"
#include "mesh/MeshTestUtil.hpp"
#include "mesh/OutputWeights.hpp"
#include "mesh/SceneObject.hpp"
#include "render/RiState.hpp"

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
    return buildSurface(in.faces, in.vertexCount);
}

// Level-2 cell of `face` at position p (0..4) along edge e in grid order.
Xyz edgeCell(const GridFace& face, int e, int p) {
    const PointGrid g = face.grid(2);
    return e == 1 ? g.at(0, p) : e == 2 ? g.at(p, 4) : e == 3 ? g.at(4, p) : g.at(p, 0);
}

// Fills a grid with x = base + column + 10 row, so that every cell is told
// apart by its x alone.
void number(const PointGrid& g, double base) {
    for (int r = 0; r < g.rows(); ++r)
        for (int c = 0; c < g.cols(); ++c) g.at(r, c) = {base + c + 10.0 * r, 0.0, 0.0};
}

}  // namespace

// Edge 1 of face 0 meets edge 1 of face 1. Face 0's grid numbers its cells
// 1 + c + 10 r, face 1's 101 + c + 10 r. Edge 1 runs along row 0; the line
// inside is row 1; face 1's row 1 runs the other way along the shared edge.
// Level 1: V = 1, 2, 3; I = 11, 12, 13; N = 113, 112, 111.
//   Corner rule at X of valence k, t = cos(2 pi / (k - 1)) / 4:
//   k = 3: t = -1/4, so 1/8 X + 5/8 Y; k = 4: t = -1/8, so 1/4 X + 1/2 Y.
//   Cell 1 (X = V0 = 1, Y = 2, k = 3): 1/8 + 5/4 + 1/16 (113 + 112 + 11 + 12)
//     = 1.375 + 15.5 = 16.875; sharp: 3/4 + 1/2 = 1.25.
//   Cell 3 (X = V2 = 3, Y = 2, k = 4): 3/4 + 1 + 1/16 (112 + 111 + 12 + 13)
//     = 17.25; sharp: the midpoint 2.5.
//   Cell 2 (vertex V1): 0.5625 * 2 + 0.09375 (1 + 3 + 112 + 12)
//     + 0.015625 (113 + 111 + 11 + 13) = 1.125 + 12 + 3.875 = 17;
//     sharp: 3/4 * 2 + 1/8 (1 + 3) = 2.
//   Sharpness 1.5 counts 0.5 on level 1: half-way, 9.0625, 9.5, 9.875.
// Level 0: V = 1, 2; I = 11, 12; N = 112, 111; the wings sum to 246.
//   Regular: 3/8 (1 + 2) + 1/16 * 246 = 16.5; corner rule of valence 4 at
//   V0: 1/4 + 1 + 15.375 = 16.625; at V1: 1/2 + 1/2 + 15.375 = 16.375.
TEST(SurfaceGrid, EdgeRulesByLevelValenceAndSharpness) {
    struct Case {
        int level, startValence, endValence;
        double sharpness;
        std::vector<double> cells;  // x of the fine cells 1 .. inside the edge
    };
    const Case cases[] = {
        {1, 3, 4, 0.0, {16.875, 17.0, 17.25}},
        {1, 3, 4, 2.0, {1.25, 2.0, 2.5}},
        {1, 3, 4, 1.5, {9.0625, 9.5, 9.875}},
        {1, 4, 3, 2.0, {1.5, 2.0, 2.75}},  // 1/2 (1 + 2); 3/4 * 3 + 1/4 * 2
        {0, 4, 4, 0.0, {16.5}},
        {0, 3, 5, 0.0, {16.5}},
        {0, 4, 3, 0.0, {16.625}},
        {0, 3, 4, 0.0, {16.375}},
        {0, 4, 3, 1.0, {1.5}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "level " << c.level << ", valences " << c.startValence << " "
                                        << c.endValence << ", sharpness " << c.sharpness);
        std::vector<GridFace> faces(2);
        for (int f = 0; f < 2; ++f) {
            faces[f].neighborFace[0] = 1 - f;
            faces[f].neighborEdge[0] = 1;
            faces[f].edgeSharpness[0] = c.sharpness;
            faces[f].cornerValences = {c.startValence, c.endValence, 4, 4};
            number(faces[f].grid(c.level), 1.0 + 100.0 * f);
        }
        pointWeights(faces, 0, 1, c.level);
        const PointGrid fine = faces[0].grid(c.level + 1);
        for (std::size_t i = 0; i < c.cells.size(); ++i) expectNear(fine.at(0, static_cast<int>(i) + 1), {c.cells[i], 0, 0});
        EXPECT_EQ(fine.at(0, 0), Xyz{});  // the corners are the corner rule's
    }
}

// One coarse grid whose x marks the centre (1, 1), y its four row and column
// neighbours and z its four diagonal neighbours: every rule shows its
// weights on the three coordinates.
TEST(SurfaceGrid, InteriorRulesUseTheRegularWeights) {
    GridFace f;
    const PointGrid coarse = f.grid(1);
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) {
            const int d = std::abs(r - 1) + std::abs(c - 1);
            coarse.at(r, c) = {d == 0 ? 1.0 : 0.0, d == 1 ? 1.0 : 0.0, d == 2 ? 1.0 : 0.0};
        }
    const PointGrid fine = f.grid(2);
    refineInterior(coarse, fine);
    // Vertex point of the centre: 0.5625; 4 x 0.09375; 4 x 0.015625.
    EXPECT_EQ(fine.at(2, 2), (Xyz{0.5625, 0.375, 0.0625}));
    // Edge point between (1, 0) and the centre: 3/8 on each end, 1/16 on
    // the wings (0, 0), (0, 1), (2, 0), (2, 1).
    EXPECT_EQ(fine.at(2, 1), (Xyz{0.375, 0.5, 0.125}));
    EXPECT_EQ(fine.at(1, 2), (Xyz{0.375, 0.5, 0.125}));
    // Face point of (0, 0), (0, 1), (1, 1), (1, 0): their average.
    EXPECT_EQ(fine.at(1, 1), (Xyz{0.25, 0.5, 0.25}));
    EXPECT_EQ(fine.at(0, 2), Xyz{});  // the border is left alone
}

// Vertex 0 = (-1, -1, 1) of the cube of side 2, on level 0: three faces;
// its edges end at vertices 1, 3, 4 (summing to (-1, -1, 1)); the faces'
// opposite corners are 2, 5, 7 (summing to (1, 1, -1)). With n = 3:
// alpha = 5/12, beta = 1/6, gamma = 1/36, so
// R = (5/12 + 1/6) (-1, -1, 1) + 1/36 (1, 1, -1) = 5/9 (-1, -1, 1).
TEST(SurfaceGrid, CornerPointBlendsByTheVertexSharpness) {
    struct Case {
        double vertexSharpness;
        double expected;  // the corner lands at expected * (-1, -1, 1)
    };
    for (const Case c : {Case{0.0, 5.0 / 9.0}, Case{0.5, 7.0 / 9.0}, Case{1.5, 1.0}, Case{-2.0, 5.0 / 9.0}}) {
        auto faces = surfaceInput(cubeOfSide(2.0, c.vertexSharpness)).faces;
        CornerRing ring;
        cornerPoint(faces, 0, 0, 0, ring);
        expectNear(faces[0].grid(1).at(0, 0), c.expected * Xyz{-1, -1, 1});
        EXPECT_EQ(faces[0].cornerValences[0], 3);
    }
}

TEST(SurfaceGrid, BadCellsRecordsAndLinksRaise) {
    EXPECT_THROW(GridFace().grid(0).at(2, 0), Subscript);
    EXPECT_THROW(GridFace().grid(3), Subscript);
    EXPECT_THROW(readSurfaceInput(ZilLValue::REAL(1.0), stdOut()), Match);
    EXPECT_THROW(readSurfaceInput(meshRecord({{0, 0, 0}}, {{0, 0, 0, 1}}), stdOut()), Subscript);
    const auto linked = surfaceInput(cubeOfSide(2.0)).faces;
    CornerRing ring;
    // Face 1's edge 1 leads back into face 1: the walk around vertex 0 from
    // face 0 circles without meeting its stop face.
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

TEST(SurfaceGrid, CubeSurfaceSharesEdgeAndCornerPointsAndBothSidesAgree) {
    const ZilLValue m = cubeOfSide(2.0);
    const auto s = surfaceOf(m);
    // 8 vertices, 3 points inside each of 12 edges, 9 inside each of 6 faces;
    // every point used and no two alike.
    EXPECT_EQ(s.points.size(), 8u + 36u + 54u);
    EXPECT_EQ(s.indices.size(), 6u * 32u * 3u);
    std::vector<int> used(s.points.size(), 0);
    for (int i : s.indices) ++used.at(static_cast<std::size_t>(i));
    EXPECT_EQ(std::count(used.begin(), used.end(), 0), 0);
    for (std::size_t i = 0; i < s.points.size(); ++i)
        for (std::size_t j = i + 1; j < s.points.size(); ++j)
            ASSERT_FALSE(near(s.points[i], s.points[j], 1e-9)) << i << " " << j;

    for (auto [a, b, x] : std::vector<std::tuple<int, int, double>>{{0, 1, 0.5}, {1, 2, 1.5}, {0, 3, 0.25}, {6, 7, 2.5}})
        sharpenEdge(m, a, b, x);
    setReal(vertices(m), 1, N().vertexSharpness, 0.7);
    setReal(vertices(m), 6, N().vertexSharpness, 1.2);
    setReal(corners(m, 0), 2, N().edgeSharpness, 0.9);  // edge 2-3 on face 0 alone
    // Every face computed on its own, and with the points shared.
    const auto own = refined(m, false), shared = refined(m);
    for (std::size_t f = 0; f < own.size(); ++f) {
        for (std::size_t e = 1; e <= 4; ++e) {
            const auto g = static_cast<std::size_t>(own[f].neighborFace[e - 1]);
            const int n = own[f].neighborEdge[e - 1];
            // Both walks run in grid order, the same way along the edge when
            // exactly one of the two runs with its corner order.
            const bool same = (e <= 2) != (n <= 2);
            const bool agree = own[f].edgeSharpness[e - 1] == own[g].edgeSharpness[std::size_t(n - 1)];
            for (int p = 0; p < 5; ++p) {
                const Xyz mine = edgeCell(own[f], int(e), p);
                EXPECT_TRUE(!agree || near(mine, edgeCell(own[g], n, same ? p : 4 - p))) << f << " " << e << " " << p;
                EXPECT_TRUE(near(mine, edgeCell(shared[f], int(e), p)));
                EXPECT_TRUE(!agree || edgeCell(shared[f], int(e), p) == edgeCell(shared[g], n, same ? p : 4 - p));
            }
        }
        for (std::size_t c = 0; c < own[f].cells.size(); ++c) EXPECT_TRUE(near(own[f].cells[c], shared[f].cells[c]));
    }
}

TEST(SurfaceGrid, SharpCornersAndCreases) {
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
    // Sharp edges from vertex 7 = (1, 1, 1) to (1, -1, 1) and (-1, 1, 1):
    // level 1's corner is 0.75 V + 0.125 (E1 + E2). Vertex 7 is corner 1 of
    // face 4 = [3, 7, 4, 0].
    const ZilLValue crease = cubeOfSide(2.0);
    sharpenEdge(crease, 7, 3, 1.0);
    sharpenEdge(crease, 7, 4, 1.0);
    EXPECT_TRUE(near(refined(crease)[4].grid(1).at(0, 2), {0.75, 0.75, 1.0}, 1e-15));
}

TEST(SurfaceGrid, TriangleOrderZeroNormalsAndUnusedVertices) {
    // One face linked to itself all round, every point at the origin, and a
    // fifth vertex no face uses.
    std::vector<GridFace> faces(1);
    faces[0].vertexIndex = {0, 1, 2, 3};
    faces[0].neighborEdge = {3, 4, 1, 2};
    const auto s = buildSurface(faces, 5);
    ASSERT_EQ(s.indices.size(), 96u);
    // Corners get indices 0 (0,0), 1 (0,4), 2 (4,4), 3 (4,0). Cell (3,0)
    // comes fourth from the front, split along b-d: its first triangle
    // (b, c', d) ends at d = corner 3.
    EXPECT_EQ(s.indices[3 * 6 + 2], 3);
    // Degenerate cells give zero normals; the unused vertex is the zero point.
    for (const Xyz& n : s.normals) EXPECT_EQ(n, (Xyz{0, 0, 0}));
    EXPECT_EQ(s.points[4], (Xyz{0, 0, 0}));
    // What is drawn has a vertex no corner names as the zero point with the
    // zero normal, though it is a record with a point of its own, and though
    // the frame before drew it: the output storage is reused between frames.
    std::vector<Xyz> points = cubePoints(1.0);
    points.push_back({9, 9, 9});
    std::vector<Ints> uses8 = cubeFaceList();
    for (Ints& f : uses8) std::replace(f.begin(), f.end(), 7, 8);
    Capture cap;
    RiState st;
    SceneObject obj;
    validate(obj, st, linkNeighbours(meshRecord(points, uses8), cap.out()), cap.out());
    ASSERT_EQ(obj.definition.recordedCalls.size(), 1u);
    EXPECT_NE(obj.definition.recordedCalls.front().params.at(0).value.xyz.at(8), (Xyz{0, 0, 0}));
    EXPECT_NE(obj.definition.recordedCalls.front().params.at(1).value.xyz.at(8), (Xyz{0, 0, 0}));
    const ZilLValue m = linkNeighbours(meshRecord(points, cubeFaceList()), cap.out());
    validate(obj, st, m, cap.out());
    EXPECT_EQ(cap.text(), "");
    ASSERT_EQ(obj.definition.recordedCalls.size(), 1u);
    const RiParamList& drawn = obj.definition.recordedCalls.front().params;
    ASSERT_EQ(drawn.size(), 2u);
    // Nine vertices, three points inside each of 12 edges, nine inside each of 6 faces.
    ASSERT_EQ(drawn[0].value.xyz.size(), 9u + 12u * 3u + 6u * 9u);
    EXPECT_EQ(drawn[0].value.xyz[8], (Xyz{0, 0, 0}));
    EXPECT_EQ(drawn[1].value.xyz[8], (Xyz{0, 0, 0}));
    // Nor is it read: it need not even be a record.
    vertices(m).set(8, ZilLValue::INT(7));
    EXPECT_EQ(surfaceOf(m).points.at(8), (Xyz{0, 0, 0}));
}

// A second frame into the same output and workspace: a cube twice the size
// has four times the facet normals, so sums or counts carried over from the
// first frame would show.
TEST(SurfaceGrid, AReusedOutputStartsItsNormalsAfresh) {
    SurfaceMesh out;
    SurfaceWorkspace work;
    for (double side : {2.0, 4.0}) {
        auto in = surfaceInput(cubeOfSide(side));
        refineGrids(in.faces);
        buildSurface(in.faces, in.vertexCount, out, work);
    }
    EXPECT_EQ(out.normals, surfaceOf(cubeOfSide(4.0)).normals);
}
