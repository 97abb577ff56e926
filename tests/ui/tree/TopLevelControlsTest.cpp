#include "ui/tree/TopLevelControls.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "records/Capture.hpp"
#include "ui/tree/ControlTree.hpp"
#include "ui/tree/TreeTestSupport.hpp"

namespace zil {
namespace {

using testing::TestKind;
using TopLevelControls::intersectRect;
using TopLevelControls::unifyRects;
using TopLevelControls::unionRect;
using Rects = std::vector<IRect2D>;

constexpr std::int32_t kMax = INT32_MAX;

TEST(TopLevelControls, IntersectRect) {
    struct Case {
        IRect2D a, b, want;
    };
    const Case cases[] = {
        {{0, 0, 10, 10}, {5, 5, 10, 10}, {5, 5, 5, 5}},
        {{0, 0, 10, 10}, {2, 3, 4, 5}, {2, 3, 4, 5}},
        {{0, 0, 10, 10}, {10, 0, 5, 5}, {0, 0, 0, 0}},  // edges that touch
        {{0, 0, 10, 10}, {0, 10, 5, 5}, {0, 0, 0, 0}},
        {{-5, -5, 10, 10}, {-20, 0, 18, 3}, {-5, 0, 3, 3}},
        {{0, 0, -5, 10}, {-10, 0, 20, 10}, {0, 0, 0, 0}},  // right = -5 < left = 0
        // Right edges past 2^31 - 1 compare as they are, without wrapping.
        {{kMax - 5, 0, 10, 1}, {kMax - 3, 0, 100, 1}, {kMax - 3, 0, 8, 1}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(intersectRect(c.a, c.b), c.want) << c.a.x << "," << c.b.x;
        EXPECT_EQ(intersectRect(c.b, c.a), c.want) << c.a.x << "," << c.b.x;
    }
}

TEST(TopLevelControls, UnionRect) {
    struct Case {
        IRect2D a, b, want;
    };
    const Case cases[] = {
        {{5, 5, 0, 3}, {1, 1, -2, 4}, {0, 0, 0, 0}},  // two empty ones, wherever they lie
        {{5, 5, 0, 3}, {1, 2, 3, 4}, {1, 2, 3, 4}},
        {{1, 2, 3, 4}, {7, 7, 0, 0}, {1, 2, 3, 4}},
        {{0, 0, 10, 10}, {20, 5, 5, 10}, {0, 0, 25, 15}},  // right max(10, 25), bottom max(10, 15)
        {{-5, -5, 2, 2}, {1, 1, 1, 1}, {-5, -5, 7, 7}},
        {{0, 0, 10, 10}, {2, 2, 3, 3}, {0, 0, 10, 10}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(unionRect(c.a, c.b), c.want) << c.a.x << "," << c.b.x;
        EXPECT_EQ(unionRect(c.b, c.a), c.want) << c.a.x << "," << c.b.x;
    }
}

TEST(TopLevelControls, UnifyRectsKeepsAtMostTwo) {
    test::Capture report;
    struct Case {
        const char* what;
        Rects in, want;
    };
    const Case cases[] = {
        {"none", {}, {}},
        {"one empty", {{3, 3, 0, 0}}, {{3, 3, 0, 0}}},
        {"overlapping", {{0, 0, 10, 10}, {5, 5, 10, 10}}, {{0, 0, 15, 15}}},
        {"touching", {{0, 0, 10, 10}, {10, 0, 10, 10}}, {{0, 0, 10, 10}, {10, 0, 10, 10}}},
        // a meets b; their union (0, 0, 15, 10) misses c.
        {"a b", {{0, 0, 10, 10}, {5, 0, 10, 10}, {100, 100, 5, 5}}, {{0, 0, 15, 10}, {100, 100, 5, 5}}},
        // ... and when it meets c, all three become one.
        {"a b then c", {{0, 0, 10, 10}, {5, 0, 10, 10}, {12, 5, 10, 10}}, {{0, 0, 22, 15}}},
        {"a c", {{0, 0, 10, 10}, {50, 50, 5, 5}, {5, 5, 10, 10}}, {{0, 0, 15, 15}, {50, 50, 5, 5}}},
        {"b c", {{100, 0, 5, 5}, {0, 0, 10, 10}, {5, 5, 10, 10}}, {{0, 0, 15, 15}, {100, 0, 5, 5}}},
        // Pairwise apart. a + b = (0, 0, 30, 10) misses c.
        {"apart ab", {{0, 0, 10, 10}, {20, 0, 10, 10}, {0, 50, 10, 10}}, {{0, 0, 30, 10}, {0, 50, 10, 10}}},
        // a + b = (0, 0, 40, 10) meets c; a + c = (0, 0, 20, 10) misses b.
        {"apart ac", {{0, 0, 10, 10}, {30, 0, 10, 10}, {15, 0, 5, 5}}, {{0, 0, 20, 10}, {30, 0, 10, 10}}},
        // a + b = (0, 0, 25, 30) meets c, a + c = (5, 0, 25, 30) meets b,
        // b + c = (0, 0, 30, 10) misses a.
        {"apart bc", {{5, 20, 20, 10}, {0, 0, 10, 10}, {20, 0, 10, 10}}, {{0, 0, 30, 10}, {5, 20, 20, 10}}},
        // An empty one merges away with three.
        {"empty", {{0, 0, 10, 10}, {0, 0, 0, 0}, {40, 0, 10, 10}}, {{0, 0, 10, 10}, {40, 0, 10, 10}}},
    };
    for (const Case& c : cases) EXPECT_EQ(unifyRects(c.in, report.out()), c.want) << c.what;
    EXPECT_EQ(report.text(), "");

    // Four cannot come from adding one at a time: reported, then all merged.
    const Rects four{{0, 0, 1, 1}, {10, 10, 1, 1}, {5, 20, 0, 0}, {-3, 4, 2, 2}};
    EXPECT_EQ(unifyRects(four, report.out()), (Rects{{-3, 0, 14, 11}}));
    EXPECT_EQ(report.text(), "Bug: TopLevelControls.unifyRects got more than 3 rectangles!\n");
}

// A window W at (7, 9) of 200 x 100 with A (50, 20, 100, 50) and, inside A,
// G (80, -10, 40, 30).
struct Nested {
    test::Capture report;
    ControlTree tree{ControlTree::kDefaultCapacity, report.out()};
    IdCell w = tree.addControl(nullptr, TestKind{}, {7, 9, 200, 100}, 1);
    IdCell a = tree.addControl(w, TestKind{}, {50, 20, 100, 50}, 1);
    IdCell g = tree.addControl(a, TestKind{}, {80, -10, 40, 30}, 1);
    Nested() { tree.addWindow(w, nullptr); }
    // Clears what adding and moving controls marked (their repaint links).
    void settle() { dirty().clear(); }
    Rects& dirty() { return tree.findWindow(*w)->dirty; }
};

TEST(TopLevelControls, InvalidateClipsByEveryAncestor) {
    struct Case {
        const char* what;
        IRect2D gBox;
        IRect2D want;
    };
    const Case cases[] = {
        // G in W: (130, 10, 40, 30), cut by A's (50, 20, 100, 50) to x 130..150, y 20..40.
        {"cut by A", {80, -10, 40, 30}, {130, 20, 20, 20}},
        {"inside", {10, 10, 5, 5}, {60, 30, 5, 5}},
        // A ends at x = 150 in W, where G starts.
        {"outside A", {100, 0, 10, 10}, {0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        Nested n;
        n.tree.lookup(n.g)->boundingBox.set(c.gBox);
        n.settle();
        TopLevelControls::invalidate(n.tree, n.g);
        EXPECT_EQ(n.dirty(), Rects{c.want}) << c.what;
    }
    Nested n;
    TopLevelControls::invalidate(n.tree, n.w);  // the window's own x and y do not count
    EXPECT_EQ(n.dirty(), (Rects{{0, 0, 200, 100}}));
}

TEST(TopLevelControls, InvalidateKeepsTwoAndDropsWhatHasNoWindow) {
    Nested n;
    IdCell b = n.tree.addControl(n.w, TestKind{}, {0, 80, 10, 10}, 1);
    IdCell c = n.tree.addControl(n.w, TestKind{}, {190, 0, 10, 10}, 1);
    n.settle();
    TopLevelControls::invalidate(n.tree, n.g);
    TopLevelControls::invalidate(n.tree, b);
    EXPECT_EQ(n.dirty(), (Rects{{0, 80, 10, 10}, {130, 20, 20, 20}}));
    // Three apart, newest first [c, b, g]: c + b = (0, 0, 200, 90) meets g;
    // c + g = (130, 0, 70, 40) misses b, so c and g merge.
    TopLevelControls::invalidate(n.tree, c);
    EXPECT_EQ(n.dirty(), (Rects{{130, 0, 70, 40}, {0, 80, 10, 10}}));

    IdCell lone = n.tree.addControl(nullptr, TestKind{}, {0, 0, 5, 5}, 1);
    IdCell inLone = n.tree.addControl(lone, TestKind{}, {0, 0, 5, 5}, 1);
    TopLevelControls::invalidate(n.tree, inLone);  // no window: dropped
    EXPECT_EQ(n.dirty().size(), 2u);
    EXPECT_EQ(n.report.text(), "");
}

}  // namespace
}  // namespace zil
