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

TEST(DemoPageControl, KeepsTheCubeResetsThePreviewStateAndRepaintsOnlyItself) {
    Ui ui;
    ui.ctx.ri.deviceWidth = 77;
    ui.ctx.ri.currentTransform.rows[0][3] = 5.0;
    // The page (3) at (0, 0, 400, 400) in a tab page at (20, 30).
    const IdCell page = Controls::newDemoPageControl(
        ui.ctx, ui.add(ControlKindTag::TabBookPage, {20, 30, 500, 500}), {0, 0, 400, 400}, 1);
    SceneCells& scene = ui.cells(3).preview->cells();
    EXPECT_EQ(ui.ctx.ri.deviceWidth, 0);  // the next draw makes the surface anew
    EXPECT_EQ(ui.ctx.ri.currentTransform.rows[0][3], 0.0);
    EXPECT_EQ(scene.cameraPosition.z, -10.0);

    const Xyz points[] = {{-0.5, -0.5, 0.5}, {-0.5, -0.5, -0.5}, {0.5, -0.5, -0.5}, {0.5, -0.5, 0.5},
                          {-0.5, 0.5, 0.5},  {-0.5, 0.5, -0.5},  {0.5, 0.5, -0.5},  {0.5, 0.5, 0.5}};
    ASSERT_EQ(vertices(scene.mesh).size(), 8u);
    for (std::size_t i = 0; i < 8; ++i) {
        EXPECT_TRUE(near(pointOf(scene.mesh, i), points[i], 0.0)) << i;
        EXPECT_EQ(vertex(scene.mesh, i).size(), 2u);  // "point" and "vertexSharpness" 0.0 alone
        EXPECT_EQ(realOf(vertex(scene.mesh, i), N().vertexSharpness), 0.0);
    }
    const Ints corners[] = {{0, 1, 2, 3}, {0, 4, 5, 1}, {6, 5, 4, 7}, {6, 7, 3, 2}, {3, 7, 4, 0}, {5, 6, 2, 1}};
    ASSERT_EQ(faces(scene.mesh).size(), 6u);
    for (std::size_t f = 0; f < 6; ++f) {
        EXPECT_EQ(faceVertices(scene.mesh, f), corners[f]);
        EXPECT_EQ(fieldNames(corner(scene.mesh, f, 3)), (Names{"vertexIndex"}));  // not linked
    }

    std::vector<IRect2D>& dirty = ui.ctx.tree.findWindow(*ui.window)->dirty;
    dirty.clear();
    ui.attributes().get<Attr::NReal>(page, "cornersharpness")->set(1.5);
    for (std::size_t i = 0; i < 8; ++i) EXPECT_EQ(realOf(vertex(scene.mesh, i), N().vertexSharpness), 1.5);
    EXPECT_EQ(scene.regenerated, 0);
    EXPECT_EQ(dirty, (std::vector<IRect2D>{{20, 30, 400, 400}}));  // the page in the window
    ui.attributes().get<Attr::NReal>(page, "zoom")->set(2.5);
    EXPECT_EQ(scene.cameraPosition.z, -7.5);
    EXPECT_EQ(dirty, (std::vector<IRect2D>{{20, 30, 400, 400}}));
}

}  // namespace
}  // namespace zil::testing
