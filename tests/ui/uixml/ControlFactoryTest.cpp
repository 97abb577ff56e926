// The factory: the controls each class makes, with their parents, boxes and
// flags; the attributes the groups share; the class tables. The demo's own
// description, built in a copy of demo/ as the program does.
#include "ui/uixml/ControlFactory.hpp"

#include <array>
#include <fstream>
#include <map>
#include <optional>
#include <set>

#include "shell/UILoader.hpp"
#include "ui/base/ImageTestSupport.hpp"
#include "ui/controls/Controls.hpp"
#include "ui/controls/UIContext.hpp"
#include "ui/uixml/UIXMLBuild.hpp"

namespace zil::testing {
namespace {

// A fresh context with a hidden top-level window. Controls are found by
// walking the tree, never by their IDs, which are the table's business.
struct Ui {
    UIContext ctx{demoConfig()};
    IdCell window = Controls::addControl(ctx, nullptr, ControlKindTag::TopLevelWindow, {0, 0, 640, 480}, 0);
    // The control's cells; nullptr for one the toolkit did not set up.
    const ControlCells* cells(const IdCell& id) const { return Controls::cellsOf(ctx.tree, id); }
    IdCell create(std::string_view cls, std::int32_t visible = 0, const IRect2D& box = {10, 20, 300, 100}) {
        return UIXMLBuild::createControl(ctx, cls, window, box, visible);
    }
    std::vector<IdCell> children(const IdCell& id) const { return ControlTree::snapshotChildren(*ctx.tree.lookup(id)); }
    // The control, then each child's subtree in child order.
    std::vector<IdCell> group(const IdCell& top) const {
        std::vector<IdCell> out{top};
        for (const IdCell& c : children(top))
            for (const IdCell& g : group(c)) out.push_back(g);
        return out;
    }
    std::vector<std::string> strings(const IdCell& id) {
        const auto& items = ctx.tree.attributes().get<Attr::NStrings>(id, "strings")->items();
        return {items.begin(), items.end()};
    }
    // Every control in the window as "kind<parent x,y,w,h visible", where
    // the window is 1 and the controls are numbered from 2 in the order of
    // group().
    std::string made() const {
        std::vector<IdCell> all;
        for (const IdCell& top : children(window))
            for (const IdCell& g : group(top)) all.push_back(g);
        std::map<UIControlID, int> number{{idOf(window), 1}};
        for (const IdCell& id : all) number.emplace(idOf(id), static_cast<int>(number.size()) + 1);
        std::string out;
        for (const IdCell& id : all) {
            const UIControl& c = *ctx.tree.lookup(id);
            const IRect2D b = c.boundingBox.value();
            const ControlCells* k = cells(id);
            const auto parent = number.find(idOf(c.parent));
            out += (out.empty() ? "" : " | ") + (k ? std::to_string(static_cast<int>(k->kind)) : "?") + "<" +
                   (parent != number.end() ? std::to_string(parent->second) : "?") + " " + std::to_string(b.x) +
                   "," + std::to_string(b.y) + "," + std::to_string(b.w) + "," + std::to_string(b.h) + " " +
                   std::to_string(c.visible.value());
        }
        return out;
    }
};

TEST(ControlFactory, EachClassMakesItsControlsInOrder) {
    InScratchDir empty;  // what the file-browse list box lists
    // Described (10, 20, 300, 100), hidden, in the window (1); the first
    // control made (2) stands for the group. A frame puts its first child at
    // (2, 2, 296, 96); a scroll area's frame (w - 16, 0, 16, h) holds its bar
    // at (2, 2, 12, h - 4), and stays after the area's contents.
    const std::string framedList = "9<1 10,20,300,100 0 | 8<2 2,2,296,96 1 | 11<3 0,0,300,100 1 | "
                                   "9<3 280,0,16,96 1 | 10<5 2,2,12,92 1";
    const std::string area = "8<1 10,20,300,100 0 | 9<2 284,0,16,100 1 | 10<3 2,2,12,96 1";
    const std::string listBox = "8<1 10,20,300,100 0 | 11<2 0,0,300,100 1 | 9<2 284,0,16,100 1 | 10<4 2,2,12,96 1";
    const auto one = [](int kind) { return std::to_string(kind) + "<1 10,20,300,100 0"; };
    const auto framed = [](int kind) { return "9<1 10,20,300,100 0 | " + std::to_string(kind) + "<2 2,2,296,96 1"; };
    const std::pair<const char*, std::string> cases[] = {
        // The button at (300 div 2 - 70, 100 div 2 + 4), the label 300 - 8 wide.
        {"VuqOKDialog", "18<1 10,20,300,100 0 | 4<2 80,54,140,32 1 | 14<3 0,0,0,0 0 | 1<2 4,4,292,16 1"},
        {"VuqTextLabel", one(1)},          {"VuqImportantTextLabel", one(2)}, {"VuqTextEdit", one(16)},
        {"VuqFramedButtonView", framed(4)}, {"VuqFramedPushButton", framed(4) + " | 14<3 0,0,0,0 0"},
        {"VuqButtonView", one(4)},          {"VuqFramedHorizScrollBar", framed(5)}, {"VuqTabIndex", one(13)},
        {"VuqTabBookPage", one(12)},        {"VuqFileBrowseListBox", framedList},
        {"VuqListBox", listBox},
        {"VuqVertScrollArea", area},        {"VuqVertScrollBar", one(10)},     {"VuqFrameForChild", one(9)},
        {"VuqFramedVertScrollBar", framed(10)}, {"VuqSelectionStrings", one(11)}, {"VuqFramedListBox", framedList},
        {"VuqFieldTabulator", one(7)},      {"VuqTabBook", one(6)},            {"VuqHorizScrollBar", one(5)},
        {"VuqPushAction", one(14)},         {"VuqPushButton", one(4) + " | 14<2 0,0,0,0 0"},
        {"VuqImageButton", one(15)},        {"VuqCheckBoxView", one(3)},       {"VuqFramedTextEdit", framed(16)},
        {"VuqControlFrame", one(17)},       {"VuqPopupWindow", one(18)},       {"VuqZilBrovDemo1", one(19)},
    };
    for (const auto& [name, want] : cases) {
        Ui ui;
        ui.ctx.classes.registerDemoPageClass();
        const IdCell top = ui.create(name);
        const std::vector<IdCell> tops = ui.children(ui.window);
        ASSERT_EQ(tops.size(), 1u) << name;
        EXPECT_EQ(idOf(tops[0]), idOf(top)) << name;
        EXPECT_EQ(ui.made(), want) << name;
    }
}

TEST(ControlFactory, GroupsShareTheirInnerControlsAttributes) {
    InScratchDir scratch;
    for (const char* name : {"b", "a"}) std::ofstream(name).put('x');
    Ui ui;
    UIAttributes& a = ui.ctx.tree.attributes();
    // A push button: the hidden action names the view; "onclick" is the
    // action's, seen through the view; "text" is the view's own.
    const IdCell view = ui.create("VuqPushButton", 1);
    const std::vector<IdCell> button = ui.group(view);  // the view, the action
    ASSERT_EQ(button.size(), 2u);
    const ControlCells* action = ui.cells(button[1]);
    ASSERT_NE(action, nullptr);
    EXPECT_EQ(idOf(action->control->value()), idOf(view));
    int clicks = 0;
    a.get<Attr::ControlNotify>(view, "onclick")->push([&](const IdCell&) { ++clicks; });
    action->onClick->deliver(view);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(a.findSlot(button[1], "text"), nullptr);
    const FocusState& focus = ui.ctx.focus;  // the action's four entries at the view's slots
    EXPECT_EQ((std::array{ui.ctx.handlers.clicks->at(*view).size(), focus.linksAfter->at(*view).size(),
                          focus.blurHooksAfter->at(*view).size(), focus.focusHooksAfter->at(*view).size()}),
              (std::array<std::size_t, 4>{1, 1, 1, 1}));

    // A framed list box: the frame's "strings" are the selection strings',
    // and outlive them; the frame is the scroll area's outer control.
    const IdCell frame = ui.create("VuqFramedListBox", 1);
    const std::vector<IdCell> list = ui.group(frame);  // frame, area, strings, the area's frame and bar
    ASSERT_EQ(list.size(), 5u);
    for (const char* item : {"a", "b"}) a.get<Attr::NStrings>(frame, "strings")->append(item);
    EXPECT_EQ(ui.strings(list[2]), (std::vector<std::string>{"a", "b"}));
    const auto area = ui.ctx.tree.lookup(list[1]);
    ASSERT_EQ(area->links.count(), 1);
    EXPECT_EQ(idOf(area->links.readAt(0)), idOf(frame));
    ui.ctx.tree.destroyControl(list[2]);
    EXPECT_EQ(a.get<Attr::NStrings>(frame, "strings")->count(), 2);

    // An OK dialog: the button shows "OK"; the dialog's "text" is the
    // label's, and the button's are not its.
    const IdCell dialog = ui.create("VuqOKDialog");
    const std::vector<IdCell> ok = ui.group(dialog);  // dialog, button, its action, label
    ASSERT_EQ(ok.size(), 4u);
    const ControlCells* okButton = ui.cells(ok[1]);
    const ControlCells* label = ui.cells(ok[3]);
    ASSERT_TRUE(okButton && okButton->text && label && label->text);
    EXPECT_EQ(okButton->text->value(), "OK");
    a.writeString(dialog, "text", "Saved.");
    EXPECT_EQ(label->text->value(), "Saved.");
    EXPECT_EQ(a.findSlot(dialog, "ispressed"), nullptr);
    // A file-browse list box lists the working directory.
    EXPECT_EQ(ui.strings(ui.create("VuqFileBrowseListBox", 1)), (std::vector<std::string>{"a", "b"}));
}

TEST(ControlFactory, AListBox50000PixelsHighBuildsFromADescription) {
    // Its bar, 4 pixels shorter, takes its height as its range: h * range
    // passes 32 bits.
    UIContext ctx{demoConfig()};
    const std::string text =
        "<control class='\"VuqNoBackgroundWindow\"' name='\"w\"' visible='false' boundingbox='{x=0,y=0,w=640,h=480}'>"
        "<control class='\"VuqListBox\"' name='\"tall\"' visible='true' boundingbox='{x=0,y=0,w=200,h=50000}' "
        "strings='[ \"a\", \"b\" ]'></control></control>";
    std::vector<IdCell> made;
    EXPECT_NO_THROW(made = UIXMLBuild::buildControl(UILoader::read(CharSource::ofText(text)).items, ctx));
    ASSERT_EQ(made.size(), 2u);
    const ControlCells& list = *Controls::cellsOf(ctx.tree, made[1]);
    EXPECT_EQ(std::pair(list.barSize->value(), list.barRange->value()), std::pair(49996, 49996));
}

TEST(ControlFactory, AStringsListBrokenOverLinesBuildsTheSameListBox) {
    for (const char* gap : {" ", "\t", "\n      ", "\r\n\t"}) {
        UIContext ctx{demoConfig()};
        const std::string text = std::string(
            "<control class='\"VuqNoBackgroundWindow\"' name='\"w\"' visible='false' boundingbox='{x=0,y=0,w=640,h=480}'>"
            "<control class='\"VuqListBox\"' name='\"l\"' visible='true' boundingbox='{x=0,y=0,w=200,h=100}'\n"
            "  strings='[ \"Vertex\",") + gap + "\"Edge\"," + gap + "\"Face\" ]'></control></control>";
        const std::vector<IdCell> made = UIXMLBuild::buildControl(UILoader::read(CharSource::ofText(text)).items, ctx);
        ASSERT_EQ(made.size(), 2u) << gap;
        const auto& items = ctx.tree.attributes().get<Attr::NStrings>(made[1], "strings")->items();
        EXPECT_EQ(std::vector<std::string>(items.begin(), items.end()),
                  (std::vector<std::string>{"Vertex", "Edge", "Face"}))
            << gap;
    }
}

TEST(ControlFactory, ClassTablesMatchWholeNamesOnly) {
    Ui ui;
    const UIControlID next = ui.ctx.tree.nextIndex();
    for (const char* name : {"VuqTab", "VuqPushButtonX", "vuqtextedit", "VuqZilBrovDemo1", "VuqNoBackgroundWindow"})
        EXPECT_EQ(failureOf([&] { ui.create(name); }), "UIXMLBuild: Cannot find control class " + std::string(name));
    EXPECT_EQ(failureOf([&] { UIXMLBuild::findToplevelControlClass(ui.ctx, "VuqTabBook", {}, 0); }),
              "UIXMLBuild: Cannot find toplevel-control class VuqTabBook");
    EXPECT_EQ(ui.ctx.tree.nextIndex(), next);  // nothing made
    EXPECT_TRUE(ui.children(ui.window).empty());
}

struct Demo {
    InScratchDir dir;
    test::Capture report;
    std::optional<UIContext> ctx;
    std::vector<IdCell> made;
    std::string out;

