#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "records/Capture.hpp"
#include "shell/Errors.hpp"
#include "shell/ShellTestSupport.hpp"
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
using Names = std::vector<std::string>;

// Every attribute type, each logging what reaches its onChanged list.
struct Probe : ControlKind {
    std::shared_ptr<Log> log;
    std::int32_t tag() const override { return 1; }
    void setUp(ControlTree& tree, const IdCell& self) const override {
        UIAttributes& a = tree.attributes();
        auto note = [log = log](std::string what) {
            return [log, what](const IdCell&, const auto& v) {
                if constexpr (std::is_same_v<std::decay_t<decltype(v)>, IRect2D>)
                    log->push_back(what + "=" + std::to_string(v.x));
                else if constexpr (std::is_arithmetic_v<std::decay_t<decltype(v)>>)
                    log->push_back(what + "=" + std::to_string(v));
                else
                    log->push_back(what + "=" + v);
            };
        };
        a.registerString(self, "text", "")->onChanged.push(note("text"));
        a.registerInt(self, "count", 5)->onChanged.push(note("count"));
        a.registerReal(self, "zoom", 0.5)->onChanged.push(note("zoom"));
        a.registerBool(self, "ispressed", false)->onChanged.push(note("ispressed"));
        auto rect = std::make_shared<Attr::NIRect2D::Value>(self, IRect2D{1, 2, 3, 4});
        rect->onChanged.push(note("rect"));
        a.registerAttribute<Attr::NIRect2D>(self, "rect", rect);
        a.registerStrings(self, "strings")->onChanged.push([log = log](const IdCell&) { log->push_back("strings+"); });
        a.registerSelectableItems(self)->onChanged.push([log = log](const IdCell&) { log->push_back("flags+"); });
        a.registerNotify(self, "onclick");
        a.registerControlID(self, "control");
        tree.lookup(self)->name.onChanged.push(note("name"));
        tree.lookup(self)->className.onChanged.push(note("class"));
    }
};

struct Builder {
    test::Capture report;
    ControlTree tree{ControlTree::kDefaultCapacity, report.out()};
    std::shared_ptr<Log> log = std::make_shared<Log>();
    Probe probe;
    testing::TestKind bare;  // no attributes of its own
    UIXMLBuild::Factory factory{
        [this](std::string_view cls, const IdCell& parent, const IRect2D& box, std::int32_t visible) {
            if (cls != "Probe" && cls != "Bare")
                throw EGeneric::named("UIXMLBuild", "Cannot find control class " + std::string(cls));
            return tree.addControl(parent, cls == "Probe" ? static_cast<const ControlKind&>(probe) : bare, box,
                                   visible);
        },
        [this](std::string_view cls, const IRect2D& box, std::int32_t visible) {
            if (cls != "Win")
                throw EGeneric::named("UIXMLBuild", "Cannot find toplevel-control class " + std::string(cls));
            return tree.addControl(nullptr, TopLevelWindowKind{}, box, visible);
        }};
    Builder() { probe.log = log; }

    std::vector<IdCell> build(const std::string& text) {
        UILoader::Loaded loaded = UILoader::read(CharSource::ofText(text));
        EXPECT_FALSE(loaded.reported) << text;
        return UIXMLBuild::buildControl(loaded.items, tree, factory, makeIdCell(0));
    }
    // The application handler's report of what building `text` raises.
    std::string reportOf(const std::string& text) {
        try {
            build(text);
        } catch (...) {
            test::Capture out;
            reportException(std::current_exception(), out.out());
            return out.text();
        }
        return "no report";
    }
    std::string nameOf(const IdCell& id) { return tree.lookup(id)->name.value(); }
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
    Names names;
    for (const IdCell& id : made) names.push_back(b.nameOf(id));
    EXPECT_EQ(names, (Names{"w", "a", "b", "c", "v", "d"}));
    const int parentOf[] = {-1, 0, 1, 0, -1, 4};  // index into made, -1: top level
    for (std::size_t i = 0; i < made.size(); ++i)
        EXPECT_EQ(*b.tree.lookup(made[i])->parent, parentOf[i] < 0 ? 0 : *made[parentOf[i]]) << names[i];
    EXPECT_EQ(b.tree.windows().size(), 2u);

    // Items after a missing close belong to the open control.
    Builder c;
    made = c.build(window + open("Bare", "a") + open("Bare", "b") + close + open("Bare", "c"));
    EXPECT_EQ(*c.tree.lookup(made[3])->parent, *made[1]);
}

