#pragma once
// The controls' reactions to the mouse buttons: small action values kept in
// per-control lists, one store of lists run when a button goes down over a
// control and one when it comes up. Slot 0 of a store holds the actions that
// apply to every control. Lists run from the front; new actions go there.
//
// Here are the stores, the two actions of a control's state cell (press
// sets it to 1, release to 0, and either repaints the control) and the one
// that keeps count of a control's releases. The input rules put theirs in
// as PointerRule.
#include <cstdint>
#include <functional>
#include <memory>
#include <variant>
#include <vector>

#include "ui/base/AttributeStores.hpp"
#include "ui/base/IdCell.hpp"
#include "ui/base/ObservedValue.hpp"
#include "ui/base/PointerPosition.hpp"

namespace zil {

// A plain integer cell, shared by reference.
using IntCell = std::shared_ptr<std::int32_t>;

// Asks for the whole area of the control to be redrawn. The control tree
// makes it; nothing below the tree can reach the dirty rectangles.
using RepaintRequest = std::function<void(const IdCell& control)>;

// cell := 1, then the control is repainted.
struct SetCellAndRepaint {
    IntCell cell;
    RepaintRequest repaint;
    IdCell control;
};

// cell := 0, then the control is repainted.
struct ClearCellAndRepaint {
    IntCell cell;
    RepaintRequest repaint;
    IdCell control;
};

// A rule of the control's input code, run with the pointer.
struct PointerRule {
    std::function<void(const PointerAt&)> run;
};

// Per control (the one the action runs for; none for ID 0): one more in
// `count`, and the pointer in its coordinates in `at`.
struct RecordRelease {
    std::shared_ptr<AttributeStore<std::int64_t>> count;
    std::shared_ptr<AttributeStore<Point>> at;
};

using PointerAction = std::variant<SetCellAndRepaint, ClearCellAndRepaint, PointerRule, RecordRelease>;

struct PointerActionEntry {
    PointerAction action;
    IdentityKey key;  // names the entry for its removal
};
using PointerActionList = std::vector<PointerActionEntry>;  // run front first
using PointerActionStore = AttributeStore<PointerActionList>;

// The two stores, made in the registry (with the other per-control stores,
// in their fixed order) so that they grow with the control table and lose a
// destroyed control's slot.
struct PointerActionStores {
    std::shared_ptr<PointerActionStore> press;    // a button goes down
    std::shared_ptr<PointerActionStore> release;  // a button comes up
};

// Puts the action in front of the control's list under a fresh key and
// returns the key. An ID outside the store raises Subscript.
IdentityKey pushPointerAction(PointerActionStore& store, UIControlID id, PointerAction action);

// Runs one action of `control`'s run with the pointer.
void runPointerAction(const PointerAction& action, const PointerAt& pointer = {}, const IdCell& control = nullptr);

// A fresh cell holding 0 that a press over the control sets to 1 and a
// release sets to 0, each repainting the control: its actions go in front of
// the control's lists in both stores (Subscript for an ID outside them).
IntCell makeControlStateCell(PointerActionStores& stores, const RepaintRequest& repaint, const IdCell& control);

}  // namespace zil
