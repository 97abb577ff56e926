#include "ui/tree/TopLevelControls.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "records/Capture.hpp"
#include "ui/tree/TreeTestSupport.hpp"

namespace zil {
namespace {

using testing::add;
using Rects = std::vector<IRect2D>;

TEST(TopLevelControls, IntersectAndUnion) {
    constexpr std::int32_t kMax = INT32_MAX;
    struct Case {
        IRect2D a, b, common, both;
    };
    const Case cases[] = {
        {{0, 0, 10, 10}, {5, 5, 10, 10}, {5, 5, 5, 5}, {0, 0, 15, 15}},
        {{0, 0, 10, 10}, {2, 3, 4, 5}, {2, 3, 4, 5}, {0, 0, 10, 10}},
        {{0, 0, 10, 10}, {10, 0, 5, 5}, {0, 0, 0, 0}, {0, 0, 15, 10}},  // edges that touch
        {{-5, -5, 10, 10}, {-20, 0, 18, 3}, {-5, 0, 3, 3}, {-20, -5, 25, 10}},
        // Empty ones: none in common; a union ignores them, two give (0, 0, 0, 0).
        {{0, 0, -5, 10}, {-10, 0, 20, 10}, {0, 0, 0, 0}, {-10, 0, 20, 10}},
        {{5, 5, 0, 3}, {1, 1, -2, 4}, {0, 0, 0, 0}, {0, 0, 0, 0}},
        // Right edges past 2^31 - 1 compare as they are, without wrapping.
        {{kMax - 5, 0, 10, 1}, {kMax - 3, 0, 100, 1}, {kMax - 3, 0, 8, 1}, {kMax - 5, 0, 102, 1}},
    };
    for (const Case& c : cases) {
        for (auto [a, b] : {std::pair{c.a, c.b}, std::pair{c.b, c.a}}) {
            EXPECT_EQ(TopLevelControls::intersectRect(a, b), c.common) << a.x << "," << b.x;
            EXPECT_EQ(TopLevelControls::unionRect(a, b), c.both) << a.x << "," << b.x;
        }
    }
}

TEST(TopLevelControls, UnifyRectsKeepsAtMostTwo) {
    test::Capture report;
    // Lists newest first.
    const std::pair<Rects, Rects> cases[] = {
        {{}, {}},
        {{{3, 3, 0, 0}}, {{3, 3, 0, 0}}},
        {{{0, 0, 10, 10}, {5, 5, 10, 10}}, {{0, 0, 15, 15}}},
        {{{0, 0, 10, 10}, {10, 0, 10, 10}}, {{0, 0, 10, 10}, {10, 0, 10, 10}}},  // touching
        // a meets b; their union (0, 0, 15, 10) misses c, or meets it and takes it in.
        {{{0, 0, 10, 10}, {5, 0, 10, 10}, {100, 100, 5, 5}}, {{0, 0, 15, 10}, {100, 100, 5, 5}}},
        {{{0, 0, 10, 10}, {5, 0, 10, 10}, {12, 5, 10, 10}}, {{0, 0, 22, 15}}},
        {{{0, 0, 10, 10}, {50, 50, 5, 5}, {5, 5, 10, 10}}, {{0, 0, 15, 15}, {50, 50, 5, 5}}},  // a meets c
        {{{100, 0, 5, 5}, {0, 0, 10, 10}, {5, 5, 10, 10}}, {{0, 0, 15, 15}, {100, 0, 5, 5}}},  // b meets c
        // Pairwise apart: a + b = (0, 0, 30, 10) misses c.
        {{{0, 0, 10, 10}, {20, 0, 10, 10}, {0, 50, 10, 10}}, {{0, 0, 30, 10}, {0, 50, 10, 10}}},
        // a + b = (0, 0, 40, 10) meets c; a + c = (0, 0, 20, 10) misses b.
        {{{0, 0, 10, 10}, {30, 0, 10, 10}, {15, 0, 5, 5}}, {{0, 0, 20, 10}, {30, 0, 10, 10}}},
        // a + b = (0, 0, 25, 30) meets c, a + c = (5, 0, 25, 30) meets b, b + c misses a.
        {{{5, 20, 20, 10}, {0, 0, 10, 10}, {20, 0, 10, 10}}, {{0, 0, 30, 10}, {5, 20, 20, 10}}},
        {{{0, 0, 10, 10}, {0, 0, 0, 0}, {40, 0, 10, 10}}, {{0, 0, 10, 10}, {40, 0, 10, 10}}},  // empty merges away
    };
    for (const auto& [in, want] : cases) EXPECT_EQ(TopLevelControls::unifyRects(in, report.out()), want) << in.size();
    EXPECT_EQ(report.text(), "");
    // Four cannot come from adding one at a time: reported, then all merged.
    const Rects four{{0, 0, 1, 1}, {10, 10, 1, 1}, {5, 20, 0, 0}, {-3, 4, 2, 2}};
    EXPECT_EQ(TopLevelControls::unifyRects(four, report.out()), (Rects{{-3, 0, 14, 11}}));
    EXPECT_EQ(report.text(), "Bug: TopLevelControls.unifyRects got more than 3 rectangles!\n");
}

// A window W at (7, 9) of 200 x 100 with A (50, 20, 100, 50) and, inside A, G.
struct Nested {
    test::Capture report;
    ControlTree tree{ControlTree::kDefaultCapacity, report.out()};
    IdCell w = add(tree, nullptr, {7, 9, 200, 100});
    IdCell a = add(tree, w, {50, 20, 100, 50});
    IdCell g = add(tree, a, {80, -10, 40, 30});
    Nested() { tree.addWindow(w, nullptr); }
    Rects& dirty() { return tree.findWindow(*w)->dirty; }
};

TEST(TopLevelControls, InvalidateClipsByEveryAncestor) {
    const std::pair<IRect2D, IRect2D> cases[] = {
        // G in W: (130, 10, 40, 30), cut by A to x 130..150, y 20..40.
        {{80, -10, 40, 30}, {130, 20, 20, 20}},
        {{10, 10, 5, 5}, {60, 30, 5, 5}},
        {{100, 0, 10, 10}, {0, 0, 0, 0}},  // A ends at x = 150 in W, where G starts: nothing to mark
    };
    for (const auto& [box, want] : cases) {
        Nested n;
        n.tree.lookup(n.g)->boundingBox.set(box);
        n.dirty().clear();  // what the move itself marked
        TopLevelControls::invalidate(n.tree, n.g);
        EXPECT_EQ(n.dirty(), want.isEmpty() ? Rects{} : Rects{want}) << box.x;
    }
    Nested n;
    TopLevelControls::invalidate(n.tree, n.w);  // the window's own x and y do not count
    EXPECT_EQ(n.dirty(), (Rects{{0, 0, 200, 100}}));
}

TEST(TopLevelControls, InvalidateKeepsTwoAndDropsWhatHasNoWindow) {
    Nested n;
    IdCell b = add(n.tree, n.w, {0, 80, 10, 10});
    IdCell c = add(n.tree, n.w, {190, 0, 10, 10});
    n.dirty().clear();  // what adding them marked
    TopLevelControls::invalidate(n.tree, n.g);
    TopLevelControls::invalidate(n.tree, b);
    EXPECT_EQ(n.dirty(), (Rects{{0, 80, 10, 10}, {130, 20, 20, 20}}));
    // [c, b, g] apart: c + b = (0, 0, 200, 90) meets g, c + g = (130, 0, 70, 40) misses b.
    TopLevelControls::invalidate(n.tree, c);
    EXPECT_EQ(n.dirty(), (Rects{{130, 0, 70, 40}, {0, 80, 10, 10}}));
    IdCell lone = add(n.tree, add(n.tree, nullptr, {0, 0, 5, 5}), {0, 0, 5, 5});
    TopLevelControls::invalidate(n.tree, lone);  // no window: dropped
    EXPECT_EQ(n.dirty().size(), 2u);
    EXPECT_EQ(n.report.text(), "");
}

}  // namespace
}  // namespace zil
