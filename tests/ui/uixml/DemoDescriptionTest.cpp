// The demo's own description, built in a copy of demo/ as the program does.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <set>

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
    const UIAttributes& attributes() const { return ctx->tree.attributes(); }
};

TEST(DemoDescription, BuildsSilentlyWithEveryClassAndEachControlInItsPlace) {
    Demo d;
    EXPECT_EQ(d.out + d.report.text(), "");
    for (const auto& entry : std::filesystem::directory_iterator(d.dir.root()))
        EXPECT_NE(entry.path().extension(), ".log") << entry.path();
    ASSERT_EQ(d.ctx->tree.windows().size(), 1u);
    EXPECT_EQ(d.at(d.made[0]).visible.value(), 1);
    std::set<std::string> classes, names;
    for (const IdCell& id : d.made) {
        classes.insert(d.at(id).className.value());
        EXPECT_TRUE(names.insert(d.at(id).name.value()).second) << d.at(id).name.value();
    }
    EXPECT_EQ(classes.size(), 29u);  // every class but the demo's page, which the demo makes itself

    for (const auto& [name, cls] : {std::pair{"maintab", "VuqTabIndex"}, {"maintabbook", "VuqTabBook"},
                                    {"zilbrovdemopage", "VuqTabBookPage"}, {"zoombar", "VuqHorizScrollBar"},
                                    {"cornersharpnessbar", "VuqHorizScrollBar"},
                                    {"yellowedgesharpnessbar", "VuqHorizScrollBar"},
                                    {"blueedgesharpnessbar", "VuqHorizScrollBar"}}) {
        IdCell id = d.find(name);
        ASSERT_TRUE(id) << name;
        EXPECT_EQ(d.at(id).className.value(), cls) << name;
        if (std::string_view(name).ends_with("bar")) {  // a bar moves over range - size positions
            EXPECT_GT(d.attributes().get<Attr::NInt>(id, "barrange")->value(),
                      d.attributes().get<Attr::NInt>(id, "barsize")->value()) << name;
        }
    }
    // The preview's 400 x 400 at the page's origin lies inside the window and
    // clear of everything else on the page.
    IdCell page = d.find("zilbrovdemopage");
    std::int32_t x = 0, y = 0;
    for (IdCell c = page; *d.at(c).parent != 0; c = d.at(c).parent)
        x += d.at(c).boundingBox.value().x, y += d.at(c).boundingBox.value().y;
    const IRect2D window = d.at(d.made[0]).boundingBox.value();
    EXPECT_TRUE(x >= 0 && y >= 0 && x + 400 <= window.w && y + 400 <= window.h);
    for (const IdCell& c : ControlTree::snapshotChildren(d.at(page))) {
        const IRect2D b = d.at(c).boundingBox.value();
        EXPECT_TRUE(b.x >= 400 || b.y >= 400) << d.at(c).name.value();
    }
    // Nothing stands outside its parent but what a scroll area moves.
    for (const IdCell& id : d.made) {
        const UIControl& c = d.at(id);
        if (*c.parent == 0) continue;
        const ControlCells* parentCells = Controls::cellsOf(d.ctx->tree, c.parent);
        if (parentCells && parentCells->kind == ControlKindTag::VertScrollArea) continue;
        const IRect2D box = c.boundingBox.value(), outer = d.at(c.parent).boundingBox.value();
        EXPECT_TRUE(box.x >= 0 && box.y >= 0 && box.x + box.w <= outer.w && box.y + box.h <= outer.h)
            << c.name.value() << " in " << d.at(c.parent).name.value();
    }
}

TEST(DemoDescription, TheBooksSelectionShowsEachPage) {
    Demo d;
    std::vector<IdCell> pages = ControlTree::snapshotChildren(d.at(d.find("maintabbook")));
    EXPECT_EQ(std::size_t(d.attributes().get<Attr::NStrings>(d.find("maintab"), "tabs")->count()), pages.size());
    auto shown = [&] {
        std::vector<std::int32_t> out;
        for (const IdCell& p : pages)
            if (d.at(p).visible.value()) out.push_back(d.attributes().get<Attr::NInt>(p, "tabindex")->value());
        return out;
    };
    EXPECT_EQ(shown(), std::vector<std::int32_t>{0});  // as described
    auto selected = d.attributes().get<Attr::NInt>(d.find("maintabbook"), "selectedtabindex");
    for (auto k = std::int32_t(pages.size()) - 1; k >= 0; --k) {
        selected->set(k);
        EXPECT_EQ(shown(), std::vector<std::int32_t>{k});
    }
}

}  // namespace
}  // namespace zil