    Demo() {
        std::filesystem::copy(demoDir(), dir.root(), std::filesystem::copy_options::recursive);
        // Logs a failed run of the demo left there are not this build's.
        for (const auto& entry : std::filesystem::directory_iterator(dir.root()))
            if (entry.path().extension() == ".log") std::filesystem::remove(entry.path());
        AppConfig::Cell config;
        AppConfig::load(config);
        out = stdoutOf([&] {
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
    ASSERT_FALSE(d.made.empty());
    EXPECT_EQ(d.at(d.made[0]).visible.value(), 1);
    std::set<std::string> classes, names;
    for (const IdCell& id : d.made) {
        classes.insert(d.at(id).className.value());
        EXPECT_TRUE(names.insert(d.at(id).name.value()).second) << d.at(id).name.value();
    }
    EXPECT_EQ(classes.size(), 29u);  // every class but the demo's page, which the demo makes itself

    for (const auto& [name, cls] : {std::pair{"maintab", "VuqTabIndex"}, {"zilbrovdemopage", "VuqTabBookPage"}})
        EXPECT_EQ(d.at(d.find(name)).className.value(), cls) << name;
    // The bars the demo finds by name move over range - size positions.
    for (const char* bar : {"zoombar", "cornersharpnessbar", "yellowedgesharpnessbar", "blueedgesharpnessbar"}) {
        const IdCell id = d.find(bar);
        EXPECT_EQ(d.at(id).className.value(), "VuqHorizScrollBar") << bar;
        EXPECT_GT(d.attributes().get<Attr::NInt>(id, "barrange")->value(),
                  d.attributes().get<Attr::NInt>(id, "barsize")->value()) << bar;
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
    // A tab per page of the book; only page 0 shows, and each selection shows its page.
    std::vector<IdCell> pages = ControlTree::snapshotChildren(d.at(d.find("maintabbook")));
    EXPECT_EQ(std::size_t(d.attributes().get<Attr::NStrings>(d.find("maintab"), "tabs")->count()), pages.size());
    auto shown = [&] {
        std::vector<std::int32_t> out;
        for (const IdCell& p : pages)
            if (d.at(p).visible.value()) out.push_back(d.attributes().get<Attr::NInt>(p, "tabindex")->value());
        return out;
    };
    EXPECT_EQ(shown(), std::vector<std::int32_t>{0});
    auto selected = d.attributes().get<Attr::NInt>(d.find("maintabbook"), "selectedtabindex");
    for (auto k = std::int32_t(pages.size()) - 1; k >= 0; --k) {
        selected->set(k);
        EXPECT_EQ(shown(), std::vector<std::int32_t>{k});
    }
}

}  // namespace
}  // namespace zil::testing
