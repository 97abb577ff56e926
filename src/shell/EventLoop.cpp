#include "shell/EventLoop.hpp"

#include <utility>

#include "glue/SDLFuncs.hpp"

namespace zil::DemoApp {

int dispatchEvent(LoopTarget& target, std::optional<MotionRecord> pending, TypedEvent event) {
    for (;;) {
        const auto* motion = std::get_if<MotionRecord>(&event.event);
        if (event.type == EventType::mouseMotion && motion != nullptr &&
            (!pending || pending->which == motion->which)) {
            const MotionRecord merged = InputEvents::mergeMotion(pending, *motion);
            if (mltSDL_PollEvent() != 1) return target.handleEvent(merged, EventType::mouseMotion);
            pending = merged;
            event = InputEvents::translateEvent();
            continue;
        }
        if (pending) target.handleEvent(*pending, EventType::mouseMotion);
        return target.handleEvent(event.event, event.type);
    }
}

void mainLoop(LoopTarget& target, const IdleStep& idle) {
    for (;;) {
        if (mltSDL_PollEvent() != 1) {
            target.updateScreen();
            target.whenIdle();
            if (idle) idle();
            if (mltSDL_WaitEvent() != 1) {
                target.updateScreen();
                continue;
            }
        }
        if (dispatchEvent(target, std::nullopt, InputEvents::translateEvent()) == 0) break;
        target.updateScreen();
    }
    target.shutDown();
}

}  // namespace zil::DemoApp
