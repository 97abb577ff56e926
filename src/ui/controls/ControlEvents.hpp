#pragma once
// Delivery of input events to the controls.
//
// Keys go to the focused control: the key handlers of slot 0, then the
// control's own (slot 0 alone once the focused control is destroyed); with
// no focused control, to none.
//
// The pointer takes one path:
// - a button press goes to the control that holds the pointer grab, else to
//   the control picked under the pointer (below), which takes the grab and
//   runs its press actions;
// - a motion goes to the grab holder's mouse handlers, in its coordinates
//   wherever the pointer is, so a drag goes on past the control's edge; with
//   no grab, to the mouse handlers of the controls the pointer has entered
//   or left since the last motion;
// - a release goes to the grab holder, else to the control picked under the
//   pointer, which runs its release actions; then the grab is free.
// A grab whose control is destroyed counts as none.
//
// The pick walks the controls breadth-first from the top-level windows,
// queueing a child when it is visible and its box holds the pointer; the
// last control queued wins (a deeper one over its ancestors, a later
// sibling over an earlier one). Top-level windows are queued whatever their
// state; one wins only when no child was queued and it is visible and holds
// the pointer, the last such one.
//
// A control's actions are those of slot 0 of the store, then its own; then,
// unless they destroyed the control, those of each of its linked controls
// (UIControl::links) in turn, with the control's own pointer position.
#include <cstdint>
#include <optional>
#include <vector>

#include "shell/InputEvent.hpp"
#include "ui/base/IdCell.hpp"
#include "ui/base/PointerActions.hpp"
#include "ui/tree/FocusChange.hpp"
#include "ui/tree/HandlerTables.hpp"

namespace zil {

class ControlTree;
class UIContext;

// The toolkit state that delivery works on, and the pointer's own state:
// the grab and the controls under the pointer at the last motion. One per
// user interface; the tree, focus and tables it names must outlive it.
class ControlEventTables {
public:
    ControlEventTables(ControlTree& tree, FocusState& focus, HandlerTables& handlers,
                       PointerActionStores& pointerActions);
    explicit ControlEventTables(UIContext& ctx);
    ControlEventTables(const ControlEventTables&) = delete;
    ControlEventTables& operator=(const ControlEventTables&) = delete;

    ControlTree& tree;
    FocusState& focus;
    HandlerTables& handlers;
    PointerActionStores& pointerActions;

private:
    friend struct PointerPath;
    IdCell grab_;
    std::vector<IdCell> under_;  // at the last motion, by ascending ID
};

namespace Controls {

// Delivers one event of SDL type `type`: 0 for the quit event (12), 1 for
// every other, whether or not anything took it. An event that does not
// match its type is ignored. Exceptions of handlers and look-ups pass out.
int handleEvent(const InputEvent& event, int type, ControlEventTables& tables);

// The control the pick finds under the window point, with the point in
// its coordinates; none when no control holds it.
struct Picked {
    IdCell control;
    Point local;
};
std::optional<Picked> pickControl(const ControlTree& tree, AttributeStore<std::int32_t>& marks, Point window);

// Runs the control's actions from `store` (see above).
void runPointerActions(const ControlTree& tree, const PointerActionStore& store, const IdCell& control,
                       const PointerAt& pointer);

}  // namespace Controls
}  // namespace zil
