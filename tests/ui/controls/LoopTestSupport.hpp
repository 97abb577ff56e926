#pragma once
// A user interface made by the factory in a visible window, driven through
// the real event loop: a test pushes SDL events at the loop's first idle
// moment and looks at the controls once the queue is empty.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "PushEvents.hpp"
#include "ui/base/ImageTestSupport.hpp"
#include "ui/controls/Controls.hpp"
#include "ui/controls/ToolkitLoop.hpp"
#include "ui/controls/UIContext.hpp"
#include "ui/uixml/ControlFactory.hpp"

namespace zil::testing {

// What a run of the loop updated: the screen updates, and the dirty
// rectangles of each one that drew.
struct LoopRun {
    int updates = 0;
    std::vector<std::vector<IRect2D>> dirty;
};

// The toolkit's loop target, watching its updates and keeping the controls.
class WatchedLoop final : public ToolkitLoop {
public:
    WatchedLoop(UIContext& ctx, ControlEventTables& events, const IdCell& window)
        : ToolkitLoop(ctx, events, {}), ctx_(ctx), window_(window) {}
    void updateScreen() override {
        const ControlTree::Window* w = ctx_.tree.findWindow(idOf(window_));
        if (w != nullptr && !w->dirty.empty()) seen.dirty.push_back(w->dirty);
        ++seen.updates;
        ToolkitLoop::updateScreen();
    }
    void shutDown() override {}

    LoopRun seen;

private:
    UIContext& ctx_;
    const IdCell& window_;
};

struct LoopUi {
    UIContext ctx{demoConfig()};
    IdCell window = UIXMLBuild::findToplevelControlClass(ctx, "VuqNoBackgroundWindow", {0, 0, 640, 480}, 1);
    ControlEventTables events{ctx};

    IdCell make(const char* className, const IRect2D& box, const IdCell& parent = nullptr) {
        return UIXMLBuild::createControl(ctx, className, parent ? parent : window, box, 1);
    }
    std::shared_ptr<ObservedInt> intAttr(const IdCell& c, const char* name) {
        return ctx.tree.attributes().get<Attr::NInt>(c, name);
    }
    LoopRun run(const std::function<void()>& push) {
        drainQueue();
        WatchedLoop loop(ctx, events, window);
        int idles = 0;
        DemoApp::mainLoop(loop, [&] {
            if (idles++ == 0) push();
            SDL_Event next;
            if (SDL_PeepEvents(&next, 1, SDL_PEEKEVENT, SDL_ALLEVENTS) == 0) pushQuit();
        });
        return loop.seen;
    }
    // Keys to the focused control.
    void type(int sym, int unicode = 0, int mod = 0) {
        run([&] { pushKeyStroke(sym, unicode, mod); });
    }
    void click(int x, int y) {
        run([&] { pushClick(x, y); });
    }
};

}  // namespace zil::testing
