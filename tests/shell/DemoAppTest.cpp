// The demo's start over small descriptions: what it finds, links and binds,
// and where it stops.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "PushEvents.hpp"
#include "records/Capture.hpp"
#include "shell/DemoApp.hpp"
#include "shell/UILoader.hpp"
#include "ui/base/ImageTestSupport.hpp"
#include "ui/controls/Controls.hpp"
#include "ui/controls/UIContext.hpp"
#include "ui/uixml/UIXMLBuild.hpp"

namespace zil::testing {
namespace {

[[maybe_unused]] auto* const sdl = ::testing::AddGlobalTestEnvironment(new SdlVideoEnvironment);

std::string control(const std::string& cls, const std::string& name, const std::string& box,
                    const std::string& more = "", const std::string& inside = "") {
    return "<control class='\"" + cls + "\"' name='\"" + name + "\"' visible='true' boundingbox='" + box + "' " +
           more + ">" + inside + "</control>\n";
}

std::string bar(const std::string& name, int y) {
    return control("VuqHorizScrollBar", name, "{x=410,y=" + std::to_string(y) + ",w=120,h=16}",
                   "barrange='100' barsize='20'");
}

// A window with a tab row over a two-page book; page 0 is the demo's page
// with the bars named in `bars`.
std::string description(bool tabRow, bool book, const std::vector<std::string>& bars) {
    std::string page;
    int y = 0;
    for (const std::string& b : bars) page += bar(b, y += 20);
    std::string body;
    if (tabRow) body += control("VuqTabIndex", "maintab", "{x=0,y=0,w=540,h=24}", "tabs='[\"A\",\"B\"]'");
    const std::string pages =
        control("VuqTabBookPage", "zilbrovdemopage", "{x=0,y=0,w=540,h=416}", "tabindex='0'", page) +
        control("VuqTabBookPage", "other", "{x=0,y=0,w=540,h=416}", "tabindex='1'");
    body += book ? control("VuqTabBook", "maintabbook", "{x=0,y=24,w=540,h=416}", "", pages) : pages;
    return control("VuqNoBackgroundWindow", "w", "{x=0,y=0,w=540,h=440}", "", body);
}

const std::vector<std::string> allBars{"zoombar", "cornersharpnessbar", "yellowedgesharpnessbar",
                                       "blueedgesharpnessbar"};

struct Demo {
    UIContext ctx{demoConfig()};
    std::vector<IdCell> windows;

