#include "ui/tree/LayoutSteps.hpp"

#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <string>
#include <vector>

#include "ui/tree/ControlTree.hpp"
#include "ui/tree/TreeTestSupport.hpp"

namespace zil {
namespace {

using testing::Log;
using testing::raised;
using Rects = std::vector<IRect2D>;

// A window (1) holding an area (2) with children of the given boxes, and a
// bar's position, size and range.
struct Area {
    ControlTree tree;
    IdCell w = add(nullptr, {0, 0, 500, 500});
    IdCell area;
    std::vector<IdCell> kids;
    ScrollRecord scroll;

    Area(IRect2D box, const Rects& children, std::int32_t range = 0, std::int32_t size = 0) {
        tree.addWindow(w, nullptr);
        area = add(w, box);
        for (const IRect2D& r : children) kids.push_back(add(area, r));
        scroll = ScrollRecord{area, kids.empty() ? nullptr : kids[0], std::make_shared<ObservedInt>(area, 0),
                              std::make_shared<ObservedInt>(area, size), std::make_shared<ObservedInt>(area, range)};
    }
    IdCell add(const IdCell& parent, IRect2D box) { return tree.addControl(parent, testing::TestKind{}, box, 1); }
    IRect2D box(const IdCell& c) { return tree.lookup(c)->boundingBox.value(); }
    Rects& dirty() { return tree.findWindow(*w)->dirty; }
};

TEST(LayoutSteps, ContentExtentCoversRowZeroAndEveryChild) {
    const std::pair<Rects, ContentExtent> cases[] = {
        {{}, {0, 0}}, {{{0, 30, 10, 20}}, {0, 50}}, {{{0, -40, 10, 10}, {0, 5, 10, 10}}, {-40, 55}}};
    for (const auto& [children, want] : cases) {
        Area a({0, 0, 50, 50}, children);
        EXPECT_EQ(ControlMessages::contentExtent(a.tree, a.area), want);
    }
    Area far({0, 0, 50, 50}, {{0, -2, 1, 1}, {0, INT_MAX - 1, 1, 1}});  // 2^31 + 1 high
    EXPECT_EQ(raised([&] { ControlMessages::contentExtent(far.tree, far.area); }), "Overflow");
}

TEST(LayoutSteps, UpdateScrollRangeDividesDownAndWaitsWhileBusy) {
    struct Case {
        std::int32_t top, range, size, position;
    };
    // Area 100 high, contents 300 high from `top`.
    const Case cases[] = {
        {-50, 300, 100, 50},  // 100 * 300 div 300; -(-50 * 300 div 300)
        {-51, 300, 100, 51},
        {-50, 7, 2, 2},  // 700 div 300 = 2; -50 * 7 = -350, div 300 rounds down to -2
    };
    for (const Case& c : cases) {
        Area a({0, 0, 50, 100}, {{0, c.top, 10, 300}}, c.range);
        ControlMessages::updateScrollRange(a.tree, a.scroll);
        EXPECT_EQ(a.scroll.size->value(), c.size);
        EXPECT_EQ(a.scroll.position->value(), c.position);
        *a.scroll.busy = 1;
        a.scroll.range->set(600);
        ControlMessages::updateScrollRange(a.tree, a.scroll);
        EXPECT_EQ(a.scroll.size->value(), c.size);
    }
    Area empty({0, 0, 50, 100}, {}, 300);
    EXPECT_EQ(raised([&] { ControlMessages::updateScrollRange(empty.tree, empty.scroll); }), "Div");
}

TEST(LayoutSteps, ScrollingMovesEveryChildButTheFrameWhileBusy) {
    // Area 100 high; frame, K1 (0..150), K2 (150..300): E = 300; range 120
    // and size 20, so U - L = 100.
    Area a({0, 0, 50, 100}, {{0, 0, 50, 100}, {0, 0, 10, 150}, {0, 150, 10, 150}}, 120, 20);
    auto scroll = std::make_shared<ScrollRecord>(a.scroll);
    std::vector<std::int32_t> busy;
    a.tree.lookup(a.kids[1])->boundingBox.onChanged.push(LayoutSteps::updateScrollRange(a.tree, scroll));
    a.tree.lookup(a.kids[1])->boundingBox.onChanged.push([&](auto&&...) { busy.push_back(*scroll->busy); });
    a.scroll.position->onChanged.push(LayoutSteps::scrollAreaContents(a.tree, scroll));

    a.scroll.position->set(50);  // q = (300 - 100) * 50 div 100 = 100: the top goes to -100
    EXPECT_EQ(a.box(a.kids[1]).y, -100);
    EXPECT_EQ(a.box(a.kids[2]).y, 50);
    EXPECT_EQ(a.box(a.kids[0]).y, 0);
    EXPECT_EQ(busy, std::vector<std::int32_t>{1});
    EXPECT_EQ(*scroll->busy + a.scroll.size->value(), 20);  // idle again; the range stayed out
    a.scroll.position->set(21474837);  // 200 * 21474837 = 2^32 + 104 wraps to 104; div 100 = 1
    EXPECT_EQ(a.box(a.kids[1]).y, -1);

    a.tree.lookup(a.kids[2])->boundingBox.onChanging.push([](auto&&...) { throw Error(); });  // a failing move
    EXPECT_EQ(raised([&] { ControlMessages::scrollAreaContents(a.tree, *scroll, 0); }), "Error");
    EXPECT_EQ(*scroll->busy, 0);
}

TEST(LayoutSteps, FitItemsHeightAppendsFlagsAndAlwaysRepaints) {
    Area a({0, 0, 100, 100}, {{5, 6, 70, 10}});
    auto flags = std::make_shared<ObservedArray<std::int32_t>>(a.kids[0]);
    flags->append(1);
    std::int32_t count = 3, line = 14;
    const auto fit = LayoutSteps::fitItemsHeight(
        a.tree, std::make_shared<ItemList>(ItemList{a.kids[0], [&] { return count; }, [&] { return line; }, flags}));
    fit(a.w);
    EXPECT_EQ(std::vector<std::int32_t>(flags->items().begin(), flags->items().end()),
              (std::vector<std::int32_t>{1, 0, 0}));  // the first item keeps its flag
    EXPECT_EQ(a.box(a.kids[0]), (IRect2D{5, 6, 70, 42}));
    a.dirty().clear();
    fit(a.w);  // nothing changes, the list still repaints
    EXPECT_EQ(a.dirty(), (Rects{{5, 6, 70, 42}}));
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
    EXPECT_EQ(a.box(a.kids[0]), (IRect2D{2, 2, 96, 46}));
    EXPECT_EQ(a.box(a.kids[1]), (IRect2D{1, 1, 1, 1}));
    deliverToSlots(*keyDown, a.kids[0], KeyPress{0, 32, 32});
    EXPECT_EQ(latched, 1);
}

TEST(LayoutSteps, ToControlPointSubtractsEveryOriginBelowTheWindow) {
    Area a({5, 5, 200, 200}, {{10, 10, 50, 50}});  // the window's own origin does not count
    EXPECT_EQ(ControlMessages::toControlPoint(a.tree, a.kids[0], {50, 40}), (Point{35, 25}));
    EXPECT_EQ(ControlMessages::toControlPoint(a.tree, a.w, {50, 40}), (Point{50, 40}));
    a.tree.lookup(a.area)->boundingBox.set({INT_MIN, 0, 1, 1});
    EXPECT_EQ(raised([&] { ControlMessages::toControlPoint(a.tree, a.kids[0], {-50, 40}); }), "Overflow");
}

TEST(LayoutSteps, TheHitTestTakesTheMouseInsideAVisibleControl) {
    const std::pair<Point, bool> cases[] = {
        {{0, 0}, true}, {{99, 19}, true}, {{100, 5}, false}, {{5, -1}, false}, {{5, 20}, false}};
    for (const auto& [p, hits] : cases) {
        Area a({0, 0, 100, 20}, {});
        HandlerTables tables(a.tree.stores());
        Log ran;
        tables.mouse->at(0).push([&](const PointerAt& at) { ran.push_back("all " + std::to_string(at.local.x)); });
        tables.mouse->at(*a.area).push([&](const PointerAt&) { ran.push_back("own"); });
        const HitRecord hit{true, std::make_shared<std::int32_t>(0), tables.marks, tables.mouse};
        ControlMessages::hitTestAndCapture(a.tree, PointerAt{p, {}}, a.area, hit);
        EXPECT_EQ(ran, (hits ? Log{"all " + std::to_string(p.x), "own"} : Log{}));
        EXPECT_EQ(*hit.capture + tables.marks->at(*a.area), hits ? 2 : 0);
        *hit.capture = 1;  // another control holds the mouse
        EXPECT_FALSE(ControlMessages::hitAndCapture(a.tree, PointerAt{}, a.area, hit));
        *hit.capture = 0;
        a.tree.lookup(a.area)->visible.set(0);
        EXPECT_FALSE(ControlMessages::hitAndCapture(a.tree, PointerAt{}, a.area, hit));
    }
}

}  // namespace
}  // namespace zil
