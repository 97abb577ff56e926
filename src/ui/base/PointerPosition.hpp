#pragma once
// Where the pointer is, as the controls' mouse rules see it.
#include <cstdint>

namespace zil {

struct Point {
    std::int32_t x = 0;
    std::int32_t y = 0;
    friend constexpr bool operator==(const Point&, const Point&) = default;
};

// The pointer as a control's mouse handlers see it.
struct PointerAt {
    Point local;   // in the control's coordinates
    Point window;  // as the event gave it
    Point motion{};  // a motion's relative motion; (0, 0) for a button
};

}  // namespace zil
