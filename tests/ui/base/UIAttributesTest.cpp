#include "shell/ShellTestSupport.hpp"
#include "ui/base/UIAttributes.hpp"

namespace zil {
namespace {

using testing::failureOf;
using Names = std::vector<std::string>;

// Control 1 holds an attribute of every registration; 8 IDs in all.
struct Tables : ::testing::Test {
    AttributeStores stores{8};
    UIAttributes attrs{stores};
    IdCell c1 = makeIdCell(1);
    std::shared_ptr<Attr::NInt::Value> count = attrs.registerInt(c1, "count", 5);
    std::shared_ptr<Attr::NReal::Value> zoom = attrs.registerReal(c1, "zoom", 0.0);
    std::shared_ptr<Attr::NString::Value> text = attrs.registerString(c1, "text", "");
    std::shared_ptr<Attr::NStrings::Value> strings = attrs.registerStrings(c1, "strings");
    std::shared_ptr<Attr::NBool::Value> pressed = attrs.registerBool(c1, "ispressed", false);
    std::shared_ptr<Attr::NBools::Value> items = attrs.registerSelectableItems(c1);
    std::shared_ptr<Attr::NUIControlID::Value> control = attrs.registerControlID(c1, "control");
    std::shared_ptr<Attr::NIRect2D::Value> box = std::make_shared<Attr::NIRect2D::Value>(c1, IRect2D{1, 2, 3, 4});
    Tables() {
        auto text = [&](const char* v) { return std::make_shared<Attr::NString::Value>(c1, v); };
        attrs.registerStandard(c1, box, std::make_shared<Attr::NBool::Value>(c1, 1), text("n"), text("Label"));
    }
    template <class Tag>
    std::string readFailure(const char* attr, const IdCell& id) {
        return failureOf([&] { attrs.get<Tag>(id, attr); });
    }
};

TEST_F(Tables, ReadsSucceedOnlyAtTheStoredTypeOfAReadableSlot) {
    EXPECT_EQ(attrs.get<Attr::NInt>(c1, "count"), count);  // the bound object itself
    EXPECT_EQ(attrs.get<Attr::NUIControlID>(c1, "control"), control);
    const std::pair<std::string, const char*> cases[] = {
        {readFailure<Attr::NString>("count", c1), "NInt into type NString"},
        {readFailure<Attr::NInt>("control", c1), "NUIControlID into type NInt"},
        // Read only through their handles, even at their own type.
        {readFailure<Attr::NIRect2D>("boundingbox", c1), "NIRect2D into type NIRect2D"},
        {readFailure<Attr::NBool>("ispressed", c1), "NBool into type NBool"},
        {readFailure<Attr::NBools>("selectableitems", c1), "NBools into type NBools"},
    };
    for (const auto& [got, types] : cases)
        EXPECT_EQ(got, std::string("TYPECAST: Cannot typecast an object of type ") + types);
    EXPECT_EQ(readFailure<Attr::NInt>("coun", c1), "UIAttributes: Attribute coun not found during get");
    EXPECT_EQ(readFailure<Attr::NInt>("count", makeIdCell(2)), "UIAttributes: Attribute count not found during get");
    EXPECT_EQ(failureOf([&] { attrs.registerInt(c1, "class", 99); }),
              "UIAttributes: Attribute class exists during register");
    EXPECT_EQ(attrs.attributeNames(c1), (Names{"count", "zoom", "text", "strings", "ispressed", "selectableitems",
                                               "control", "boundingbox", "visible", "name", "class"}));
}

TEST_F(Tables, DestroyedControlsAndIdsOutsideTheTables) {
    IdCell stale = makeIdCell(1);
    stores.clearAttributeStores(1);
    *c1 = 0;  // slot 0 belongs to no control and stays empty
    for (const IdCell& id : {stale, c1})
        EXPECT_EQ(readFailure<Attr::NInt>("count", id), "UIAttributes: Attribute count not found during get");
    EXPECT_THROW(attrs.registerInt(c1, "count", 1), ControlDestroyed);
    for (std::int32_t id : {8, -1}) {
        EXPECT_THROW(attrs.get<Attr::NInt>(makeIdCell(id), "count"), Subscript) << id;
        EXPECT_THROW(attrs.registerInt(makeIdCell(id), "count", 1), Subscript) << id;
    }
}

TEST_F(Tables, WritesFromTextDeliverOnlyChanges) {
    std::vector<std::string> log;
    auto note = [&](const char* tag) { return [&log, tag](const IdCell&, const auto&) { log.push_back(tag); }; };
    count->onChanged.push(note("count"));
    zoom->onChanged.push(note("zoom"));
    pressed->onChanged.push(note("ispressed"));
    box->onChanged.push(note("boundingbox"));
    text->onChanging.push([&](const IdCell&, const std::string& v) { log.push_back(text->value() + "->" + v); });
    // In sequence from count 5, zoom 0.0, text "", ispressed 0, box (1, 2, 3, 4).
    const std::tuple<const char*, const char*, std::vector<std::string>> cases[] = {
        {"count", "5", {}}, {"count", "~5", {"count"}}, {"count", "x1", {}},
        {"zoom", "+3.25", {"zoom"}}, {"zoom", "3.250", {}},
        {"text", "\"abc\"", {"->abc"}}, {"text", "'abc'", {}},
        {"ispressed", "\"true\"", {}}, {"ispressed", "true", {"ispressed"}},
        {"boundingbox", "{x=1,y=2,w=3,h=5}", {"boundingbox"}}, {"boundingbox", "{x=1,y=2,w=3}", {}},
        {"control", "\"5\"", {}},
    };
    for (const auto& [attr, text, want] : cases) {
        log.clear();
        attrs.writeAsString(c1, attr, text);
        EXPECT_EQ(log, want) << attr << " " << text;
    }
    EXPECT_EQ(std::tuple(count->value(), zoom->value(), box->value(), idOf(control->value())),
              std::tuple(-5, 3.25, IRect2D{1, 2, 3, 5}, 0));

    // Lists are replaced, their change lists run once per element appended.
    int appended = 0;
    strings->onChanged.push([&](const IdCell&) { ++appended; });
    items->onChanged.push([&](const IdCell&) { ++appended; });
    attrs.writeAsString(c1, "strings", "[ \"a\", \"b\" ]");
    attrs.writeAsString(c1, "selectableitems", "[ true,false ]");
    attrs.writeAsString(c1, "strings", "[ \"c\" ]");
    EXPECT_EQ(Names(strings->items().begin(), strings->items().end()), Names{"c"});
    EXPECT_EQ(items->count(), 2);
    EXPECT_EQ(appended, 5);
}

TEST_F(Tables, FailedWritesChangeNothing) {
    EXPECT_EQ(failureOf([&] { attrs.writeAsString(c1, "nope", "1"); }),
              "UIAttributes: Attribute nope not found during writeAsString");
    EXPECT_EQ(failureOf([&] { attrs.writeString(c1, "count", "OK"); }),
              "TYPECAST: Cannot typecast an object of type NInt into type NString");
    EXPECT_THROW(attrs.writeAsString(c1, "count", "2147483648"), Overflow);  // 2^31
    EXPECT_EQ(count->value(), 5);
    // A target that registers on the same control replaces its table while
    // the write runs.
    text->onChanged.push([&](const IdCell& o, const std::string& v) { attrs.registerString(o, "echo" + v, v); });
    attrs.writeString(c1, "text", "OK");
    EXPECT_EQ(attrs.get<Attr::NString>(c1, "echoOK")->value(), "OK");
}

TEST(UIAttributes, TakeOverSharesOneObjectWhicheverControlGoesFirst) {
    for (bool innerFirst : {true, false}) {
        AttributeStores s(8);
        UIAttributes a(s);
        IdCell inner = makeIdCell(3), outer = makeIdCell(4);
        auto innerText = a.registerString(inner, "text", "in");
        auto outerName = a.registerString(outer, "name", "frame");
        a.registerString(inner, "name", "label");
        for (const std::string& n : a.attributeNames(inner)) a.takeOver(inner, outer, n);
        EXPECT_FALSE(a.takeOver(inner, outer, "missing"));
        EXPECT_EQ(a.get<Attr::NString>(outer, "name"), outerName);  // its own stays
        EXPECT_EQ(a.attributeNames(outer), (Names{"name", "text"}));
        IdCell gone = innerFirst ? inner : outer, kept = innerFirst ? outer : inner;
        s.clearAttributeStores(*gone);
        *gone = 0;
        a.writeAsString(kept, "text", "\"later\"");
        EXPECT_EQ(innerText->value(), "later");
    }
}

}  // namespace
}  // namespace zil
