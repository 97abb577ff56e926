#include <gtest/gtest.h>

#include <limits>

#include "mesh/MeshTestUtil.hpp"
#include "mesh/SharpnessEdit.hpp"
#include "records/Capture.hpp"

using namespace zil;
using namespace zil::test;
using Ints = std::vector<std::int32_t>;

namespace {

struct CountingRedraw : PreviewRedraw {
    int calls = 0;
    void redrawPreview() override { ++calls; }
};

struct Demo {
    Capture cap;
    std::shared_ptr<SceneCells> cells = std::make_shared<SceneCells>();
    std::shared_ptr<CountingRedraw> redraw = std::make_shared<CountingRedraw>();
    DemoBarTargets targets;
    Demo() : targets(init()) {}
    DemoBarTargets init() {
        DemoPage::initScene(*cells);
        cells->regenerated = 1;
        cells->upToDate = 1;
        return DemoPage::makeBarTargets(cells, redraw, cap.out());
    }
};

// The sharpness set on the corner that starts edge (a, b) in each face, or
// "absent" markers, for every corner of the mesh.
std::vector<std::tuple<int, int, bool, double>> cornerSharpness(const ZilLValue& mesh) {
    std::vector<std::tuple<int, int, bool, double>> out;
    for (std::size_t f = 0; f < faces(mesh).size(); ++f) {
        const auto vs = faceVertices(mesh, f);
        for (std::size_t k = 0; k < vs.size(); ++k) {
            const FieldArray c = corner(mesh, f, k);
            out.emplace_back(vs[k], vs[(k + 1) % vs.size()], has(c, N().edgeSharpness), realOf(c, N().edgeSharpness));
        }
    }
    return out;
}

bool inGroup(int a, int b, std::span<const std::int32_t> group) {
    Capture cap;
    const auto edges = SubdivisionMesh::collectEdges(DemoPage::defaultCube(), cap.out());
    for (std::int32_t e : group) {
        auto [lo, hi] = edges[static_cast<std::size_t>(e)];
        if ((lo == a && hi == b) || (lo == b && hi == a)) return true;
    }
    return false;
}

}  // namespace

TEST(SharpnessEdit, ToggleRemovesEveryOccurrenceOrPutsInFront) {
    Ints set;
    toggleIntsInSet(Constants::cubeVertices, set);
    EXPECT_EQ(set, (Ints{7, 6, 5, 4, 3, 2, 1, 0}));
    toggleIntsInSet(Constants::cubeVertices, set);
    EXPECT_TRUE(set.empty());
    set = {3, 1, 3, 2};
    const Ints three{3};
    toggleIntsInSet(three, set);
    EXPECT_EQ(set, (Ints{1, 2}));
    const Ints twice{5, 5};
    toggleIntsInSet(twice, set);
    EXPECT_EQ(set, (Ints{1, 2}));
}

TEST(SharpnessEdit, BarValuesNeverGoBelowZeroOrStopBeingNumbers) {
    EXPECT_EQ(barSharpness(-0.5), 0.0);
    EXPECT_EQ(barSharpness(0.0), 0.0);
    EXPECT_EQ(barSharpness(2.5), 2.5);
    EXPECT_EQ(barSharpness(std::numeric_limits<double>::quiet_NaN()), 0.0);
    EXPECT_EQ(barSharpness(std::numeric_limits<double>::infinity()), 0.0);
    EXPECT_EQ(barSharpness(-std::numeric_limits<double>::infinity()), 0.0);
}

