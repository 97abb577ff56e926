// The real loop over factory-made controls: screen updates, the preview's
// drag, shut-down and memory over many events.
#include "ui/controls/ToolkitLoop.hpp"

#include <gtest/gtest.h>

#include <malloc.h>

#include <numbers>

#include "LoopTestSupport.hpp"
#include "render/RenderPreview.hpp"
#include "ui/controls/InputRules.hpp"

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
    const LoopUi::Run run = ui.run([] {
        for (int i = 1; i <= 100; ++i) pushMotion(20 + i, 15, 1, 0);
    });
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(run.updates, 3);  // idle, the motion, idle
    EXPECT_EQ(ui.intAttr(bar, "barpos")->value(), 100);
}

// The placement's angles after `push` over a fresh 120 x 120 preview at
// (100, 50), and the rectangles the updates found dirty.
struct Turned {
    Xyz angles;
    std::vector<std::vector<IRect2D>> dirty;
};
Turned turn(const std::function<void()>& push) {
    LoopUi ui;
    const IdCell page = Controls::newDemoPageControl(ui.ctx, ui.window, {100, 50, 120, 120}, 1);
    ui.run([] {});  // draws everything once
    const LoopUi::Run run = ui.run(push);
    return {Controls::cellsOf(ui.ctx.tree, page)->preview->objectPlacement.angles, run.dirty};
}

TEST(ToolkitLoop, DraggingOverThePreviewTurnsItsObject) {
    constexpr double eps = 1e-9;
    const std::vector<std::vector<IRect2D>> preview{{{100, 50, 120, 120}}};
    // 10 pixels left: 0.2 radian about y.
    Turned t = turn([] {
        pushButton(true, 150, 100);
        pushMotion(140, 100, -10, 0);
        pushButton(false, 140, 100);
    });
    EXPECT_NEAR(t.angles.x, 0.0, eps);
    EXPECT_NEAR(t.angles.y, 0.2, eps);
    EXPECT_NEAR(t.angles.z, 0.0, eps);
    EXPECT_EQ(t.dirty, preview);
    // 5 down: -0.1 about x, stored as 2 pi - 0.1; 5 up: 0.1. The drag goes
    // on outside the preview.
    t = turn([] {
        pushButton(true, 150, 100);
        pushMotion(600, 400, 0, 5);
        pushButton(false, 600, 400);
    });
    EXPECT_NEAR(t.angles.x, 2 * std::numbers::pi - 0.1, eps);
    EXPECT_NEAR(t.angles.y, 0.0, eps);
    t = turn([] {
        pushButton(true, 150, 100);
        pushMotion(150, 95, 0, -5);
    });
    EXPECT_NEAR(t.angles.x, 0.1, eps);
    // Without a press, and after the release, motion changes nothing.
    t = turn([] {
        pushMotion(150, 100, 30, 30);
        pushButton(true, 150, 100);
        pushButton(false, 150, 100);
        pushMotion(160, 100, 10, 0);
    });
    EXPECT_EQ(t.angles.x, 0.0);
    EXPECT_EQ(t.angles.y, 0.0);
    EXPECT_TRUE(t.dirty.empty());
}

TEST(ToolkitLoop, AQuitDestroysTheWindowsAndEmptiesBothPools) {
    UIContext ctx{demoConfig()};
    const IdCell window = UIXMLBuild::findToplevelControlClass(ctx, "VuqNoBackgroundWindow", {0, 0, 320, 200}, 1);
    UIXMLBuild::createControl(ctx, "VuqPushButton", window, {10, 10, 100, 30}, 1);
    UIXMLBuild::createControl(ctx, "VuqTabIndex", window, {10, 50, 100, 20}, 1);
    ASSERT_GT(ctx.fonts.pool().liveCount(), 0u);
    ASSERT_GT(ctx.images.pool().liveCount(), 0u);
    drainQueue();
    const std::string out = stdoutOf([&] { DemoApp::run(ctx, {window}, [] { pushQuit(); }); });
    EXPECT_EQ(idOf(window), 0);
    EXPECT_EQ(ctx.fonts.pool().liveCount(), 0u);
    EXPECT_EQ(ctx.images.pool().liveCount(), 0u);
    EXPECT_EQ(out, "");  // nothing was still held
}

TEST(ToolkitLoop, AHundredThousandEventsLeaveMemoryFlat) {
    LoopUi ui;
    const IdCell bar = ui.make("VuqVertScrollBar", {300, 10, 16, 200});
    ui.intAttr(bar, "barsize")->set(20);
    const IdCell edit = ui.make("VuqTextEdit", {10, 10, 200, 24});
    auto burst = [](int i) {  // 100 events, none merged
        for (int k = 0; k < 10; ++k) {
            pushButton(true, 305, 60);
            pushMotion(305, 60 + (i + k) % 50, 0, 1);
            pushButton(false, 305, 60);
            pushKey(true, SDLK_DOWN);
            pushKey(false, SDLK_DOWN);
            pushButton(true, 20, 15);
            pushMotion(20 + k, 15, 1, 0);
            pushButton(false, 20 + k, 15);
            pushKey(true, SDLK_a, 'a');
            pushKey(true, SDLK_BACKSPACE, 8);
        }
    };
    auto events = [&](int bursts) {
        drainQueue();
        WatchedLoop loop(ui.ctx, ui.events, ui.window);
        int i = 0;
        DemoApp::mainLoop(loop, [&] {
            if (i < bursts)
                burst(i++);
            else
                pushQuit();
        });
    };
    events(100);  // 10,000 to settle
    const std::size_t before = mallinfo2().uordblks;
    events(900);
    const std::size_t after = mallinfo2().uordblks;
    EXPECT_LT(after, before + 64 * 1024) << before << " -> " << after;
    EXPECT_EQ(Controls::cellsOf(ui.ctx.tree, edit)->text->value(), "");
}

}  // namespace
}  // namespace zil