TEST(UIXMLBuild, SurplusCloseFailsAndKeepsWhatWasMade) {
    Builder b;
    EXPECT_EQ(testing::raised([&] { b.build(window + open("Bare", "a") + close + close + close + window); }),
              "ControlDestroyed");
    EXPECT_EQ(idOf(b.tree.findControlByName(makeIdCell(1), "a")), 2);
    EXPECT_FALSE(b.tree.inUse(3));
    EXPECT_EQ(testing::raised([&] { Builder().build(close); }), "ControlDestroyed");
}

TEST(UIXMLBuild, SplitOfTheFourMandatoryAttributes) {
    // Only the exact word "true" shows a control.
    for (const auto& [text, flag] : std::vector<std::pair<std::string, int>>{
             {"true", 1}, {"TRUE", 0}, {"1", 0}, {"false", 0}, {"", 0}, {"true ", 0}}) {
        Builder b;
        auto made = b.build("<control class='\"Win\"' name='\"w\"' boundingbox='{x=0,y=0,w=8,h=8}' visible='" +
                            text + "'>");
        EXPECT_EQ(b.tree.lookup(made[0])->visible.value(), flag) << text;
    }
    // A later class, name, visible or box wins; two characters give "".
    Builder b;
    auto made = b.build(
        "<control class='\"Nope\"' name='xnamex' visible='false' boundingbox='{x=1,y=1,w=1,h=1}' class='\"Win\"' "
        "visible='true' name='\"\"' boundingbox='{x=0,y=0,w=30,h=20}'>");
    const UIControl& w = *b.tree.lookup(made[0]);
    EXPECT_EQ(w.name.value(), "");
    EXPECT_EQ(w.className.value(), "Win");
    EXPECT_EQ(w.visible.value(), 1);
    EXPECT_EQ(w.boundingBox.value(), (IRect2D{0, 0, 30, 20}));
    // Class and name lose one character at each end; shorter raises.
    EXPECT_EQ(testing::raised([] { Builder().build("<control class='W' name='\"w\"'>"); }), "Subscript");
    EXPECT_EQ(testing::raised([] { Builder().build("<control name=''>"); }), "Subscript");
}

TEST(UIXMLBuild, BoundingBoxTexts) {
    const std::pair<std::string, IRect2D> good[] = {
        {"{x=1,y=2,w=3,h=4}junk", {1, 2, 3, 4}},
        {" { x = 10 , y = 20 , w = 100 , h = 30 }", {10, 20, 100, 30}},
    };
    for (const auto& [text, want] : good) {
        Builder b;
        auto made = b.build(window + open("Bare", "a", "", text));
        EXPECT_EQ(b.tree.lookup(made[1])->boundingBox.value(), want) << text;
    }
    for (const char* bad : {"{x=-1,y=2,w=3,h=4}", "{y=2,x=1,w=3,h=4}", "{x=1,y=2,w=3,h=4", "{x=1,\ty=2,w=3,h=4}",
                            "{x=2147483648,y=0,w=0,h=0}"}) {
        Builder b;
        // Raised during the split: before the missing class is noticed.
        EXPECT_EQ(testing::failureOf([&] { b.build(window + "<control boundingbox='" + bad + "'>"); }),
                  "UIXMLBuild: Could not parse rectangle attribute")
            << bad;
    }
}

TEST(UIXMLBuild, MandatoryAttributeMessages) {
    const std::string all =
        "UIXMLBuild: The attributes class, name, visible and boundingbox must always be specified for UI-controls!";
    const std::pair<std::string, std::string> cases[] = {
        {"class='\"X\"' visible='true' boundingbox='{x=0,y=0,w=1,h=1}'", all + " This is not done for a control with class X"},
        {"class='\"X\"' name='\"n\"' boundingbox='{x=0,y=0,w=1,h=1}'", all + " This is not done for the control n"},
        {"name='\"n\"' visible='true'", all + " This is not done for the control n"},
        {"visible='true' boundingbox='{x=0,y=0,w=1,h=1}'", all},
        {"", all},
    };
    for (const auto& [attrs, message] : cases)
        EXPECT_EQ(testing::failureOf([&] { Builder().build("<control " + attrs + ">"); }), message) << attrs;
}