TEST(SharpnessEdit, CornerBarSetsTheCubeVerticesOnly) {
    Demo d;
    EXPECT_EQ(d.cells->selectedEdges, (Ints{11, 8, 6, 4}));
    const ZilLValue mesh = d.cells->mesh;
    d.targets.corner(1.5);
    for (std::size_t i = 0; i < 8; ++i) {
        EXPECT_EQ(realOf(vertex(mesh, i), N().vertexSharpness), 1.5);
        EXPECT_EQ(fieldNames(vertex(mesh, i)), (std::vector<std::string_view>{"vertexSharpness", "point"}));
    }
    EXPECT_TRUE(d.cells->mesh.sameNode(mesh));  // edited in place
    EXPECT_TRUE(d.cells->selectedVertices.empty());
    EXPECT_EQ(d.cells->regenerated, 0);
    EXPECT_EQ(d.cells->upToDate, 0);
    EXPECT_EQ(d.redraw->calls, 1);

    // A second move sets them all again; bad values store 0.0.
    for (double v : {-0.5, std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity()}) {
        d.targets.corner(1.5);
        d.targets.corner(v);
        for (std::size_t i = 0; i < 8; ++i) EXPECT_EQ(realOf(vertex(mesh, i), N().vertexSharpness), 0.0);
    }
    EXPECT_TRUE(d.cells->selectedVertices.empty());
    EXPECT_EQ(d.cap.text(), "");
}

TEST(SharpnessEdit, EdgeBarsWriteOnlyTheirGroup) {
    for (bool yellow : {true, false}) {
        Demo d;
        const std::span<const std::int32_t> group =
            yellow ? std::span<const std::int32_t>(Constants::yellowEdges) : std::span<const std::int32_t>(Constants::blueEdges);
        (yellow ? d.targets.yellow : d.targets.blue)(2.5);
        int set = 0;
        for (auto [a, b, present, s] : cornerSharpness(d.cells->mesh)) {
            EXPECT_EQ(present, inGroup(a, b, group)) << a << "-" << b;
            if (present) {
                EXPECT_EQ(s, 2.5);
                ++set;
            }
        }
        EXPECT_EQ(set, static_cast<int>(2 * group.size()));  // both faces of every edge
        EXPECT_EQ(d.cells->selectedEdges, (Ints{11, 8, 6, 4}));
        EXPECT_EQ(d.cells->regenerated, 0);
        EXPECT_EQ(d.redraw->calls, 1);

        // A negative or non-number value writes 0.0, never below.
        (yellow ? d.targets.yellow : d.targets.blue)(-3.0);
        (yellow ? d.targets.yellow : d.targets.blue)(std::numeric_limits<double>::quiet_NaN());
        for (auto [a, b, present, s] : cornerSharpness(d.cells->mesh)) {
            if (present) {
                EXPECT_EQ(s, 0.0);
            }
        }
        EXPECT_EQ(d.cap.text(), "");
    }
}

TEST(SharpnessEdit, ZoomMovesTheCameraOnly) {
    Demo d;
    d.targets.zoom(10.0);
    EXPECT_EQ(d.cells->cameraPosition, (Xyz{0.0, 0.0, 0.0}));
    d.targets.zoom(0.0);
    EXPECT_EQ(d.cells->cameraPosition, (Xyz{0.0, 0.0, -10.0}));
    d.targets.zoom(-2.0);
    EXPECT_EQ(d.cells->cameraPosition.z, -12.0);
    d.targets.zoom(std::numeric_limits<double>::quiet_NaN());
    EXPECT_EQ(d.cells->cameraPosition.z, -10.0);
    d.targets.zoom(std::numeric_limits<double>::infinity());
    EXPECT_EQ(d.cells->cameraPosition.z, -10.0);
    EXPECT_EQ(d.cells->regenerated, 1);
    EXPECT_EQ(d.cells->upToDate, 1);
    EXPECT_EQ(d.redraw->calls, 5);
}

