#include "ui/controls/ToolkitLoop.hpp"

#include <utility>

#include "ui/controls/ControlLook.hpp"
#include "ui/controls/UIContext.hpp"
#include "ui/tree/ScreenUpdate.hpp"

namespace zil {

ToolkitLoop::ToolkitLoop(UIContext& ctx, ControlEventTables& events, std::vector<IdCell> windows)
    : ctx_(ctx),
      events_(events),
      windows_(std::move(windows)),
      paint_(makeControlPainter(ctx.tree, [focus = &ctx.focus](UIControlID id) {
          return id != 0 && idOf(focus->focused()) == id;
      })) {}

int ToolkitLoop::handleEvent(const InputEvent& event, int type) { return Controls::handleEvent(event, type, events_); }

void ToolkitLoop::updateScreen() { zil::updateScreen(ctx_.tree, paint_); }

void ToolkitLoop::whenIdle() {
    ctx_.fonts.pool().drain();
    ctx_.images.pool().drain();
}

void ToolkitLoop::shutDown() {
    for (const IdCell& w : windows_) ctx_.tree.destroyControl(w);
    ctx_.images.pool().destroy(ctx_.tree.report());
    ctx_.fonts.pool().destroy(ctx_.tree.report());
}

namespace DemoApp {

void run(UIContext& ctx, std::vector<IdCell> windows, const IdleStep& idle) {
    ControlEventTables events(ctx);
    ToolkitLoop loop(ctx, events, std::move(windows));
    mainLoop(loop, idle);
}

}  // namespace DemoApp
}  // namespace zil
