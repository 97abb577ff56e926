#include <algorithm>
#include <limits>

#include "mesh/MeshTestUtil.hpp"
#include "mesh/SubdivisionStep.hpp"
#include "mesh/VertexRules.hpp"

using namespace zil;
using namespace zil::test;

namespace {

// Links the mesh and subdivides it once; nothing may be reported.
ZilLValue step(const ZilLValue& mesh) {
    Capture cap;
    SubdivisionMesh::linkNeighbours(mesh, cap.out());
    ZilLValue next = SubdivisionMesh::subdivideStep(mesh, cap.out());
    EXPECT_EQ(cap.text(), "");
    return next;
}

// The cube's edges in the order their points are numbered (14 .. 25).
const std::vector<std::pair<int, int>> kEdgePointOrder{{0, 1}, {1, 2}, {2, 3}, {0, 3}, {0, 4}, {4, 5},
                                                       {1, 5}, {5, 6}, {4, 7}, {6, 7}, {3, 7}, {2, 6}};

// The vertex rule at a valence-4 vertex with the given edge sharpness; every
// edge listed twice, as the step does.
Xyz starRule(std::vector<double> s, Xyz v = {}) {
    const std::vector<Xyz> faces{{1, 1, 0}, {-1, 1, 0}, {-1, -1, 0}, {1, -1, 0}};
    const std::vector<Xyz> points{{1, 0, 1}, {0, 1, 2}, {-1, 0, 3}, {0, -1, 4}};
    std::vector<SubdivisionMesh::EdgeEntry> edges;
    for (int round = 0; round < 2; ++round)
        for (std::size_t i = 0; i < 4; ++i) edges.push_back({s[i], points[i]});
    return SubdivisionMesh::vertexPointWithSharpness(v, faces, edges, Constants::vertexWeights);
}

}  // namespace

TEST(VertexRules, SmoothDartCreaseAndCorner) {
    // Valence 4: 0.5625 V, 0.09375 per edge, 0.015625 per face (summing to 0).
    const Xyz smooth = starRule({0, 0, 0, 0});
    expectNear(starRule({0, 0, 0, 0}, {1, 0, 0}), {0.5625, 0.0, 0.09375 * 10});
    // A dart (one sharp edge) moves like a smooth vertex.
    expectNear(starRule({1.0, 0, 0, 0}), smooth);
    // Two: C = 0.75 V + 0.125 (P0 + P2), blended by the mean sharpness.
    const Xyz crease{0.0, 0.0, 0.5};
    expectNear(starRule({1.0, 0, 1.0, 0}), crease);
    expectNear(starRule({1.0, 0, 0.5, 0}), blend(smooth, crease, 0.75));
    expectNear(starRule({0.01, 0, 0.01, 0}), blend(smooth, crease, 0.01));
    // Three or more: towards the vertex itself.
    const Xyz v{0.25, 0.5, 0.75};
    expectNear(starRule({1.0, 1.0, 1.0, 0}, v), v);
    expectNear(starRule({0.5, 0.5, 0.5, 0.5}, v), blend(starRule({0, 0, 0, 0}, v), v, 0.5));
    // No faces at all: the vertex stays.
    expectNear(SubdivisionMesh::vertexPointWithSharpness({1, 2, 3}, {}, {}, Constants::vertexWeights), {1, 2, 3});
    for (double s : {-1.0, std::numeric_limits<double>::quiet_NaN()})
        EXPECT_EQ(SubdivisionMesh::clampSharpness(s), 0.0);
    EXPECT_EQ(SubdivisionMesh::clampSharpness(2.5), 1.0);
}

TEST(SubdivisionStep, CubeCountsNumberingAndSmoothRules) {
    const ZilLValue cube = cubeOfSide(2.0);
    const ZilLValue next = step(cube);
    ASSERT_EQ(vertices(next).size(), 26u);
    ASSERT_EQ(faces(next).size(), 24u);
    // Face 4f + i: corner i's vertex, its edge point, face point 8 + f, and
    // the point of the edge coming in.
    EXPECT_EQ(faceVertices(next, 1), (Ints{1, 15, 8, 14}));
    for (std::size_t f = 0; f < 24; ++f) {
        const Ints vs = faceVertices(next, f);
        EXPECT_EQ(std::pair(vs[0], vs[2]), std::pair(Constants::cubeFaces[f / 4][f % 4], std::int32_t(8 + f / 4)));
    }
    // The input got its valences and nothing else.
    EXPECT_EQ(fieldNames(vertex(cube, 3)), (Names{"vertexSharpness", "point", "vertexValence"}));
    const ZilLValue third = step(next);
    for (std::size_t i = 0; i < 26; ++i) EXPECT_EQ(intOf(vertex(next, i), N().vertexValence), i < 8 ? 3 : 4);
    EXPECT_EQ(std::pair(faces(third).size(), vertices(third).size()), std::pair(96ul, 98ul));

    const std::vector<Xyz> facePoints{{0, -1, 0}, {-1, 0, 0}, {0, 1, 0}, {1, 0, 0}, {0, 0, 1}, {0, 0, -1}};
    for (std::size_t f = 0; f < 6; ++f) expectNear(pointOf(next, 8 + f), facePoints[f]);
    for (std::size_t e = 0; e < 12; ++e) {
        const auto [a, b] = kEdgePointOrder[e];
        expectNear(pointOf(next, 14 + e), 0.875 * mid(pointOf(cube, a), pointOf(cube, b)));
    }
    for (std::size_t i = 0; i < 8; ++i) expectNear(pointOf(next, i), (53.0 / 72.0) * pointOf(cube, i));
}

