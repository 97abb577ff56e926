#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "mesh/MeshTestUtil.hpp"
#include "mesh/SubdivisionStep.hpp"
#include "mesh/VertexRules.hpp"

using namespace zil;
using namespace zil::test;

namespace {

struct Stepper {
    Capture cap;
    // Links the mesh and subdivides it once; nothing may be reported.
    ZilLValue operator()(const ZilLValue& mesh) {
        SubdivisionMesh::linkNeighbours(mesh, cap.out());
        ZilLValue next = SubdivisionMesh::subdivideStep(mesh, cap.out());
        EXPECT_EQ(cap.text(), "");
        return next;
    }
};

Xyz pointOf(const ZilLValue& mesh, std::size_t i) {
    Capture cap;
    return SubdivisionMesh::readPoint(vertices(mesh)[i], cap.out());
}
void expectPoint(const Xyz& p, const Xyz& q) {
    EXPECT_NEAR(p.x, q.x, 1e-12);
    EXPECT_NEAR(p.y, q.y, 1e-12);
    EXPECT_NEAR(p.z, q.z, 1e-12);
}
Xyz scaled(double w, const Xyz& p) { return {w * p.x, w * p.y, w * p.z}; }
Xyz mid(const Xyz& a, const Xyz& b) { return {(a.x + b.x) / 2, (a.y + b.y) / 2, (a.z + b.z) / 2}; }

// The cube's edges in the order their points are numbered (14 .. 25).
const std::vector<std::pair<int, int>> kEdgePointOrder{{0, 1}, {1, 2}, {2, 3}, {0, 3}, {0, 4}, {4, 5},
                                                       {1, 5}, {5, 6}, {4, 7}, {6, 7}, {3, 7}, {2, 6}};

}  // namespace

TEST(SubdivisionStep, CubeCountsNumberingAndRecordLayout) {
    Stepper step;
    const ZilLValue cube = DemoPage::defaultCube();
    const ZilLValue next = step(cube);
    ASSERT_EQ(vertices(next).size(), 26u);
    ASSERT_EQ(faces(next).size(), 24u);
    // Face 4f + i: corner i's vertex, its edge point, face point 8 + f, and
    // the point of the edge coming in.
    EXPECT_EQ(faceVertices(next, 0), (Ints{0, 14, 8, 17}));
    EXPECT_EQ(faceVertices(next, 1), (Ints{1, 15, 8, 14}));
    EXPECT_EQ(faceVertices(next, 3), (Ints{3, 17, 8, 16}));
    for (std::size_t f = 0; f < 6; ++f)
        for (std::size_t i = 0; i < 4; ++i) {
            EXPECT_EQ(faceVertices(next, 4 * f + i)[0], Constants::cubeFaces[f][i]);
            EXPECT_EQ(faceVertices(next, 4 * f + i)[2], static_cast<std::int32_t>(8 + f));
        }
    // Records come in the order their list forms convert to.
    EXPECT_EQ(fieldNames(next.fields()), (Names{"faces", "vertices"}));
    EXPECT_EQ(fieldNames(vertex(next, 20)), (Names{"vertexSharpness", "point"}));
    EXPECT_EQ(fieldNames(findField(vertex(next, 20), N().point)->value.fields()), (Names{"z", "y", "x"}));
    EXPECT_EQ(fieldNames(corner(next, 5, 2)), (Names{"edgeSharpness", "vertexIndex"}));
    // The input got its valences and nothing else.
    EXPECT_EQ(fieldNames(vertex(cube, 3)), (Names{"vertexSharpness", "point", "vertexValence"}));

    const ZilLValue third = step(next);
    for (std::size_t i = 0; i < 26; ++i) EXPECT_EQ(intOf(vertex(next, i), N().vertexValence), i < 8 ? 3 : 4);
    EXPECT_EQ(faces(third).size(), 96u);
    EXPECT_EQ(vertices(third).size(), 98u);
}

TEST(SubdivisionStep, SmoothCubeOfSideTwo) {
    Stepper step;
    const ZilLValue cube = cubeOfSide(2.0);
    const ZilLValue next = step(cube);
    const std::vector<Xyz> facePoints{{0, -1, 0}, {-1, 0, 0}, {0, 1, 0}, {1, 0, 0}, {0, 0, 1}, {0, 0, -1}};
    for (std::size_t f = 0; f < 6; ++f) expectPoint(pointOf(next, 8 + f), facePoints[f]);
    for (std::size_t e = 0; e < 12; ++e) {
        const auto [a, b] = kEdgePointOrder[e];
        expectPoint(pointOf(next, 14 + e), scaled(0.875, mid(pointOf(cube, a), pointOf(cube, b))));
    }
    for (std::size_t i = 0; i < 8; ++i) expectPoint(pointOf(next, i), scaled(53.0 / 72.0, pointOf(cube, i)));
}

