#include "ui/tree/ScreenUpdate.hpp"

#include <gtest/gtest.h>

#include <SDL.h>

#include <cstdint>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "ui/tree/ControlTree.hpp"
#include "ui/tree/TopLevelWindow.hpp"
#include "ui/tree/TreeTestSupport.hpp"

namespace zil {
namespace {

using testing::addNamed;
using testing::Log;
using testing::raised;
using testing::TestKind;

[[maybe_unused]] auto* const sdl = ::testing::AddGlobalTestEnvironment(new testing::SdlVideo);

std::string captionNow() {
    char* title = nullptr;
    char* icon = nullptr;
    SDL_WM_GetCaption(&title, &icon);
    return std::string(title ? title : "(none)") + "|" + (icon ? icon : "(none)");
}

std::string text(const IRect2D& r) {
    return std::to_string(r.x) + "," + std::to_string(r.y) + "," + std::to_string(r.w) + "," + std::to_string(r.h);
}

// Fills each control's whole box with its colour, relying on the clip, and
// puts a dot at the control's point (6, 5) when asked to; logs "name clip".
struct Painter {
    explicit Painter(ControlTree& t) : tree(t) {}
    ControlTree& tree;
    std::map<std::string, Uint32> colours;
    std::string dotted;
    Uint32 dot = 0;
    Log log;
    bool fail = false;