TEST(SubdivisionStep, SharpCreasesDecayByOnePerStep) {
    const ZilLValue cube = cubeOfSide(2.0);
    // The eight edges of the faces z = 1 and z = -1.
    const std::vector<std::pair<int, int>> rims{{3, 7}, {4, 7}, {0, 4}, {0, 3}, {5, 6}, {2, 6}, {1, 2}, {1, 5}};
    for (auto [a, b] : rims) sharpenEdge(cube, a, b, 2.0);
    const ZilLValue next = step(cube);
    for (std::size_t e = 0; e < 12; ++e) {
        const Xyz m = mid(pointOf(cube, kEdgePointOrder[e].first), pointOf(cube, kEdgePointOrder[e].second));
        const bool sharp = std::count(rims.begin(), rims.end(), kEdgePointOrder[e]) == 1;
        expectNear(pointOf(next, 14 + e), sharp ? m : 0.875 * m);
    }
    // Vertex 7 sits on two sharp edges: the crease rule.
    expectNear(pointOf(next, 7), {0.875, 0.875, 1.0});

    // The halves of a sharp edge carry 1.0 (on both faces); the edges into
    // the face point carry 0.0.
    int carrying = 0;
    for (std::size_t f = 0; f < 24; ++f)
        for (std::size_t k = 0; k < 4; ++k) {
            const double s = realOf(corner(next, f, k), N().edgeSharpness);
            carrying += s != 0.0;
            EXPECT_TRUE(s == 0.0 || (s == 1.0 && (k == 0 || k == 3)));
        }
    EXPECT_EQ(carrying, 8 * 2 * 2);
}

TEST(SubdivisionStep, SemiSharpEdgesAndVerticesBlend) {
    const ZilLValue smooth = step(cubeOfSide(2.0));
    // Edge 0-1 (point 14) and vertex 6 share nothing.
    for (double s : {0.0, 0.5, 1.0, 2.5}) {
        const ZilLValue cube = cubeOfSide(2.0);
        sharpenEdge(cube, 0, 1, s);
        setReal(vertices(cube), 6, N().vertexSharpness, s);
        const ZilLValue next = step(cube);
        const double t = std::min(s, 1.0), left = s > 1.0 ? s - 1.0 : 0.0;
        expectNear(pointOf(next, 14), blend(pointOf(smooth, 14), mid(pointOf(cube, 0), pointOf(cube, 1)), t));
        expectNear(pointOf(next, 6), blend(pointOf(smooth, 6), pointOf(cube, 6), t));
        for (std::size_t i = 8; i < 26; ++i)
            if (i != 14) expectNear(pointOf(next, i), pointOf(smooth, i));
        // New face 0 starts on 0 -> 14, new face 1 ends on 14 -> 1.
        EXPECT_EQ(realOf(corner(next, 0, 0), N().edgeSharpness), left);
        EXPECT_EQ(realOf(corner(next, 1, 3), N().edgeSharpness), left);
        EXPECT_EQ(realOf(vertex(next, 6), N().vertexSharpness), left);
    }
}

TEST(SubdivisionStep, EdgeNextToAValenceFourEndUsesTheCrossRule) {
    // Edge 0 -> 14 of level-1 face 0 (valence 3 at 0, 4 at 14): 0.125 on
    // each face point, 0.25 on the regular end 14, 0.5 on the other.
    const ZilLValue level1 = step(DemoPage::defaultCube());
    const ZilLValue level2 = step(level1);
    Xyz e = 0.25 * pointOf(level1, 14) + 0.5 * pointOf(level1, 0);
    for (std::int32_t f : {0, intOf(corner(level1, 0, 0), N().neighborface)})
        for (std::int32_t v : faceVertices(level1, static_cast<std::size_t>(f)))
            e += (0.125 / 4) * pointOf(level1, static_cast<std::size_t>(v));
    expectNear(pointOf(level2, static_cast<std::size_t>(faceVertices(level2, 0)[1])), e);
}

TEST(SubdivisionStep, TriangleFaces) {
    const ZilLValue next = step(meshRecord({{1, 1, 1}, {1, -1, -1}, {-1, 1, -1}, {-1, -1, 1}},
                                           {{0, 1, 2}, {0, 3, 1}, {0, 2, 3}, {1, 3, 2}}));
    EXPECT_EQ(faces(next).size(), 12u);
    EXPECT_EQ(vertices(next).size(), 4u + 4u + 6u);
    expectNear(pointOf(next, 4), {1.0 / 3.0, 1.0 / 3.0, -1.0 / 3.0});
}

TEST(SubdivisionStep, OpenOrBrokenMeshesRaise) {
    Capture cap;
    const std::vector<Xyz> square{{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}};
    const ZilLValue quad = meshRecord(square, {{0, 1, 2, 3}});
    SubdivisionMesh::linkNeighbours(quad, cap.out());
    EXPECT_THROW(SubdivisionMesh::subdivideStep(quad, cap.out()), Subscript);
    // Not linked: "neighborface" reads -1.
    EXPECT_THROW(SubdivisionMesh::subdivideStep(DemoPage::defaultCube(), cap.out()), Subscript);
    EXPECT_THROW(SubdivisionMesh::subdivideStep(ZilLValue::INT(3), cap.out()), Match);
    // A face without corners, after two faces back to back.
    const ZilLValue withEmpty = meshRecord(square, {{0, 1, 2, 3}, {0, 3, 2, 1}, {}});
    SubdivisionMesh::linkNeighbours(withEmpty, cap.out());
    EXPECT_THROW(SubdivisionMesh::subdivideStep(withEmpty, cap.out()), Empty);
    EXPECT_EQ(cap.text(), "");
}