TEST(SubdivisionStep, SharpCreasesDecayByOnePerStep) {
    Stepper step;
    const ZilLValue cube = cubeOfSide(2.0);
    // The eight edges of the faces z = 1 and z = -1.
    const std::vector<std::pair<int, int>> rims{{3, 7}, {4, 7}, {0, 4}, {0, 3}, {5, 6}, {2, 6}, {1, 2}, {1, 5}};
    for (auto [a, b] : rims) sharpenEdge(cube, a, b, 2.0);
    const ZilLValue next = step(cube);
    for (std::size_t e = 0; e < 12; ++e) {
        const Xyz m = mid(pointOf(cube, kEdgePointOrder[e].first), pointOf(cube, kEdgePointOrder[e].second));
        const bool sharp = std::count(rims.begin(), rims.end(), kEdgePointOrder[e]) == 1;
        expectPoint(pointOf(next, 14 + e), sharp ? m : scaled(0.875, m));
    }
    expectPoint(pointOf(next, 7), {0.875, 0.875, 1.0});

    // The halves of a sharp edge carry 1.0 (on both faces); the edges into
    // the face point carry 0.0.
    int carrying = 0;
    for (std::size_t f = 0; f < 24; ++f)
        for (std::size_t k = 0; k < 4; ++k) {
            const double s = realOf(corner(next, f, k), N().edgeSharpness);
            if (s != 0.0) ++carrying;
            EXPECT_TRUE(s == 0.0 || (s == 1.0 && (k == 0 || k == 3)));
        }
    EXPECT_EQ(carrying, 8 * 2 * 2);
    const ZilLValue third = step(next);
    for (std::size_t f = 0; f < 96; ++f)
        for (std::size_t k = 0; k < 4; ++k) EXPECT_EQ(realOf(corner(third, f, k), N().edgeSharpness), 0.0);
}

TEST(SubdivisionStep, SemiSharpEdgesAndOneSidedSharpness) {
    Stepper step;
    const ZilLValue smooth = step(cubeOfSide(2.0));
    for (double s : {0.5, 2.5}) {
        const ZilLValue cube = cubeOfSide(2.0);
        sharpenEdge(cube, 0, 1, s);
        const ZilLValue next = step(cube);
        const Xyz m = mid(pointOf(cube, 0), pointOf(cube, 1));
        expectPoint(pointOf(next, 14), SubdivisionMesh::blendPoints(pointOf(smooth, 14), m, std::min(s, 1.0)));
        // New face 0 starts on 0 -> 14, new face 1 ends on 14 -> 1.
        EXPECT_EQ(realOf(corner(next, 0, 0), N().edgeSharpness), s > 1.0 ? s - 1.0 : 0.0);
        EXPECT_EQ(realOf(corner(next, 1, 3), N().edgeSharpness), s > 1.0 ? s - 1.0 : 0.0);
    }
    // Sharpness on one side only: the corner where the edge is met first
    // (face 0's) decides the edge point; each side decays its own value.
    const ZilLValue first = cubeOfSide(2.0);
    setCornerReal(first, 0, 0, N().edgeSharpness, 3.0);
    const ZilLValue a = step(first);
    expectPoint(pointOf(a, 14), mid(pointOf(first, 0), pointOf(first, 1)));
    EXPECT_EQ(realOf(corner(a, 0, 0), N().edgeSharpness), 2.0);
    EXPECT_EQ(realOf(corner(a, 7, 0), N().edgeSharpness), 0.0);
    const ZilLValue other = cubeOfSide(2.0);
    setCornerReal(other, 1, 3, N().edgeSharpness, 3.0);
    const ZilLValue b = step(other);
    expectPoint(pointOf(b, 14), pointOf(smooth, 14));
    EXPECT_EQ(realOf(corner(b, 7, 0), N().edgeSharpness), 2.0);
}

TEST(SubdivisionStep, VertexSharpnessHoldsAndDecays) {
    Stepper step;
    const ZilLValue smooth = step(cubeOfSide(2.0));
    const ZilLValue cube = cubeOfSide(2.0);
    setVertexReal(cube, 7, N().vertexSharpness, 3.0);
    setVertexReal(cube, 6, N().vertexSharpness, 0.25);
    setVertexReal(cube, 5, N().vertexSharpness, 1.0);
    const ZilLValue next = step(cube);
    expectPoint(pointOf(next, 7), pointOf(cube, 7));
    expectPoint(pointOf(next, 5), pointOf(cube, 5));
    expectPoint(pointOf(next, 6), SubdivisionMesh::blendPoints(pointOf(smooth, 6), pointOf(cube, 6), 0.25));
    EXPECT_EQ(realOf(vertex(next, 7), N().vertexSharpness), 2.0);
    EXPECT_EQ(realOf(vertex(next, 6), N().vertexSharpness), 0.0);
    EXPECT_EQ(realOf(vertex(next, 5), N().vertexSharpness), 0.0);
    for (std::size_t i = 8; i < 26; ++i) expectPoint(pointOf(next, i), pointOf(smooth, i));
}