    ControlPainter fn() {
        return [this](const IRect2D& clip, const IdCell& control, const Canvas& canvas) {
            const auto c = tree.lookup(control);
            log.push_back(c->name.value() + " " + text(clip));
            if (fail) throw Io("painter");
            const IRect2D box = c->boundingBox.value();
            SDL_Rect all{static_cast<Sint16>(canvas.x), static_cast<Sint16>(canvas.y), static_cast<Uint16>(box.w),
                         static_cast<Uint16>(box.h)};
            SDL_FillRect(canvas.surface, &all, colours[c->name.value()]);
            if (c->name.value() == dotted) {
                SDL_Rect d{static_cast<Sint16>(canvas.x + 6), static_cast<Sint16>(canvas.y + 5), 1, 1};
                SDL_FillRect(canvas.surface, &d, dot);
            }
        };
    }
};

Uint32 pixel(SDL_Surface* s, int x, int y) {
    Uint32 v;
    std::memcpy(&v, static_cast<Uint8*>(s->pixels) + y * s->pitch + x * 4, 4);
    return v;
}

int countOther(SDL_Surface* s, Uint32 v) {
    int n = 0;
    for (int y = 0; y < s->h; ++y)
        for (int x = 0; x < s->w; ++x) n += pixel(s, x, y) != v;
    return n;
}

IdCell addWindow(ControlTree& tree, IRect2D box, std::int32_t visible, const std::string& name = "W") {
    IdCell w = tree.addControl(nullptr, TopLevelWindowKind{}, box, visible);
    tree.lookup(w)->name.set(name);
    return w;
}

TEST(TopLevelWindow, ActivationOpensTheScreenAtTheWindowsSizeWithItsCaption) {
    ControlTree tree;
    IdCell w = addWindow(tree, {5, 6, 64, 48}, 1);
    SDL_Surface* screen = tree.screen();
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(screen, SDL_GetVideoSurface());
    EXPECT_EQ(screen->w, 64);
    EXPECT_EQ(screen->h, 48);
    EXPECT_EQ(screen->format->BitsPerPixel, 32);
    EXPECT_EQ(captionNow(), "Untitled|Untitled");
    EXPECT_EQ(tree.shownWindow(), w);
    // A new mode is blank: the whole window is dirty.
    EXPECT_EQ(tree.findWindow(*w)->dirty, (std::vector<IRect2D>{{0, 0, 64, 48}}));
    tree.attributes().writeString(w, "caption", "Demo");
    EXPECT_EQ(captionNow(), "Demo|Demo");

    IdCell second = addWindow(tree, {0, 0, 32, 16}, 1, "second");
    EXPECT_EQ(SDL_GetVideoSurface()->w, 32);
    EXPECT_EQ(captionNow(), "Untitled|Untitled");
    tree.attributes().writeString(w, "caption", "Hidden now");  // not shown: no retitle
    EXPECT_EQ(captionNow(), "Untitled|Untitled");
    EXPECT_EQ(tree.windows().size(), 2u);
    EXPECT_EQ(tree.windows()[0].id, w);  // creation order
    EXPECT_EQ(tree.windows()[1].id, second);

    // Showing the first window again activates it.
    tree.lookup(w)->visible.set(0);
    EXPECT_EQ(tree.shownWindow(), second);
    tree.lookup(w)->visible.set(1);
    EXPECT_EQ(SDL_GetVideoSurface()->w, 64);
    EXPECT_EQ(captionNow(), "Hidden now|Hidden now");
    EXPECT_EQ(tree.shownWindow(), w);
}

TEST(TopLevelWindow, ASizeSDLCannotTakeIsRefusedWithoutCallingIt) {
    ControlTree tree;
    addWindow(tree, {0, 0, 20, 10}, 1);
    SDL_Surface* before = SDL_GetVideoSurface();
    struct Case {
        IRect2D box;
        const char* raises;
    };
    const Case cases[] = {
        {{0, 0, 16384, 10}, "BackendError"},
        {{0, 0, 10, 16384}, "BackendError"},
        {{0, 0, -1, 10}, "BackendError"},
        {{0, 0, 16383, 2}, "none"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(raised([&] { addWindow(tree, c.box, 1); }), c.raises) << c.box.w << "x" << c.box.h;
        if (std::string(c.raises) == "none") continue;
        EXPECT_EQ(tree.screen(), nullptr);
        EXPECT_EQ(SDL_GetVideoSurface(), before);  // SDL was not asked
        EXPECT_FALSE(updateScreen(tree, [](const IRect2D&, const IdCell&, const Canvas&) { FAIL(); }));
    }
    EXPECT_EQ(SDL_GetVideoSurface()->w, 16383);
}

TEST(ScreenUpdate, WithoutAScreenNothingIsDrawnOrShown) {
    ControlTree tree;
    IdCell w = addWindow(tree, {0, 0, 20, 10}, 0);
    EXPECT_EQ(tree.screen(), nullptr);
    TopLevelControls::invalidate(tree, w);
    int calls = 0;
    EXPECT_FALSE(updateScreen(tree, [&](const IRect2D&, const IdCell&, const Canvas&) { ++calls; }));
    EXPECT_EQ(calls, 0);
    // A caption change makes no call either.
    const std::string before = captionNow();
    tree.attributes().writeString(w, "caption", "unseen");
    EXPECT_EQ(captionNow(), before);
}

// W (64 x 48) holding
//   A (4, 4, 20, 20) { A1 (2, 2, 8, 8) }
//   H (30, 4, 20, 20), hidden { H1 (0, 0, 10, 10) }
//   P (4, 28, 20, 16) { Q (0, 0, 20, 16), covering P }
//   K (40, 28, 20, 16) { C (-5, -4, 12, 10), cut at K's left and top edges }
struct Scene {
    ControlTree tree;
    IdCell w = addWindow(tree, {0, 0, 64, 48}, 1);
    IdCell a = addNamed(tree, w, "A", {4, 4, 20, 20});
    IdCell a1 = addNamed(tree, a, "A1", {2, 2, 8, 8});
    IdCell h = addNamed(tree, w, "H", {30, 4, 20, 20}, {}, 0);
    IdCell h1 = addNamed(tree, h, "H1", {0, 0, 10, 10});
    IdCell p = addNamed(tree, w, "P", {4, 28, 20, 16});
    IdCell q = addNamed(tree, p, "Q", {0, 0, 20, 16});
    IdCell k = addNamed(tree, w, "K", {40, 28, 20, 16});
    IdCell c = addNamed(tree, k, "C", {-5, -4, 12, 10});
    SDL_Surface* screen = tree.screen();
    Painter painter{tree};

    Scene() {
        const char* names[] = {"W", "A", "A1", "H", "H1", "P", "Q", "K", "C"};
        Uint32 grey = 10;
        for (const char* n : names) painter.colours[n] = SDL_MapRGB(screen->format, 0, 0, grey += 20);
        painter.dotted = "C";
        painter.dot = SDL_MapRGB(screen->format, 255, 0, 0);
        SDL_FillRect(screen, nullptr, 0);
    }
    Uint32 at(int x, int y) { return pixel(screen, x, y); }
    Uint32 colour(const char* n) { return painter.colours[n]; }
};

TEST(ScreenUpdate, DrawsVisibleUncoveredControlsInTheirPlaces) {
    Scene s;
    ASSERT_NE(s.screen, nullptr);
    EXPECT_TRUE(updateScreen(s.tree, s.painter.fn()));
    // The window first, then each subtree; hidden H and covered P are not
    // painted. C's clip is in its own coordinates: it shows from (5, 4) on.
    EXPECT_EQ(s.painter.log, (Log{"W 0,0,64,48", "A 0,0,20,20", "A1 0,0,8,8", "Q 0,0,20,16", "K 0,0,20,16",
                                  "C 5,4,7,6"}));
    struct Probe {
        int x, y;
        const char* owner;
    };
    const Probe probes[] = {
        {4, 4, "A"},   {23, 23, "A"},  {6, 6, "A1"},   {13, 13, "A1"}, {14, 14, "A"},
        {30, 4, "W"},  {39, 13, "W"},  // under hidden H and H1
        {4, 28, "Q"},  {23, 43, "Q"},  {24, 43, "W"},
        {40, 28, "C"},  // C's point (5, 4) sits at K's corner
        {46, 33, "C"}, {47, 33, "K"}, {46, 34, "K"}, {39, 28, "W"}, {59, 43, "K"},
    };
    for (const Probe& p : probes) EXPECT_EQ(s.at(p.x, p.y), s.colour(p.owner)) << p.x << "," << p.y;
    // C's point (6, 5) is at K's (1, 1): C kept its place.
    EXPECT_EQ(s.at(41, 29), s.painter.dot);
    EXPECT_TRUE(s.tree.findWindow(*s.w)->dirty.empty());
}

TEST(ScreenUpdate, DrawsOnlyTheDirtyAreaAndEntersOnlySubtreesThatMeetIt) {
    Scene s;
    ASSERT_TRUE(updateScreen(s.tree, s.painter.fn()));
    const Uint32 marker = SDL_MapRGB(s.screen->format, 255, 0, 255);
    SDL_FillRect(s.screen, nullptr, marker);
    s.painter.log.clear();
    // K's subtree would fail if it were entered.
    s.tree.lookup(s.k)->children.append(makeIdCell(0));

    TopLevelControls::invalidate(s.tree, s.a1);
    EXPECT_TRUE(updateScreen(s.tree, s.painter.fn()));
    // W and A lie under A1 there.
    EXPECT_EQ(s.painter.log, Log{"A1 0,0,8,8"});
    EXPECT_EQ(countOther(s.screen, marker), 64);
    EXPECT_EQ(s.at(6, 6), s.colour("A1"));

    // A hidden child covers nothing: its parent paints its area.
    s.painter.log.clear();
    TopLevelControls::invalidate(s.tree, s.h);
    EXPECT_TRUE(updateScreen(s.tree, s.painter.fn()));
    EXPECT_EQ(s.painter.log, Log{"W 30,4,20,20"});
    EXPECT_EQ(s.at(30, 4), s.colour("W"));
    EXPECT_EQ(countOther(s.screen, marker), 64 + 400);

    // Nothing dirty: nothing drawn.
    s.painter.log.clear();
    EXPECT_TRUE(updateScreen(s.tree, s.painter.fn()));
    EXPECT_EQ(s.painter.log, Log{});
}

TEST(ScreenUpdate, AFailureEndsTheWindowsDrawingAndTheNextUpdateGoesOn) {
    Scene s;
    s.tree.lookup(s.k)->children.append(makeIdCell(0));
    // K's covering test meets the dead entry: K and C are not painted.
    EXPECT_TRUE(updateScreen(s.tree, s.painter.fn()));
    EXPECT_EQ(s.painter.log.back(), "Q 0,0,20,16");
    EXPECT_TRUE(s.tree.findWindow(*s.w)->dirty.empty());

    s.painter.log.clear();
    s.painter.fail = true;
    TopLevelControls::invalidate(s.tree, s.a);
    EXPECT_TRUE(updateScreen(s.tree, s.painter.fn()));
    EXPECT_EQ(s.painter.log, Log{"A 0,0,20,20"});
    EXPECT_TRUE(s.tree.findWindow(*s.w)->dirty.empty());

    s.painter.fail = false;
    s.painter.log.clear();
    TopLevelControls::invalidate(s.tree, s.q);
    EXPECT_TRUE(updateScreen(s.tree, s.painter.fn()));
    EXPECT_EQ(s.painter.log, Log{"Q 0,0,20,16"});
}

TEST(ScreenUpdate, InvalidationsWhileDrawingWaitForTheNextUpdate) {
    Scene s;
    int round = 0;
    Painter& painter = s.painter;
    const ControlPainter base = painter.fn();
    const auto again = [&](const IRect2D& clip, const IdCell& control, const Canvas& canvas) {
        base(clip, control, canvas);
        if (round == 0 && *control == *s.q) TopLevelControls::invalidate(s.tree, s.q);
    };
    EXPECT_TRUE(updateScreen(s.tree, again));
    ++round;
    EXPECT_EQ(s.tree.findWindow(*s.w)->dirty, (std::vector<IRect2D>{{4, 28, 20, 16}}));
    painter.log.clear();
    EXPECT_TRUE(updateScreen(s.tree, again));
    EXPECT_EQ(painter.log, Log{"Q 0,0,20,16"});
}

TEST(ScreenUpdate, NothingIsShownOnceTheShownWindowIsGone) {
    Scene s;
    s.tree.destroyControl(s.w);
    EXPECT_TRUE(s.tree.windows().empty());
    EXPECT_FALSE(updateScreen(s.tree, s.painter.fn()));
    EXPECT_EQ(s.painter.log, Log{});
    for (const IdCell& gone : {s.a, s.a1, s.h, s.h1, s.p, s.q, s.k, s.c}) EXPECT_EQ(*gone, 0);
}

}  // namespace
}  // namespace zil
