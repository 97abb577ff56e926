// Delivery of events to the controls of hand-made trees.
#include "ui/controls/ControlEvents.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/tree/TreeTestSupport.hpp"
#include "ui/tree/ControlTree.hpp"

namespace zil {
namespace {

using testing::Log;
using testing::TestKind;

std::string at(const char* what, const Point& p) {
    return std::string(what) + " " + std::to_string(p.x) + "," + std::to_string(p.y);
}

struct Ui {
    ControlTree tree;
    FocusState focus{tree};
    HandlerTables handlers{tree.stores()};
    PointerActionStores actions{tree.stores()};
    ControlEventTables events{tree, focus, handlers, actions};
    Log log;

    IdCell window(IRect2D box = {0, 0, 200, 100}) {
        IdCell w = tree.addControl(nullptr, TestKind{}, box, 1);
        tree.addWindow(w, nullptr);
        return w;
    }
    // A control whose press, release and motion lists log its name and the
    // local point.
    IdCell add(const IdCell& parent, IRect2D box, const std::string& name, std::int32_t visible = 1) {
        IdCell c = tree.addControl(parent, TestKind{}, box, visible);
        tree.lookup(c)->name.set(name);
        logPointer(c, name);
        return c;
    }
    void logPointer(const IdCell& c, const std::string& name) {
        pushPointerAction(*actions.press, *c, PointerRule{[this, name](const PointerAt& p) {
                              log.push_back(at(("press " + name).c_str(), p.local));
                          }});
        pushPointerAction(*actions.release, *c, PointerRule{[this, name](const PointerAt& p) {
                              log.push_back(at(("release " + name).c_str(), p.local));
                          }});
        handlers.mouse->at(*c).push([this, name](const PointerAt& p) {
            log.push_back(at(("motion " + name).c_str(), p.local) + " by " + std::to_string(p.motion.x));
        });
    }
    void button(bool down, int x, int y) {
        EXPECT_EQ(Controls::handleEvent(MouseButton{x, y}, down ? EventType::buttonDown : EventType::buttonUp, events),
                  1);
    }
    void move(int x, int y, int xrel = 0) {
        EXPECT_EQ(Controls::handleEvent(MotionRecord{x, y, xrel, 0, 0}, EventType::mouseMotion, events), 1);
    }
    Log take() { return std::exchange(log, {}); }
};

TEST(ControlEvents, QuitGivesZeroAndEverythingElseOne) {
    Ui ui;
    EXPECT_EQ(Controls::handleEvent(QuitEvent{}, EventType::quit, ui.events), 0);
    EXPECT_EQ(Controls::handleEvent(OtherEvent{}, 1, ui.events), 1);
    // Events that do not match their type are ignored.
    EXPECT_EQ(Controls::handleEvent(QuitEvent{}, EventType::keyDown, ui.events), 1);
    EXPECT_EQ(Controls::handleEvent(KeyEvent{}, EventType::buttonDown, ui.events), 1);
}

TEST(ControlEvents, KeysReachSlotZeroThenTheFocusedControl) {
    Ui ui;
    IdCell w = ui.window();
    IdCell a = ui.add(w, {0, 0, 10, 10}, "a");
    ui.handlers.keyDown->at(0).push([&](const KeyPress& k) { ui.log.push_back("all " + std::to_string(k.sym)); });
    ui.handlers.keyDown->at(*a).push([&](const KeyPress& k) {
        ui.log.push_back("a " + std::to_string(k.sym) + " " + std::to_string(k.unicode) + " " +
                         std::to_string(k.modifiers));
    });
    ui.handlers.keyUp->at(0).push([&](std::int32_t sym) { ui.log.push_back("up " + std::to_string(sym)); });
    auto key = [&](int type, int sym) { Controls::handleEvent(KeyEvent{64, sym, 'q'}, type, ui.events); };

    key(EventType::keyDown, 113);  // no focus: not even slot 0
    EXPECT_EQ(ui.take(), Log{});
    ControlMessages::changeCurrent(a, ui.focus);
    key(EventType::keyDown, 113);
    key(EventType::keyUp, 113);
    EXPECT_EQ(ui.take(), (Log{"all 113", "a 113 113 64", "up 113"}));
    ui.tree.destroyControl(a);  // the focus names ID 0 now: slot 0 once
    key(EventType::keyDown, 9);
    EXPECT_EQ(ui.take(), Log{"all 9"});
}

TEST(ControlEvents, APressReachesTheControlInItsOwnCoordinates) {
    // A control at (10, 10) in a panel at (5, 5) in a window placed at
    // (100, 100): (50, 40) is (50 - 5 - 10, 40 - 5 - 10); the window's own
    // origin does not count.
    Ui ui;
    IdCell w = ui.window({100, 100, 200, 100});
    IdCell panel = ui.add(w, {5, 5, 100, 80}, "panel");
    ui.add(panel, {10, 10, 50, 50}, "c");
    ui.button(true, 50, 40);
    EXPECT_EQ(ui.take(), Log{"press c 35,25"});
}

TEST(ControlEvents, TheLastVisibleControlUnderThePointerReceives) {
    Ui ui;
    IdCell w = ui.window();
    IdCell button = ui.add(w, {10, 10, 50, 20}, "button");
    ui.add(button, {5, 5, 10, 10}, "label");
    ui.add(w, {100, 0, 30, 30}, "first");
    ui.add(w, {110, 0, 30, 30}, "second");
    IdCell hidden = ui.add(w, {150, 50, 40, 40}, "hidden", 0);
    ui.add(hidden, {0, 0, 40, 40}, "inHidden");
    struct Case {
        int x, y;
        Log expected;
    };
    const Case cases[] = {
        {20, 20, {"release label 5,5"}},     // the deeper control wins
        {12, 12, {"release button 2,2"}},    // the label does not hold (2, 2)
        {25, 20, {"release button 15,10"}},  // (15, 10) is the label's right edge: outside
        {120, 10, {"release second 10,10"}},  // overlapping siblings: the later one
        {160, 60, {"release 3 160,60"}},     // hidden, with its children: the window
        {250, 60, {}},                        // outside the window: nobody
    };
    ui.tree.lookup(w)->name.set("3");
    ui.logPointer(w, "3");
    for (const Case& c : cases) {
        ui.button(false, c.x, c.y);
        EXPECT_EQ(ui.take(), c.expected) << c.x << "," << c.y;
    }
    // Every mark the walks set is cleared again.
    for (UIControlID id = 0; id < ui.handlers.marks->size(); ++id) EXPECT_EQ(ui.handlers.marks->at(id), 0);
}

TEST(ControlEvents, TheGrabHolderTakesMotionAndReleaseWhereverThePointerIs) {
    Ui ui;
    IdCell w = ui.window();
    IdCell a = ui.add(w, {10, 10, 20, 20}, "a");
    ui.add(w, {100, 10, 20, 20}, "b");
    ui.button(true, 15, 15);
    EXPECT_EQ(ui.events.grab(), a);
    ui.move(150, 5, 7);    // far outside a, over nothing
    ui.move(110, 20, 3);   // over b: still a's
    ui.button(false, 105, 15);
    EXPECT_EQ(ui.take(), (Log{"press a 5,5", "motion a 140,-5 by 7", "motion a 100,10 by 3", "release a 95,5"}));
    EXPECT_EQ(ui.events.grab(), nullptr);
    ui.button(false, 105, 15);  // no grab now: the pick
    EXPECT_EQ(ui.take(), Log{"release b 5,5"});
}

TEST(ControlEvents, WithoutAGrabMotionReachesTheControlsEnteredAndLeft) {
    Ui ui;
    IdCell w = ui.window();
    ui.add(w, {10, 10, 20, 20}, "a");
    ui.move(150, 50);  // the window is entered
    ui.move(15, 15);   // a is entered
    ui.move(20, 20);   // nothing changes
    ui.move(150, 50);  // a is left
    EXPECT_EQ(ui.take(), (Log{"motion a 5,5 by 0", "motion a 140,40 by 0"}));
}

TEST(ControlEvents, AGrabHolderThatIsDestroyedCountsAsNone) {
    Ui ui;
    IdCell w = ui.window();
    IdCell a = ui.add(w, {10, 10, 20, 20}, "a");
    ui.add(w, {100, 10, 20, 20}, "b");
    ui.button(true, 15, 15);
    ui.tree.destroyControl(a);
    ui.move(50, 50);
    ui.button(false, 105, 15);
    EXPECT_EQ(ui.take(), (Log{"press a 5,5", "release b 5,5"}));
}

TEST(ControlEvents, LinkedControlsRunAfterTheReceiverUnlessItIsGone) {
    Ui ui;
    IdCell w = ui.window();
    IdCell frame = ui.add(w, {10, 10, 50, 50}, "frame");
    IdCell inner = ui.add(frame, {2, 2, 46, 46}, "inner");
    ui.tree.lookup(inner)->links.append(frame);
    ui.button(true, 20, 20);  // the frame runs with the inner control's point
    EXPECT_EQ(ui.take(), (Log{"press inner 8,8", "press frame 8,8"}));
    // An action that destroys its own control ends the run quietly.
    pushPointerAction(*ui.actions.release, *inner, PointerRule{[&](const PointerAt&) { ui.tree.destroyControl(frame); }});
    EXPECT_NO_THROW(ui.button(false, 20, 20));
    EXPECT_EQ(ui.take(), Log{"release inner 8,8"});
}

TEST(ControlEvents, ThousandsOfOverlappingControlsArePickedWithoutRecursion) {
    Ui ui;
    IdCell w = ui.window();
    // Each queued control was one level of recursion in the walk.
    IdCell last;
    for (int i = 0; i < 5000; ++i) last = ui.tree.addControl(w, TestKind{}, {0, 0, 10, 10}, 1);
    ui.logPointer(last, "last");
    ui.button(false, 5, 5);
    EXPECT_EQ(ui.take(), Log{"release last 5,5"});
}

}  // namespace
}  // namespace zil
