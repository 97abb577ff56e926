#include "ui/controls/ControlInput.hpp"

#include <utility>

#include "ui/controls/Controls.hpp"

namespace zil::ControlInput {

namespace {
constexpr std::int32_t kSpace = 32;
}  // namespace

void installHandlers(UIContext&, ControlCells&) {
    // The keyboard and mouse rules of each kind register here.
}

std::vector<ControlRefLinks::Placement> pushActionPlacements(UIContext&, const ControlCells&) { return {}; }

KeyDownList::Callback spaceLatchKey(IntCell latch) {
    return [latch = std::move(latch)](const KeyPress& key) {
        if (key.sym == kSpace)
            *latch = 1;
        else if (*latch != 0)
            *latch = 0;
    };
}

}  // namespace zil::ControlInput
