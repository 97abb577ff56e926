#include "shell/InputEvent.hpp"

#include "glue/SDLFuncs.hpp"

namespace zil::InputEvents {

namespace {

// A sum of relative motions wraps instead of overflowing.
std::int32_t wrappingSum(std::int32_t a, std::int32_t b) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b));
}

// Left, middle and right. Every other button is a wheel's notch (4 and 5
// up and down, 6 and 7 sideways on X11) or an extra button: it must click
// nothing.
bool isClick(int button) { return button >= 1 && button <= 3; }

}  // namespace

TypedEvent translateEvent() {
    const int type = mltSDL_GetEventType();
    switch (type) {
        case EventType::keyDown:
        case EventType::keyUp:
            return {KeyEvent{mltSDL_GetKeyboard_KeySymMod(), mltSDL_GetKeyboard_KeySymKey(),
                             mltSDL_GetKeyboard_KeySymUnicode()},
                    type};
        case EventType::mouseMotion:
            return {MotionRecord{mltSDL_GetMouseMotion_X(), mltSDL_GetMouseMotion_Y(), mltSDL_GetMouseMotion_XRel(),
                                 mltSDL_GetMouseMotion_YRel(), mltSDL_GetMouseMotion_Which()},
                    type};
        case EventType::buttonDown:
        case EventType::buttonUp:
            if (!isClick(mltSDL_GetMouseButton_Button())) return {OtherEvent{}, type};
            return {MouseButton{mltSDL_GetMouseButton_X(), mltSDL_GetMouseButton_Y()}, type};
        case EventType::quit:
            return {QuitEvent{}, type};
        default:
            return {OtherEvent{}, type};
    }
}

MotionRecord mergeMotion(const std::optional<MotionRecord>& pending, const MotionRecord& motion) {
    if (!pending) return motion;
    MotionRecord m = motion;
    m.xrel = wrappingSum(pending->xrel, motion.xrel);
    m.yrel = wrappingSum(pending->yrel, motion.yrel);
    return m;
}

}  // namespace zil::InputEvents
