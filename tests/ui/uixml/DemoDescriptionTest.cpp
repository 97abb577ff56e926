// The demo's own description, built in a copy of demo/ as the program does.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "records/Capture.hpp"
#include "shell/UILoader.hpp"
#include "ui/base/ImageTestSupport.hpp"
#include "ui/controls/Controls.hpp"
#include "ui/controls/UIContext.hpp"
#include "ui/uixml/UIXMLBuild.hpp"

namespace zil {
namespace {

struct Demo {
    testing::InScratchDir dir;
    test::Capture report;
    std::optional<UIContext> ctx;
    std::vector<IdCell> made;
    std::string out;

    Demo() {
        std::filesystem::copy(testing::demoDir(), dir.root(), std::filesystem::copy_options::recursive);
        AppConfig::Cell config;
        AppConfig::load(config);
        out = testing::stdoutOf([&] {
            ctx.emplace(config, report.out());
            made = UIXMLBuild::buildControl(UILoader::load().items, *ctx);
        });
    }
    IdCell find(std::string_view name) const { return ctx->tree.findControlByName(made.at(0), name); }
    UIControl& at(const IdCell& id) const { return *ctx->tree.lookup(id); }
    std::int32_t intOf(const IdCell& id, std::string_view name) const {
        return ctx->tree.attributes().get<Attr::NInt>(id, name)->value();
    }
    std::vector<IdCell> children(std::string_view name) const { return ControlTree::snapshotChildren(at(find(name))); }
};

bool overlaps(const IRect2D& a, const IRect2D& b) {
    return a.x < b.x + b.w && b.x < a.x + a.w && a.y < b.y + b.h && b.y < a.y + a.h;
}

TEST(DemoDescription, BuildsSilentlyWithEveryClassOnceNamedUniquely) {
    Demo d;
    EXPECT_EQ(d.out, "");
    EXPECT_EQ(d.report.text(), "");
    for (const auto& entry : std::filesystem::directory_iterator(d.dir.root()))
        EXPECT_NE(entry.path().extension(), ".log") << entry.path();

    ASSERT_EQ(d.ctx->tree.windows().size(), 1u);
    EXPECT_EQ(d.at(d.made[0]).className.value(), "VuqNoBackgroundWindow");
    EXPECT_EQ(d.at(d.made[0]).visible.value(), 1);
    EXPECT_NE(d.ctx->tree.screen(), nullptr);

    std::set<std::string> classes, names;
    for (const IdCell& id : d.made) {
        classes.insert(d.at(id).className.value());
        EXPECT_TRUE(names.insert(d.at(id).name.value()).second) << d.at(id).name.value();
    }
    // Every class but the demo's page, which the demo makes itself.
    EXPECT_EQ(classes, (std::set<std::string>{
                           "VuqNoBackgroundWindow", "VuqOKDialog", "VuqTextLabel", "VuqImportantTextLabel",
                           "VuqTextEdit", "VuqFramedButtonView", "VuqFramedPushButton", "VuqButtonView",
                           "VuqFramedHorizScrollBar", "VuqTabIndex", "VuqTabBookPage", "VuqFileBrowseListBox",
                           "VuqListBox", "VuqVertScrollArea", "VuqVertScrollBar", "VuqFrameForChild",
                           "VuqFramedVertScrollBar", "VuqSelectionStrings", "VuqFramedListBox", "VuqFieldTabulator",
                           "VuqTabBook", "VuqHorizScrollBar", "VuqPushAction", "VuqPushButton", "VuqImageButton",
                           "VuqCheckBoxView", "VuqFramedTextEdit", "VuqControlFrame", "VuqPopupWindow"}));
}

TEST(DemoDescription, TheDemosControlsInTheirPlaces) {
    Demo d;
    const std::pair<const char*, const char*> expected[] = {
        {"maintab", "VuqTabIndex"},
        {"maintabbook", "VuqTabBook"},
        {"zilbrovdemopage", "VuqTabBookPage"},
        {"zoombar", "VuqHorizScrollBar"},
        {"cornersharpnessbar", "VuqHorizScrollBar"},
        {"yellowedgesharpnessbar", "VuqHorizScrollBar"},
        {"blueedgesharpnessbar", "VuqHorizScrollBar"},
    };
    for (const auto& [name, cls] : expected) {
        IdCell id = d.find(name);
        ASSERT_TRUE(id) << name;
        EXPECT_EQ(d.at(id).className.value(), cls) << name;
        // Dragging and keys move a bar over range - size positions.
        if (std::string_view(name).ends_with("bar")) {
            EXPECT_GT(d.intOf(id, "barrange"), d.intOf(id, "barsize")) << name;
        }
    }

    // The preview's 400 x 400 at the page's origin lies inside the window and
    // clear of everything else on the page.
    IdCell page = d.find("zilbrovdemopage");
    IRect2D preview{0, 0, 400, 400};
    for (IdCell c = page; *d.at(c).parent != 0; c = d.at(c).parent) {
        preview.x += d.at(c).boundingBox.value().x;
        preview.y += d.at(c).boundingBox.value().y;
    }
    const IRect2D window = d.at(d.made[0]).boundingBox.value();
    EXPECT_TRUE(preview.x >= 0 && preview.y >= 0 && preview.x + 400 <= window.w && preview.y + 400 <= window.h);
    EXPECT_GE(d.at(page).boundingBox.value().w, 400);
    EXPECT_GE(d.at(page).boundingBox.value().h, 400);
    for (const IdCell& c : ControlTree::snapshotChildren(d.at(page)))
        EXPECT_FALSE(overlaps(d.at(c).boundingBox.value(), {0, 0, 400, 400})) << d.at(c).name.value();

    // Nothing stands outside its parent but what a scroll area moves.
    for (UIControlID id = 1; id < d.ctx->tree.capacity(); ++id) {
        if (!d.ctx->tree.inUse(id)) continue;
        const UIControl& c = *d.ctx->tree.lookup(id);
        if (*c.parent == 0) continue;
        const ControlCells* parentCells = Controls::cellsOf(d.ctx->tree, c.parent);
        if (parentCells && parentCells->kind == ControlKindTag::VertScrollArea) continue;
        const IRect2D box = c.boundingBox.value(), outer = d.at(c.parent).boundingBox.value();
        EXPECT_TRUE(box.x >= 0 && box.y >= 0 && box.x + box.w <= outer.w && box.y + box.h <= outer.h)
            << id << " " << c.name.value() << " in " << d.at(c.parent).name.value();
    }
}

TEST(DemoDescription, TheBooksSelectionShowsEachPage) {
    Demo d;
    std::vector<IdCell> pages = d.children("maintabbook");
    auto tabs = d.ctx->tree.attributes().get<Attr::NStrings>(d.find("maintab"), "tabs");
    EXPECT_EQ(static_cast<std::size_t>(tabs->count()), pages.size());  // a tab per page
    // Described: only page 0 shows, and a selection acts only when it changes.
    auto shown = [&] {
        std::vector<std::int32_t> out;
        for (const IdCell& p : pages)
            if (d.at(p).visible.value()) out.push_back(d.intOf(p, "tabindex"));
        return out;
    };
    EXPECT_EQ(shown(), std::vector<std::int32_t>{0});
    auto selected = d.ctx->tree.attributes().get<Attr::NInt>(d.find("maintabbook"), "selectedtabindex");
    for (std::int32_t k = static_cast<std::int32_t>(pages.size()) - 1; k >= 0; --k) {
        selected->set(k);
        EXPECT_EQ(shown(), std::vector<std::int32_t>{k});
    }
}

}  // namespace
}  // namespace zil