    explicit Demo(const std::string& text) {
        ctx.classes.registerDemoPageClass();
        UILoader::Loaded ui = UILoader::read(CharSource::ofText(text));
        EXPECT_FALSE(ui.reported);
        windows = DemoApp::topLevelWindows(ctx.tree, UIXMLBuild::buildControl(ui.items, ctx));
    }
    IdCell find(std::string_view name) const { return ctx.tree.findControlByName(windows.front(), name); }
    std::shared_ptr<ObservedInt> intAttr(std::string_view c, std::string_view name) const {
        return ctx.tree.attributes().get<Attr::NInt>(find(c), name);
    }
    // The 3-D view: the page's last child of the page's kind 19.
    IdCell view() const {
        const std::vector<IdCell> kids = ControlTree::snapshotChildren(*ctx.tree.lookup(find("zilbrovdemopage")));
        if (kids.empty()) return nullptr;
        const ControlCells* cells = Controls::cellsOf(ctx.tree, kids.back());
        return cells && cells->kind == ControlKindTag::DemoPage ? kids.back() : nullptr;
    }
    double value(std::string_view name) const { return ctx.tree.attributes().get<Attr::NReal>(view(), name)->value(); }
};

TEST(DemoApp, BarsDriveTheirValuesScaledByTheirRange) {
    Demo d(description(true, true, allBars));
    EXPECT_EQ(test::stdoutOf([&] { DemoApp::prepare(d.ctx, d.windows); }), "");

    const IdCell view = d.view();
    ASSERT_TRUE(view);
    EXPECT_EQ(d.ctx.tree.lookup(view)->boundingBox.value(), (IRect2D{0, 0, 400, 400}));
    EXPECT_EQ(d.ctx.tree.lookup(view)->visible.value(), 1);

    // Each value is range * p / (barrange - barsize) = range * p / 80.
    struct Move {
        const char* bar;
        std::int32_t p;
        const char* value;
        double expected;
    };
    const Move moves[] = {
        {"zoombar", 16, "zoom", 1.0},                          // 5 * 16 / 80
        {"zoombar", 40, "zoom", 2.5},                          // 5 * 40 / 80
        {"cornersharpnessbar", 40, "cornersharpness", 2.0},    // 4 * 40 / 80
        {"yellowedgesharpnessbar", 10, "yellowedgesharpness", 0.5},
        {"blueedgesharpnessbar", 80, "blueedgesharpness", 4.0},
    };
    for (const Move& m : moves) {
        SCOPED_TRACE(m.bar);
        d.intAttr(m.bar, "barpos")->set(m.p);
        EXPECT_DOUBLE_EQ(d.value(m.value), m.expected);
    }
    // The other values stayed where their bars left them.
    EXPECT_DOUBLE_EQ(d.value("zoom"), 2.5);
    EXPECT_DOUBLE_EQ(d.value("cornersharpness"), 2.0);

    // The range is read when the bar moves: barrange 60 makes it 4 * 20 / 40.
    d.intAttr("cornersharpnessbar", "barrange")->set(60);
    d.intAttr("cornersharpnessbar", "barpos")->set(20);
    EXPECT_DOUBLE_EQ(d.value("cornersharpness"), 2.0);

    // A position giving the value held changes nothing downstream.
    int delivered = 0;
    d.ctx.tree.attributes().get<Attr::NReal>(view, "cornersharpness")->onChanged.push(
        [&](const IdCell&, const double&) { ++delivered; });
    d.intAttr("cornersharpnessbar", "barpos")->set(20);
    d.intAttr("cornersharpnessbar", "barrange")->set(100);
    d.intAttr("cornersharpnessbar", "barpos")->set(40);  // 4 * 40 / 80 = 2.0 again
    EXPECT_EQ(delivered, 0);
}

TEST(DemoApp, TheTabRowTakesTheFocusAndTheBookFollowsIt) {
    Demo d(description(true, true, allBars));
    DemoApp::prepare(d.ctx, d.windows);
    EXPECT_EQ(idOf(d.ctx.focus.focused()), idOf(d.find("maintab")));
    d.intAttr("maintab", "selectedtabindex")->set(1);
    EXPECT_EQ(d.intAttr("maintabbook", "selectedtabindex")->value(), 1);
    EXPECT_EQ(d.ctx.tree.lookup(d.find("zilbrovdemopage"))->visible.value(), 0);
    EXPECT_EQ(d.ctx.tree.lookup(d.find("other"))->visible.value(), 1);
}

TEST(DemoApp, WhatIsMissingEndsTheStartOrIsLeftOut) {
    struct Case {
        const char* what;
        bool tabRow, book;
        std::vector<std::string> bars;
        std::string out;
        bool viewMade;
        std::vector<std::string> bound;  // values their bars drive
    };
    const Case cases[] = {
        {"everything", true, true, allBars, "", true,
         {"zoom", "cornersharpness", "yellowedgesharpness", "blueedgesharpness"}},
        {"no tab row: no book needed", false, false, allBars, "", true, {"zoom", "cornersharpness"}},
        {"a tab row without the book", true, false, allBars, "Could not find expected control: maintabbook", false,
         {}},
        {"no zoom bar", true, true, {"cornersharpnessbar", "yellowedgesharpnessbar", "blueedgesharpnessbar"},
         "Could not find expected control: zoombar", true, {}},
        {"no blue bar: the three before it are bound", true, true,
         {"zoombar", "cornersharpnessbar", "yellowedgesharpnessbar"},
         "Could not find expected control: blueedgesharpnessbar", true,
         {"zoom", "cornersharpness", "yellowedgesharpness"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Demo d(description(c.tabRow, c.book, c.bars));
        bool stopped = false;
        const std::string printed = test::stdoutOf([&] {
            try {
                DemoApp::prepare(d.ctx, d.windows);
            } catch (const StopApp&) {
                stopped = true;
            }
        });
        EXPECT_EQ(printed, c.out);
        EXPECT_EQ(stopped, !c.out.empty());
        ASSERT_EQ(bool(d.view()), c.viewMade);
        for (const std::string& value : c.bound) {
            const std::string barName = value + "bar";
            d.intAttr(barName, "barpos")->set(80);  // the far end: the bar's whole range
            EXPECT_GT(d.value(value), 0.0) << value;
        }
    }
}

TEST(DemoApp, OnlyControlsWithoutAParentAreWindowsInTheOrderMade) {
    Demo d(control("VuqNoBackgroundWindow", "a", "{x=0,y=0,w=100,h=100}", "",
                   control("VuqTextLabel", "l", "{x=0,y=0,w=50,h=16}")) +
           control("VuqNoBackgroundWindow", "b", "{x=0,y=0,w=120,h=100}"));
    ASSERT_EQ(d.windows.size(), 2u);
    EXPECT_EQ(d.ctx.tree.lookup(d.windows[0])->name.value(), "a");
    EXPECT_EQ(d.ctx.tree.lookup(d.windows[1])->name.value(), "b");
}

}  // namespace
}  // namespace zil::testing
