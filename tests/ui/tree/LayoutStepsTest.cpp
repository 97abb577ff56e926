#include "ui/tree/LayoutSteps.hpp"

#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <memory>
#include <string>
#include <vector>

#include "ui/tree/ControlTree.hpp"
#include "ui/tree/TreeTestSupport.hpp"

namespace zil {
namespace {

using namespace testing;
using Ints = std::vector<std::int32_t>;

// A window (1) holding an area (2) with children of the given boxes, and a
// bar's position, size and range.
struct Area {
    ControlTree tree;
    IdCell w = addWindow(tree, {3, 3, 500, 500});
    IdCell area;
    std::vector<IdCell> kids;
    ScrollRecord scroll;

    Area(IRect2D box, const Rects& children, std::int32_t range = 0, std::int32_t size = 0) : area(add(tree, w, box)) {
        for (const IRect2D& r : children) kids.push_back(add(tree, area, r));
        scroll = ScrollRecord{area, kids.empty() ? nullptr : kids[0], std::make_shared<ObservedInt>(area, 0),
                              std::make_shared<ObservedInt>(area, size), std::make_shared<ObservedInt>(area, range)};
    }
    std::int32_t y(std::size_t kid) const { return boxOf(tree, kids[kid]).y; }
};

TEST(LayoutSteps, ContentExtentAndTheScrollRangeDividingDownAndWaitingWhileBusy) {
    const std::pair<Rects, ContentExtent> extents[] = {
        {{}, {0, 0}}, {{{0, 30, 10, 20}}, {0, 50}}, {{{0, -40, 10, 10}, {0, 5, 10, 10}}, {-40, 55}}};
    for (const auto& [children, want] : extents)
        EXPECT_EQ(ControlMessages::contentExtent(Area({0, 0, 50, 50}, children).tree, makeIdCell(2)), want);
    Area far({0, 0, 50, 50}, {{0, -2, 1, 1}, {0, INT_MAX - 1, 1, 1}});  // 2^31 + 1 high
    EXPECT_EQ(raised([&] { ControlMessages::contentExtent(far.tree, far.area); }), "Overflow");

    // Area 100 high, contents 300 high from `top`: size 100 * range div 300,
    // position -(top * range div 300).
    const std::array<std::int32_t, 4> cases[] = {{-51, 300, 100, 51}, {-50, 7, 2, 2}};  // -350 div 300 is -2
    for (const auto& [top, range, size, position] : cases) {
        Area a({0, 0, 50, 100}, {{0, top, 10, 300}}, range);
        ControlMessages::updateScrollRange(a.tree, a.scroll);
        EXPECT_EQ(std::pair(a.scroll.size->value(), a.scroll.position->value()), std::pair(size, position)) << top;
        *a.scroll.busy = 1;
        a.scroll.range->set(600);
        ControlMessages::updateScrollRange(a.tree, a.scroll);
        EXPECT_EQ(a.scroll.size->value(), size);
    }
    Area empty({0, 0, 50, 100}, {}, 300);
    EXPECT_EQ(raised([&] { ControlMessages::updateScrollRange(empty.tree, empty.scroll); }), "Div");

    // Boxes up to 65,535 high, whose products pass 32 bits (h * (h - 4) from
    // h = 46,343): h, range, contents' top and extent, size, position.
    const std::array<std::int32_t, 6> tall[] = {
        {46342, 46338, 0, 46342, 46338, 0},
        {46343, 46339, 0, 46343, 46339, 0},
        {65535, 65531, -65535, 131070, 32765, 32766},  // 65531 / 2 rounded down, then up
    };
    for (const auto& [h, range, top, extent, size, position] : tall) {
        Area a({0, 0, 50, h}, {{0, top, 16, extent}}, range);
        ControlMessages::updateScrollRange(a.tree, a.scroll);
        EXPECT_EQ(std::pair(a.scroll.size->value(), a.scroll.position->value()), std::pair(size, position)) << h;
    }
    Area low({0, 0, 50, 65535}, {{0, 0, 1, 1}}, 65535);  // a size of 65535^2 does not fit
    EXPECT_EQ(raised([&] { ControlMessages::updateScrollRange(low.tree, low.scroll); }), "Overflow");
}

TEST(LayoutSteps, ScrollingMovesEveryChildButTheFrameWhileBusy) {
    // Area 100 high; frame, K1 (0..150), K2 (150..300): E = 300; range 120
    // and size 20, so U - L = 100.
    Area a({0, 0, 50, 100}, {{0, 0, 50, 100}, {0, 0, 10, 150}, {0, 150, 10, 150}}, 120, 20);
    auto scroll = std::make_shared<ScrollRecord>(a.scroll);
    a.tree.lookup(a.kids[1])->boundingBox.onChanged.push(LayoutSteps::updateScrollRange(a.tree, scroll));
    a.scroll.position->onChanged.push(LayoutSteps::scrollAreaContents(a.tree, scroll));
    a.scroll.position->set(50);  // q = (300 - 100) * 50 div 100 = 100: the top goes to -100
    EXPECT_EQ((Ints{a.y(0), a.y(1), a.y(2)}), (Ints{0, -100, 50}));
    EXPECT_EQ(*scroll->busy + a.scroll.size->value(), 20);  // idle again; the range stayed out while busy
    a.scroll.position->set(21474837);  // 200 * 21474837 passes 32 bits; q = 42949674 exactly
    EXPECT_EQ(a.y(1), -42949674);

    a.tree.lookup(a.kids[2])->boundingBox.onChanging.push([](auto&&...) { throw Error(); });  // a failing move
    EXPECT_EQ(raised([&] { ControlMessages::scrollAreaContents(a.tree, *scroll, 0); }), "Error");
    EXPECT_EQ(*scroll->busy, 0);

    // A bar as large as its range has nothing to divide by: the top goes to 0.
    Area fits({0, 0, 50, 100}, {{0, 0, 50, 100}, {0, -30, 10, 50}}, 120, 120);
    ControlMessages::scrollAreaContents(fits.tree, fits.scroll, 0);
    EXPECT_EQ(fits.y(1), 0);
}

TEST(LayoutSteps, FitItemsHeightAppendsFlagsAndAlwaysRepaints) {
    Area a({0, 0, 100, 100}, {{5, 6, 70, 10}});
    auto flags = std::make_shared<ObservedArray<std::int32_t>>(a.kids[0]);
    flags->append(1);
    std::int32_t line = 14;
    const auto fit = LayoutSteps::fitItemsHeight(
        a.tree, std::make_shared<ItemList>(ItemList{a.kids[0], [] { return 3; }, [&] { return line; }, flags}));
    fit(a.w);
    EXPECT_EQ(Ints(flags->items().begin(), flags->items().end()), (Ints{1, 0, 0}));  // the first keeps its flag
    EXPECT_EQ(boxOf(a.tree, a.kids[0]), (IRect2D{5, 6, 70, 42}));
    dirtyOf(a.tree, a.w).clear();
    fit(a.w);  // nothing changes, the list still repaints
    EXPECT_EQ(dirtyOf(a.tree, a.w), (Rects{{5, 6, 70, 42}}));
    line = INT_MAX;
    EXPECT_EQ(raised([&] { fit(a.w); }), "Overflow");
}

TEST(LayoutSteps, InsetFramedChildKeepsOneLatchKey) {
    Area a({0, 0, 100, 50}, {{9, 9, 9, 9}, {1, 1, 1, 1}});
    auto keyDown = a.tree.stores().newAttributeStore<KeyDownList>();
    int latched = 0;
    const auto inset = LayoutSteps::insetFramedChild(
        a.tree, std::make_shared<FramedChild>(
                    FramedChild{a.area, a.area, a.area, keyDown, [&](const KeyPress&) { ++latched; }}));
    inset(a.area);
    inset(a.area);
    EXPECT_EQ(boxOf(a.tree, a.kids[0]), (IRect2D{2, 2, 96, 46}));
    EXPECT_EQ(boxOf(a.tree, a.kids[1]), (IRect2D{1, 1, 1, 1}));
    deliverToSlots(*keyDown, a.kids[0], KeyPress{0, 32, 32});
    EXPECT_EQ(latched, 1);
}

TEST(LayoutSteps, ToControlPointSubtractsEveryOriginBelowTheWindow) {
    Area a({5, 5, 200, 200}, {{10, 10, 50, 50}});  // the window's own origin does not count
    EXPECT_EQ(ControlMessages::toControlPoint(a.tree, a.kids[0], {50, 40}), (Point{35, 25}));  // 50 - 5 - 10
    a.tree.lookup(a.area)->boundingBox.set({INT_MIN, 0, 1, 1});
    EXPECT_EQ(raised([&] { ControlMessages::toControlPoint(a.tree, a.kids[0], {-50, 40}); }), "Overflow");
}

TEST(LayoutSteps, TheHitTestTakesTheMouseInsideAVisibleControlForItsHandlersOrItsItems) {
    // The area (2, 100 x 20) holds items 3 and 4 side by side and a hidden 5
    // over both. Capturing runs the area's handlers; walking, in their place,
    // those of the item under the point, in its coordinates.
    const std::tuple<Point, Log, Log> cases[] = {  // point, capture's run, walk's run
        {{0, 0}, {"all 0,0", "own"}, {"all 0,0", "item 3: 0,0"}},
        {{99, 19}, {"all 99,19", "own"}, {"all 49,19", "item 4: 49,19"}},
        {{100, 5}, {}, {}}, {{5, -1}, {}, {}}, {{5, 20}, {}, {}},
    };
    for (const auto& [p, captured, walked] : cases) {
        for (bool walk : {false, true}) {
            Area a({0, 0, 100, 20}, {{0, 0, 50, 20}, {50, 0, 50, 20}, {0, 0, 100, 20}});
            a.tree.lookup(a.kids[2])->visible.set(0);
            HandlerTables tables;
            tables.marks = a.tree.stores().newAttributeStore<std::int32_t>();
            tables.mouse = a.tree.stores().newAttributeStore<MouseList>();
            Log ran;
            const auto text = [](Point q) { return std::to_string(q.x) + "," + std::to_string(q.y); };
            tables.mouse->at(0).push([&](const PointerAt& at) { ran.push_back("all " + text(at.local)); });
            tables.mouse->at(*a.area).push([&](const PointerAt&) { ran.push_back("own"); });
            for (const IdCell& item : a.kids)
                tables.mouse->at(*item).push([&, id = *item](const PointerAt& at) {
                    ran.push_back("item " + std::to_string(id) + ": " + text(at.local));
                });
            const HitRecord hit{true, std::make_shared<std::int32_t>(0), tables.marks, tables.mouse};
            auto* test = walk ? &ControlMessages::hitTestAndWalkRecords : &ControlMessages::hitTestAndCapture;
            test(a.tree, PointerAt{p, {}}, a.area, hit);
            EXPECT_EQ(ran, walk ? walked : captured) << text(p) << " walk " << walk;
            EXPECT_EQ(*hit.capture + tables.marks->at(*a.area), captured.empty() ? 0 : 2);
            ran.clear();
            *hit.capture = 1;  // another control holds the mouse
            test(a.tree, PointerAt{p, {}}, a.area, hit);
            *hit.capture = 0;
            a.tree.lookup(a.area)->visible.set(0);
            test(a.tree, PointerAt{p, {}}, a.area, hit);
            EXPECT_EQ(ran, Log{});
        }
    }
}

}  // namespace
}  // namespace zil
