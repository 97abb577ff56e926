#include <gtest/gtest.h>

#include "mesh/MeshTopology.hpp"
#include "mesh/MeshTestUtil.hpp"
#include "records/Capture.hpp"

using namespace zil;
using namespace zil::test;
using Edges = std::vector<std::pair<std::int32_t, std::int32_t>>;

TEST(MeshTopology, CubeEdgesComeInTheOrderTheBarGroupsName) {
    Capture cap;
    const ZilLValue cube = DemoPage::defaultCube();
    const Edges edges = SubdivisionMesh::collectEdges(cube, cap.out());
    const Edges expected{{6, 7}, {5, 6}, {4, 5}, {4, 7}, {3, 7}, {2, 3},
                         {2, 6}, {1, 2}, {1, 5}, {0, 1}, {0, 3}, {0, 4}};
    EXPECT_EQ(edges, expected);
    // Yellow joins square 0-1-2-3 to square 4-5-6-7; blue is both squares.
    for (std::int32_t e : Constants::yellowEdges) EXPECT_EQ(edges[e].second - edges[e].first, 4);
    for (std::int32_t e : Constants::blueEdges) EXPECT_EQ(edges[e].first / 4, edges[e].second / 4);
    EXPECT_EQ(cap.text(), "");
}

TEST(MeshTopology, CubeCornersLinkToTheReverseCornerOfTheNeighbour) {
    Capture cap;
    const ZilLValue cube = DemoPage::defaultCube();
    const ZilLValue linked = SubdivisionMesh::linkNeighbours(cube, cap.out());
    EXPECT_TRUE(linked.sameNode(cube));  // rewritten in place
    // Corner 0 of face 0 (edge 0 -> 1) meets face 1's corner 3 (edge 1 -> 0).
    EXPECT_EQ(intOf(corner(cube, 0, 0), N().neighborface), 1);
    EXPECT_EQ(intOf(corner(cube, 0, 0), N().neighboredge), 4);
    for (std::size_t f = 0; f < 6; ++f) {
        const auto vs = faceVertices(cube, f);
        for (std::size_t k = 0; k < 4; ++k) {
            const FieldArray c = corner(cube, f, k);
            const std::int32_t g = intOf(c, N().neighborface);
            const std::int32_t e = intOf(c, N().neighboredge);
            ASSERT_GE(g, 0);
            ASSERT_NE(static_cast<std::size_t>(g), f);
            ASSERT_GE(e, 1);
            // The linked corner runs the same edge backwards.
            const auto ws = faceVertices(cube, static_cast<std::size_t>(g));
            const std::size_t j = static_cast<std::size_t>(e - 1);
            EXPECT_EQ(ws[j], vs[(k + 1) % 4]);
            EXPECT_EQ(ws[(j + 1) % 4], vs[k]);
            // Fields appended after "vertexIndex", in this order.
            EXPECT_EQ(fieldNames(c), (std::vector<std::string_view>{"vertexIndex", "neighborface", "neighboredge"}));
        }
    }
    EXPECT_EQ(cap.text(), "");

    // Linking again keeps the field order and the links.
    SubdivisionMesh::linkNeighbours(cube, cap.out());
    EXPECT_EQ(fieldNames(corner(cube, 2, 1)), (std::vector<std::string_view>{"vertexIndex", "neighborface", "neighboredge"}));
    EXPECT_EQ(intOf(corner(cube, 0, 0), N().neighboredge), 4);
    EXPECT_EQ(cap.text(), "");
}

