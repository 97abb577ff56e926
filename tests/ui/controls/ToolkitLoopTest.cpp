// The real loop over factory-made controls: screen updates, the preview's
// drag, the shut-down and memory over many events.
#include "ui/controls/ToolkitLoop.hpp"

#include <gtest/gtest.h>

#include <malloc.h>

#include <numbers>

#include "LoopTestSupport.hpp"
#include "render/RenderPreview.hpp"

namespace zil {
namespace {

using namespace zil::testing;

TEST(ToolkitLoop, QueuedMotionsAreOneHandlerCallAndOneUpdate) {
    LoopUi ui;
    const IdCell bar = ui.make("VuqHorizScrollBar", {10, 10, 400, 16});
    ui.intAttr(bar, "barsize")->set(20);
    int calls = 0;
    ui.ctx.handlers.mouse->at(0).push([&](const PointerAt&) { ++calls; });
    ui.run([] { pushButton(true, 20, 15); });
    const LoopRun run = ui.run([] {
        for (int i = 1; i <= 100; ++i) pushMotion(20 + i, 15, 1, 0);
    });
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(run.updates, 3);  // idle, the motion, idle
    EXPECT_EQ(ui.intAttr(bar, "barpos")->value(), 100);
}

std::vector<Uint32> pixelsIn(const IRect2D& r) {
    std::vector<Uint32> all;
    for (int y = r.y; y < r.y + r.h; ++y)
        for (int x = r.x; x < r.x + r.w; ++x) all.push_back(pixel(SDL_GetVideoSurface(), x, y));
    return all;
}

std::vector<Uint32> screenPixels() {
    const SDL_Surface* s = SDL_GetVideoSurface();
    return pixelsIn({0, 0, s->w, s->h});
}

TEST(ToolkitLoop, ControlsThatBlendRepaintedAloneShowTheSamePixelsEachTime) {
    // Text blends its soft rim over what lies under it, and so does a look
    // that leaves part of its box alone (a button wider than its bitmap, an
    // image button without images): what is under each must be painted
    // again first.
    LoopUi ui;
    const IdCell page = ui.make("VuqTabBookPage", {0, 0, 640, 480});
    const auto text = [&](const char* className, const IRect2D& box, const char* t) {
        const IdCell c = ui.make(className, box, page);
        ui.ctx.tree.attributes().get<Attr::NString>(c, "text")->set(t);
        return c;
    };
    const IdCell checkBox = text("VuqCheckBoxView", {16, 172, 290, 16}, "Check box");
    const IdCell controls[] = {
        checkBox,
        text("VuqTextLabel", {16, 200, 290, 16}, "A text label"),
        text("VuqPushButton", {16, 230, 320, 40}, "A button wider than its bitmap"),
        text("VuqImageButton", {16, 280, 200, 32}, "No image"),
    };
    ui.click(20, 176), ui.click(20, 176);  // the check box takes the focus
    const std::vector<Uint32> first = screenPixels();
    for (int round = 0; round < 3; ++round) {
        ui.click(20, 176), ui.click(20, 176);
        EXPECT_TRUE(screenPixels() == first) << "check box clicked twice, round " << round;
        for (const IdCell& c : controls) {
            ui.run([&] { TopLevelControls::invalidate(ui.ctx.tree, c); });
            EXPECT_TRUE(screenPixels() == first) << idOf(c) << " repainted, round " << round;
        }
    }
}

TEST(ToolkitLoop, DraggingAScrollAreasBarBringsItsLowestChildIntoView) {
    LoopUi ui;
    // 100 x 60 at (10, 10): its bar, 56 long, starts at (96, 12) in the window.
    const IdCell area = ui.make("VuqVertScrollArea", {10, 10, 100, 60});
    IdCell lowest;
    for (int y : {0, 40, 80}) lowest = ui.make("VuqTextLabel", {0, y, 80, 20}, area);
    const ControlCells& c = *Controls::cellsOf(ui.ctx.tree, area);
    // Extent 100 seen through 60: size (60 * 56) div 100 = 33.
    EXPECT_EQ(std::pair(c.barSize->value(), c.barRange->value()), std::pair(33, 56));
    ui.run([] {
        pushButton(true, 100, 20);
        pushMotion(100, 50, 0, 30);
        pushButton(false, 100, 50);
    });
    // 30 down, clamped to 56 - 33 = 23: the contents rise by (100 - 60) * 23 div 23.
    EXPECT_EQ(c.barPos->value(), 23);
    EXPECT_EQ(ui.ctx.tree.lookup(lowest)->boundingBox.value(), (IRect2D{0, 40, 80, 20}));
}

TEST(ToolkitLoop, DraggingOverThePreviewTurnsItsObject) {
    // A drag turns by -xrel / 50 about y and -yrel / 50 about x (below 0
    // kept as 2 pi less), repainting the preview alone; it goes on outside
    // the preview. Without a press, and after the release, motion changes
    // nothing.
    const double full = 2 * std::numbers::pi;
    const std::tuple<void (*)(), double, double> cases[] = {
        {[] { pushButton(true, 150, 100); pushMotion(140, 100, -10, 0); pushButton(false, 140, 100); }, 0.0, 0.2},
        {[] { pushButton(true, 150, 100); pushMotion(600, 400, 0, 5); pushButton(false, 600, 400); }, full - 0.1, 0.0},
        {[] { pushButton(true, 150, 100); pushMotion(150, 95, 0, -5); }, 0.1, 0.0},
        {[] { pushMotion(150, 100, 30, 30); pushClick(150, 100); pushMotion(160, 100, 10, 0); }, 0.0, 0.0},
    };
    for (const auto& [push, x, y] : cases) {
        LoopUi ui;
        const IdCell page = Controls::newDemoPageControl(ui.ctx, ui.window, {100, 50, 120, 120}, 1);
        ui.run([] {});  // draws everything once
        const LoopRun run = ui.run(push);
        const Xyz& angles = Controls::cellsOf(ui.ctx.tree, page)->preview->objectPlacement.angles;
        EXPECT_NEAR(angles.x, x, 1e-9);
        EXPECT_NEAR(angles.y, y, 1e-9);
        EXPECT_EQ(angles.z, 0.0);
        using Dirty = std::vector<std::vector<IRect2D>>;
        EXPECT_EQ(run.dirty, (x != 0.0 || y != 0.0 ? Dirty{{{100, 50, 120, 120}}} : Dirty{}));
    }
}

TEST(ToolkitLoop, TwoPreviewsEachShowOnlyTheirOwnEdits) {
    LoopUi ui;
    const IRect2D boxes[] = {{10, 10, 160, 160}, {200, 10, 160, 160}};
    const IdCell pages[] = {Controls::newDemoPageControl(ui.ctx, ui.window, boxes[0], 1),
                            Controls::newDemoPageControl(ui.ctx, ui.window, boxes[1], 1)};
    // Each edit is followed by a repaint of the whole window, so that both
    // previews draw their surfaces again; the loop draws it when it next
    // falls idle.
    const auto sharpen = [&](int i, double s) {
        ui.ctx.tree.attributes().get<Attr::NReal>(pages[i], "cornersharpness")->set(s);
        TopLevelControls::invalidate(ui.ctx.tree, ui.window);
        ui.run([] {});
    };
    ui.run([] {});
    const std::vector<Uint32> smooth = pixelsIn(boxes[0]);
    ASSERT_TRUE(pixelsIn(boxes[1]) == smooth);
    sharpen(0, 4.0);
    const std::vector<Uint32> sharp = pixelsIn(boxes[0]);
    EXPECT_FALSE(sharp == smooth);
    EXPECT_TRUE(pixelsIn(boxes[1]) == smooth);
    // The other way round, from the second page.
    sharpen(1, 4.0);
    EXPECT_TRUE(pixelsIn(boxes[0]) == sharp);
    EXPECT_TRUE(pixelsIn(boxes[1]) == sharp);
    sharpen(1, 0.0);
    EXPECT_TRUE(pixelsIn(boxes[0]) == sharp);
    EXPECT_TRUE(pixelsIn(boxes[1]) == smooth);
}

TEST(ToolkitLoop, IdleFreesWhatWasLetGoAndAQuitDestroysTheWindows) {
    LoopUi ui;
    ui.ctx.tree.destroyControl(ui.make("VuqPushButton", {10, 10, 100, 30}));
    ASSERT_GT(ui.ctx.fonts.pool().liveCount(), 0u);
    ui.run([] {});  // one idle frees what the button held
    EXPECT_EQ(ui.ctx.fonts.pool().liveCount() + ui.ctx.images.pool().liveCount(), 0u);
    ui.make("VuqPushButton", {10, 10, 100, 30});
    ui.make("VuqTabIndex", {10, 50, 100, 20});
    ASSERT_TRUE(ui.ctx.fonts.pool().liveCount() > 0 && ui.ctx.images.pool().liveCount() > 0);
    drainQueue();
    const std::string out = stdoutOf([&] { DemoApp::run(ui.ctx, {ui.window}, [] { pushQuit(); }); });
    EXPECT_EQ(idOf(ui.window), 0);
    EXPECT_EQ(ui.ctx.fonts.pool().liveCount() + ui.ctx.images.pool().liveCount(), 0u);
    EXPECT_EQ(out, "");  // nothing was still held
}

// Bytes held from malloc: heap blocks in use and blocks served by mmap,
// where large surfaces go.
std::size_t heldBytes() {
    const struct mallinfo2 m = mallinfo2();
    return m.uordblks + m.hblkhd;
}

// The toolkit's loop as the program runs it, keeping nothing of its own;
// the window outlives the quit.
class PlainLoop final : public ToolkitLoop {
public:
    using ToolkitLoop::ToolkitLoop;
    void shutDown() override {}
};

TEST(ToolkitLoop, AHundredThousandEventsLeaveMemoryFlat) {
    LoopUi ui;
    ui.intAttr(ui.make("VuqVertScrollBar", {300, 10, 16, 200}), "barsize")->set(20);
    const IdCell edit = ui.make("VuqTextEdit", {10, 10, 200, 24});
    // Bursts of 100 events, none merged: a drag on the bar and a key to it,
    // a drag in the edit and a character typed into it and taken back.
    auto events = [&](int bursts) {
        drainQueue();
        PlainLoop loop(ui.ctx, ui.events, {});
        int i = 0;
        DemoApp::mainLoop(loop, [&] {
            if (i++ == bursts) return pushQuit();
            for (int k = 0; k < 10; ++k) {
                pushButton(true, 305, 60);
                pushMotion(305, 60 + (i + k) % 50, 0, 1);
                pushButton(false, 305, 60);
                pushKeyStroke(SDLK_DOWN);
                pushButton(true, 20, 15);
                pushMotion(20 + k, 15, 1, 0);
                pushButton(false, 20 + k, 15);
                pushKey(true, SDLK_a, 'a');
                pushKey(true, SDLK_BACKSPACE, 8);
            }
        });
    };
    events(100);  // 10,000 to settle
    const std::size_t before = heldBytes();
    events(900);
    const std::size_t after = heldBytes();
    EXPECT_LT(after, before + 64 * 1024) << "grew from " << before << " to " << after << " bytes";
    EXPECT_EQ(Controls::cellsOf(ui.ctx.tree, edit)->text->value(), "");
}

}  // namespace
}  // namespace zil
