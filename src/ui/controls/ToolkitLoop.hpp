#pragma once
// The toolkit's side of the event loop: events go to the controls, the
// screen update draws the window shown, idle moments drain the font pool
// and then the image pool, and the shut-down destroys the given top-level
// windows in order, then the image pool and the font pool, reporting what
// is still held on the tree's report stream.
#include <vector>

#include "shell/EventLoop.hpp"
#include "ui/base/IdCell.hpp"
#include "ui/controls/ControlEvents.hpp"
#include "ui/tree/TopLevelControls.hpp"

namespace zil {

class UIContext;

class ToolkitLoop : public LoopTarget {
public:
    // `windows`: the top-level windows the description made, in order.
    ToolkitLoop(UIContext& ctx, ControlEventTables& events, std::vector<IdCell> windows);

    int handleEvent(const InputEvent& event, int type) override;
    void updateScreen() override;
    void whenIdle() override;
    void shutDown() override;

private:
    UIContext& ctx_;
    ControlEventTables& events_;
    std::vector<IdCell> windows_;
    ControlPainter paint_;
};

namespace DemoApp {

// The event tables over the context, and the loop until a quit event; then
// the shut-down. What the program runs once the description is built.
void run(UIContext& ctx, std::vector<IdCell> windows, const IdleStep& idle = {});

}  // namespace DemoApp
}  // namespace zil
