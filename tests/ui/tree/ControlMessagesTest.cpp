#include "ui/tree/ControlMessages.hpp"

#include <gtest/gtest.h>

#include <SDL.h>

#include <array>
#include <filesystem>
#include <memory>
#include <string>
#include <variant>
#include <vector>

#include "shell/ShellTestSupport.hpp"
#include "ui/tree/ControlNotify.hpp"
#include "ui/tree/FocusChange.hpp"
#include "ui/tree/TopLevelWindow.hpp"
#include "ui/tree/TreeTestSupport.hpp"

namespace zil {
namespace {

using namespace testing;

TEST(ControlMessages, RectLinksDeriveTheirTargetsBox) {
    const IdCell target = makeIdCell(1);  // the first control of a fresh tree
    struct Case {
        RectLink link;
        IRect2D before, r, want;
    };
    const Case cases[] = {
        {PlaceRightStrip{target}, {}, {5, 6, 100, 30}, {84, 0, 16, 30}},
        {PlaceRightStrip{target}, {}, {0, 0, 10, 8}, {-6, 0, 16, 8}},
        // The inset keeps its origin; a size below 0 becomes 0.
        {InsetBy{3, target}, {}, {10, 20, 5, 100}, {13, 23, 0, 94}},
        {MatchWidth{target}, {7, 8, 50, 9}, {0, 0, 120, 1}, {7, 8, 120, 9}},
        {InsetFirstChild{target}, {}, {9, 9, 3, 40}, {2, 2, -1, 36}},  // placed: the first child
    };
    for (const Case& c : cases) {
        ControlTree tree;
        add(tree, nullptr, c.before);
        IdCell first = add(tree, target, c.before), second = add(tree, target, {9, 9, 9, 9});
        ControlMessages::act(tree, c.link, c.r, target);
        const bool framed = std::holds_alternative<InsetFirstChild>(c.link);
        EXPECT_EQ(boxOf(tree, framed ? first : target), c.want) << c.link.index();
        EXPECT_EQ(boxOf(tree, second), (IRect2D{9, 9, 9, 9}));
    }
}

TEST(ControlMessages, IntLinksTakeTheBoxsWidthOrHeightOnlyWhenItDiffers) {
    ControlTree tree;
    IdCell owner = add(tree, nullptr), other = add(tree, nullptr);
    auto value = std::make_shared<ObservedInt>(owner, 30);
    Log log;  // "<list> <owner>: <delivered> over <held>"
    for (auto [list, name] : {std::pair{&value->onChanging, "before"}, {&value->onChanged, "after"}})
        list->push([&, name = std::string(name)](const IdCell& o, const std::int32_t& v) {
            log.push_back(name + " " + std::to_string(*o) + ": " + std::to_string(v) + " over " +
                          std::to_string(value->value()));
        });
    const IRect2D r{1, 2, 30, 40};
    ControlMessages::act(tree, SetIntToWidth{value}, r, other);  // already 30: nothing
    EXPECT_EQ(log, Log{});
    ControlMessages::act(tree, SetIntToHeight{value}, r, other);  // the value's own owner, not the delivery's
    ControlMessages::act(tree, SetIntToWidth{value}, r, other);
    EXPECT_EQ(log, (Log{"before 1: 40 over 30", "after 1: 40 over 40", "before 1: 30 over 40", "after 1: 30 over 30"}));
}

TEST(ControlMessages, AFailureLeavesTheWalkAndSkipsTheStore) {
    ControlTree tree;
    IdCell owner = add(tree, nullptr), first = add(tree, nullptr), second = add(tree, nullptr);
    tree.lookup(first)->visible.onChanging.push([](auto&&...) { throw Io("closed"); });
    IntList list;
    list.push(ControlMessages::messageEntry(tree, SetVisible{second}));
    list.push(ControlMessages::messageEntry(tree, SetVisible{first}));  // runs first and fails
    EXPECT_EQ(raised([&] { list.deliver(owner, 0); }), "Io");
    EXPECT_EQ(tree.lookup(first)->visible.value() + tree.lookup(second)->visible.value(), 2);
    ControlMessages::act(tree, ActivateTopLevel{std::make_shared<ObservedString>(owner, "")}, 0, owner);
    EXPECT_EQ(tree.screen(), nullptr);  // activation with 0 does nothing
}

struct Links {
    ControlTree tree;
    std::shared_ptr<LinkTable> table = tree.stores().newAttributeStore<IntList>();
    Log log;
    void put(UIControlID slot, std::string tag) {
        table->at(slot).push([this, tag](const IdCell& owner, const std::int32_t& v) {
            log.push_back(tag + "@" + std::to_string(*owner) + "=" + std::to_string(v));
            if (tag == "adds") put(5, "new");  // waits for the next walk
            if (tag == "fails") throw BackendError();
        });
    }
};

TEST(ControlMessages, DeliverTrueToLinksRunsSlotZeroThenTheOwnersAsTheyWere) {
    Links l;
    for (auto [slot, tag] : {std::pair{0, "a"}, {0, "adds"}, {5, "c"}, {6, "x"}}) l.put(slot, tag);
    ControlMessages::deliverTrueToLinks(*l.table, makeIdCell(0));
    ControlMessages::deliverTrueToLinks(*l.table, makeIdCell(5));
    EXPECT_EQ(l.log, (Log{"adds@0=1", "a@0=1", "adds@5=1", "a@5=1", "new@5=1", "c@5=1"}));
    l.log.clear();
    l.put(0, "fails");  // ends the walk; the failure goes no further
    EXPECT_EQ(raised([&] { ControlMessages::deliverTrueToLinks(*l.table, makeIdCell(5)); }), "none");
    EXPECT_EQ(l.log, Log{"fails@5=1"});
}

TEST(TopLevelWindow, ReactivateRunsThePathFromTheWindowDown) {
    Links l;
    IdCell w = add(l.tree, nullptr), a = add(l.tree, w), c = add(l.tree, a);
    for (auto [slot, tag] : {std::pair{0, "any"}, {1, "w"}, {3, "c"}}) l.put(slot, tag);
    TopLevelWindow::reactivate(l.tree, *l.table, c, 7);
    const Log path7{"any@1=7", "w@1=7", "any@2=7", "any@3=7", "c@3=7"};
    EXPECT_EQ(l.log, path7);
    // Both messages walk the owner's path through their own entry, with the
    // value delivered, from a value's list or from a focus link table.
    const ControlMessage messages[] = {ReactivateWindow{l.table}, ReactivateWindowAncestors{l.table}};
    for (const ControlMessage& m : messages) {
        l.log.clear();
        IntList list;
        list.push(ControlMessages::messageEntry(l.tree, m));
        list.deliver(c, 7);
        EXPECT_EQ(l.log, path7) << m.index();
        auto focusLinks = l.tree.stores().newAttributeStore<IntList>();
        focusLinks->at(*a).push(ControlMessages::messageEntry(l.tree, m));
        l.log.clear();
        ControlMessages::deliverTrueToLinks(*focusLinks, a);
        EXPECT_EQ(l.log, (Log{"any@1=1", "w@1=1", "any@2=1"})) << m.index();
    }
}

// The six focus tables alone, without start-up's entries in slot 0.
FocusTables bareFocusTables(ControlTree& tree) {
    AttributeStores& s = tree.stores();
    return {s.newAttributeStore<IntList>(),   s.newAttributeStore<IntList>(),   s.newAttributeStore<PlainList>(),
            s.newAttributeStore<PlainList>(), s.newAttributeStore<PlainList>(), s.newAttributeStore<PlainList>()};
}

// A and B (2, 3) under a window, and recorders in slot 0 of all six tables
// logging "<step> <control>[ <flag>] <focused or ->".
struct Focus {
    ControlTree tree;
    IdCell w = add(tree, nullptr), a = add(tree, w), b = add(tree, w);
    FocusState state{tree, bareFocusTables(tree)};
    Log log;

