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

TEST(MeshTopology, CornersWithOddLinkFieldsTakeEveryWrite) {
    Capture cap;
    const ZilLValue cube = DemoPage::defaultCube();
    // "neighborface" twice: both are written, and each write is reported.
    corners(cube, 0).set(1, ZilLValue::RECORD(FieldArray{ZilLField{N().vertexIndex, ZilLValue::INT(1)},
                                              ZilLField{N().neighborface, ZilLValue::INT(9)},
                                              ZilLField{N().neighborface, ZilLValue::INT(9)}}));
    SubdivisionMesh::linkNeighbours(cube, cap.out());
    const FieldArray twice = corner(cube, 0, 1);
    EXPECT_EQ(fieldNames(twice), (Names{"vertexIndex", "neighborface", "neighborface", "neighboredge"}));
    EXPECT_EQ(twice[1].value.asInt(), 5);
    EXPECT_EQ(twice[2].value.asInt(), 5);
    EXPECT_EQ(cap.text(),
              "Internal Error: Expected field neighborface not found in ZilL record!\n"
              "{vertexIndex, neighborface, neighborface}\n"
              "Internal Error: Expected field neighborface not found in ZilL record!\n"
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

namespace {

// The links as the straightforward walk makes them: per vertex its edges
// newest first, stably sorted by end; every same-way pair writes the
// earlier entry, then every opposite partner (newest first) writes. Per
// corner in face order: final face, final edge and the number of writes.
struct Link {
    std::int32_t face = -1, edge = -1, writes = 0;
    bool operator==(const Link&) const = default;
};
std::vector<std::vector<Link>> walkLinks(const std::vector<Ints>& faces, std::size_t vertexCount) {
    struct E {
        std::int32_t end, corner, face;
    };
    std::vector<std::vector<E>> groups(vertexCount);
    for (std::size_t f = 0; f < faces.size(); ++f) {
        const Ints& k = faces[f];
        for (std::size_t i = 0; i < k.size(); ++i) {
            const std::size_t prev = (i + k.size() - 1) % k.size();
            groups[static_cast<std::size_t>(k[prev])].insert(
                groups[static_cast<std::size_t>(k[prev])].begin(),
                E{k[i], static_cast<std::int32_t>(prev), static_cast<std::int32_t>(f)});
        }
    }
    std::vector<std::vector<Link>> out;
    for (const Ints& k : faces) out.emplace_back(k.size());
    auto link = [&](const E& e, const E& t, bool positive) {
        Link& l = out[static_cast<std::size_t>(e.face)][static_cast<std::size_t>(e.corner)];
        l.face = t.face;
        l.edge = positive ? t.corner + 1 : -(t.corner + 1);
        ++l.writes;
    };
    for (std::size_t v = 0; v < vertexCount; ++v) {
        std::vector<E> sorted = groups[v];
        std::stable_sort(sorted.begin(), sorted.end(), [](const E& a, const E& b) { return a.end < b.end; });
        for (std::size_t i = 0; i < sorted.size(); ++i)
            for (std::size_t j = i + 1; j < sorted.size() && sorted[j].end == sorted[i].end; ++j)
                link(sorted[i], sorted[j], false);
        for (const E& e : sorted)
            for (const E& x : groups[static_cast<std::size_t>(e.end)])
                if (x.end == static_cast<std::int32_t>(v)) link(e, x, true);
    }
    return out;
}

}  // namespace

// Edges shared by three or more faces, both ways and the same way, and a
// face that repeats a vertex: the links must be those of the walk. Corners
// with "neighborface" twice report once per write, which shows the count.
TEST(MeshTopology, TangledMeshesLinkAsTheWalkDoes) {
    const std::vector<std::vector<Ints>> meshes{
        {{0, 1, 2, 3}, {1, 0, 4, 5}, {0, 1, 6, 7}, {1, 0, 7, 6}, {0, 1, 5, 4}},
        {{0, 1, 2}, {0, 1, 3}, {0, 1, 4}, {1, 0, 2}, {2, 1, 0}},
        {{0, 0, 1, 2}, {0, 0, 2, 1}, {1, 0, 0}, {3, 4, 5, 6}},
        {{0, 1, 2, 3}, {3, 2, 1, 0}, {0, 1, 2, 3}, {3, 2, 1, 0}},
    };
    for (std::size_t m = 0; m < meshes.size(); ++m) {
        const std::vector<Ints>& faceList = meshes[m];
        const std::vector<Xyz> pts(8, Xyz{});
        const auto want = walkLinks(faceList, pts.size());
        Capture cap;
        const ZilLValue mesh = meshRecord(pts, faceList);
        SubdivisionMesh::linkNeighbours(mesh, cap.out());
        std::size_t expectedReports = 0;
        for (std::size_t f = 0; f < faceList.size(); ++f)
            for (std::size_t k = 0; k < faceList[f].size(); ++k) {
                const Link& w = want[f][k];
                EXPECT_EQ(intOf(corner(mesh, f, k), N().neighborface), w.face) << m << " " << f << " " << k;
                EXPECT_EQ(intOf(corner(mesh, f, k), N().neighboredge), w.edge) << m << " " << f << " " << k;
                if (f == 0) expectedReports += static_cast<std::size_t>(w.writes);
            }
        EXPECT_EQ(cap.text(), "");

        // Face 0's corners with the odd shape take the long way.
        const ZilLValue odd = meshRecord(pts, faceList);
        const ValueArray face0 = corners(odd, 0);
        for (std::size_t k = 0; k < face0.size(); ++k)
            face0.set(k, ZilLValue::RECORD(FieldArray{ZilLField{N().vertexIndex, ZilLValue::INT(faceList[0][k])},
                                                      ZilLField{N().neighborface, ZilLValue::INT(9)},
                                                      ZilLField{N().neighborface, ZilLValue::INT(9)}}));
        Capture oddCap;
        SubdivisionMesh::linkNeighbours(odd, oddCap.out());
        const std::string text = oddCap.text();
        std::size_t reports = 0;
        for (std::size_t at = text.find("Expected field"); at != std::string::npos;
             at = text.find("Expected field", at + 1))
            ++reports;
        // One report for the -1 write of each corner, then one per link write.
        EXPECT_EQ(reports, face0.size() + expectedReports) << m;
        for (std::size_t k = 0; k < faceList[0].size(); ++k)
            EXPECT_EQ(intOf(corner(odd, 0, k), N().neighboredge), want[0][k].edge) << m << " " << k;
    }
}