TEST(UIXMLBuild, AttributesAreWrittenFromTextByType) {
    // From count 5, zoom 0.5, text "", ispressed false, rect x 1, no strings.
    const std::tuple<std::string, Log> cases[] = {
        {"text='\"a b\"'", {"text=a b"}},
        {"text='x'", {}},  // too short
        {"count='~12'", {"count=-12"}},
        {"count='5' count='x'", {}},  // equal, then no number
        {"zoom='-2.25'", {"zoom=-2.250000"}},
        {"zoom='0.50'", {}},  // 0 + 50 / 100: equal
        {"zoom='" + std::string(400, '9') + "'", {}},                        // not finite
        {"zoom='1." + std::string(400, '9') + "'", {}},                      // inf / inf
        {"zoom='1e3' zoom='.5' zoom='5.' zoom='--1'", {}},                   // not its syntax
        {"ispressed='true'", {"ispressed=1"}},
        {"ispressed='\"true\"' ispressed='false'", {}},
        {"rect='{x=7,y=0,w=1,h=1}'", {"rect=7"}},
        {"rect='{x=-7,y=0,w=1,h=1}'", {}},  // unlike the box: silently
        {"strings='[ \"a\", \"b\",, x ]'", {"strings+", "strings+"}},
        {"strings='[]'", {}},
        {"selectableitems='[ true,false, TRUE ]'", {"flags+", "flags+"}},
        {"onclick='\"x\"' control='\"1\"'", {}},
    };
    for (const auto& [extra, want] : cases) {
        Builder b;
        auto made = b.build(window + open("Probe", "p", extra));
        Log got(b.log->begin() + 2, b.log->end());  // after name and class
        EXPECT_EQ(got, want) << extra;
    }
    Builder b;
    auto made = b.build(window + open("Probe", "p", "strings='[ \"a\", \"b\" ]' selectableitems='[ true,false ]'"));
    auto strings = b.tree.attributes().get<Attr::NStrings>(made[1], "strings");
    EXPECT_EQ(Names(strings->items().begin(), strings->items().end()), (Names{"a", "b"}));
    auto onclick = b.tree.attributes().get<Attr::ControlNotify>(made[1], "onclick");
    EXPECT_TRUE(onclick->empty());
}

TEST(UIXMLBuild, RestIsWrittenInReverseFileOrderAfterNameAndClass) {
    Builder b;
    auto made = b.build(window + open("Probe", "p", "count='1' text='\"t\"' count='2'"));
    // count 2 is written first, then text, then count 1, which stays.
    EXPECT_EQ(*b.log, (Log{"name=p", "class=Probe", "count=2", "text=t", "count=1"}));
    EXPECT_EQ(b.tree.attributes().get<Attr::NInt>(made[1], "count")->value(), 1);
    // A name equal to the one held ("") delivers nothing.
    b.log->clear();
    b.build(window + "<control class='\"Probe\"' name='\"\"' visible='true' boundingbox='{x=0,y=0,w=1,h=1}'>");
    EXPECT_EQ(*b.log, (Log{"class=Probe"}));
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
    const std::string generic = "Generic exception of type ";
    const std::string bug = "Software bug: Unanticipated exception of type: ";
    const std::pair<std::string, std::string> cases[] = {
        {window + "<control name='\"n\"'>",
         generic + "UIXMLBuild raised: The attributes class, name, visible and boundingbox must always be specified "
                   "for UI-controls! This is not done for the control n\n"},
        {window + open("Bare", "a", "text='\"x\"'"),
         generic + "UIAttributes raised: Attribute text not found during writeAsString\n"},
        {window + open("Bare", "a", "onclick='\"x\"'"),
         generic + "UIAttributes raised: Attribute onclick not found during writeAsString\n"},
        {window + open("Win", "v"), generic + "UIXMLBuild raised: Cannot find control class Win\n"},
        {open("Bare", "a"), generic + "UIXMLBuild raised: Cannot find toplevel-control class Bare\n"},
        {window + close + close, bug + "ControlDestroyed raised with the following message: ControlDestroyed"},
        {"<control class='W'>", bug + "Subscript raised with the following message: Subscript"},
        {window + open("Probe", "p", "count='2147483648'"),
         bug + "Overflow raised with the following message: Overflow"},
        {open("Win", "w", "", "{x=0,y=0,w=16384,h=10}"),
         bug + "BackendError raised with the following message: BackendError"},
    };
    for (const auto& [text, report] : cases) EXPECT_EQ(Builder().reportOf(text), report) << text;
}

TEST(UIXMLBuild, LongAndDeepDescriptionsBuildInALoop) {
    // 1,000 nested controls, then 49,000 flat ones: 100,000 items.
    std::string text = open("Win", "w", "", "{x=0,y=0,w=1,h=1}");
    for (int i = 1; i < 1000; ++i) text += "<control class='\"Bare\"' name='\"d\"' visible='false' boundingbox='{x=0,y=0,w=1,h=1}'>";
    for (int i = 1; i < 1000; ++i) text += close;
    for (int i = 0; i < 49000; ++i) text += open("Bare", "f") + close;
    text += close;
    Builder b;
    auto made = b.build(open("Win", "x") + close + text);
    ASSERT_EQ(made.size(), 50001u);  // x, w, 999 nested, 49,000 flat
    EXPECT_EQ(b.tree.lookup(made[1000])->parent, made[999]);
    EXPECT_EQ(b.tree.lookup(made.back())->parent, made[1]);
}

}  // namespace
}  // namespace zil
