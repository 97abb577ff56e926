#include "ui/tree/ScreenUpdate.hpp"

#include <gtest/gtest.h>

#include <SDL.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <tuple>

#include "records/Capture.hpp"
#include "ui/tree/TopLevelWindow.hpp"
#include "ui/tree/TreeTestSupport.hpp"

namespace zil {
namespace {

using namespace testing;

[[maybe_unused]] auto* const sdl = ::testing::AddGlobalTestEnvironment(new SdlVideo);

TEST(TopLevelControls, IntersectUnionAndUnifyKeepAtMostTwo) {
    constexpr std::int32_t kMax = INT32_MAX;
    const std::array<IRect2D, 4> pairs[] = {  // a, b, common part, union
        {{{5, 5, 0, 3}, {1, 1, -2, 4}, {0, 0, 0, 0}, {0, 0, 0, 0}}},  // two empty ones
        {{{3, 4, 10, 10}, {13, 4, 10, 10}, {0, 0, 0, 0}, {3, 4, 20, 10}}},  // touching left to right
        {{{3, 4, 10, 10}, {3, 14, 10, 5}, {0, 0, 0, 0}, {3, 4, 10, 15}}},   // and top to bottom
        // Right edges past 2^31 - 1 compare as they are, without wrapping.
        {{{kMax - 5, 0, 10, 1}, {kMax - 3, 0, 100, 1}, {kMax - 3, 0, 8, 1}, {kMax - 5, 0, 102, 1}}},
    };
    for (const auto& [a, b, common, both] : pairs) {
        EXPECT_EQ(TopLevelControls::intersectRect(b, a), common) << a.x;
        EXPECT_EQ(TopLevelControls::unionRect(b, a), both) << a.x;
    }
    test::Capture report;
    const std::pair<Rects, Rects> lists[] = {  // newest first
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
    for (const auto& [in, want] : lists) EXPECT_EQ(TopLevelControls::unifyRects(in, report.out()), want) << in.size();
    EXPECT_EQ(report.text(), "");
    // Four cannot come from adding one at a time: reported, then all merged.
    const Rects four{{0, 0, 1, 1}, {10, 10, 1, 1}, {5, 20, 0, 0}, {-3, 4, 2, 2}};
    EXPECT_EQ(TopLevelControls::unifyRects(four, report.out()), (Rects{{-3, 0, 14, 11}}));
    EXPECT_EQ(report.text(), "Bug: TopLevelControls.unifyRects got more than 3 rectangles!\n");
}

TEST(TopLevelControls, InvalidateClipsByEveryAncestorAndPutsTheNewestFirst) {
    // A window W at (7, 9) of 200 x 100 with A (50, 20, 100, 50) and, inside A, G.
    const std::pair<IRect2D, IRect2D> cases[] = {
        {{80, -10, 40, 30}, {130, 20, 20, 20}},  // G in W: (130, 10, 40, 30), cut by A to x 130..150, y 20..40
        {{10, 10, 5, 5}, {60, 30, 5, 5}},
        {{100, 0, 10, 10}, {}},  // A ends at x = 150 in W, where G starts: nothing to mark
    };
    for (const auto& [box, want] : cases) {
        ControlTree tree;
        IdCell w = addWindow(tree, {7, 9, 200, 100}), a = add(tree, w, {50, 20, 100, 50}), g = add(tree, a, box);
        IdCell b = add(tree, w, {0, 80, 10, 10});
        dirtyOf(tree, w).clear();
        TopLevelControls::invalidate(tree, g);
        EXPECT_EQ(dirtyOf(tree, w), want.isEmpty() ? Rects{} : Rects{want}) << box.x;
        TopLevelControls::invalidate(tree, b);
        EXPECT_EQ(dirtyOf(tree, w).front(), (IRect2D{0, 80, 10, 10}));
        TopLevelControls::invalidate(tree, w);  // the window's own x and y do not count
        EXPECT_EQ(dirtyOf(tree, w), (Rects{{0, 0, 200, 100}}));
    }
    ControlTree tree;
    IdCell lone = add(tree, add(tree, nullptr, {0, 0, 5, 5}), {0, 0, 5, 5});
    EXPECT_EQ(raised([&] { TopLevelControls::invalidate(tree, lone); }), "none");  // no window: dropped
}

TEST(TopLevelControls, InvalidateFollowsEveryChangeAboveTheControlAfterItsFirstRequest) {
    // W (200 x 100) { A (50, 20, 100, 50) { G (10, 10, 30, 20) { H (5, 5, 10, 10) } } }
    ControlTree tree;
    IdCell w = addWindow(tree, {0, 0, 200, 100}), a = add(tree, w, {50, 20, 100, 50});
    IdCell g = add(tree, a, {10, 10, 30, 20}), h = add(tree, g, {5, 5, 10, 10});
    const auto marked = [&] {
        dirtyOf(tree, w).clear();
        TopLevelControls::invalidate(tree, h);
        return dirtyOf(tree, w);
    };
    EXPECT_EQ(marked(), (Rects{{65, 35, 10, 10}}));
    const std::tuple<IdCell, IRect2D, Rects> steps[] = {
        {a, {150, 20, 100, 50}, {{165, 35, 10, 10}}},  // the grandparent moves
        {w, {0, 0, 170, 100}, {{165, 35, 5, 10}}},     // the window narrows
        {g, {0, 0, 30, 20}, {{155, 25, 10, 10}}},      // the parent moves
        {h, {15, 12, 10, 10}, {{165, 32, 5, 8}}},      // H itself, cut by G's bottom and W's right
    };
    for (const auto& [c, box, want] : steps) {
        tree.lookup(c)->boundingBox.set(box);
        EXPECT_EQ(marked(), want) << *c;
    }
    // The callbacks of a box see the old area before the change, the new one after.
    Rects before, after;
    tree.lookup(a)->boundingBox.onChanging.push([&](auto&&...) { before = marked(); });
    tree.lookup(a)->boundingBox.onChanged.push([&](auto&&...) { after = marked(); });
    tree.lookup(a)->boundingBox.set({100, 20, 100, 50});
    EXPECT_EQ(before, (Rects{{165, 32, 5, 8}}));
    EXPECT_EQ(after, (Rects{{115, 32, 10, 8}}));
    // G lists H once however often H moves, and drops the children that are gone.
    for (int i = 0; i < 100; ++i) {
        tree.lookup(h)->boundingBox.set({15 + (i + 1) % 2, 12, 10, 10});
        EXPECT_EQ(marked().size(), 1u);
        tree.destroyControl(add(tree, g, {0, 0, 1, 1}));
    }
    EXPECT_LE(tree.lookup(g)->repaintArea.dependents(), 2u);
    // Out of G's child list, H still hangs from G by its parent cell...
    tree.removeChild(h);
    tree.lookup(g)->boundingBox.set({20, 0, 30, 20});
    EXPECT_EQ(marked(), (Rects{{135, 32, 10, 8}}));
    // ...and once G is destroyed, H is a top-level control of its own.
    tree.destroyControl(g);
    tree.addWindow(h, nullptr);
    EXPECT_EQ(marked(), Rects{});
    EXPECT_EQ(dirtyOf(tree, h), (Rects{{0, 0, 10, 10}}));
}

std::string captionNow() {
    char* title = nullptr;
    char* icon = nullptr;
    SDL_WM_GetCaption(&title, &icon);
    return std::string(title ? title : "-") + "|" + (icon ? icon : "-");
}

IdCell openWindow(ControlTree& tree, IRect2D box, std::int32_t visible = 1) {
    IdCell w = tree.addControl(nullptr, TopLevelWindowKind{}, box, visible);
    tree.lookup(w)->name.set("W");
    return w;
}

TEST(TopLevelWindow, ActivationOpensTheScreenAtTheWindowsSizeWithItsCaption) {
    ControlTree tree;
    IdCell w = openWindow(tree, {5, 6, 64, 48});
    SDL_Surface* screen = tree.screen();
    ASSERT_EQ(screen, SDL_GetVideoSurface());
    EXPECT_EQ((std::array{screen->w, screen->h, int{screen->format->BitsPerPixel}}), (std::array{64, 48, 32}));
    EXPECT_EQ(captionNow(), "Untitled|Untitled");
    dirtyOf(tree, w).clear();
    TopLevelWindow::activate(tree, w, *tree.findWindow(*w)->caption);
    EXPECT_EQ(dirtyOf(tree, w), (Rects{{0, 0, 64, 48}}));  // a new mode is blank
    tree.attributes().writeString(w, "caption", "Demo");
    EXPECT_EQ(captionNow(), "Demo|Demo");

    openWindow(tree, {0, 0, 32, 16});
    EXPECT_EQ(SDL_GetVideoSurface()->w, 32);
    tree.attributes().writeString(w, "caption", "Back");  // not shown: no retitle
    EXPECT_EQ(captionNow(), "Untitled|Untitled");
    tree.lookup(w)->visible.set(0);
    tree.lookup(w)->visible.set(1);  // shown again: activated
    EXPECT_EQ(SDL_GetVideoSurface()->w, 64);
    EXPECT_EQ(captionNow(), "Back|Back");

    // A size SDL cannot take is refused without asking SDL.
    for (IRect2D box : {IRect2D{0, 0, 16384, 10}, IRect2D{0, 0, 10, 16384}, IRect2D{0, 0, -1, 10}}) {
        EXPECT_EQ(raised([&] { openWindow(tree, box); }), "BackendError") << box.w << "x" << box.h;
        EXPECT_EQ(tree.screen(), nullptr);
        EXPECT_EQ(SDL_GetVideoSurface()->w, 64);
    }
    TopLevelControls::invalidate(tree, w);
    EXPECT_FALSE(updateScreen(tree, [](auto&&...) { ADD_FAILURE() << "drawn without a screen"; }));
    EXPECT_EQ(raised([&] { openWindow(tree, {0, 0, 16383, 2}); }), "none");
}

// W (64 x 48) holding
//   A (4, 4, 20, 20) { A1 (2, 2, 8, 8) }
//   H (30, 4, 20, 20), hidden { H1 (0, 0, 10, 10) }
//   P (4, 28, 20, 16) { Q (0, 0, 20, 16), covering P }
//   K (40, 28, 20, 16) { C (-5, -4, 12, 10), cut at K's left and top edges }
// The painter fills each control's whole box with a colour of its own,
// relying on the clip, puts a dot at C's point (6, 5), and logs "name clip";
// so every control's look says it paints its whole box.
struct Filled final : ControlDrawItem {
    std::int32_t tag() const override { return 6; }
    bool paintsWholeBox(std::int32_t, std::int32_t) const override { return true; }
};

struct Scene {
    ControlTree tree;
    IdCell w = openWindow(tree, {0, 0, 64, 48});
    IdCell a = add(tree, w, {4, 4, 20, 20}, "A"), a1 = add(tree, a, {2, 2, 8, 8}, "A1");
    IdCell h = add(tree, w, {30, 4, 20, 20}, "H", 0), h1 = add(tree, h, {0, 0, 10, 10}, "H1");
    IdCell p = add(tree, w, {4, 28, 20, 16}, "P"), q = add(tree, p, {0, 0, 20, 16}, "Q");
    IdCell k = add(tree, w, {40, 28, 20, 16}, "K"), c = add(tree, k, {-5, -4, 12, 10}, "C");
    SDL_Surface* screen = tree.screen();
    Log log;
    bool fail = false;

    Scene() {
        for (const IdCell& id : {w, a, a1, h, h1, p, q, k, c}) tree.lookup(id)->drawItem = std::make_shared<Filled>();
    }

    Uint32 colour(const IdCell& control) const { return SDL_MapRGB(screen->format, 0, 0, 20 * *control); }
    ControlPainter painter() {
        return [this](const IRect2D& clip, const IdCell& control, const Canvas& canvas) {
            const IRect2D box = boxOf(tree, control);
            log.push_back(tree.lookup(control)->name.value() + " " + std::to_string(clip.x) + "," +
                          std::to_string(clip.y) + "," + std::to_string(clip.w) + "," + std::to_string(clip.h));
            if (fail) throw Io("painter");
            SDL_Rect all{Sint16(canvas.x), Sint16(canvas.y), Uint16(box.w), Uint16(box.h)};
            SDL_FillRect(canvas.surface, &all, colour(control));
            SDL_Rect point{Sint16(canvas.x + 6), Sint16(canvas.y + 5), 1, 1};
            if (*control == *c) SDL_FillRect(canvas.surface, &point, 255);
        };
    }
    Uint32 at(int x, int y) const {
        Uint32 v;
        std::memcpy(&v, static_cast<Uint8*>(screen->pixels) + y * screen->pitch + x * 4, 4);
        return v;
    }
    int changedFrom(Uint32 v) const {
        int n = 0;
        for (int y = 0; y < screen->h; ++y)
            for (int x = 0; x < screen->w; ++x) n += at(x, y) != v;
        return n;
    }
    std::optional<Rects> update() { return updateScreen(tree, painter()); }
};

TEST(ScreenUpdate, DrawsVisibleUncoveredControlsInTheirPlacesAndOnlyWhereDirty) {
    Scene s;
    EXPECT_TRUE(s.update());
    // Hidden H and covered P are not painted; C's clip is in its own coordinates.
    EXPECT_EQ(s.log, (Log{"W 0,0,64,48", "A 0,0,20,20", "A1 0,0,8,8", "Q 0,0,20,16", "K 0,0,20,16", "C 5,4,7,6"}));
    const std::tuple<int, int, IdCell> probes[] = {
        {23, 23, s.a}, {6, 6, s.a1}, {13, 13, s.a1}, {14, 14, s.a}, {39, 13, s.w},  // under hidden H and H1
        {23, 43, s.q}, {24, 43, s.w}, {40, 28, s.c}, {46, 33, s.c},  // C's part inside K, from its (5, 4)
        {47, 33, s.k}, {46, 34, s.k}, {39, 28, s.w}, {59, 43, s.k},
    };
    for (const auto& [x, y, owner] : probes) EXPECT_EQ(s.at(x, y), s.colour(owner)) << x << "," << y;
    EXPECT_EQ(s.at(41, 29), 255u);  // C's (6, 5) at K's (1, 1): C kept its place
    EXPECT_TRUE(dirtyOf(s.tree, s.w).empty());

    // Then only the dirty area, entering only subtrees that meet it.
    SDL_FillRect(s.screen, nullptr, 7);
    s.tree.lookup(s.k)->children.append(makeIdCell(0));  // K's subtree would fail if entered
    s.log.clear();
    TopLevelControls::invalidate(s.tree, s.a1);
    EXPECT_TRUE(s.update());
    EXPECT_EQ(s.log, Log{"A1 0,0,8,8"});  // W and A lie under A1 there
    EXPECT_EQ(s.changedFrom(7), 64);
    // A hidden child covers nothing: its parent paints there.
    TopLevelControls::invalidate(s.tree, s.h);
    EXPECT_TRUE(s.update());
    EXPECT_EQ(s.log.back(), "W 30,4,20,20");
    EXPECT_EQ(s.changedFrom(7), 64 + 400);
    s.log.clear();
    EXPECT_TRUE(s.update());  // nothing dirty
    EXPECT_EQ(s.log, Log{});
    // Nor does a child whose look leaves pixels alone or blends: what lies
    // under it is painted first, so it never lands on its own last picture.
    s.tree.lookup(s.q)->drawItem = nullptr;
    TopLevelControls::invalidate(s.tree, s.q);
    EXPECT_TRUE(s.update());
    EXPECT_EQ(s.log, (Log{"P 0,0,20,16", "Q 0,0,20,16"}));
    s.log.clear();
    // Partly dirty controls paint only their dirty part: A (4, 4) its 5 x 5
    // corner, A1 (6, 6) the 3 x 3 of it that lies there.
    SDL_SetClipRect(s.screen, nullptr);
    SDL_FillRect(s.screen, nullptr, 7);
    dirtyOf(s.tree, s.w) = {{4, 4, 5, 5}};
    EXPECT_EQ(s.update(), (Rects{{4, 4, 5, 5}}));
    EXPECT_EQ(s.log, (Log{"A 0,0,5,5", "A1 0,0,3,3"}));
    EXPECT_EQ(std::tuple(s.changedFrom(7), s.at(5, 5), s.at(8, 8)), std::tuple(25, s.colour(s.a), s.colour(s.a1)));
}

TEST(ScreenUpdate, TheDisplayGetsOnlyWhatLiesOnTheScreen) {
    // On 64 x 48: one across the right edge is cut, one off the screen and
    // two empty ones drop out.
    const Rects in{{60, 40, 10, 10}, {64, 0, 5, 5}, {0, 0, 0, 0}, {10, 10, 0, 5}, {-5, -5, 10, 10}};
    EXPECT_EQ(partsOnScreen(in, 64, 48), (Rects{{60, 40, 4, 8}, {0, 0, 5, 5}}));
}

TEST(ScreenUpdate, AFailureEndsTheWindowsDrawingAndRequestsMadeWhileDrawingWait) {
    Scene s;
    s.update();
    s.fail = true;
    s.log.clear();
    TopLevelControls::invalidate(s.tree, s.a);
    EXPECT_EQ(s.update(), (Rects{{4, 4, 20, 20}}));
    EXPECT_EQ(s.log, Log{"A 0,0,20,20"});
    // Failing on the first rectangle, in the window's own items: every
    // recorded one is pushed all the same.
    s.log.clear();
    TopLevelControls::invalidate(s.tree, s.a);
    TopLevelControls::invalidate(s.tree, s.h);
    EXPECT_EQ(s.update(), (Rects{{30, 4, 20, 20}, {4, 4, 20, 20}}));
    EXPECT_EQ(s.log, Log{"W 30,4,20,20"});
    s.fail = false;
    const ControlPainter base = s.painter();
    const ControlPainter again = [&](const IRect2D& clip, const IdCell& control, const Canvas& canvas) {
        base(clip, control, canvas);
        if (*control == *s.q) TopLevelControls::invalidate(s.tree, s.q);
    };
    s.log.clear();
    TopLevelControls::invalidate(s.tree, s.q);
    EXPECT_TRUE(updateScreen(s.tree, again));
    EXPECT_EQ(s.log, Log{"Q 0,0,20,16"});
    EXPECT_EQ(dirtyOf(s.tree, s.w), (Rects{{4, 28, 20, 16}}));
    s.tree.destroyControl(s.w);
    EXPECT_FALSE(updateScreen(s.tree, [](auto&&...) {}));
    for (const IdCell& gone : {s.a, s.a1, s.h, s.h1, s.p, s.q, s.k, s.c}) EXPECT_EQ(*gone, 0);
}

}  // namespace
}  // namespace zil
