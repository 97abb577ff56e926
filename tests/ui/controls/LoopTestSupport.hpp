#pragma once
// A user interface made by the factory in a visible window, driven through
// the real event loop: a test pushes SDL events at the loop's idle moments
// and looks at the controls in between.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "PushEvents.hpp"
#include "ui/base/ImageTestSupport.hpp"
#include "ui/controls/Controls.hpp"
#include "ui/controls/ToolkitLoop.hpp"
#include "ui/controls/UIContext.hpp"
#include "ui/uixml/ControlFactory.hpp"

namespace zil::testing {

// The toolkit's loop target, with the controls kept at the end and every
// screen update counted with the dirty rectangles it found.
class WatchedLoop final : public ToolkitLoop {
public:
    WatchedLoop(UIContext& ctx, ControlEventTables& events, IdCell window)
        : ToolkitLoop(ctx, events, {}), ctx_(ctx), window_(std::move(window)) {}
    void updateScreen() override {
        const ControlTree::Window* w = ctx_.tree.findWindow(idOf(window_));
        if (w != nullptr && !w->dirty.empty()) dirty.push_back(w->dirty);
        ++updates;
        ToolkitLoop::updateScreen();
    }
    void shutDown() override {}

    int updates = 0;
    std::vector<std::vector<IRect2D>> dirty;  // per update that drew

private:
    UIContext& ctx_;
    IdCell window_;
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

    // Runs the loop: `push` pushes at the first idle moment, a quit follows
    // once the queue is empty. The result watched the run.
    struct Run {
        int updates;
        std::vector<std::vector<IRect2D>> dirty;
    };
    Run run(const std::function<void()>& push) {
        drainQueue();
        WatchedLoop loop(ctx, events, window);
        int idles = 0;
        DemoApp::mainLoop(loop, [&] {
            if (idles++ == 0) push();
            SDL_Event next;
            if (SDL_PeepEvents(&next, 1, SDL_PEEKEVENT, SDL_ALLEVENTS) == 0) pushQuit();
        });
        return {loop.updates, loop.dirty};
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
