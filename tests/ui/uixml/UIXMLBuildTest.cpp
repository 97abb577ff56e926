#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "records/Capture.hpp"
#include "shell/Errors.hpp"
#include "shell/UILoader.hpp"
#include "ui/base/ImageTestSupport.hpp"
#include "ui/controls/UIContext.hpp"
#include "ui/tree/TopLevelWindow.hpp"
#include "ui/tree/TreeTestSupport.hpp"
#include "ui/uixml/UIXMLBuild.hpp"

namespace zil {
namespace {

[[maybe_unused]] auto* const sdl = ::testing::AddGlobalTestEnvironment(new testing::SdlVideo);

using Log = std::vector<std::string>;

// One attribute of each type; every delivery after a change is logged by
// name.
struct Probe : ControlKind {
    std::shared_ptr<Log> log = std::make_shared<Log>();
    std::int32_t tag() const override { return 1; }
    void setUp(ControlTree& tree, const IdCell& self) const override {
        auto note = [log = log](std::string name) { return [log, name](auto&&...) { log->push_back(name); }; };
        UIAttributes& a = tree.attributes();
        a.registerString(self, "text", "")->onChanged.push(note("text"));
        a.registerInt(self, "count", 5)->onChanged.push(note("count"));
        a.registerReal(self, "zoom", 0.5)->onChanged.push(note("zoom"));
        a.registerBool(self, "ispressed", false)->onChanged.push(note("ispressed"));
        auto rect = std::make_shared<Attr::NIRect2D::Value>(self, IRect2D{1, 2, 3, 4});
        rect->onChanged.push(note("rect"));
        a.registerAttribute<Attr::NIRect2D>(self, "rect", rect);
        a.registerStrings(self, "strings")->onChanged.push(note("strings"));
        a.registerSelectableItems(self)->onChanged.push(note("selectableitems"));
        a.registerNotify(self, "onclick");
        tree.lookup(self)->name.onChanged.push(note("name"));
        tree.lookup(self)->className.onChanged.push(note("class"));
    }
};

// Classes "Win" (a top-level window), "Probe" and "Bare" (no attributes).
struct Builder {
    test::Capture report;
    ControlTree tree{ControlTree::kDefaultCapacity, report.out()};
    Probe probe;
    testing::TestKind bare;
    UIXMLBuild::Factory factory{
        [this](std::string_view cls, const IdCell& parent, const IRect2D& box, std::int32_t visible) {
            if (cls != "Probe" && cls != "Bare")
                throw EGeneric::named("UIXMLBuild", "Cannot find control class " + std::string(cls));
            const ControlKind& kind = cls == "Probe" ? static_cast<const ControlKind&>(probe) : bare;
            return tree.addControl(parent, kind, box, visible);
        },
        [this](std::string_view cls, const IRect2D& box, std::int32_t visible) {
            if (cls != "Win")
                throw EGeneric::named("UIXMLBuild", "Cannot find toplevel-control class " + std::string(cls));
            return tree.addControl(nullptr, TopLevelWindowKind{}, box, visible);
        }};