TEST(MeshTopology, OpenQuadKeepsNoLinksAndSameDirectionLinksAreNegative) {
    Capture cap;
    const std::vector<Xyz> pts{{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {2, 0, 0}, {2, 1, 0}};
    const ZilLValue quad = makeMesh({pts.begin(), pts.begin() + 4}, {{0, 1, 2, 3}});
    SubdivisionMesh::linkNeighbours(quad, cap.out());
    for (std::size_t k = 0; k < 4; ++k) {
        EXPECT_EQ(intOf(corner(quad, 0, k), N().neighborface), -1);
        EXPECT_EQ(intOf(corner(quad, 0, k), N().neighboredge), -1);
    }

    // Both faces run 1 -> 2: only the earlier entry gets the negative link.
    const ZilLValue twisted = makeMesh(pts, {{0, 1, 2, 3}, {1, 2, 5, 4}});
    SubdivisionMesh::linkNeighbours(twisted, cap.out());
    const FieldArray a = corner(twisted, 0, 1);
    const FieldArray b = corner(twisted, 1, 0);
    const bool aLinked = intOf(a, N().neighborface) != -1;
    const bool bLinked = intOf(b, N().neighborface) != -1;
    EXPECT_NE(aLinked, bLinked);
    const FieldArray& linked = aLinked ? a : b;
    EXPECT_EQ(intOf(linked, N().neighborface), aLinked ? 1 : 0);
    EXPECT_EQ(intOf(linked, N().neighboredge), aLinked ? -1 : -2);
    EXPECT_EQ(cap.text(), "");
}

TEST(MeshTopology, ValencesAreCornerCountsWrittenOnce) {
    Capture cap;
    const ZilLValue cube = DemoPage::defaultCube();
    SubdivisionMesh::setValences(cube, cap.out());
    SubdivisionMesh::setValences(cube, cap.out());
    for (std::size_t i = 0; i < 8; ++i) {
        EXPECT_EQ(intOf(vertex(cube, i), N().vertexValence), 3);
        EXPECT_EQ(fieldNames(vertex(cube, i)),
                  (std::vector<std::string_view>{"vertexSharpness", "point", "vertexValence"}));
    }
    EXPECT_EQ(cap.text(), "");
}

TEST(MeshTopology, BadVertexIndexRaisesBeforeAnythingIsWritten) {
    Capture cap;
    const ZilLValue bad = makeMesh({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}}, {{0, 1, 2, 3}});
    EXPECT_THROW(SubdivisionMesh::linkNeighbours(bad, cap.out()), Subscript);
    EXPECT_FALSE(has(corner(bad, 0, 0), N().neighborface));
    EXPECT_THROW(SubdivisionMesh::collectEdges(bad, cap.out()), Subscript);
    EXPECT_THROW(SubdivisionMesh::setValences(bad, cap.out()), Subscript);

    // A corner that is not a record, and a field of the wrong kind.
    const ZilLValue mesh = makeMesh({{0, 0, 0}}, {{0}});
    corners(mesh, 0).set(0, ZilLValue::INT(0));
    EXPECT_THROW(SubdivisionMesh::collectEdges(mesh, cap.out()), Match);
    corners(mesh, 0).set(0, ZilLValue::RECORD(FieldArray{ZilLField{N().vertexIndex, ZilLValue::REAL(0.0)}}));
    EXPECT_THROW(SubdivisionMesh::collectEdges(mesh, cap.out()), InternalError);
    EXPECT_EQ(cap.text(),
              "Internal Error: int match error: function getIntegerField\n"
              "Internal Error: Could not get field vertexIndex\n");
}

TEST(MeshTopology, CornersWithOddLinkFieldsTakeEveryWrite) {
    Capture cap;
    const ZilLValue cube = DemoPage::defaultCube();
    const ValueArray face0 = corners(cube, 0);
    // Only "neighboredge": "neighborface" is appended after it.
    face0.set(0, ZilLValue::RECORD(FieldArray{ZilLField{N().vertexIndex, ZilLValue::INT(0)},
                                              ZilLField{N().neighboredge, ZilLValue::INT(9)}}));
    // "neighborface" twice: both are written, and each write is reported.
    face0.set(1, ZilLValue::RECORD(FieldArray{ZilLField{N().vertexIndex, ZilLValue::INT(1)},
                                              ZilLField{N().neighborface, ZilLValue::INT(9)},
                                              ZilLField{N().neighborface, ZilLValue::INT(9)}}));
    SubdivisionMesh::linkNeighbours(cube, cap.out());
    EXPECT_EQ(fieldNames(corner(cube, 0, 0)),
              (std::vector<std::string_view>{"vertexIndex", "neighboredge", "neighborface"}));
    EXPECT_EQ(intOf(corner(cube, 0, 0), N().neighborface), 1);
    EXPECT_EQ(intOf(corner(cube, 0, 0), N().neighboredge), 4);
    const FieldArray twice = corner(cube, 0, 1);
    EXPECT_EQ(fieldNames(twice),
              (std::vector<std::string_view>{"vertexIndex", "neighborface", "neighborface", "neighboredge"}));
    EXPECT_EQ(twice[1].value.asInt(), 5);
    EXPECT_EQ(twice[2].value.asInt(), 5);
    // The other corners of the face are linked as usual.
    EXPECT_EQ(intOf(corner(cube, 0, 2), N().neighborface), 3);
    EXPECT_EQ(cap.text(),
              "Internal Error: Expected field neighborface not found in ZilL record!\n"
              "{vertexIndex, neighborface, neighborface}\n"
              "Internal Error: Expected field neighborface not found in ZilL record!\n"
              "{vertexIndex, neighborface, neighborface, neighboredge}\n");
}
