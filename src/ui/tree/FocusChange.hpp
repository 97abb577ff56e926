#pragma once
// The keyboard focus: at most one control has it. FocusState holds the cell
// naming that control and six per-control tables of what happens when a
// control loses or gains it: hook callbacks (context: the control's ID cell)
// and focus-flag links (ControlMessages receiving 0 on losing, 1 on
// gaining), each run before and after the cell changes.
//
// Losing and gaining take five steps each: hooks before, flags before, the
// cell, hooks after, flags after. Before the cell changes a failure passes
// to the caller; after it a failing step ends, its failure is dropped, and
// the next step runs. The UI context owns the one FocusState; it refers to
// the tree, whose registry its tables are made in (with the other
// per-control stores, in their fixed order) before they are handed to it.
#include <cstdint>
#include <memory>

#include "ui/base/IdCell.hpp"
#include "ui/base/ObservedValue.hpp"
#include "ui/tree/ControlMessages.hpp"
#include "ui/tree/HandlerTables.hpp"
#include "ui/tree/UIControl.hpp"

namespace zil {

class ControlTree;
class FocusState;

namespace ControlMessages {
void clearFocus(FocusState& state);
void gainFocus(const IdCell& next, FocusState& state);
}  // namespace ControlMessages

// The six tables of a FocusState. Flags: 0 to a control losing the focus,
// 1 to one gaining it.
struct FocusTables {
    std::shared_ptr<LinkTable> linksBefore;
    std::shared_ptr<LinkTable> linksAfter;
    std::shared_ptr<ControlHookTable> blurHooksBefore;
    std::shared_ptr<ControlHookTable> blurHooksAfter;
    std::shared_ptr<ControlHookTable> focusHooksBefore;
    std::shared_ptr<ControlHookTable> focusHooksAfter;
};

class FocusState : public FocusTables {
public:
    FocusState(ControlTree& tree, const FocusTables& tables);
    FocusState(const FocusState&) = delete;
    FocusState& operator=(const FocusState&) = delete;

    ControlTree& tree() const { return *tree_; }

    // The focused control's own ID cell; null when none. Destroying the
    // focused control takes the focus with it: its cell, now 0, is not
    // handed out, and losing the focus runs nothing for it.
    IdCell focused() const { return idOf(focused_) != 0 ? focused_ : nullptr; }
    // The cell keys are delivered with: the focused control's, still held
    // after its destruction (then ID 0, so only slot 0's handlers take them).
    const IdCell& keyTarget() const { return focused_; }

private:
    // The only writers of the cell.
    friend void ControlMessages::clearFocus(FocusState&);
    friend void ControlMessages::gainFocus(const IdCell&, FocusState&);

    ControlTree* tree_;
    IdCell focused_;
};

namespace ControlMessages {

// True when the focus names a control with the ID `control` holds (not 0).
bool isFocused(const FocusState& state, const IdCell& control);

// Moves the focus to `next`: nothing when the focused control has its ID
// already; otherwise clearFocus, then the gaining steps. A null cell only
// clears the focus.
void changeCurrent(const IdCell& next, FocusState& state);

// Takes the focus away from the focused control, if any.
void clearFocus(FocusState& state);

// The gaining steps alone; changeCurrent calls it after clearFocus.
void gainFocus(const IdCell& next, FocusState& state);

}  // namespace ControlMessages

// The focus steps as list entries; each holds a pointer to the state, which
// must outlive it.
namespace FocusChange {

// Per control, a count kept in a per-control store.
using StepStore = AttributeStore<std::int64_t>;

// The entries that every control's focus steps run first (slot 0 of each
// table): for the control, `steps` counts one more step and `last` keeps
// that count, so that `last` tells when, in the control's own history,
// its table last ran. ID 0 is no control: nothing is kept.
PlainList::Callback recordHookStep(std::shared_ptr<StepStore> steps, std::shared_ptr<StepStore> last);
IntList::Callback recordLinkStep(std::shared_ptr<StepStore> steps, std::shared_ptr<StepStore> last);

// Plain entry: the delivered control's first child, if any, takes the focus.
PlainList::Callback focusFirstChild(FocusState& state);

// String entry for a text control's text: when the new text is shorter than
// cursor + extent and the control has the focus, the focus is cleared.
StringList::Callback clearFocusOnShortText(FocusState& state, IdCell control, std::shared_ptr<ObservedInt> cursor,
                                           std::shared_ptr<ObservedInt> extent);

// Mouse handler: the list takes the focus (unless it has it), then
// `select` runs; a failing focus change skips the selection.
MouseList::Callback focusAndSelectItem(FocusState& state, IdCell list, MouseList::Callback select);

}  // namespace FocusChange
}  // namespace zil
