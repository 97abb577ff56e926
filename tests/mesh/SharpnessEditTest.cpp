#include <gtest/gtest.h>

#include <limits>

#include "mesh/MeshTestUtil.hpp"
#include "mesh/SharpnessEdit.hpp"

using namespace zil;
using namespace zil::test;

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

struct CountingRedraw : PreviewRedraw {
    int calls = 0;
    void redrawPreview() override { ++calls; }
};

struct Demo {
    Capture cap;
    std::shared_ptr<SceneCells> cells = std::make_shared<SceneCells>();
    std::shared_ptr<CountingRedraw> redraw = std::make_shared<CountingRedraw>();
    DemoBarTargets targets = init();
    DemoBarTargets init() {
        DemoPage::initScene(*cells);
        cells->regenerated = cells->upToDate = 1;
        return DemoPage::makeBarTargets(cells, redraw, cap.out());
    }
};

// Every corner of the mesh: its edge (a, b) and its "edgeSharpness", or -1
// when it has none.
std::vector<std::tuple<int, int, double>> cornerSharpness(const ZilLValue& mesh) {
    std::vector<std::tuple<int, int, double>> out;
    for (std::size_t f = 0; f < faces(mesh).size(); ++f) {
        const Ints vs = faceVertices(mesh, f);
        for (std::size_t k = 0; k < vs.size(); ++k) {
            const FieldArray c = corner(mesh, f, k);
            out.emplace_back(vs[k], vs[(k + 1) % vs.size()], has(c, N().edgeSharpness) ? realOf(c, N().edgeSharpness) : -1);
        }
    }
    return out;
}

bool inGroup(int a, int b, std::span<const std::int32_t> group) {
    Capture cap;
    const auto edges = SubdivisionMesh::collectEdges(DemoPage::defaultCube(), cap.out());
    for (std::int32_t e : group)
        if (edges[static_cast<std::size_t>(e)] == std::pair{std::min(a, b), std::max(a, b)}) return true;
    return false;
}

}  // namespace

TEST(SharpnessEdit, ToggleAndBarValues) {
    Ints set;
    toggleIntsInSet(Constants::cubeVertices, set);
    EXPECT_EQ(set, (Ints{7, 6, 5, 4, 3, 2, 1, 0}));
    toggleIntsInSet(Constants::cubeVertices, set);
    EXPECT_TRUE(set.empty());
    set = {3, 1, 3, 2};
    toggleIntsInSet(Ints{3, 5, 5}, set);
    EXPECT_EQ(set, (Ints{1, 2}));

    EXPECT_EQ(barSharpness(-0.5), 0.0);
    EXPECT_EQ(barSharpness(0.0), 0.0);
    EXPECT_EQ(barSharpness(2.5), 2.5);
    for (double bad : {kNaN, kInf, -kInf}) EXPECT_EQ(barSharpness(bad), 0.0);
}

TEST(SharpnessEdit, CornerBarSetsTheCubeVerticesInPlace) {
    Demo d;
    const ZilLValue mesh = d.cells->mesh;
    d.targets.corner(1.5);
    for (std::size_t i = 0; i < 8; ++i) {
        EXPECT_EQ(realOf(vertex(mesh, i), N().vertexSharpness), 1.5);
        EXPECT_EQ(fieldNames(vertex(mesh, i)), (Names{"vertexSharpness", "point"}));
    }
    EXPECT_TRUE(d.cells->mesh.sameNode(mesh));
    EXPECT_TRUE(d.cells->selectedVertices.empty());
    EXPECT_EQ(d.cells->regenerated, 0);
    EXPECT_EQ(d.cells->upToDate, 0);
    EXPECT_EQ(d.redraw->calls, 1);
    for (double v : {-0.5, kNaN, kInf}) {
        d.targets.corner(1.5);
        d.targets.corner(v);
        for (std::size_t i = 0; i < 8; ++i) EXPECT_EQ(realOf(vertex(mesh, i), N().vertexSharpness), 0.0);
    }
    EXPECT_EQ(d.cap.text(), "");
}

TEST(SharpnessEdit, EdgeBarsWriteOnlyTheirGroup) {
    for (bool yellow : {true, false}) {
        Demo d;
        const BarTarget& target = yellow ? d.targets.yellow : d.targets.blue;
        target(2.5);
        int set = 0;
        for (auto [a, b, s] : cornerSharpness(d.cells->mesh)) {
            EXPECT_EQ(s != -1, inGroup(a, b, target.group())) << a << "-" << b;
            set += s == 2.5;
        }
        EXPECT_EQ(set, static_cast<int>(2 * target.group().size()));  // both faces of each edge
        EXPECT_EQ(d.cells->selectedEdges, (Ints{11, 8, 6, 4}));
        EXPECT_EQ(d.cells->regenerated, 0);
        EXPECT_EQ(d.redraw->calls, 1);
        for (double v : {-3.0, kNaN}) {
            target(v);
            for (auto [a, b, s] : cornerSharpness(d.cells->mesh)) EXPECT_TRUE(s == -1 || s == 0.0);
        }
        EXPECT_EQ(d.cap.text(), "");
    }
}

