#pragma once
// The demo's run phase: SDL events, translated, go one by one to the
// toolkit; the screen is updated once after each; queued motions of one
// device reach the toolkit as one. When no event is waiting the loop updates
// the screen, lets the toolkit release what it no longer uses, runs the
// idle step if there is one, and blocks. A quit event that the toolkit
// handles ends the loop with the toolkit's shut-down.
//
// The loop reaches SDL only through the glue and the toolkit only through
// a LoopTarget.
#include <functional>
#include <optional>

#include "shell/InputEvent.hpp"

namespace zil {

// What the loop drives.
class LoopTarget {
public:
    virtual ~LoopTarget() = default;
    // Delivers one event; 0 when it was the quit event, else 1.
    virtual int handleEvent(const InputEvent& event, int type) = 0;
    virtual void updateScreen() = 0;
    // Nothing is waiting: release what is no longer used.
    virtual void whenIdle() = 0;
    // After the quit event.
    virtual void shutDown() = 0;
};

// Run where the loop would block: tests push the next events and read the
// screen there. The program passes none.
using IdleStep = std::function<void()>;

namespace DemoApp {

// Runs until the target has handled a quit event, then shuts it down.
// Exceptions of the target pass out, the shut-down skipped.
void mainLoop(LoopTarget& target, const IdleStep& idle = {});

// Delivers `event` (type `type`) with `pending` merged before it: a motion
// of the pending device takes in every motion of that device queued behind
// it; the event that ends the run is delivered after the merged motion.
// Gives the result of the last delivery.
int dispatchEvent(LoopTarget& target, std::optional<MotionRecord> pending, TypedEvent event);

}  // namespace DemoApp
}  // namespace zil