    std::string now() const { return state.focused() ? std::to_string(*state.focused()) : "-"; }
    Focus() {
        for (auto [t, step] : {std::pair{state.blurHooksBefore, "blur"}, {state.blurHooksAfter, "blurred"},
                               {state.focusHooksBefore, "focus"}, {state.focusHooksAfter, "focused"}})
            t->at(0).push([this, step = std::string(step)](const IdCell& c) {
                log.push_back(step + " " + std::to_string(*c) + " " + now());
            });
        for (auto [t, step] : {std::pair{state.linksBefore, "flag"}, {state.linksAfter, "flagged"}})
            t->at(0).push([this, step = std::string(step)](const IdCell& c, const std::int32_t& v) {
                log.push_back(step + " " + std::to_string(*c) + " " + std::to_string(v) + " " + now());
            });
    }
};

TEST(FocusChange, MovingTheFocusRunsTheTenStepsInOrder) {
    Focus f;
    ControlMessages::changeCurrent(f.a, f.state);
    ControlMessages::changeCurrent(f.b, f.state);
    ControlMessages::changeCurrent(makeIdCell(*f.b), f.state);  // another cell, the same ID: nothing
    EXPECT_EQ(f.log, (Log{"focus 2 -", "flag 2 1 -", "focused 2 2", "flagged 2 1 2", "blur 2 2", "flag 2 0 2",
                          "blurred 2 -", "flagged 2 0 -", "focus 3 -", "flag 3 1 -", "focused 3 3", "flagged 3 1 3"}));
    EXPECT_TRUE(ControlMessages::isFocused(f.state, makeIdCell(*f.b)));
    EXPECT_FALSE(ControlMessages::isFocused(f.state, f.a));
}

TEST(FocusChange, FailuresPassBeforeTheCellChangesAndAreDroppedAfter) {
    const auto fail = [](auto&&...) { throw Error(); };
    Focus f;
    ControlMessages::changeCurrent(f.a, f.state);
    f.state.blurHooksAfter->at(0).push(fail);  // runs before the recorder, which it skips
    f.log.clear();
    EXPECT_EQ(raised([&] { ControlMessages::changeCurrent(f.b, f.state); }), "none");
    EXPECT_EQ(f.log, (Log{"blur 2 2", "flag 2 0 2", "flagged 2 0 -", "focus 3 -", "flag 3 1 -", "focused 3 3",
                          "flagged 3 1 3"}));
    f.state.blurHooksBefore->at(0).push(fail);
    EXPECT_EQ(raised([&] { ControlMessages::changeCurrent(f.a, f.state); }), "Error");
    EXPECT_EQ(f.now(), "3");  // B keeps the focus
}

TEST(FocusChange, ADestroyedFocusedControlTakesTheFocusWithIt) {
    Focus f;
    ControlMessages::changeCurrent(f.a, f.state);
    f.tree.destroyControl(f.a);
    // A hook that looks its control up would fail for A, and keep it focused.
    f.state.blurHooksBefore->at(0).push([&](const IdCell& c) { f.tree.lookup(c); });
    f.log.clear();
    EXPECT_EQ(f.now(), "-");
    ControlMessages::changeCurrent(f.b, f.state);
    EXPECT_EQ(f.log, (Log{"focus 3 -", "flag 3 1 -", "focused 3 3", "flagged 3 1 3"}));
}

TEST(FocusChange, FocusEntriesFollowTheFocus) {
    Focus f;
    add(f.tree, f.a);  // 4
    FocusChange::focusFirstChild(f.state)(f.a);
    // A text too short for cursor 3 + extent 2 takes the focus from its control only.
    const auto shortText = FocusChange::clearFocusOnShortText(f.state, f.a, std::make_shared<ObservedInt>(f.a, 3),
                                                              std::make_shared<ObservedInt>(f.a, 2));
    shortText(f.a, "abcd");
    std::string seen = f.now();
    ControlMessages::changeCurrent(f.a, f.state);
    shortText(f.a, "abcde");
    seen += f.now();
    shortText(f.a, "abcd");
    EXPECT_EQ(seen + f.now(), "42-");
}

TEST(ControlNotify, BarValuesScaleByTheRangeAndRangesClampToTheLength) {
    const std::tuple<std::int32_t, std::int32_t, std::int32_t, double> scaled[] = {  // U, L, v, 4 * v / (U - L)
        {100, 20, 40, 2.0},
        {50, 50, 7, 0.0},  // an empty range gives 0, not an infinity
        {0, 0, 0, 0.0},    // nor a NaN
        {INT32_MAX, INT32_MIN, 1, 4.0 / 4294967295.0},  // the range 2^32 - 1 needs 33 bits
    };
    for (const auto& [upper, lower, v, want] : scaled) {
        auto target = std::make_shared<ObservedReal>(nullptr, 99.0);
        ControlNotify::setScaledReal(4.0, std::make_shared<ObservedInt>(nullptr, upper),
                                     std::make_shared<ObservedInt>(nullptr, lower), target)(nullptr, v);
        EXPECT_EQ(target->value(), want) << upper << " " << lower;
    }
    const std::array<std::int32_t, 4> clamped[] = {{2, 3, 2, 3}, {3, 4, 3, 2}, {5, 3, 5, 0}, {7, 1, 5, 0}};
    for (const auto& [p, x, wantP, wantX] : clamped) {  // length 5
        auto position = std::make_shared<ObservedInt>(nullptr, p), extent = std::make_shared<ObservedInt>(nullptr, x);
        ControlNotify::clampRangeToLength([] { return 5; }, position, extent)(nullptr);
        EXPECT_EQ(std::pair(position->value(), extent->value()), std::pair(wantP, wantX)) << p << " " << x;
    }
}

TEST(ControlNotify, SelectingATabShowsExactlyThePagesWithThatIndex) {
    ControlTree tree;
    IdCell book = add(tree, nullptr, {10, 20, 300, 200});
    Log changed;
    for (std::int32_t tab : {0, 1, 2, -1, 1}) {  // pages 2..6; -1: no "tabindex"
        TestKind kind;
        kind.extra = [tab](ControlTree& t, const IdCell& self) {
            if (tab >= 0) t.attributes().registerInt(self, "tabindex", tab);
        };
        tree.lookup(add(tree, book, {}, "", 1, kind))->visible.onChanged.push([&](const IdCell& p, auto v) {
            changed.push_back(std::to_string(*p) + "=" + std::to_string(v));
        });
    }
    const std::pair<std::int32_t, Log> steps[] = {
        {1, {"2=0", "4=0", "5=0"}},  // pages already right are left alone
        {5, {"3=0", "6=0"}},
        {-1, {"5=1"}},
        {2, {"4=1", "5=0"}},
    };
    for (const auto& [selected, want] : steps) {
        changed.clear();
        ControlNotify::selectPageByTabIndex(tree, book)(book, selected);
        EXPECT_EQ(changed, want) << selected;
    }
    ControlNotify::fitTabPages(tree, book)(book);
    EXPECT_EQ(boxOf(tree, makeIdCell(6)), (IRect2D{0, 0, 300, 200}));
}

TEST(ControlNotify, ReloadImageReplacesTheImageAndForgetsAFailedLoad) {
    ScratchDir dir;
    const std::filesystem::path old = std::filesystem::current_path();
    std::filesystem::current_path(dir.path(""));  // a failed load writes its log here
    SDL_Surface* made = SDL_CreateRGBSurface(0, 2, 3, 32, 0xFF0000, 0xFF00, 0xFF, 0);
    ASSERT_EQ(SDL_SaveBMP(made, "img.bmp"), 0);
    SDL_FreeSurface(made);
    auto image = std::make_shared<ImageCell>();
    const auto reload = ControlNotify::reloadImage(image);
    reload(nullptr, "img.bmp");
    SDL_Surface* first = image->get();
    ASSERT_TRUE(first && first->h == 3);
    reload(nullptr, "");  // keeps the image
    EXPECT_EQ(image->get(), first);
    reload(nullptr, "missing.bmp");
    EXPECT_EQ(image->get(), nullptr);
    std::filesystem::current_path(old);
}

}  // namespace
}  // namespace zil
