#include <gtest/gtest.h>

#include <cmath>

#include "mesh/MeshTestUtil.hpp"
#include "mesh/MeshTopology.hpp"
#include "mesh/SubdivisionStep.hpp"
#include "mesh/VertexRules.hpp"
#include "records/Capture.hpp"

using namespace zil;
using namespace zil::test;

namespace {

Xyz pointOf(const ZilLValue& mesh, std::size_t i) {
    Capture cap;
    return SubdivisionMesh::readPoint(vertices(mesh)[i], cap.out());
}

void expectPoint(const Xyz& p, const Xyz& q, double eps = 1e-12) {
    EXPECT_NEAR(p.x, q.x, eps);
    EXPECT_NEAR(p.y, q.y, eps);
    EXPECT_NEAR(p.z, q.z, eps);
}

Xyz scaled(double w, const Xyz& p) { return {w * p.x, w * p.y, w * p.z}; }
Xyz mid(const Xyz& a, const Xyz& b) { return {(a.x + b.x) / 2, (a.y + b.y) / 2, (a.z + b.z) / 2}; }

ZilLValue step(const ZilLValue& mesh, OutStream& out) {
    SubdivisionMesh::linkNeighbours(mesh, out);
    return SubdivisionMesh::subdivideStep(mesh, out);
}

// The cube's edges in the order the step numbers their points (14 .. 25).
const std::vector<std::pair<int, int>> kCubeEdgePointOrder{{0, 1}, {1, 2}, {2, 3}, {0, 3}, {0, 4}, {4, 5},
                                                           {1, 5}, {5, 6}, {4, 7}, {6, 7}, {3, 7}, {2, 6}};

}  // namespace

TEST(SubdivisionStep, CubeCountsNumberingAndRecordLayout) {
    Capture cap;
    const ZilLValue cube = DemoPage::defaultCube();
    const ZilLValue next = step(cube, cap.out());
    ASSERT_EQ(vertices(next).size(), 26u);
    ASSERT_EQ(faces(next).size(), 24u);
    EXPECT_EQ(fieldNames(next.fields()), (std::vector<std::string_view>{"faces", "vertices"}));

    // Face 4f + i starts at corner i's vertex of face f, then its edge point,
    // the face point 8 + f, and the edge point of the edge coming in.
    EXPECT_EQ(faceVertices(next, 0), (std::vector<std::int32_t>{0, 14, 8, 17}));
    EXPECT_EQ(faceVertices(next, 1), (std::vector<std::int32_t>{1, 15, 8, 14}));
    EXPECT_EQ(faceVertices(next, 2), (std::vector<std::int32_t>{2, 16, 8, 15}));
    EXPECT_EQ(faceVertices(next, 3), (std::vector<std::int32_t>{3, 17, 8, 16}));
    for (std::size_t f = 0; f < 6; ++f)
        for (std::size_t i = 0; i < 4; ++i) {
            const auto vs = faceVertices(next, 4 * f + i);
            EXPECT_EQ(vs[0], Constants::cubeFaces[f][i]);
            EXPECT_EQ(vs[2], static_cast<std::int32_t>(8 + f));
        }

    // Records are in the order their list forms convert to.
    EXPECT_EQ(fieldNames(vertex(next, 20)), (std::vector<std::string_view>{"vertexSharpness", "point"}));
    EXPECT_EQ(fieldNames(findField(vertex(next, 20), N().point)->value.fields()),
              (std::vector<std::string_view>{"z", "y", "x"}));
    EXPECT_EQ(fieldNames(corner(next, 5, 2)), (std::vector<std::string_view>{"edgeSharpness", "vertexIndex"}));
    EXPECT_EQ(fieldNames(faces(next)[7].fields()), (std::vector<std::string_view>{"corners"}));
    // The input got its valences and nothing else.
    EXPECT_EQ(fieldNames(vertex(cube, 3)),
              (std::vector<std::string_view>{"vertexSharpness", "point", "vertexValence"}));

    // Linking the result: valence 4 at face and edge points, 3 at old corners.
    const ZilLValue third = step(next, cap.out());
    for (std::size_t i = 0; i < 26; ++i)
        EXPECT_EQ(intOf(vertex(next, i), N().vertexValence), i < 8 ? 3 : 4);
    EXPECT_EQ(faces(third).size(), 96u);
    EXPECT_EQ(vertices(third).size(), 98u);
    EXPECT_EQ(cap.text(), "");
}

