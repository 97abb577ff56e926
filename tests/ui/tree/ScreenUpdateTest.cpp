#include "ui/tree/ScreenUpdate.hpp"

#include <gtest/gtest.h>

#include <SDL.h>

#include <cstdint>
#include <cstring>
#include <map>
#include <string>

#include "ui/tree/TopLevelWindow.hpp"
#include "ui/tree/TreeTestSupport.hpp"

namespace zil {
namespace {

using testing::add;
using testing::Log;
using testing::raised;

[[maybe_unused]] auto* const sdl = ::testing::AddGlobalTestEnvironment(new testing::SdlVideo);

std::string captionNow() {
    char* title = nullptr;
    char* icon = nullptr;
    SDL_WM_GetCaption(&title, &icon);
    return std::string(title ? title : "-") + "|" + (icon ? icon : "-");
}

IdCell addWindow(ControlTree& tree, IRect2D box, std::int32_t visible) {
    IdCell w = tree.addControl(nullptr, TopLevelWindowKind{}, box, visible);
    tree.lookup(w)->name.set("W");
    return w;
}

const ControlPainter paintNothing = [](const IRect2D&, const IdCell&, const Canvas&) {};

TEST(TopLevelWindow, ActivationOpensTheScreenAtTheWindowsSizeWithItsCaption) {
    ControlTree tree;
    IdCell w = addWindow(tree, {5, 6, 64, 48}, 1);
    SDL_Surface* screen = tree.screen();
    ASSERT_EQ(screen, SDL_GetVideoSurface());
    EXPECT_EQ(screen->w * 1000 + screen->h, 64048);
    EXPECT_EQ(screen->format->BitsPerPixel, 32);
    EXPECT_EQ(captionNow(), "Untitled|Untitled");
    EXPECT_EQ(tree.findWindow(*w)->dirty, (std::vector<IRect2D>{{0, 0, 64, 48}}));  // a new mode is blank
    tree.attributes().writeString(w, "caption", "Demo");
    EXPECT_EQ(captionNow(), "Demo|Demo");

    IdCell second = addWindow(tree, {0, 0, 32, 16}, 1);
    EXPECT_EQ(SDL_GetVideoSurface()->w, 32);
    EXPECT_EQ(captionNow(), "Untitled|Untitled");
    tree.attributes().writeString(w, "caption", "Back");  // not shown: no retitle
    EXPECT_EQ(captionNow(), "Untitled|Untitled");
    EXPECT_EQ(tree.windows()[1].id, second);  // creation order
    tree.lookup(w)->visible.set(0);
    tree.lookup(w)->visible.set(1);  // shown again: activated
    EXPECT_EQ(SDL_GetVideoSurface()->w, 64);
    EXPECT_EQ(captionNow(), "Back|Back");
    EXPECT_EQ(tree.shownWindow(), w);
}

TEST(TopLevelWindow, ASizeSDLCannotTakeIsRefusedWithoutCallingIt) {
    ControlTree tree;
    addWindow(tree, {0, 0, 20, 10}, 1);
    SDL_Surface* before = SDL_GetVideoSurface();
    for (IRect2D box : {IRect2D{0, 0, 16384, 10}, IRect2D{0, 0, 10, 16384}, IRect2D{0, 0, -1, 10}}) {
        EXPECT_EQ(raised([&] { addWindow(tree, box, 1); }), "BackendError") << box.w << "x" << box.h;
        EXPECT_EQ(tree.screen(), nullptr);
        EXPECT_EQ(SDL_GetVideoSurface(), before);  // SDL was not asked
    }
    EXPECT_EQ(raised([&] { addWindow(tree, {0, 0, 16383, 2}, 1); }), "none");
}

TEST(ScreenUpdate, WithoutAScreenNothingIsDrawnOrShown) {
    ControlTree tree;
    IdCell w = addWindow(tree, {0, 0, 20, 10}, 0);
    TopLevelControls::invalidate(tree, w);
    int calls = 0;
    EXPECT_FALSE(updateScreen(tree, [&](const IRect2D&, const IdCell&, const Canvas&) { ++calls; }));
    EXPECT_EQ(calls, 0);
    const std::string before = captionNow();
    tree.attributes().writeString(w, "caption", "unseen");
    EXPECT_EQ(captionNow(), before);
}

// W (64 x 48) holding
//   A (4, 4, 20, 20) { A1 (2, 2, 8, 8) }
//   H (30, 4, 20, 20), hidden { H1 (0, 0, 10, 10) }
//   P (4, 28, 20, 16) { Q (0, 0, 20, 16), covering P }
//   K (40, 28, 20, 16) { C (-5, -4, 12, 10), cut at K's left and top edges }
// The painter fills each control's whole box with its colour, relying on
// the clip, puts a dot at C's point (6, 5), and logs "name clip".
struct Scene {
    ControlTree tree;
    IdCell w = addWindow(tree, {0, 0, 64, 48}, 1);
    IdCell a = add(tree, w, {4, 4, 20, 20}, "A");
    IdCell a1 = add(tree, a, {2, 2, 8, 8}, "A1");
    IdCell h = add(tree, w, {30, 4, 20, 20}, "H", 0);
    IdCell h1 = add(tree, h, {0, 0, 10, 10}, "H1");
    IdCell p = add(tree, w, {4, 28, 20, 16}, "P");
    IdCell q = add(tree, p, {0, 0, 20, 16}, "Q");
    IdCell k = add(tree, w, {40, 28, 20, 16}, "K");
    IdCell c = add(tree, k, {-5, -4, 12, 10}, "C");
    SDL_Surface* screen = tree.screen();
    std::map<std::string, Uint32> colours;
    Uint32 dot = SDL_MapRGB(screen->format, 255, 0, 0);
    Log log;
    bool fail = false;

