#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "records/Capture.hpp"
#include "shell/Errors.hpp"
#include "shell/UILoader.hpp"
#include "ui/uixml/UIXMLBuild.hpp"

namespace zil {
namespace {

using Log = std::vector<std::string>;

// A probe logs every delivery after a change by name; a bare control has no
// attributes of its own.
struct Kind : ControlKind {
    bool probe;
    std::shared_ptr<Log> log = std::make_shared<Log>();
    explicit Kind(bool probe) : probe(probe) {}
    std::int32_t tag() const override { return 1; }
    void setUp(ControlTree& tree, const IdCell& self) const override {
        if (!probe) return;
        auto note = [log = log](std::string name) { return [log, name](auto&&...) { log->push_back(name); }; };
        UIAttributes& a = tree.attributes();
        a.registerString(self, "text", "")->onChanged.push(note("text"));
        a.registerInt(self, "count", 5)->onChanged.push(note("count"));
        a.registerStrings(self, "strings")->onChanged.push(note("strings"));
        tree.lookup(self)->name.onChanged.push(note("name"));
        tree.lookup(self)->className.onChanged.push(note("class"));
    }
};

// Classes "Win" (top level), "Probe" and "Bare".
struct Builder {
    test::Capture report;
    ControlTree tree{ControlTree::kDefaultCapacity, report.out()};
    Kind probe{true}, bare{false};
    UIXMLBuild::Factory factory{
        [this](std::string_view cls, const IdCell& parent, const IRect2D& box, std::int32_t visible) {
            if (cls != "Probe" && cls != "Bare")
                throw EGeneric::named("UIXMLBuild", "Cannot find control class " + std::string(cls));
            return tree.addControl(parent, cls == "Probe" ? probe : bare, box, visible);
        },
        [this](std::string_view cls, const IRect2D& box, std::int32_t visible) {
            if (cls != "Win")
                throw EGeneric::named("UIXMLBuild", "Cannot find toplevel-control class " + std::string(cls));
            return tree.addControl(nullptr, bare, box, visible);
        }};

    std::vector<IdCell> build(const std::string& text) {
        UILoader::Loaded loaded = UILoader::read(CharSource::ofText(text));
        EXPECT_FALSE(loaded.reported) << text;
        return UIXMLBuild::buildControl(loaded.items, tree, factory, makeIdCell(0));
    }
    const UIControl& at(const IdCell& id) { return *tree.lookup(id); }
};

// An open tag with the four attributes every control needs, then `extra`.
std::string open(const std::string& cls, const std::string& name, const std::string& extra = "") {
    return "<control class='\"" + cls + "\"' name='\"" + name +
           "\"' visible='true' boundingbox='{x=0,y=0,w=10,h=10}' " + extra + ">";
}
const std::string close = "</control>", window = open("Win", "w");

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
}

TEST(UIXMLBuild, TheFourMandatoryAttributes) {
    // Only the exact word "true" shows a control.
    for (const auto& [text, flag] : {std::pair{"true", 1}, {"TRUE", 0}, {"true ", 0}}) {
        Builder b;
        auto made = b.build("<control class='\"Win\"' name='\"w\"' boundingbox='{x=0,y=0,w=8,h=8}' visible='" +
                            std::string(text) + "'>");
        EXPECT_EQ(b.at(made[0]).visible.value(), flag) << text;
    }
    // The later of two wins; class and name lose one character at each end;
    // text after the box's "}" is ignored.
    Builder b;
    const UIControl& w = b.at(b.build(
        "<control class='\"Nope\"' name='xnamex' visible='false' boundingbox='{x=1,y=1,w=1,h=1}' class='\"Win\"' "
        "visible='true' name='\"\"' boundingbox='{x=0,y=0,w=30,h=20}junk'>")[0]);
    EXPECT_EQ(std::tuple(w.name.value(), w.className.value(), w.visible.value(), w.boundingBox.value()),
              std::tuple("", "Win", 1, IRect2D{0, 0, 30, 20}));
}

TEST(UIXMLBuild, OtherAttributesAreWrittenInReverseFileOrder) {
    // From text "", count 5, no strings; name and class are delivered first.
    const std::tuple<std::string, int, Log> cases[] = {
        {"count='1' text='\"t\"' count='~2'", 1, {"count", "text", "count"}},       // -2, then t, then 1
        {"count='5' count='x' text='x'", 5, {}},                                    // equal, no number, too short
        {"strings='[ \"a\", \"b\",, x ]' strings='[]'", 5, {"strings", "strings"}},  // '[]' is empty
    };
    for (const auto& [extra, count, want] : cases) {
        Builder b;
        auto made = b.build(window + open("Probe", "p", extra));
        Log expected{"name", "class"};
        expected.insert(expected.end(), want.begin(), want.end());
        EXPECT_EQ(*b.probe.log, expected) << extra;
        EXPECT_EQ(b.tree.attributes().get<Attr::NInt>(made[1], "count")->value(), count) << extra;
    }
}

TEST(UIXMLBuild, ReportsOfBadDescriptions) {
    const std::string all = "Generic exception of type UIXMLBuild raised: The attributes class, name, visible and "
                            "boundingbox must always be specified for UI-controls!";
    auto unanticipated = [](const std::string& name) {
        return "Software bug: Unanticipated exception of type: " + name + " raised with the following message: " + name;
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
        {window + close + close + window, unanticipated("ControlDestroyed")},  // a surplus close
        {"<control name=''>", unanticipated("Subscript")},
    };
    for (const auto& [text, want] : cases) {
        test::Capture out;
        Builder b;
        try {
            b.build(text);
        } catch (...) {
            reportException(std::current_exception(), out.out());
        }
        EXPECT_EQ(out.text(), want) << text;
        if (text == window + close + close + window) {  // it fails at once; what was made stays
            EXPECT_TRUE(b.tree.inUse(1));
            EXPECT_FALSE(b.tree.inUse(2));
        }
    }
}

}  // namespace
}  // namespace zil
