#include <limits>

#include "mesh/MeshTestUtil.hpp"

using namespace zil;
using namespace zil::test;

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

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

// Every corner's edge (a, b) and its "edgeSharpness", or -1 when it has none.
std::vector<std::tuple<int, int, double>> cornerSharpness(const ZilLValue& mesh) {
    std::vector<std::tuple<int, int, double>> out;
    for (std::size_t f = 0; f < faces(mesh).size(); ++f) {
        const Ints vs = faceVertices(mesh, f);
        for (std::size_t k = 0; k < vs.size(); ++k) {
            const ZilLField* s = findField(corner(mesh, f, k), N().edgeSharpness);
            out.emplace_back(vs[k], vs[(k + 1) % vs.size()], s ? s->value.asReal() : -1);
        }
    }
    return out;
}

}  // namespace

TEST(SharpnessEdit, CornerBarSetsTheCubeVerticesInPlaceAndZoomOnlyTheCamera) {
    Demo d;
    const ZilLValue mesh = d.cells->mesh;
    // Never below 0.0, and 0.0 for a value that is not a finite number.
    for (auto [v, s] : std::vector<std::pair<double, double>>{
             {1.5, 1.5}, {-0.5, 0.0}, {2.5, 2.5}, {kNaN, 0.0}, {1.5, 1.5}, {kInf, 0.0}, {1.5, 1.5}, {-kInf, 0.0}}) {
        d.targets.corner(v);
        for (std::size_t i = 0; i < 8; ++i) {
            EXPECT_EQ(realOf(vertex(mesh, i), N().vertexSharpness), s);
            EXPECT_EQ(fieldNames(vertex(mesh, i)), (Names{"vertexSharpness", "point"}));
        }
    }
    EXPECT_TRUE(d.cells->mesh.sameNode(mesh));
    EXPECT_TRUE(d.cells->selectedVertices.empty());
    EXPECT_EQ(d.cells->regenerated + d.cells->upToDate, 0);
    EXPECT_EQ(d.redraw->calls, 8);
    EXPECT_EQ(d.cap.text(), "");
    // The zoom bar sets camera z := v - 10.0 and leaves the flags alone.
    d.cells->regenerated = 1;
    for (auto [v, z] :
         std::vector<std::pair<double, double>>{{10.0, 0.0}, {-2.0, -12.0}, {kNaN, -10.0}, {kInf, -10.0}}) {
        d.targets.zoom(v);
        EXPECT_EQ(d.cells->cameraPosition, (Xyz{0.0, 0.0, z}));
    }
    EXPECT_EQ(d.cells->regenerated, 1);
    EXPECT_EQ(d.redraw->calls, 12);
}

TEST(SharpnessEdit, EdgeBarsWriteOnlyTheirGroup) {
    for (bool yellow : {true, false}) {
        Demo d;
        const BarTarget& target = yellow ? d.targets.yellow : d.targets.blue;
        target(2.5);
        int set = 0;
        for (auto [a, b, s] : cornerSharpness(d.cells->mesh)) {
            // Yellow edges join square 0-1-2-3 to square 4-5-6-7.
            EXPECT_EQ(s != -1, yellow == (std::abs(a - b) == 4)) << a << "-" << b;
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

TEST(SharpnessEdit, FailedEditsRestoreTheSelection) {
    Demo d;
    // Two quads sharing an edge: seven edges, fewer than the groups name.
    d.cells->mesh = meshRecord({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {2, 0, 0}, {2, 1, 0}},
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
