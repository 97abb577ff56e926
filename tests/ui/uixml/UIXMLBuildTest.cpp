// The description reader, read piece by piece as the start-up reads it, and
// the builder of controls from its items.
#include <gtest/gtest.h>

#include "records/Capture.hpp"
#include "shell/Errors.hpp"
#include "shell/UILoader.hpp"
#include "ui/uixml/UIXMLBuild.hpp"
#include "ui/uixml/UIXMLReader.hpp"

namespace zil {
namespace {

using Kind = UIXMLItem::Kind;
using Items = std::vector<UIXMLItem>;
namespace R = UIXMLReader;

struct Read {
    Items items;
    long stoppedAt = 0;
    std::string rest;  // everything left unread
    bool operator==(const Read&) const = default;
};

// Reads like the start-up does, with the text cut into pieces of the given
// size so that every piece boundary is crossed somewhere.
Read readAll(std::string_view text, std::size_t pieceSize) {
    Read r;
    CharSource s = R::skipBlanks(CharSource::ofText(text, pieceSize));
    for (R::ItemStep step = R::parseItem(s); step.item; step = R::parseItem(s)) {
        r.items.push_back(*step.item);
        s = step.rest;
    }
    r.stoppedAt = s.position();
    r.rest = s.take(text.size()).first;
    return r;
}

// The same result whatever the piece size.
Read readAll(std::string_view text) {
    Read whole = readAll(text, 4096);
    for (std::size_t size : {1, 2, 7}) EXPECT_TRUE(readAll(text, size) == whole) << "piece size " << size;
    return whole;
}
Items itemsOf(std::string_view text) { return readAll(text).items; }

UIXMLItem open(std::vector<UIXMLAttribute> attrs) { return {Kind::Open, std::move(attrs)}; }
const UIXMLItem kComment{Kind::Comment, {}}, kClose{Kind::Close, {}}, kAlias{Kind::Alias, {}};

TEST(UIXMLReader, ItemsInFileOrder) {
    const std::string text =
        "  <!-- main window -->\n"
        "  <control class='\"Window\"' name='\"book\"'\n"
        "           visible='true'>\n"
        "    < control class='\"TabBook\"'name='\"tab\"'>< /control >\n"
        "    <aliasname='\"zoombar\"' >\n"
        "  </control>\n";
    EXPECT_EQ(readAll(text), (Read{{kComment, open({{"class", "\"Window\""}, {"name", "\"book\""}, {"visible", "true"}}),
                        open({{"class", "\"TabBook\""}, {"name", "\"tab\""}}), kClose, kAlias, kClose},
                       long(text.size()), ""}));
    EXPECT_EQ(itemsOf("<controla='1'a='2'>"), (Items{open({{"a", "1"}, {"a", "2"}})}));  // duplicates kept
    EXPECT_EQ(itemsOf("<control x=\n\t 'v'>"), (Items{open({{"x", "v"}})}));  // blanks after "="
    EXPECT_EQ(readAll("<control a='1'> word </control>").rest, "word </control>");
    // Each of these stops the reading at its "<", after the good first item.
    for (std::string_view bad : {"</ control>", "<control/>", "<Control>", "<controlx>", "<?xml?>",
                                 "<control a=\"1\">", "<control 1a='x'>", "<control a_b='x'>", "<control a ='x'>",
                                 "<control a='x'", "<", "<control a='<'>", "<control a='''>", "<alias a=x>",
                                 "<control\v>", "<\fcontrol>"})  // VT and FF are no blanks
        EXPECT_EQ(readAll("<control>\n" + std::string(bad)), (Read{{open({})}, 10, std::string(bad)})) << bad;
}

TEST(UIXMLReader, CommentsValuesAndEscapes) {
    EXPECT_EQ(itemsOf("<!----><  !--\n\tSome text 42   --\r\n>"), (Items{kComment, kComment}));
    for (std::string_view bad : {"<!-- a.b -->", "<!-- a\tb -->", "<!- x -->", "<! -- x -->"})
        EXPECT_TRUE(itemsOf(bad).empty()) << bad;
    std::string value = " \"quoted\" > \t\r\n\x7f\x80\xff end ";
    EXPECT_EQ(itemsOf("<control v='" + value + "' e=''>"), (Items{open({{"v", value}, {"e", ""}})}));
    EXPECT_TRUE(itemsOf("<control v='\x01'>").empty());  // only TAB, LF and CR below 32
    EXPECT_EQ(itemsOf("<control v='a&38;&60;&39;&9;&x41;&x0041;&0065;&xff;z'>"), (Items{open({{"v", "a&<'\tAAA\xffz"}})}));
    // An invalid escape fails the tag; a code above 255 ends the whole reading.
    for (std::string_view bad : {"&1;", "&X41;", "&65", "&2147483648;"})
        EXPECT_TRUE(itemsOf("<control v='" + std::string(bad) + "'>").empty()) << bad;
    EXPECT_THROW(R::parseItem(CharSource::ofText("<control v='&256;'>")), Chr);
    EXPECT_THROW(R::parseItem(CharSource::ofText("<alias v='&x100;'>")), Chr);
}

TEST(UIXMLReader, FailureMessages) {
    auto failure = [](auto f) -> std::string {
        try {
            f();
        } catch (const SyntaxError& e) {
            return e.message + " @" + std::to_string(e.position);
        }
        return "no error";
    };
    const std::pair<const char*, const char*> escapes[] = {
        {"abc&", "Unexpected end of escaped string"},   {"&x1", "Unexpected end of escaped number"},
        {"&31;", "Illegal character in escaped number"}, {"&amp;", "Invalid character in number a"},
        {"&xg1;", "Invalid character in hex number g"},  {"&1a;", "Invalid number in escaped string"},
        {"&2147483648;", "Overflow when converting number"}, {"&x80000000;", "Overflow when converting number"},
        {"&1;&300;", "Illegal character in escaped number"},  // the first failing escape decides
    };
    for (const auto& [raw, want] : escapes)
        EXPECT_EQ(failure([raw = raw] { R::decodeEscapes(raw, 17); }), std::string(want) + " @17") << raw;
    EXPECT_EQ(R::decodeEscapes("&32;&x0a;&00000000000000000065;", 0), " \nA");
    // The failure of the alternative that got furthest, where its piece was expected.
    const std::pair<const char*, const char*> items[] = {
        {"x", "< expected @0"},         {"<  foo>", "alias expected @3"},
        {"<!-- a.b -->", "-- expected @6"}, {"<control a='1' b>", "> expected @15"},
        {"</control x>", "> expected @10"},
    };
    for (const auto& [text, want] : items)
        EXPECT_EQ(failure([text = text] { R::readItem(CharSource::ofText(text)); }), want) << text;
    // The blank step where no blank stands: the character's display form.
    const std::pair<std::string_view, const char*> steps[] = {
        {"  x", "x unexpected @2"},          {"  \\", "\\\\ unexpected @2"},     {"  \"", "\\\" unexpected @2"},
        {"  \a", "\\a unexpected @2"},       {"  \v", "\\v unexpected @2"},      {"  \f", "\\f unexpected @2"},
        {{"  \0", 3}, "\\^@ unexpected @2"}, {"  \x01", "\\^A unexpected @2"},   {"  \x1f", "\\^_ unexpected @2"},
        {"  \x7f", "\\127 unexpected @2"},   {"  \x80", "\\128 unexpected @2"},  {"  \xff", "\\255 unexpected @2"},
        {"  ", "Unexpected end of file @2"},
    };
    for (const auto& [text, want] : steps) {
        const CharSource s = R::readerStep(R::readerStep(CharSource::ofText(text, 1)).second).second;
        EXPECT_EQ(failure([&s] { R::readerStep(s); }), want) << want;
    }
}

TEST(UIXMLReader, TheBlankStepTakesOneBlankOrLeavesTheSource) {
    const std::string_view text = " \t\r\nx";
    const CharSource start = CharSource::ofText(text, 2);
    std::string taken;
    CharSource s = start;
    for (auto step = R::tryReaderStep(s); step; step = R::tryReaderStep(s)) {
        taken += step->first;
        s = step->second;
        // A step that takes nothing, or never finds the end, fails here at once.
        ASSERT_LE(taken.size(), text.size()) << "the blank step does not stop";
    }
    EXPECT_EQ(taken, " \t\r\n");
    EXPECT_EQ(R::readChars(s, 9).first, "x");  // left at the first character that is no blank
    EXPECT_EQ(R::readChars(start, 2).first, " \t");  // the older value is untouched
    for (std::string_view none : {"\v", "\f", "x", ""})
        EXPECT_FALSE(R::tryReaderStep(CharSource::ofText(none))) << none;
    // A failed read is no syntax failure: it passes through.
    const CharSource broken([]() -> std::string { throw Io("gone"); });
    EXPECT_THROW(R::tryReaderStep(broken), Io);
}

TEST(UIXMLReader, SourcesArePersistentAndLongChainsNeedNoRecursion) {
    CharSource start = CharSource::ofText("<control a='1'>  <bad", 3);
    R::ItemStep second = R::parseItem(R::parseItem(start).rest);
    EXPECT_FALSE(second.item);
    EXPECT_EQ(second.rest.position(), 17);
    EXPECT_EQ(R::readChars(start, 9).first, "<control ");  // an older value reads the same again
    EXPECT_EQ(R::readChars(second.rest, 64).first, "<bad");
    // Held without reading: the rest of its piece, or the next one once read.
    EXPECT_EQ(start.heldPiece(), "<co");
    EXPECT_EQ(start.take(4).second.heldPiece(), "tr");

    // One value across many pieces; a tag failing at its end after it.
    std::string big(1 << 20, 'v');
    EXPECT_EQ(readAll("<control v='" + big + "'>", 1).items, (Items{open({{"v", big}})}));
    EXPECT_EQ(readAll("<control/><control v='" + big + "'", 4096).stoppedAt, 0);
    // Dropping the first value frees a long chain of pieces in one go.
    EXPECT_EQ(R::skipBlanks(CharSource::ofText(std::string(300000, ' '), 1)).position(), 300000);
}

using Log = std::vector<std::string>;

// A probe logs every delivery after a change by name; a bare control has no
// attributes of its own.
struct Probe : ControlKind {
    bool probe;
    std::shared_ptr<Log> log = std::make_shared<Log>();
    explicit Probe(bool probe) : probe(probe) {}
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
    Probe probe{true}, bare{false};
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
        std::string tag = "<control class='\"Win\"' name='\"w\"' boundingbox='{x=0,y=0,w=8,h=8}' visible='";
        EXPECT_EQ(b.at(b.build(tag + text + "'>")[0]).visible.value(), flag) << text;
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
