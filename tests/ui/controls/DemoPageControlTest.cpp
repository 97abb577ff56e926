// The demo page: its cube, the preview state it resets, and a value edit
// reaching the cube and repainting only the page.
#include "ui/controls/DemoPageControl.hpp"

#include <gtest/gtest.h>

#include "mesh/MeshTestUtil.hpp"
#include "render/RenderPreview.hpp"
#include "ui/controls/ContextTestSupport.hpp"

namespace zil::testing {
namespace {

using namespace test;

// A page (ID 3) at (0, 0, 400, 400) in a tab page at (20, 30) of the window.
struct Page : Ui {
    IdCell page;
    Page() {
        ctx.ri.deviceWidth = 77;
        ctx.ri.currentTransform.rows[0][3] = 5.0;
        page = Controls::newDemoPageControl(ctx, add(ControlKindTag::TabBookPage, {20, 30, 500, 500}), {0, 0, 400, 400},
                                            1);
    }
    SceneCells& scene() const { return cells(3).preview->cells(); }
    std::vector<IRect2D>& dirty() { return ctx.tree.findWindow(*window)->dirty; }
};

TEST(DemoPageControl, KeepsTheDefaultCubeAndResetsThePreviewState) {
    Page p;
    const ZilLValue& cube = p.scene().mesh;
    const Xyz points[] = {{-0.5, -0.5, 0.5}, {-0.5, -0.5, -0.5}, {0.5, -0.5, -0.5}, {0.5, -0.5, 0.5},
                          {-0.5, 0.5, 0.5},  {-0.5, 0.5, -0.5},  {0.5, 0.5, -0.5},  {0.5, 0.5, 0.5}};
    ASSERT_EQ(vertices(cube).size(), 8u);
    for (std::size_t i = 0; i < 8; ++i) {
        EXPECT_TRUE(near(pointOf(cube, i), points[i], 0.0)) << i;
        EXPECT_EQ(vertex(cube, i).size(), 2u);  // "point" and "vertexSharpness" 0.0 alone
        EXPECT_EQ(realOf(vertex(cube, i), N().vertexSharpness), 0.0);
    }
    const Ints corners[] = {{0, 1, 2, 3}, {0, 4, 5, 1}, {6, 5, 4, 7}, {6, 7, 3, 2}, {3, 7, 4, 0}, {5, 6, 2, 1}};
    ASSERT_EQ(faces(cube).size(), 6u);
    for (std::size_t f = 0; f < 6; ++f) {
        EXPECT_EQ(faceVertices(cube, f), corners[f]);
        EXPECT_EQ(fieldNames(corner(cube, f, 3)), (Names{"vertexIndex"}));  // not linked
    }
    EXPECT_EQ(p.scene().cameraPosition.z, -10.0);
    EXPECT_EQ(p.ctx.ri.deviceWidth, 0);  // the next draw makes the surface anew
    EXPECT_EQ(p.ctx.ri.currentTransform.rows[0][3], 0.0);
}

TEST(DemoPageControl, ValuesEditTheCubeAndRepaintOnlyThePage) {
    Page p;
    p.dirty().clear();
    p.attributes().get<Attr::NReal>(p.page, "cornersharpness")->set(1.5);
    for (std::size_t i = 0; i < 8; ++i) EXPECT_EQ(realOf(vertex(p.scene().mesh, i), N().vertexSharpness), 1.5);
    EXPECT_EQ(p.scene().regenerated, 0);
    EXPECT_EQ(p.dirty(), (std::vector<IRect2D>{{20, 30, 400, 400}}));  // the page in the window
    p.attributes().get<Attr::NReal>(p.page, "zoom")->set(2.5);
    EXPECT_EQ(p.scene().cameraPosition.z, -7.5);
    EXPECT_EQ(p.dirty(), (std::vector<IRect2D>{{20, 30, 400, 400}}));
}

}  // namespace
}  // namespace zil::testing