TEST(SubdivisionStep, SmoothCubeOfSideTwo) {
    Capture cap;
    const ZilLValue cube = cubeOfSide(2.0);
    const ZilLValue next = step(cube, cap.out());
    const std::vector<Xyz> facePoints{{0, -1, 0}, {-1, 0, 0}, {0, 1, 0}, {1, 0, 0}, {0, 0, 1}, {0, 0, -1}};
    for (std::size_t f = 0; f < 6; ++f) expectPoint(pointOf(next, 8 + f), facePoints[f]);
    for (std::size_t e = 0; e < 12; ++e) {
        const auto [a, b] = kCubeEdgePointOrder[e];
        expectPoint(pointOf(next, 14 + e), scaled(0.875, mid(pointOf(cube, a), pointOf(cube, b))));
    }
    for (std::size_t i = 0; i < 8; ++i) expectPoint(pointOf(next, i), scaled(53.0 / 72.0, pointOf(cube, i)));
    EXPECT_EQ(cap.text(), "");
}

TEST(SubdivisionStep, SharpCreasesDecayByOnePerStep) {
    Capture cap;
    const ZilLValue cube = cubeOfSide(2.0);
    // The eight edges of the faces z = 1 and z = -1.
    const std::vector<std::pair<int, int>> rims{{3, 7}, {7, 4}, {4, 0}, {0, 3}, {5, 6}, {6, 2}, {2, 1}, {1, 5}};
    for (auto [a, b] : rims) sharpenEdge(cube, a, b, 2.0, cap.out());
    const ZilLValue next = step(cube, cap.out());

    for (std::size_t e = 0; e < 12; ++e) {
        const auto [a, b] = kCubeEdgePointOrder[e];
        const bool sharp = std::find_if(rims.begin(), rims.end(), [&](auto r) {
                               return (r.first == a && r.second == b) || (r.first == b && r.second == a);
                           }) != rims.end();
        const Xyz m = mid(pointOf(cube, a), pointOf(cube, b));
        expectPoint(pointOf(next, 14 + e), sharp ? m : scaled(0.875, m));
    }
    expectPoint(pointOf(next, 7), {0.875, 0.875, 1.0});

    // New corners on a sharp edge carry 1.0; the edges into the face point 0.0.
    int carrying = 0;
    for (std::size_t f = 0; f < 24; ++f)
        for (std::size_t k = 0; k < 4; ++k) {
            const double s = realOf(corner(next, f, k), N().edgeSharpness);
            EXPECT_TRUE(s == 0.0 || s == 1.0);
            if (s == 1.0) {
                EXPECT_TRUE(k == 0 || k == 3);
                ++carrying;
            }
        }
    EXPECT_EQ(carrying, 8 * 2 * 2);  // two halves per edge, one corner per side

    // One more step: sharpness 1.0 still gives midpoints, then decays to 0.
    const ZilLValue third = step(next, cap.out());
    for (std::size_t f = 0; f < 96; ++f)
        for (std::size_t k = 0; k < 4; ++k) EXPECT_EQ(realOf(corner(third, f, k), N().edgeSharpness), 0.0);
    EXPECT_EQ(cap.text(), "");
}