TEST(SharpnessEdit, FailedEditRestoresTheSelection) {
    Demo d;
    // Two quads sharing an edge: seven edges, fewer than the groups name.
    d.cells->mesh = makeMesh({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {2, 0, 0}, {2, 1, 0}},
                             {{0, 1, 2, 3}, {1, 4, 5, 2}});
    EXPECT_THROW(d.targets.yellow(1.0), Subscript);
    EXPECT_EQ(d.cells->selectedEdges, (Ints{11, 8, 6, 4}));
    EXPECT_EQ(d.redraw->calls, 0);
    // Blue edits 10, 9, 7 ... and fails at 10 first: nothing is set.
    EXPECT_THROW(d.targets.blue(1.0), Subscript);
    EXPECT_EQ(d.cells->selectedEdges, (Ints{11, 8, 6, 4}));
    for (auto [a, b, present, s] : cornerSharpness(d.cells->mesh)) EXPECT_FALSE(present);

    // A vertex list shorter than the group fails after the vertices before it.
    d.cells->mesh = makeMesh({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}}, {{0, 1, 2, 3}});
    EXPECT_THROW(d.targets.corner(1.0), Subscript);
    EXPECT_TRUE(d.cells->selectedVertices.empty());
    d.cells->mesh = ZilLValue::INT(0);
    EXPECT_THROW(d.targets.corner(1.0), Match);
    EXPECT_TRUE(d.cells->selectedVertices.empty());
    EXPECT_EQ(d.cells->regenerated, 1);
}

TEST(SharpnessEdit, EdgesBeforeAFailureKeepTheirValue) {
    Capture cap;
    const ZilLValue cube = DemoPage::defaultCube();
    const Ints selection{9, 40, 10};
    EXPECT_THROW(SubdivisionMesh::setSelectedEdgeSharpness(cube, selection, 0.75, cap.out()), Subscript);
    int set = 0;
    for (auto [a, b, present, s] : cornerSharpness(cube))
        if (present) {
            EXPECT_TRUE((a == 0 && b == 1) || (a == 1 && b == 0));
            ++set;
        }
    EXPECT_EQ(set, 2);
    // A sharpness field of the wrong kind is the getter's failure.
    corners(cube, 0).set(0, ZilLValue::RECORD(FieldArray{ZilLField{N().vertexIndex, ZilLValue::INT(0)},
                                                         ZilLField{N().edgeSharpness, ZilLValue::INT(1)}}));
    const Ints first{9};
    EXPECT_THROW(SubdivisionMesh::setSelectedEdgeSharpness(cube, first, 0.75, cap.out()), InternalError);
    EXPECT_EQ(cap.text(),
              "Internal Error: real match error: function getRealField\n"
              "Internal Error: Could not get field edgeSharpness\n");
}

TEST(DefaultCube, LayoutAndFieldOrder) {
    const ZilLValue cube = DemoPage::defaultCube();
    EXPECT_EQ(fieldNames(cube.fields()), (std::vector<std::string_view>{"faces", "vertices"}));
    ASSERT_EQ(vertices(cube).size(), 8u);
    ASSERT_EQ(faces(cube).size(), 6u);
    for (std::size_t i = 0; i < 8; ++i) {
        const FieldArray v = vertex(cube, i);
        EXPECT_EQ(fieldNames(v), (std::vector<std::string_view>{"vertexSharpness", "point"}));
        EXPECT_EQ(realOf(v, N().vertexSharpness), 0.0);
        const FieldArray p = findField(v, N().point)->value.fields();
        EXPECT_EQ(fieldNames(p), (std::vector<std::string_view>{"z", "y", "x"}));
        EXPECT_EQ(realOf(p, N().x), Constants::cubePoints[i][0]);
        EXPECT_EQ(realOf(p, N().y), Constants::cubePoints[i][1]);
        EXPECT_EQ(realOf(p, N().z), Constants::cubePoints[i][2]);
    }
    for (std::size_t f = 0; f < 6; ++f) {
        const auto vs = faceVertices(cube, f);
        EXPECT_EQ(vs, Ints(Constants::cubeFaces[f].begin(), Constants::cubeFaces[f].end()));
        for (std::size_t k = 0; k < 4; ++k)
            EXPECT_EQ(fieldNames(corner(cube, f, k)), (std::vector<std::string_view>{"vertexIndex"}));
    }
}
