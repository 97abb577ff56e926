// Observed values, the attribute tables, their per-control stores and the
// written forms of their values.
#include <limits>
#include <memory>

#include "shell/ShellTestSupport.hpp"
#include "ui/base/AttributeText.hpp"
#include "ui/base/ObservedValue.hpp"
#include "ui/base/UIAttributes.hpp"

namespace zil {
namespace {

using testing::failureOf;
using Names = std::vector<std::string>;
using namespace AttributeText;

using Log = std::vector<std::string>;
using Int = ObservedValue<std::int32_t>;

// An int value of control 7, held 5; callbacks log "<tag> <owner>
// <delivered> <held>".
struct Recorded {
    Int v{makeIdCell(7), 5};
    Log log;
    void listen(Int::List& list, std::string tag) {
        list.push([this, tag](const IdCell& o, const std::int32_t& x) {
            log.push_back(tag + " " + std::to_string(*o) + " " + std::to_string(x) + " " + std::to_string(v.value()));
        });
    }
};

TEST(ObservedValue, SetDeliversAroundTheStoreOnlyWhenTheValueChanges) {
    for (auto [to, want] : {std::pair{5, Log{}}, {6, Log{"before 7 6 5", "after 7 6 6"}}}) {
        Recorded r;
        r.listen(r.v.onChanging, "before");
        r.listen(r.v.onChanged, "after");
        EXPECT_EQ(r.v.set(to), !want.empty());
        EXPECT_EQ(r.log, want);
    }
    Recorded r;  // a failure before the store skips the store and onChanged
    r.listen(r.v.onChanged, "after");
    r.v.onChanging.push([](const IdCell&, const std::int32_t&) { throw Overflow(); });
    EXPECT_THROW(r.v.set(9), Overflow);
    EXPECT_EQ(r.v.value(), 5);
    EXPECT_TRUE(r.log.empty());
    const double nan = std::numeric_limits<double>::quiet_NaN();
    ObservedValue<double> real{makeIdCell(1), nan};
    EXPECT_TRUE(real.set(nan));  // a NaN is never equal
    ObservedValue<IRect2D> rect{makeIdCell(1), {1, 2, 3, 4}};
    EXPECT_FALSE(rect.set({1, 2, 3, 4}));
    EXPECT_TRUE(rect.set({1, 2, 3, 5}));
    // References are equal when they name the same control; no cell is 0.
    ObservedValue<IdCell, SameControlId> ref{makeIdCell(1), makeIdCell(0)};
    EXPECT_FALSE(ref.set(nullptr));
    EXPECT_TRUE(ref.set(makeIdCell(3)));
    EXPECT_FALSE(ref.set(makeIdCell(3)));
}

TEST(ObservedValue, ListsRunNewestFirstFromTheListReadOnce) {
    Recorded r;
    r.listen(r.v.onChanged, "a");
    IdentityKey k = newIdentityKey();
    r.v.onChanged.push(k, [&](const IdCell&, const std::int32_t&) { r.log.push_back("keyed"); });
    r.listen(r.v.onChanged, "b");
    // Runs first: what it adds waits for the next walk, what it removes
    // still runs in this one.
    IdentityKey once = r.v.onChanged.pushKeyed([&](const IdCell&, const std::int32_t&) {
        r.listen(r.v.onChanged, "new");
        r.v.onChanged.removeKey(k);
        r.v.onChanged.removeKey(once);
    });
    r.v.set(1);
    EXPECT_EQ(r.log, (Log{"b 7 1 1", "keyed", "a 7 1 1"}));
    r.log.clear();
    r.v.set(2);
    EXPECT_EQ(r.log, (Log{"new 7 2 2", "b 7 2 2", "a 7 2 2"}));
    // A key may name several entries; a null key names none.
    for (int i = 0; i < 2; ++i) r.v.onChanged.push(k, [](const IdCell&, const std::int32_t&) {});
    EXPECT_EQ(r.v.onChanged.removeKey(nullptr), 0u);
    EXPECT_EQ(r.v.onChanged.removeKey(k), 2u);
}

TEST(ObservedArray, ChangesAreDeliveredAroundThemAndBadIndexesBeforeAny) {
    ObservedArray<std::string> a{makeIdCell(4)};
    Log log;
    a.onChanging.push([&](const IdCell& o) { log.push_back(std::to_string(*o) + " before " + std::to_string(a.count())); });
    a.onChanged.push([&](const IdCell&) { log.push_back("after " + std::to_string(a.count())); });
    a.append("x");
    a.insertAt(0, a.readAt(0));  // its own element
    a.writeAt(1, "z");
    a.deleteAt(0);
    EXPECT_EQ(std::vector<std::string>(a.items().begin(), a.items().end()), std::vector<std::string>{"z"});
    EXPECT_EQ(log, (Log{"4 before 0", "after 1", "4 before 1", "after 2", "4 before 2", "after 2", "4 before 2",
                        "after 1"}));
    log.clear();
    EXPECT_EQ(failureOf([&] { a.insertAt(2, "q"); }), "IndexOutOfRange: insertAt 2");
    EXPECT_EQ(failureOf([&] { a.deleteAt(-1); }), "IndexOutOfRange: deleteAt ~1");
    EXPECT_EQ(failureOf([&] { a.writeAt(1, "q"); }), "IndexOutOfRange: writeAt");
    a.reset();  // silently
    EXPECT_EQ(a.count(), 0);
    EXPECT_TRUE(log.empty());
}

using V = std::vector<int>;

// Two stores of 8 slots, slot i holding 10 i + 1 (never the empty 0).
struct Filled {
    AttributeStores stores{8};
    std::shared_ptr<AttributeStore<int>> a = stores.newAttributeStore<int>();
    std::shared_ptr<AttributeStore<std::string>> b = stores.newAttributeStore<std::string>();
    Filled() {
        for (int i = 0; i < 8; ++i) a->at(i) = 10 * i + 1, b->at(i) = std::to_string(10 * i + 1);
    }
};

TEST(AttributeStores, GrowAndShrinkMakeNewArraysKeepingTheSlotsThatRemain) {
    for (const auto& [to, want] : {std::pair<std::int64_t, V>{12, {1, 11, 21, 31, 41, 51, 61, 71, 0, 0, 0, 0}},
                                   {3, {1, 11, 21}}}) {
        Filled f;
        auto before = f.a->array();
        f.stores.growAttributeStores(to);
        EXPECT_EQ(*f.a->array(), want);
        EXPECT_EQ(*before, (V{1, 11, 21, 31, 41, 51, 61, 71}));  // a holder's array stays as it was
        EXPECT_EQ(f.b->size(), to);
        EXPECT_EQ(*f.stores.newAttributeStore<int>()->array(), V(to));  // full length at once
    }
    Filled f;
    for (std::int64_t n : {std::int64_t{2147483646}, std::int64_t{-1}}) {
        auto a = f.a->array();
        auto b = f.b->array();
        EXPECT_THROW(f.stores.growAttributeStores(n), Size) << n;
        EXPECT_TRUE(f.a->array() == a && f.b->array() == b && f.stores.capacity() == 8) << n;
    }
}

TEST(AttributeStores, DestroyClearsTheIdInEveryStoreButSlotZero) {
    for (std::int32_t id : {0, 5, 7}) {
        Filled f;
        f.stores.clearAttributeStores(id);
        for (int i = 0; i < 8; ++i) {
            bool cleared = i == id && id != 0;
            EXPECT_EQ(f.a->at(i), cleared ? 0 : 10 * i + 1) << id;
            EXPECT_EQ(f.b->at(i), cleared ? "" : std::to_string(10 * i + 1)) << id;
        }
    }
    Filled f;
    EXPECT_THROW(f.stores.clearAttributeStores(8), Subscript);
    EXPECT_THROW(f.stores.clearAttributeStores(-1), Subscript);
    EXPECT_THROW(f.a->at(8), Subscript);
}

TEST(AttributeText, RealsAndRectangles) {
    const std::pair<std::string, std::optional<double>> reals[] = {
        {"+3.25", 3.25}, {"~12", -12.0}, {"-007.250", -7.25},  // 7 + 250 / 10^3
        {".5", {}}, {"3.", {}}, {"1e5", {}}, {" 3", {}},
        {std::string(400, '9'), {}},         // not finite
        {"1." + std::string(400, '9'), {}},  // inf / inf
    };
    for (const auto& [text, want] : reals) EXPECT_EQ(realFromText(text), want) << text;
    const std::pair<const char*, std::optional<IRect2D>> rects[] = {
        {" { x = 10 , y = 20 , w = 100 , h = 30 }", IRect2D{10, 20, 100, 30}},
        {"{x=1,y=2,w=3,h=4}junk", IRect2D{1, 2, 3, 4}},
        {"{x=2147483647,y=0,w=0,h=0}", IRect2D{INT32_MAX, 0, 0, 0}},
        {"{x=2147483648,y=0,w=0,h=0}", {}},
        {"{x=-1,y=2,w=3,h=4}", {}},
        {"{y=2,x=1,w=3,h=4}", {}},
        {"{x=1,y=2,w=3,h=4", {}},
        {"{x=1,\ty=2,w=3,h=4}", {}},  // only spaces are skipped
    };
    for (const auto& [text, want] : rects) EXPECT_EQ(parseRectangle(text), want) << text;
}

TEST(AttributeText, Lists) {
    struct Case {
        const char* text;
        std::vector<std::string> strings;
        std::vector<std::int32_t> bools;
    };
    // The pieces lie between the third character and the last two.
    const Case cases[] = {
        {"[ \"a\", \"b\" ]", {"a", "b"}, {}},
        {"[\"a\",\"b\"]", {"", ""}, {}},                    // pieces a" and "b
        {"[ true, x,,  , false ]", {"ru", "als"}, {1, 0}},  // blank, empty, short pieces
        {"[ true , TRUE ]", {"rue", "RU"}, {}},             // "true " is not the word
        // Tabs and line ends lead pieces as spaces do; VT is no blank.
        {"[ \"a\",\t\"b\",\n\t,\"c\",\r\n  \"d\" ]", {"a", "b", "c", "d"}, {}},
        {"[ true,\tfalse,\r\ntrue,\vfalse ]", {"ru", "als", "ru", "fals"}, {1, 0, 1}},
        {"[ ]", {}, {}},                                    // shorter than four
        {"x", {}, {}},                                      // nothing between
        {"", {}, {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(stringsFromText(c.text), c.strings) << c.text;
        EXPECT_EQ(boolsFromText(c.text), c.bools) << c.text;
    }
}

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
    attrs.writeAsString(c1, "strings", "x");  // too short for a list: the empty one
    attrs.writeAsString(c1, "selectableitems", "");
    EXPECT_EQ(strings->items().count() + items->count(), 0);
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

TEST(UIAttributes, ATableOutlivingTheAttributesThatMadeItStillGivesBackItsTree) {
    AttributeStores s(4);
    auto a = std::make_unique<UIAttributes>(s);
    IdCell c = makeIdCell(1);
    auto text = a->registerString(c, "text", "x");
    a.reset();  // the tables stay in their store
    EXPECT_EQ(text.use_count(), 2);
    s.clearAttributeStores(1);  // the tree goes back to its pool before the pool goes
    EXPECT_EQ(text.use_count(), 1);
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