TEST(SubdivisionStep, SemiSharpEdgeBlendsAndSplitsItsSharpness) {
    Capture cap;
    for (double s : {0.5, 2.5}) {
        const ZilLValue smoothCube = cubeOfSide(2.0);
        const ZilLValue cube = cubeOfSide(2.0);
        sharpenEdge(cube, 0, 1, s, cap.out());
        const ZilLValue smooth = step(smoothCube, cap.out());
        const ZilLValue next = step(cube, cap.out());
        const Xyz m = mid(pointOf(cube, 0), pointOf(cube, 1));
        const Xyz expected = SubdivisionMesh::blendPoints(pointOf(smooth, 14), m, std::min(s, 1.0));
        expectPoint(pointOf(next, 14), expected);
        // New face 0 starts on 0 -> 14 and new face 1 ends on 14 -> 1: the
        // two halves of edge (0, 1) on face 0's side carry the decay.
        EXPECT_EQ(realOf(corner(next, 0, 0), N().edgeSharpness), s > 1.0 ? s - 1.0 : 0.0);
        EXPECT_EQ(realOf(corner(next, 1, 3), N().edgeSharpness), s > 1.0 ? s - 1.0 : 0.0);
    }

    // Sharpness on one side only: the corner where the edge is first met
    // (face 0's) decides the edge point; each side decays its own value.
    const ZilLValue smooth = step(cubeOfSide(2.0), cap.out());
    const ZilLValue firstSide = cubeOfSide(2.0);
    corners(firstSide, 0).set(0, ZilLValue::RECORD(setRealField(corner(firstSide, 0, 0), N().edgeSharpness, cap.out(), 3.0)));
    const ZilLValue a = step(firstSide, cap.out());
    expectPoint(pointOf(a, 14), mid(pointOf(firstSide, 0), pointOf(firstSide, 1)));
    EXPECT_EQ(realOf(corner(a, 0, 0), N().edgeSharpness), 2.0);
    EXPECT_EQ(realOf(corner(a, 4 * 1 + 3, 0), N().edgeSharpness), 0.0);
    const ZilLValue otherSide = cubeOfSide(2.0);
    corners(otherSide, 1).set(3, ZilLValue::RECORD(setRealField(corner(otherSide, 1, 3), N().edgeSharpness, cap.out(), 3.0)));
    const ZilLValue b = step(otherSide, cap.out());
    expectPoint(pointOf(b, 14), pointOf(smooth, 14));
    EXPECT_EQ(realOf(corner(b, 4 * 1 + 3, 0), N().edgeSharpness), 2.0);
    EXPECT_EQ(cap.text(), "");
}

TEST(SubdivisionStep, VertexSharpnessHoldsAndDecays) {
    Capture cap;
    const ZilLValue smoothCube = cubeOfSide(2.0);
    const ZilLValue cube = cubeOfSide(2.0);
    setVertexSharpness(cube, 7, 3.0, cap.out());
    setVertexSharpness(cube, 6, 0.25, cap.out());
    setVertexSharpness(cube, 5, 1.0, cap.out());
    const ZilLValue smooth = step(smoothCube, cap.out());
    const ZilLValue next = step(cube, cap.out());
    expectPoint(pointOf(next, 7), pointOf(cube, 7));
    EXPECT_EQ(realOf(vertex(next, 7), N().vertexSharpness), 2.0);
    expectPoint(pointOf(next, 5), pointOf(cube, 5));
    EXPECT_EQ(realOf(vertex(next, 5), N().vertexSharpness), 0.0);
    expectPoint(pointOf(next, 6), SubdivisionMesh::blendPoints(pointOf(smooth, 6), pointOf(cube, 6), 0.25));
    EXPECT_EQ(realOf(vertex(next, 6), N().vertexSharpness), 0.0);
    // Vertex sharpness does not move edge points.
    for (std::size_t i = 8; i < 26; ++i) expectPoint(pointOf(next, i), pointOf(smooth, i));
    EXPECT_EQ(cap.text(), "");
}

TEST(SubdivisionStep, EdgeNextToAValenceFourEndUsesTheCrossRule) {
    Capture cap;
    const ZilLValue cube = DemoPage::defaultCube();
    const ZilLValue level1 = step(cube, cap.out());
    const ZilLValue level2 = step(level1, cap.out());
    // Edge 0 -> 14 of level-1 face 0: 0 has valence 3, 14 valence 4. Its
    // faces are level-1 faces 0 and the one across corner 0.
    const std::int32_t across = intOf(corner(level1, 0, 0), N().neighborface);
    auto facePoint = [&](std::size_t f) {
        Xyz s{};
        for (std::int32_t v : faceVertices(level1, f)) {
            const Xyz p = pointOf(level1, static_cast<std::size_t>(v));
            s = {s.x + p.x / 4, s.y + p.y / 4, s.z + p.z / 4};
        }
        return s;
    };
    const Xyz f1 = facePoint(0), f2 = facePoint(static_cast<std::size_t>(across));
    const Xyz o = pointOf(level1, 0), r = pointOf(level1, 14);
    const Xyz expected{0.125 * (f1.x + f2.x) + 0.25 * r.x + 0.5 * o.x, 0.125 * (f1.y + f2.y) + 0.25 * r.y + 0.5 * o.y,
                       0.125 * (f1.z + f2.z) + 0.25 * r.z + 0.5 * o.z};
    const std::int32_t edgePoint = faceVertices(level2, 0)[1];
    expectPoint(pointOf(level2, static_cast<std::size_t>(edgePoint)), expected);
    // An edge between two valence-4 points keeps 0.375 / 0.125.
    EXPECT_EQ(cap.text(), "");
}

