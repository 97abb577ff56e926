#pragma once
// The input side of a control's set-up: the key and mouse handler records
// that its kind puts into the input tables, after its callbacks and links.
// Each record goes in front of the list at the control's own slot (slot 0
// for handlers that see every key, such as the field tabulator's); records
// kept anywhere else go to cells.registrations, so that they come off when
// the control is destroyed.
#include <array>

#include "ui/base/PointerActions.hpp"
#include "ui/tree/ControlRefLinks.hpp"
#include "ui/tree/HandlerTables.hpp"

namespace zil {

struct ControlCells;
class UIContext;

namespace ControlInput {

// Installs the key and mouse handlers of the control `cells` describes.
void installHandlers(UIContext& ctx, ControlCells& cells);

// What a push action keeps at the slots of the control its "control"
// attribute names, moved along when the attribute changes: its "onclick"
// for a click on that control, and a repaint of the action itself after
// that control's focus moves (flag links, losing and gaining hooks).
std::array<ControlRefLinks::Placement, 4> pushActionPlacements(UIContext& ctx, const ControlCells& action);

// Space sets the cell to 1; any other key clears it when it is set.
KeyDownList::Callback spaceLatchKey(IntCell latch);

// Space let go clears the cell when it is set; other keys leave it.
KeyUpList::Callback spaceReleaseKey(IntCell latch);

}  // namespace ControlInput
}  // namespace zil
