#pragma once
// Callbacks that act on the shape of the control tree rather than on one
// value: the path kinds, which run a hook table's callbacks for every
// control from the top-level control down to a given one; the sibling links
// and raise of a scroll area's contents; and the repaint links every
// control gets when it is added.
//
// Each maker returns a plain callback (context: a control's ID cell) to push
// onto a plain list: a children array's lists, a hook table slot, or a
// focus table. The callbacks keep a pointer to the tree, which must outlive
// them.
#include <cstdint>
#include <memory>
#include <vector>

#include "ui/base/IdCell.hpp"
#include "ui/base/ObservedValue.hpp"
#include "ui/tree/HandlerTables.hpp"
#include "ui/tree/UIControl.hpp"

namespace zil {

class ControlTree;
struct ScrollRecord;

// A path: ID cells from the top-level control down to a control.
using ControlPath = std::vector<IdCell>;

namespace TreeCallbacks {

// The path of `control`, top-level control first and `control` last. Every
// control on it is looked up, `control` first, so a destroyed one raises
// ControlDestroyed before anything else happens.
ControlPath pathOf(const ControlTree& tree, const IdCell& control);

// For every control p on the path of `control`, top-level first: the
// callbacks of `hooks` for p, with context p, all of p's before the next.
void runAlongPath(const ControlTree& tree, const ControlHookTable& hooks, const IdCell& control);

// The path callbacks of the delivered control.
PlainList::Callback notifyAlongPath(ControlTree& tree, std::shared_ptr<ControlHookTable> hooks);

// Empties `path` (the cell that a recordPathAndNotify fills), then the path
// callbacks.
PlainList::Callback resetAndNotifyAlongPath(ControlTree& tree, std::shared_ptr<ControlHookTable> hooks,
                                            std::shared_ptr<ControlPath> path);

// Stores the delivered control's path in `path`, then the path callbacks.
PlainList::Callback recordPathAndNotify(ControlTree& tree, std::shared_ptr<ControlHookTable> hooks,
                                        std::shared_ptr<ControlPath> path);

// Moves `self` to the last place among its parent's children (drawn last),
// by swapping it with each follower through writeAt; the followers keep
// their order. Nothing when it is last already or not among them. A
// top-level control raises ControlDestroyed (it has no parent).
void raise(ControlTree& tree, const IdCell& self);

// For the group control G and its child S: every other child of G gets, on
// the onChanged list of its box, the scroll range link of `scroll`, and G in
// its links list; then S is raised. Each child gets its link and its entry
// once, however often the callback runs. The callback may sit on G's own
// children array, whose changes (the raise's included) deliver it again:
// a delivery that arrives while it runs does nothing.
PlainList::Callback linkSiblingsAndRaise(ControlTree& tree, IdCell group, IdCell self,
                                         std::shared_ptr<const ScrollRecord> scroll);

// Makes the control repaint itself when it is shown or hidden and before and
// after its box changes, then repaints it once now. Adding a control runs
// this for it once its attributes are registered.
void attachRepaintLinks(ControlTree& tree, const IdCell& control);

}  // namespace TreeCallbacks
}  // namespace zil
