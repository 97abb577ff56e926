#pragma once
// The keyboard and mouse rules of the controls: each function makes one
// handler for the key or mouse tables, or for a control's press and release
// actions, holding the cells it works on. Key handlers see every key the
// focused control gets and decide themselves whether they act; mouse rules
// get the pointer in the control's coordinates. State changes go through
// ObservedValue::set, so an unchanged value delivers nothing.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "shell/OutStream.hpp"
#include "ui/base/IdCell.hpp"
#include "ui/base/PointerActions.hpp"
#include "ui/controls/TextFieldEdits.hpp"
#include "ui/tree/FocusChange.hpp"
#include "ui/tree/HandlerTables.hpp"
#include "ui/tree/UIControl.hpp"

namespace zil {

class ControlTree;
class RenderPreview;

namespace Keys {
inline constexpr std::int32_t backspace = 8, tab = 9, space = 32, c = 99, v = 118, x = 120;
inline constexpr std::int32_t up = 273, down = 274, right = 275, left = 276;
inline constexpr std::int32_t shiftMask = 3, ctrlMask = 192;
}  // namespace Keys

namespace InputRules {

// v clamped to [0, limit] where limit = range - size; a limit below 0 wins
// (a bar larger than its range sits at it).
std::int32_t clampBarPosition(std::int64_t v, std::int32_t range, std::int32_t size);

// i clamped to [0, count - 1]; count - 1 wins, so with no items it is -1
// (nothing selected).
std::int32_t clampIndex(std::int64_t i, std::int32_t count);

// The item under x of `count` items side by side in `width` pixels.
std::int32_t itemUnder(std::int32_t x, std::int32_t width, std::int32_t count);

// A button: pressed while Space is held on it (keyPress) or while a mouse
// button went down on it (mousePress) and the pointer is inside it.
struct ButtonState {
    IdCell self;
    std::shared_ptr<ObservedInt> isPressed;  // "ispressed"
    IntCell keyPress;
    IntCell mousePress;
    std::shared_ptr<ControlHookTable> clicks;
};
std::int32_t pressLook(const ControlTree& tree, const ButtonState& b, Point p);

struct BarState {
    bool horizontal = false;
    std::shared_ptr<ObservedInt> pos, size, range;  // "barpos", "barsize", "barrange"
    IntCell pressed;                                 // set while a mouse button is held on it
    IntCell start, startPos;                         // where the drag began
};

struct ListState {
    IdCell self;
    std::shared_ptr<ObservedArray<std::string>> items;
    std::shared_ptr<ObservedArray<std::int32_t>> flags;  // one per item
    std::function<std::int32_t()> lineHeight;
    IntCell anchor;  // the row clicked last, -1 when none
};

// --- Key-down handlers ---

// Left and Right step the index within [0, count - 1]; without items that
// is -1.
KeyDownList::Callback indexStepKeys(std::shared_ptr<ObservedInt> index, std::function<std::int32_t()> count);
// Left and Right (Up and Down for a vertical bar) by half the bar's size.
KeyDownList::Callback barKeys(BarState bar);
// Space presses the button; any other key lets it go.
KeyDownList::Callback pressKey(const ControlTree& tree, ButtonState b);
// Space toggles the check box.
KeyDownList::Callback toggleKey(std::shared_ptr<ObservedInt> checked);
// Left, Right, Backspace and typed characters (bytes with a printable
// glyph), none while Ctrl is held.
KeyDownList::Callback textEditKeys(ControlTree& tree, TextField f);
// Ctrl+C copies the selection, Ctrl+X cuts it, Ctrl+V pastes at the cursor.
KeyDownList::Callback clipboardKeys(ControlTree& tree, TextField f, std::shared_ptr<std::string> clipboard);
// Tab and Shift+Tab move the focus to the control named after (before) the
// focused one, or one of its ancestors, in `names`, searched from the
// tabulator's window; hidden controls are not found. A failure on the way
// ends the step quietly.
KeyDownList::Callback fieldTabKey(const ControlTree& tree, FocusState& focus, IdCell tabulator,
                                  std::shared_ptr<ObservedArray<std::string>> names);

// --- Key-up handlers ---

// Space let go on a button pressed with it: released, and clicked.
KeyUpList::Callback releasePressKey(const ControlTree& tree, ButtonState b);

// --- Mouse rules: press (p), motion (m) and release (r) lists ---

// p: the button takes the focus and shows pressed.
MouseList::Callback buttonPress(const ControlTree& tree, FocusState& focus, ButtonState b);
// m: pressed while the pointer is inside, released outside.
MouseList::Callback buttonTrack(const ControlTree& tree, ButtonState b);
// r: released; clicked when the pointer is still inside.
MouseList::Callback buttonRelease(const ControlTree& tree, ButtonState b);
// p: the check box takes the focus and toggles.
MouseList::Callback checkBoxPress(FocusState& focus, IdCell self, std::shared_ptr<ObservedInt> checked);
// p: the bar takes the focus; the drag starts wherever it is pressed.
MouseList::Callback barPress(FocusState& focus, IdCell self, BarState bar);
// m: the bar position follows the pointer from the drag's start, clamped.
MouseList::Callback barDrag(BarState bar);
// p: the tab index takes the focus and selects the tab under the pointer
// (-1 when it has no tabs).
MouseList::Callback tabPress(const ControlTree& tree, FocusState& focus, IdCell self,
                             std::shared_ptr<ObservedArray<std::string>> tabs, std::shared_ptr<ObservedInt> selected);
// p: the list takes the focus; a click selects the row under the pointer
// alone, with Shift the rows from the last clicked one to it as well, with
// Ctrl toggles it.
MouseList::Callback listPress(FocusState& focus, ListState list);
// p: the text field takes the focus and places its cursor.
MouseList::Callback textPress(FocusState& focus, TextField f);
// m: while pressed, selects from the press to the pointer.
MouseList::Callback textDrag(ControlTree& tree, TextField f, IntCell pressed);
// p, m, r: a drag over the preview turns its object by the motion, and
// repaints the preview.
MouseList::Callback previewPress(IntCell dragging);
MouseList::Callback previewDrag(ControlTree& tree, IdCell page, std::shared_ptr<RenderPreview> preview,
                                IntCell dragging, OutStream& report);
MouseList::Callback previewRelease(IntCell dragging);
// The control's box moves the least that puts the point inside it, its
// size kept: a point x < 0 moves it x to the left, x > w moves it x - w to
// the right (x = w counts as inside), and y likewise. No class installs it.
MouseList::Callback followPoint(ControlTree& tree, IdCell control);

}  // namespace InputRules
}  // namespace zil
