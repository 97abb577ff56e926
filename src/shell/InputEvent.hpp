#pragma once
// The input events that the event loop hands to the toolkit, translated from
// the SDL 1.2 event that the glue's event buffer holds. An event always
// travels with its SDL type code, which alone tells key down (2) from key up
// (3) and button down (5) from button up (6). Any button but 1 to 3 (a
// wheel notch, which SDL reports as a press and release of button 4 or 5,
// or 6 or 7 sideways) is an OtherEvent with the button's type code, which
// the toolkit ignores.
#include <cstdint>
#include <optional>
#include <utility>
#include <variant>

namespace zil {

namespace EventType {
inline constexpr int keyDown = 2;
inline constexpr int keyUp = 3;
inline constexpr int mouseMotion = 4;
inline constexpr int buttonDown = 5;
inline constexpr int buttonUp = 6;
inline constexpr int quit = 12;
}  // namespace EventType

struct KeyEvent {
    std::int32_t modifiers = 0;  // SDL modifier bits: Shift 3, Ctrl 192
    std::int32_t sym = 0;        // SDL key sym
    std::int32_t unicode = 0;    // 16-bit character, 0 when none
    friend bool operator==(const KeyEvent&, const KeyEvent&) = default;
};

struct MotionRecord {
    std::int32_t x = 0, y = 0;        // window position, 0..65535
    std::int32_t xrel = 0, yrel = 0;  // relative motion, -32768..32767
    std::int32_t which = 0;           // mouse device, 0..255
    friend bool operator==(const MotionRecord&, const MotionRecord&) = default;
};

// Mouse button 1, 2 or 3: only the position is kept.
struct MouseButton {
    std::int32_t x = 0, y = 0;
    friend bool operator==(const MouseButton&, const MouseButton&) = default;
};

struct QuitEvent {
    friend bool operator==(const QuitEvent&, const QuitEvent&) = default;
};
struct OtherEvent {
    friend bool operator==(const OtherEvent&, const OtherEvent&) = default;
};

using InputEvent = std::variant<KeyEvent, MotionRecord, MouseButton, QuitEvent, OtherEvent>;

// An event with its type code.
struct TypedEvent {
    InputEvent event;
    int type = 0;
};

namespace InputEvents {

// The event that the last successful mltSDL_PollEvent or mltSDL_WaitEvent
// stored, read through the glue's getters.
TypedEvent translateEvent();

// One motion standing for a pending one followed by `motion`: the later
// position and device, the relative motions summed (wrapping at 32 bits).
// With nothing pending, `motion` itself.
MotionRecord mergeMotion(const std::optional<MotionRecord>& pending, const MotionRecord& motion);

}  // namespace InputEvents
}  // namespace zil
