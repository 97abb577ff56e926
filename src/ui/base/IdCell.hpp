#pragma once
// Control IDs and the cells that hold them. A control's own ID cell is
// shared by reference with its children (as their parent cell) and with every
// target that refers to the control; destroying the control sets the cell to
// 0, so every holder sees the destruction at once.
#include <cstdint>
#include <memory>

namespace zil {

// Index of a control in the control table; 0 means no control.
using UIControlID = std::int32_t;

// A mutable cell holding a UIControlID, shared by reference.
using IdCell = std::shared_ptr<UIControlID>;

inline IdCell makeIdCell(UIControlID id = 0) { return std::make_shared<UIControlID>(id); }

// The ID a cell holds; a missing cell names no control.
inline UIControlID idOf(const IdCell& cell) { return cell ? *cell : 0; }

// Two references are equal when they name the same control, whatever cells
// hold the IDs.
struct SameControlId {
    bool operator()(const IdCell& a, const IdCell& b) const { return idOf(a) == idOf(b); }
};

}  // namespace zil