TEST(SubdivisionStep, EdgeNextToAValenceFourEndUsesTheCrossRule) {
    Stepper step;
    const ZilLValue level1 = step(DemoPage::defaultCube());
    const ZilLValue level2 = step(level1);
    // Edge 0 -> 14 of level-1 face 0: valence 3 at 0, 4 at 14.
    auto facePoint = [&](std::size_t f) {
        Xyz s{};
        for (std::int32_t v : faceVertices(level1, f)) {
            const Xyz p = scaled(0.25, pointOf(level1, static_cast<std::size_t>(v)));
            s = {s.x + p.x, s.y + p.y, s.z + p.z};
        }
        return s;
    };
    const Xyz f1 = facePoint(0);
    const Xyz f2 = facePoint(static_cast<std::size_t>(intOf(corner(level1, 0, 0), N().neighborface)));
    const Xyz o = pointOf(level1, 0), r = pointOf(level1, 14);
    auto rule = [](double f1, double f2, double r, double o) { return 0.125 * (f1 + f2) + 0.25 * r + 0.5 * o; };
    const Xyz expected{rule(f1.x, f2.x, r.x, o.x), rule(f1.y, f2.y, r.y, o.y), rule(f1.z, f2.z, r.z, o.z)};
    expectPoint(pointOf(level2, static_cast<std::size_t>(faceVertices(level2, 0)[1])), expected);
}

TEST(SubdivisionStep, FacesThatAreNotQuads) {
    Stepper step;
    const ZilLValue tet = makeMesh({{1, 1, 1}, {1, -1, -1}, {-1, 1, -1}, {-1, -1, 1}},
                                   {{0, 1, 2}, {0, 3, 1}, {0, 2, 3}, {1, 3, 2}});
    const ZilLValue next = step(tet);
    EXPECT_EQ(faces(next).size(), 12u);
    EXPECT_EQ(vertices(next).size(), 4u + 4u + 6u);
    expectPoint(pointOf(next, 4), {1.0 / 3.0, 1.0 / 3.0, -1.0 / 3.0});

    // A pentagonal prism: two pentagons and five quads.
    std::vector<Xyz> pts;
    for (int ring = 0; ring < 2; ++ring)
        for (int i = 0; i < 5; ++i) pts.push_back({std::cos(i * 2 * M_PI / 5), std::sin(i * 2 * M_PI / 5), ring ? 1.0 : -1.0});
    std::vector<Ints> fs{{4, 3, 2, 1, 0}, {5, 6, 7, 8, 9}};
    for (int i = 0; i < 5; ++i) fs.push_back({i, (i + 1) % 5, 5 + (i + 1) % 5, 5 + i});
    const ZilLValue prism = step(makeMesh(pts, fs));
    EXPECT_EQ(faces(prism).size(), 30u);
    EXPECT_EQ(vertices(prism).size(), 10u + 7u + 15u);
    expectPoint(pointOf(prism, 10), {0, 0, -1});
    EXPECT_EQ(faceVertices(prism, 4)[0], 0);
    EXPECT_EQ(faceVertices(prism, 4)[2], 10);
}

TEST(SubdivisionStep, OpenOrBrokenMeshesRaise) {
    Capture cap;
    const ZilLValue quad = makeMesh({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}}, {{0, 1, 2, 3}});
    SubdivisionMesh::linkNeighbours(quad, cap.out());
    EXPECT_THROW(SubdivisionMesh::subdivideStep(quad, cap.out()), Subscript);
    // Not linked: "neighborface" reads -1.
    EXPECT_THROW(SubdivisionMesh::subdivideStep(DemoPage::defaultCube(), cap.out()), Subscript);
    EXPECT_THROW(SubdivisionMesh::subdivideStep(ZilLValue::INT(3), cap.out()), Match);

    // A face without corners, after closed faces.
    const ZilLValue cube = DemoPage::defaultCube();
    SubdivisionMesh::linkNeighbours(cube, cap.out());
    std::vector<ZilLValue> more(faces(cube).begin(), faces(cube).end());
    more.push_back(ZilLValue::RECORD(FieldArray{ZilLField{N().corners, ZilLValue::ARRAY({})}}));
    const ZilLValue withEmpty = ZilLValue::RECORD(
        FieldArray{ZilLField{N().faces, ZilLValue::ARRAY(ValueArray(more.begin(), more.end()))},
                   ZilLField{N().vertices, ZilLValue::ARRAY(vertices(cube))}});
    EXPECT_THROW(SubdivisionMesh::subdivideStep(withEmpty, cap.out()), Empty);
    EXPECT_EQ(cap.text(), "");
}
