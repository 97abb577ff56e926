#include "mesh/MeshTestUtil.hpp"

using namespace zil;
using namespace zil::test;

TEST(MeshTopology, CubeLinksAndEdgeOrder) {
    Capture cap;
    const ZilLValue cube = DemoPage::defaultCube();
    const auto edges = SubdivisionMesh::collectEdges(cube, cap.out());
    const std::vector<std::pair<std::int32_t, std::int32_t>> expected{
        {6, 7}, {5, 6}, {4, 5}, {4, 7}, {3, 7}, {2, 3}, {2, 6}, {1, 2}, {1, 5}, {0, 1}, {0, 3}, {0, 4}};
    EXPECT_EQ(edges, expected);
    // Yellow joins square 0-1-2-3 to square 4-5-6-7; blue is both squares.
    for (std::int32_t e : Constants::yellowEdges) EXPECT_EQ(edges[e].second - edges[e].first, 4);
    for (std::int32_t e : Constants::blueEdges) EXPECT_EQ(edges[e].first / 4, edges[e].second / 4);

    // Each corner links to the face across its edge and to that face's
    // corner (plus one) running the other way.
    EXPECT_TRUE(SubdivisionMesh::linkNeighbours(cube, cap.out()).sameNode(cube));
    for (int pass = 0; pass < 2; ++pass) {  // linking again changes nothing
        for (std::size_t f = 0; f < 6; ++f) {
            const Ints vs = faceVertices(cube, f);
            for (std::size_t k = 0; k < 4; ++k) {
                const FieldArray c = corner(cube, f, k);
                const std::int32_t g = intOf(c, N().neighborface), e = intOf(c, N().neighboredge);
                ASSERT_TRUE(g >= 0 && static_cast<std::size_t>(g) != f && e >= 1);
                const Ints ws = faceVertices(cube, static_cast<std::size_t>(g));
                EXPECT_EQ(ws[static_cast<std::size_t>(e - 1)], vs[(k + 1) % 4]);
                EXPECT_EQ(ws[static_cast<std::size_t>(e) % 4], vs[k]);
                EXPECT_EQ(fieldNames(c), (Names{"vertexIndex", "neighborface", "neighboredge"}));
            }
        }
        SubdivisionMesh::linkNeighbours(cube, cap.out());
    }
    SubdivisionMesh::setValences(cube, cap.out());
    for (std::size_t i = 0; i < 8; ++i) EXPECT_EQ(intOf(vertex(cube, i), N().vertexValence), 3);
    EXPECT_EQ(cap.text(), "");
}

// A corner with "neighborface" twice: linking writes both, and reports each write.
TEST(MeshTopology, CornersWithOddLinkFieldsTakeEveryWrite) {
    Capture cap;
    const ZilLValue cube = DemoPage::defaultCube();
    const ZilLField nf{N().neighborface, ZilLValue::INT(9)};
    corners(cube, 0).set(1, ZilLValue::RECORD(FieldArray{{N().vertexIndex, ZilLValue::INT(1)}, nf, nf}));
    SubdivisionMesh::linkNeighbours(cube, cap.out());
    const FieldArray twice = corner(cube, 0, 1);
    EXPECT_EQ(fieldNames(twice), (Names{"vertexIndex", "neighborface", "neighborface", "neighboredge"}));
    EXPECT_EQ(std::pair(twice[1].value.asInt(), twice[2].value.asInt()), std::pair(5, 5));
    const std::string missing = "Internal Error: Expected field neighborface not found in ZilL record!\n";
    EXPECT_EQ(cap.text(), missing + "{vertexIndex, neighborface, neighborface}\n" + missing +
                              "{vertexIndex, neighborface, neighborface, neighboredge}\n");
}

TEST(MeshTopology, BadInputRaisesBeforeAnythingIsWritten) {
    Capture cap;
    const ZilLValue bad = meshRecord({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}}, {{0, 1, 2, 3}});
    EXPECT_THROW(SubdivisionMesh::linkNeighbours(bad, cap.out()), Subscript);
    EXPECT_EQ(findField(corner(bad, 0, 0), N().neighborface), nullptr);
    EXPECT_THROW(SubdivisionMesh::collectEdges(bad, cap.out()), Subscript);
    EXPECT_THROW(SubdivisionMesh::setValences(bad, cap.out()), Subscript);

    const ZilLValue mesh = meshRecord({{0, 0, 0}}, {{0}});
    corners(mesh, 0).set(0, ZilLValue::INT(0));
    EXPECT_THROW(SubdivisionMesh::collectEdges(mesh, cap.out()), Match);
    corners(mesh, 0).set(0, ZilLValue::RECORD(FieldArray{ZilLField{N().vertexIndex, ZilLValue::REAL(0.0)}}));
    EXPECT_THROW(SubdivisionMesh::collectEdges(mesh, cap.out()), InternalError);
    EXPECT_EQ(cap.text(),
              "Internal Error: int match error: function getIntegerField\n"
              "Internal Error: Could not get field vertexIndex\n");
}

// Edge 0-1 is met three times: 0 -> 1 in faces A (0) and C (2), 1 -> 0 in
// B (1), each at corner 0. A corner takes the oldest partner that runs the
// other way, else the oldest older one that runs the same way (negative):
// A and C both take B's corner 0, +1; B takes the oldest of A and C, A.
// Two copies of one face: the newer takes the older the same way round,
// the older finds no partner.
TEST(MeshTopology, EdgesMetMoreThanTwiceOrTheSameWay) {
    struct Case {
        std::vector<Ints> faces;
        std::vector<std::pair<int, int>> links;  // corner 0 of each face; (-1, -1): none
    };
    const Case cases[] = {
        {{{0, 1, 2, 3}, {1, 0, 4, 5}, {0, 1, 6, 7}}, {{1, 1}, {0, 1}, {1, 1}}},
        {{{0, 1, 2, 3}, {0, 1, 2, 3}}, {{-1, -1}, {0, -1}}},
    };
    for (const Case& c : cases) {
        Capture cap;
        const ZilLValue mesh = SubdivisionMesh::linkNeighbours(meshRecord(std::vector<Xyz>(8), c.faces), cap.out());
        for (std::size_t f = 0; f < c.faces.size(); ++f) {
            const FieldArray k = corner(mesh, f, 0);
            EXPECT_EQ(std::pair(intOf(k, N().neighborface), intOf(k, N().neighboredge)), c.links[f]) << f;
        }
        EXPECT_EQ(cap.text(), "");
    }
}
