#include "ui/controls/DemoPageControl.hpp"

#include <utility>

#include "render/RenderPreview.hpp"
#include "ui/controls/ControlLook.hpp"
#include "ui/controls/Controls.hpp"
#include "ui/controls/UIContext.hpp"
#include "ui/tree/TopLevelControls.hpp"

namespace zil::DemoPageControl {

namespace {

// The preview's redraw: the page's whole area.
class PageRedraw final : public PreviewRedraw {
public:
    PageRedraw(ControlTree& tree, IdCell page) : tree_(tree), page_(std::move(page)) {}
    void redrawPreview() override { TopLevelControls::invalidate(tree_, page_); }

private:
    ControlTree& tree_;
    IdCell page_;
};

}  // namespace

std::shared_ptr<const ControlDrawItem> setUp(UIContext& ctx, const IdCell& self, KindState& state) {
    ControlTree& tree = ctx.tree;
    // Making the preview begins its rendering context, which resets the
    // current transformation and the device size: the next draw makes its
    // surface anew.
    DemoPreview demo = makeDemoPreview([t = &tree, page = self] { return t->lookup(page)->boundingBox.value(); },
                                       std::make_shared<PageRedraw>(tree, self), ctx.ri, tree.report());
    state.resources.riContext = &ctx.ri;
    state.cells.preview = demo.preview;

    const std::pair<const char*, const BarTarget*> values[] = {
        {"zoom", &demo.targets.zoom},
        {"cornersharpness", &demo.targets.corner},
        {"yellowedgesharpness", &demo.targets.yellow},
        {"blueedgesharpness", &demo.targets.blue},
    };
    for (const auto& [name, target] : values)
        tree.attributes().registerReal(self, name, 0.0)->onChanged.push(
            [target = *target](const IdCell&, const double& v) { target(v); });
    return std::make_shared<const ControlLook>(LookKind::Preview, Look::Preview{demo.preview});
}

}  // namespace zil::DemoPageControl