    std::vector<IdCell> build(const std::string& text) {
        UILoader::Loaded loaded = UILoader::read(CharSource::ofText(text));
        EXPECT_FALSE(loaded.reported) << text;
        return UIXMLBuild::buildControl(loaded.items, tree, factory, makeIdCell(0));
    }
    const UIControl& at(const IdCell& id) { return *tree.lookup(id); }
};

// An open tag with the four attributes every control needs, then `extra`.
std::string open(const std::string& cls, const std::string& name, const std::string& extra = "",
                 const std::string& box = "{x=0,y=0,w=10,h=10}") {
    return "<control class='\"" + cls + "\"' name='\"" + name + "\"' visible='true' boundingbox='" + box + "' " +
           extra + ">";
}
const std::string close = "</control>";
const std::string window = open("Win", "w");

TEST(UIXMLBuild, NestingFollowsOpenAndCloseItems) {
    Builder b;
    // w { a { b } <alias> } c { } } v { d      (v and d never closed)
    auto made = b.build(window + open("Bare", "a") + open("Bare", "b") + close + "<alias name='\"z\"'>" + close +
                        open("Bare", "c") + close + close + open("Win", "v") + open("Bare", "d"));
    const std::pair<const char*, int> want[] = {{"w", -1}, {"a", 0}, {"b", 1}, {"c", 0}, {"v", -1}, {"d", 4}};
    ASSERT_EQ(made.size(), 6u);
    for (std::size_t i = 0; i < made.size(); ++i) {
        EXPECT_EQ(b.at(made[i]).name.value(), want[i].first);
        EXPECT_EQ(*b.at(made[i]).parent, want[i].second < 0 ? 0 : *made[want[i].second]) << want[i].first;
    }
    // A surplus close fails at once; what was made before stays.
    Builder c;
    EXPECT_EQ(testing::raised([&] { c.build(window + open("Bare", "a") + close + close + close + window); }),
              "ControlDestroyed");
    EXPECT_TRUE(c.tree.inUse(2));
    EXPECT_FALSE(c.tree.inUse(3));
}

TEST(UIXMLBuild, SplitOfTheFourMandatoryAttributes) {
    // Only the exact word "true" shows a control.
    for (const auto& [text, flag] : std::vector<std::pair<std::string, int>>{
             {"true", 1}, {"TRUE", 0}, {"1", 0}, {"false", 0}, {"true ", 0}}) {
        Builder b;
        auto made = b.build("<control class='\"Win\"' name='\"w\"' boundingbox='{x=0,y=0,w=8,h=8}' visible='" +
                            text + "'>");
        EXPECT_EQ(b.at(made[0]).visible.value(), flag) << text;
    }
    // The later of two wins; class and name lose one character at each end;
    // text after the box's "}" is ignored.
    Builder b;
    auto made = b.build(
        "<control class='\"Nope\"' name='xnamex' visible='false' boundingbox='{x=1,y=1,w=1,h=1}' class='\"Win\"' "
        "visible='true' name='\"\"' boundingbox='{x=0,y=0,w=30,h=20}junk'>");
    const UIControl& w = b.at(made[0]);
    EXPECT_EQ(w.name.value(), "");
    EXPECT_EQ(w.className.value(), "Win");
    EXPECT_EQ(w.visible.value(), 1);
    EXPECT_EQ(w.boundingBox.value(), (IRect2D{0, 0, 30, 20}));
}

TEST(UIXMLBuild, OtherAttributesAreWrittenByTypeInReverseFileOrder) {
    // From text "", count 5, zoom 0.5, ispressed 0, rect x 1, no strings;
    // name and class are delivered first.
    const std::pair<std::string, Log> cases[] = {
        {"count='1' text='\"t\"' count='~2'", {"count", "text", "count"}},  // -2, then t, then 1
        {"count='5' count='x' text='x'", {}},                               // equal, no number, too short
        {"zoom='0.50' zoom='1e3' zoom='" + std::string(400, '9') + "'", {}},  // 0 + 50 / 100; syntax; inf
        {"ispressed='true' ispressed='\"true\"'", {"ispressed"}},
        {"rect='{x=7,y=0,w=1,h=1}' rect='{x=-7,y=0,w=1,h=1}'", {"rect"}},  // silently unlike the box
        {"strings='[ \"a\", \"b\",, x ]' strings='[]'", {"strings", "strings"}},  // '[]' is empty: nothing appended
        {"selectableitems='[ true,false, TRUE ]'", {"selectableitems", "selectableitems"}},
        {"onclick='\"x\"'", {}},
    };
    for (const auto& [extra, want] : cases) {
        Builder b;
        auto made = b.build(window + open("Probe", "p", extra));
        Log expected{"name", "class"};
        expected.insert(expected.end(), want.begin(), want.end());
        EXPECT_EQ(*b.probe.log, expected) << extra;
    }
    Builder b;
    auto made = b.build(window + open("Probe", "p", "count='1' strings='[ \"a\", \"b\" ]' count='2'"));
    const UIAttributes& a = b.tree.attributes();
    EXPECT_EQ(a.get<Attr::NInt>(made[1], "count")->value(), 1);
    EXPECT_EQ(a.get<Attr::NStrings>(made[1], "strings")->count(), 2);
    // A name equal to the one held ("") delivers nothing.
    b.probe.log->clear();
    b.build(window + "<control class='\"Probe\"' name='\"\"' visible='true' boundingbox='{x=0,y=0,w=1,h=1}'>");
    EXPECT_EQ(*b.probe.log, Log{"class"});
}

TEST(UIXMLBuild, ToolkitClassesSkipControlReferencesAndActions) {
    test::Capture report;
    UIContext ctx(testing::demoConfig(), report.out());
    UILoader::Loaded loaded = UILoader::read(CharSource::ofText(
        open("VuqNoBackgroundWindow", "w") + open("VuqPushButton", "b", "text='\"Go\"' onclick='\"x\"'") + close +
        open("VuqVertScrollArea", "s", "scrollbar='\"1\"'") + close + open("VuqControlFrame", "f", "control='\"1\"'")));
    auto made = UIXMLBuild::buildControl(loaded.items, ctx);
    ASSERT_EQ(made.size(), 4u);
    const UIAttributes& a = ctx.tree.attributes();
    EXPECT_EQ(a.get<Attr::NString>(made[1], "text")->value(), "Go");
    EXPECT_TRUE(a.get<Attr::ControlNotify>(made[1], "onclick")->empty());
    EXPECT_EQ(idOf(a.get<Attr::NUIControlID>(made[2], "scrollbar")->value()), *made[2] + 2);  // area, frame, bar
    EXPECT_EQ(idOf(a.get<Attr::NUIControlID>(made[3], "control")->value()), 0);
    EXPECT_EQ(report.text(), "");
}

TEST(UIXMLBuild, ReportsOfBadDescriptions) {
    const std::string all = "Generic exception of type UIXMLBuild raised: The attributes class, name, visible and "
                            "boundingbox must always be specified for UI-controls!";
    const std::string bug = "Software bug: Unanticipated exception of type: ";
    auto unanticipated = [&](const std::string& name) {
        return bug + name + " raised with the following message: " + name;
    };
    const std::pair<std::string, std::string> cases[] = {
        {"<control class='\"X\"' visible='true' boundingbox='{x=0,y=0,w=1,h=1}'>",
         all + " This is not done for a control with class X\n"},
        {"<control class='\"X\"' name='\"n\"' boundingbox='{x=0,y=0,w=1,h=1}'>",
         all + " This is not done for the control n\n"},
        {"<control visible='true' boundingbox='{x=0,y=0,w=1,h=1}'>", all + "\n"},
        // The box fails while the attributes are split, before the check.
        {"<control boundingbox='{y=2,x=1,w=3,h=4}'>",
         "Generic exception of type UIXMLBuild raised: Could not parse rectangle attribute\n"},
        {window + open("Bare", "a", "text='\"x\"'"),
         "Generic exception of type UIAttributes raised: Attribute text not found during writeAsString\n"},
        {window + open("Win", "v"), "Generic exception of type UIXMLBuild raised: Cannot find control class Win\n"},
        {open("Bare", "a"), "Generic exception of type UIXMLBuild raised: Cannot find toplevel-control class Bare\n"},
        {window + close + close, unanticipated("ControlDestroyed")},
        {"<control class='W'>", unanticipated("Subscript")},
        {"<control name=''>", unanticipated("Subscript")},
        {window + open("Probe", "p", "count='2147483648'"), unanticipated("Overflow")},  // 2^31
        {open("Win", "w", "", "{x=0,y=0,w=16384,h=10}"), unanticipated("BackendError")},
    };
    for (const auto& [text, want] : cases) {
        test::Capture out;
        try {
            Builder().build(text);
        } catch (...) {
            reportException(std::current_exception(), out.out());
        }
        EXPECT_EQ(out.text(), want) << text;
    }
}

TEST(UIXMLBuild, LongAndDeepDescriptionsBuildInALoop) {
    // 1,000 nested controls and 49,000 flat ones: 100,002 items.
    std::string text = open("Win", "x") + close + open("Win", "w", "", "{x=0,y=0,w=1,h=1}");
    for (int i = 1; i < 1000; ++i) text += open("Bare", "d");
    for (int i = 1; i < 1000; ++i) text += close;
    for (int i = 0; i < 49000; ++i) text += open("Bare", "f") + close;
    Builder b;
    auto made = b.build(text + close);
    ASSERT_EQ(made.size(), 50001u);  // x, w, 999 nested, 49,000 flat
    EXPECT_EQ(b.at(made[1000]).parent, made[999]);
    EXPECT_EQ(b.at(made.back()).parent, made[1]);
}

}  // namespace
}  // namespace zil
