// The demo page: the preview state it resets, and a value edit reaching
// the cube and repainting only the page.
#include "ui/controls/DemoPageControl.hpp"

#include <gtest/gtest.h>

#include "mesh/MeshTestUtil.hpp"
#include "render/RenderPreview.hpp"
#include "ui/controls/ContextTestSupport.hpp"

namespace zil::testing {
namespace {

using namespace test;

TEST(DemoPageControl, ResetsThePreviewStateAndItsValuesEditTheCubeAndRepaintOnlyThePage) {
    Ui ui;
    ui.ctx.ri.deviceWidth = 77;
    ui.ctx.ri.currentTransform.rows[0][3] = 5.0;
    // The page (3) at (0, 0, 400, 400) in a tab page at (20, 30).
    const IdCell page = Controls::newDemoPageControl(
        ui.ctx, ui.add(ControlKindTag::TabBookPage, {20, 30, 500, 500}), {0, 0, 400, 400}, 1);
    SceneCells& scene = ui.cells(3).preview->cells();
    EXPECT_EQ(ui.ctx.ri.deviceWidth, 0);  // the next draw makes the surface anew
    EXPECT_EQ(ui.ctx.ri.currentTransform.rows[0][3], 0.0);

    ui.dirty().clear();
    ui.attributes().get<Attr::NReal>(page, "cornersharpness")->set(1.5);
    for (std::size_t i = 0; i < 8; ++i) EXPECT_EQ(realOf(vertex(scene.mesh, i), N().vertexSharpness), 1.5);
    EXPECT_EQ(scene.regenerated, 0);
    EXPECT_EQ(ui.dirty(), (std::vector<IRect2D>{{20, 30, 400, 400}}));  // the page in the window
    ui.attributes().get<Attr::NReal>(page, "zoom")->set(2.5);
    EXPECT_EQ(scene.cameraPosition.z, -7.5);
    EXPECT_EQ(ui.dirty(), (std::vector<IRect2D>{{20, 30, 400, 400}}));
}

}  // namespace
}  // namespace zil::testing