TEST(SubdivisionStep, FacesThatAreNotQuads) {
    Capture cap;
    // A tetrahedron: four triangles.
    const ZilLValue tet = makeMesh({{1, 1, 1}, {1, -1, -1}, {-1, 1, -1}, {-1, -1, 1}},
                                   {{0, 1, 2}, {0, 3, 1}, {0, 2, 3}, {1, 3, 2}});
    const ZilLValue next = step(tet, cap.out());
    EXPECT_EQ(faces(next).size(), 12u);
    EXPECT_EQ(vertices(next).size(), 4u + 4u + 6u);
    expectPoint(pointOf(next, 4), {1.0 / 3.0, 1.0 / 3.0, -1.0 / 3.0});
    EXPECT_EQ(faceVertices(next, 0)[2], 4);

    // A pentagonal prism: two pentagons and five quads.
    std::vector<Xyz> pts;
    for (int ring = 0; ring < 2; ++ring)
        for (int i = 0; i < 5; ++i)
            pts.push_back({std::cos(i * 2 * M_PI / 5), std::sin(i * 2 * M_PI / 5), ring ? 1.0 : -1.0});
    std::vector<std::vector<std::int32_t>> fs{{4, 3, 2, 1, 0}, {5, 6, 7, 8, 9}};
    for (int i = 0; i < 5; ++i) fs.push_back({i, (i + 1) % 5, 5 + (i + 1) % 5, 5 + i});
    const ZilLValue prism = makeMesh(pts, fs);
    const ZilLValue p1 = step(prism, cap.out());
    EXPECT_EQ(faces(p1).size(), 30u);
    EXPECT_EQ(vertices(p1).size(), 10u + 7u + 15u);
    expectPoint(pointOf(p1, 10), {0, 0, -1});
    EXPECT_EQ(faceVertices(p1, 4), (std::vector<std::int32_t>{0, faceVertices(p1, 4)[1], 10, faceVertices(p1, 4)[3]}));
    EXPECT_EQ(cap.text(), "");
}

TEST(SubdivisionStep, OpenOrBrokenMeshesRaise) {
    Capture cap;
    // A single quad: its edges have no face across.
    const ZilLValue quad = makeMesh({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}}, {{0, 1, 2, 3}});
    EXPECT_THROW(step(quad, cap.out()), Subscript);
    // Not linked at all: "neighborface" reads -1.
    EXPECT_THROW(SubdivisionMesh::subdivideStep(DemoPage::defaultCube(), cap.out()), Subscript);

    // A face without corners, after closed faces.
    const ZilLValue cube = DemoPage::defaultCube();
    SubdivisionMesh::linkNeighbours(cube, cap.out());
    const ValueArray fs = faces(cube);
    std::vector<ZilLValue> more(fs.begin(), fs.end());
    more.push_back(ZilLValue::RECORD(FieldArray{ZilLField{N().corners, ZilLValue::ARRAY({})}}));
    const ZilLValue withEmpty = ZilLValue::RECORD(
        FieldArray{ZilLField{N().faces, ZilLValue::ARRAY(ValueArray(more.begin(), more.end()))},
                   ZilLField{N().vertices, ZilLValue::ARRAY(vertices(cube))}});
    EXPECT_THROW(SubdivisionMesh::subdivideStep(withEmpty, cap.out()), Empty);

    // Not a record.
    EXPECT_THROW(SubdivisionMesh::subdivideStep(ZilLValue::INT(3), cap.out()), Match);
    EXPECT_EQ(cap.text(), "");
}