    Scene() {
        Uint8 blue = 10;
        for (const char* n : {"W", "A", "A1", "H", "H1", "P", "Q", "K", "C"})
            colours[n] = SDL_MapRGB(screen->format, 0, 0, blue += 20);
        SDL_FillRect(screen, nullptr, 0);
    }
    ControlPainter painter() {
        return [this](const IRect2D& clip, const IdCell& control, const Canvas& canvas) {
            const auto rec = tree.lookup(control);
            const std::string& name = rec->name.value();
            log.push_back(name + " " + std::to_string(clip.x) + "," + std::to_string(clip.y) + "," +
                          std::to_string(clip.w) + "," + std::to_string(clip.h));
            if (fail) throw Io("painter");
            SDL_Rect all{Sint16(canvas.x), Sint16(canvas.y), Uint16(rec->boundingBox.value().w),
                         Uint16(rec->boundingBox.value().h)};
            SDL_FillRect(canvas.surface, &all, colours[name]);
            SDL_Rect point{Sint16(canvas.x + 6), Sint16(canvas.y + 5), 1, 1};
            if (name == "C") SDL_FillRect(canvas.surface, &point, dot);
        };
    }
    Uint32 at(int x, int y) {
        Uint32 v;
        std::memcpy(&v, static_cast<Uint8*>(screen->pixels) + y * screen->pitch + x * 4, 4);
        return v;
    }
    int changedFrom(Uint32 v) {
        int n = 0;
        for (int y = 0; y < screen->h; ++y)
            for (int x = 0; x < screen->w; ++x) n += at(x, y) != v;
        return n;
    }
    bool update() { return updateScreen(tree, painter()); }
};

TEST(ScreenUpdate, DrawsVisibleUncoveredControlsInTheirPlaces) {
    Scene s;
    EXPECT_TRUE(s.update());
    // Hidden H and covered P are not painted; C's clip is in its own coordinates.
    EXPECT_EQ(s.log, (Log{"W 0,0,64,48", "A 0,0,20,20", "A1 0,0,8,8", "Q 0,0,20,16", "K 0,0,20,16", "C 5,4,7,6"}));
    const std::tuple<int, int, const char*> probes[] = {
        {4, 4, "A"},   {23, 23, "A"}, {6, 6, "A1"},  {13, 13, "A1"}, {14, 14, "A"},
        {30, 4, "W"},  {39, 13, "W"},  // under hidden H and H1
        {23, 43, "Q"}, {24, 43, "W"},
        {40, 28, "C"}, {46, 33, "C"},  // C's part inside K, from its point (5, 4)
        {47, 33, "K"}, {46, 34, "K"}, {39, 28, "W"}, {59, 43, "K"},
    };
    for (const auto& [x, y, owner] : probes) EXPECT_EQ(s.at(x, y), s.colours[owner]) << x << "," << y;
    EXPECT_EQ(s.at(41, 29), s.dot);  // C's (6, 5) at K's (1, 1): C kept its place
    EXPECT_TRUE(s.tree.findWindow(*s.w)->dirty.empty());
}

TEST(ScreenUpdate, DrawsOnlyTheDirtyAreaAndEntersOnlySubtreesThatMeetIt) {
    Scene s;
    s.update();
    const Uint32 marker = SDL_MapRGB(s.screen->format, 255, 0, 255);
    SDL_FillRect(s.screen, nullptr, marker);
    s.tree.lookup(s.k)->children.append(makeIdCell(0));  // K's subtree would fail if entered
    s.log.clear();
    TopLevelControls::invalidate(s.tree, s.a1);
    EXPECT_TRUE(s.update());
    EXPECT_EQ(s.log, Log{"A1 0,0,8,8"});  // W and A lie under A1 there
    EXPECT_EQ(s.changedFrom(marker), 64);
    // A hidden child covers nothing: its parent paints there.
    s.log.clear();
    TopLevelControls::invalidate(s.tree, s.h);
    EXPECT_TRUE(s.update());
    EXPECT_EQ(s.log, Log{"W 30,4,20,20"});
    EXPECT_EQ(s.changedFrom(marker), 64 + 400);
    s.log.clear();
    EXPECT_TRUE(s.update());  // nothing dirty
    EXPECT_EQ(s.log, Log{});
}

TEST(ScreenUpdate, AFailureEndsTheWindowsDrawingAndTheNextUpdateGoesOn) {
    Scene s;
    s.tree.lookup(s.k)->children.append(makeIdCell(0));  // fails K's covering test
    EXPECT_TRUE(s.update());
    EXPECT_EQ(s.log.back(), "Q 0,0,20,16");
    EXPECT_TRUE(s.tree.findWindow(*s.w)->dirty.empty());
    s.fail = true;
    s.log.clear();
    TopLevelControls::invalidate(s.tree, s.a);
    EXPECT_TRUE(s.update());
    EXPECT_EQ(s.log, Log{"A 0,0,20,20"});
    s.fail = false;
    s.log.clear();
    TopLevelControls::invalidate(s.tree, s.q);
    EXPECT_TRUE(s.update());
    EXPECT_EQ(s.log, Log{"Q 0,0,20,16"});
}

TEST(ScreenUpdate, RequestsMadeWhileDrawingWaitAndAGoneWindowShowsNothing) {
    Scene s;
    const ControlPainter base = s.painter();
    const ControlPainter again = [&](const IRect2D& clip, const IdCell& control, const Canvas& canvas) {
        base(clip, control, canvas);
        if (*control == *s.q) TopLevelControls::invalidate(s.tree, s.q);
    };
    EXPECT_TRUE(updateScreen(s.tree, again));
    EXPECT_EQ(s.tree.findWindow(*s.w)->dirty, (std::vector<IRect2D>{{4, 28, 20, 16}}));
    s.tree.destroyControl(s.w);
    EXPECT_FALSE(updateScreen(s.tree, paintNothing));
    for (const IdCell& gone : {s.a, s.a1, s.h, s.h1, s.p, s.q, s.k, s.c}) EXPECT_EQ(*gone, 0);
}

}  // namespace
}  // namespace zil
