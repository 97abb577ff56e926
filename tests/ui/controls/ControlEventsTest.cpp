// Delivery of events to the controls of hand-made trees.
#include "ui/controls/ControlEvents.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/controls/ToolkitStores.hpp"
#include "ui/tree/ControlTree.hpp"
#include "ui/tree/TreeTestSupport.hpp"

namespace zil {
namespace {

using testing::Log;
using testing::TestKind;

struct Ui {
    ControlTree tree;
    ControlClassRegistry classes;
    ToolkitStores stores{tree, classes};
    FocusState focus{tree, stores.focus};
    HandlerTables& handlers = stores.handlers;
    PointerActionStores& actions = stores.pointerActions;
    ControlEventTables events{tree, focus, handlers, actions};
    Log log;
    IdCell window = add(nullptr, {0, 0, 200, 100}, "window");

    // A control whose press, motion and release log its name and point; a
    // top-level window when it has no parent.
    IdCell add(const IdCell& parent, IRect2D box, const std::string& name, std::int32_t visible = 1) {
        IdCell c = tree.addControl(parent, TestKind{}, box, visible);
        if (!parent) tree.addWindow(c, nullptr);
        auto entry = [this, name](const std::string& what) {
            return [this, what, name](const PointerAt& p) {
                log.push_back(what + " " + name + " " + std::to_string(p.local.x) + "," + std::to_string(p.local.y));
            };
        };
        pushPointerAction(*actions.press, *c, PointerRule{entry("press")});
        pushPointerAction(*actions.release, *c, PointerRule{entry("release")});
        handlers.mouse->at(*c).push(entry("motion"));
        return c;
    }
    void button(bool down, int x, int y) {
        Controls::handleEvent(MouseButton{x, y}, down ? EventType::buttonDown : EventType::buttonUp, events);
    }
    void move(int x, int y) { Controls::handleEvent(MotionRecord{x, y, 0, 0, 0}, EventType::mouseMotion, events); }
    Log take() { return std::exchange(log, {}); }
};

TEST(ControlEvents, KeysReachSlotZeroThenTheFocusedControl) {
    Ui ui;
    IdCell a = ui.add(ui.window, {0, 0, 10, 10}, "a");
    ui.handlers.keyDown->at(0).push([&](const KeyPress& k) { ui.log.push_back("all " + std::to_string(k.sym)); });
    ui.handlers.keyDown->at(*a).push([&](const KeyPress& k) {
        ui.log.push_back("a " + std::to_string(k.sym) + " " + std::to_string(k.unicode) + " " + std::to_string(k.modifiers));
    });
    ui.handlers.keyUp->at(0).push([&](std::int32_t sym) { ui.log.push_back("up " + std::to_string(sym)); });
    auto key = [&](int type, int sym) { return Controls::handleEvent(KeyEvent{64, sym, 'q'}, type, ui.events); };

    EXPECT_EQ(key(EventType::keyDown, 113), 1);  // no focus: not even slot 0
    EXPECT_EQ(ui.take(), Log{});
    ControlMessages::changeCurrent(a, ui.focus);
    key(EventType::keyDown, 113);
    key(EventType::keyUp, 113);
    EXPECT_EQ(key(EventType::buttonDown, 113), 1);  // not a button: ignored
    EXPECT_EQ(ui.take(), (Log{"all 113", "a 113 113 64", "up 113"}));
    ui.tree.destroyControl(a);  // the focus names ID 0 now: slot 0 once
    key(EventType::keyDown, 9);
    EXPECT_EQ(ui.take(), Log{"all 9"});
    EXPECT_EQ(Controls::handleEvent(QuitEvent{}, EventType::quit, ui.events), 0);
}

TEST(ControlEvents, TheLastVisibleControlUnderThePointerReceives) {
    Ui ui;
    IdCell button = ui.add(ui.window, {10, 10, 50, 20}, "button");
    ui.add(button, {5, 5, 10, 10}, "label");
    ui.add(ui.window, {100, 0, 30, 30}, "first");
    ui.add(ui.window, {110, 0, 30, 30}, "second");
    ui.add(ui.add(ui.window, {150, 50, 40, 40}, "hidden", 0), {0, 0, 40, 40}, "inHidden");
    const std::pair<Point, Log> cases[] = {
        {{20, 20}, {"release label 5,5"}},      // the deeper control wins
        {{12, 12}, {"release button 2,2"}},     // the label does not hold (2, 2)
        {{25, 20}, {"release button 15,10"}},   // the label's right edge is outside it
        {{120, 10}, {"release second 10,10"}},  // of overlapping siblings the later
        {{160, 60}, {"release window 160,60"}},  // hidden, with what it holds
        {{250, 60}, {}},                          // outside everything
    };
    for (const auto& [p, expected] : cases) {
        ui.button(false, p.x, p.y);
        EXPECT_EQ(ui.take(), expected) << p.x << "," << p.y;
    }
    // A hidden top-level window holding the pointer takes nothing: the
    // shown one before it does, and outside that nothing.
    ui.add(nullptr, {0, 0, 300, 100}, "hiddenWindow", 0);
    for (const auto& [p, expected] : {std::pair{Point{190, 10}, Log{"release window 190,10"}}, {{250, 60}, {}}}) {
        ui.button(false, p.x, p.y);
        EXPECT_EQ(ui.take(), expected) << p.x << "," << p.y;
    }

    // A control at (10, 10) in a panel at (5, 5) of a window at (100, 100):
    // the window's own origin does not count.
    Ui placed;
    placed.tree.lookup(placed.window)->boundingBox.set({100, 100, 200, 100});
    placed.add(placed.add(placed.window, {5, 5, 100, 80}, "panel"), {10, 10, 50, 50}, "c");
    placed.button(false, 50, 40);
    EXPECT_EQ(placed.take(), Log{"release c 35,25"});

    // Thousands of stacked siblings are walked without recursion.
    for (int i = 0; i < 5000; ++i) placed.tree.addControl(placed.window, TestKind{}, {0, 0, 10, 10}, 1);
    placed.add(placed.window, {0, 0, 10, 10}, "last");
    placed.button(false, 5, 5);
    EXPECT_EQ(placed.take(), Log{"release last 5,5"});
}

TEST(ControlEvents, TheGrabHolderTakesMotionAndReleaseWhereverThePointerIs) {
    Ui ui;
    IdCell a = ui.add(ui.window, {10, 10, 20, 20}, "a");
    ui.add(ui.window, {100, 10, 20, 20}, "b");
    ui.button(true, 15, 15);
    ui.move(150, 5);   // far outside a
    ui.move(110, 20);  // over b
    ui.button(false, 105, 15);
    EXPECT_EQ(ui.take(), (Log{"press a 5,5", "motion a 140,-5", "motion a 100,10", "release a 95,5"}));
    ui.button(false, 105, 15);  // the grab is free: the pick
    EXPECT_EQ(ui.take(), Log{"release b 5,5"});
    // Without a grab, motion reaches the controls entered and left, by ID:
    // the pointer was over b at the last motion.
    ui.move(15, 15);
    ui.move(20, 20);
    ui.move(150, 50);
    EXPECT_EQ(ui.take(), (Log{"motion a 5,5", "motion b -85,5", "motion a 140,40"}));
    // A grab holder that is destroyed counts as none.
    ui.button(true, 15, 15);
    ui.tree.destroyControl(a);
    ui.button(false, 105, 15);
    EXPECT_EQ(ui.take(), (Log{"press a 5,5", "release b 5,5"}));
}

TEST(ControlEvents, LinkedControlsRunAfterTheReceiverUnlessItIsGone) {
    Ui ui;
    IdCell frame = ui.add(ui.window, {10, 10, 50, 50}, "frame");
    IdCell inner = ui.add(frame, {2, 2, 46, 46}, "inner");
    ui.tree.lookup(inner)->links.append(frame);
    ui.button(true, 20, 20);  // the frame runs with the inner control's point
    EXPECT_EQ(ui.take(), (Log{"press inner 8,8", "press frame 8,8"}));
    // Actions that destroy their own control end the run quietly.
    pushPointerAction(*ui.actions.release, *inner, PointerRule{[&](const PointerAt&) { ui.tree.destroyControl(frame); }});
    EXPECT_NO_THROW(ui.button(false, 20, 20));
    EXPECT_EQ(ui.take(), Log{"release inner 8,8"});
}

}  // namespace
}  // namespace zil