TEST(SharpnessEdit, ZoomMovesTheCameraOnly) {
    Demo d;
    d.targets.zoom(10.0);
    EXPECT_EQ(d.cells->cameraPosition, (Xyz{0.0, 0.0, 0.0}));
    d.targets.zoom(-2.0);
    EXPECT_EQ(d.cells->cameraPosition.z, -12.0);
    for (double bad : {kNaN, kInf}) {
        d.targets.zoom(bad);
        EXPECT_EQ(d.cells->cameraPosition, (Xyz{0.0, 0.0, -10.0}));
    }
    EXPECT_EQ(d.cells->regenerated, 1);
    EXPECT_EQ(d.redraw->calls, 4);
}

TEST(SharpnessEdit, FailedEditsRestoreTheSelection) {
    Demo d;
    // Two quads sharing an edge: seven edges, fewer than the groups name.
    d.cells->mesh = makeMesh({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {2, 0, 0}, {2, 1, 0}},
                             {{0, 1, 2, 3}, {1, 4, 5, 2}});
    EXPECT_THROW(d.targets.yellow(1.0), Subscript);
    EXPECT_EQ(d.cells->selectedEdges, (Ints{11, 8, 6, 4}));
    EXPECT_THROW(d.targets.blue(1.0), Subscript);  // 10 comes first: nothing set
    EXPECT_EQ(d.cells->selectedEdges, (Ints{11, 8, 6, 4}));
    for (auto [a, b, s] : cornerSharpness(d.cells->mesh)) EXPECT_EQ(s, -1);
    d.cells->mesh = ZilLValue::INT(0);
    EXPECT_THROW(d.targets.corner(1.0), Match);
    EXPECT_TRUE(d.cells->selectedVertices.empty());
    EXPECT_EQ(d.cells->regenerated, 1);
    EXPECT_EQ(d.redraw->calls, 0);

    // Edges handled before a failure keep their value.
    Capture cap;
    const ZilLValue cube = DemoPage::defaultCube();
    EXPECT_THROW(SubdivisionMesh::setSelectedEdgeSharpness(cube, Ints{9, 40, 10}, 0.75, cap.out()), Subscript);
    for (auto [a, b, s] : cornerSharpness(cube)) EXPECT_EQ(s != -1, a + b == 1);
    // A sharpness field of the wrong kind is the getter's failure.
    corners(cube, 0).set(0, ZilLValue::RECORD(FieldArray{ZilLField{N().vertexIndex, ZilLValue::INT(0)},
                                                         ZilLField{N().edgeSharpness, ZilLValue::INT(1)}}));
    EXPECT_THROW(SubdivisionMesh::setSelectedEdgeSharpness(cube, Ints{9}, 0.75, cap.out()), InternalError);
    EXPECT_EQ(cap.text(),
              "Internal Error: real match error: function getRealField\n"
              "Internal Error: Could not get field edgeSharpness\n");
}

TEST(DefaultCube, LayoutAndFieldOrder) {
    const ZilLValue cube = DemoPage::defaultCube();
    EXPECT_EQ(fieldNames(cube.fields()), (Names{"faces", "vertices"}));
    ASSERT_EQ(vertices(cube).size(), 8u);
    ASSERT_EQ(faces(cube).size(), 6u);
    for (std::size_t i = 0; i < 8; ++i) {
        EXPECT_EQ(fieldNames(vertex(cube, i)), (Names{"vertexSharpness", "point"}));
        EXPECT_EQ(realOf(vertex(cube, i), N().vertexSharpness), 0.0);
        const FieldArray p = findField(vertex(cube, i), N().point)->value.fields();
        EXPECT_EQ(fieldNames(p), (Names{"z", "y", "x"}));
        EXPECT_EQ((Xyz{realOf(p, N().x), realOf(p, N().y), realOf(p, N().z)}),
                  (Xyz{Constants::cubePoints[i][0], Constants::cubePoints[i][1], Constants::cubePoints[i][2]}));
    }
    for (std::size_t f = 0; f < 6; ++f) {
        EXPECT_EQ(faceVertices(cube, f), Ints(Constants::cubeFaces[f].begin(), Constants::cubeFaces[f].end()));
        EXPECT_EQ(fieldNames(corner(cube, f, 2)), (Names{"vertexIndex"}));
    }
}
