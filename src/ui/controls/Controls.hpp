#pragma once
// Adding controls of the nineteen kinds. Controls::addControl allocates the
// control in the tree and runs its kind's set-up, in this order: the kind's
// own attributes with their defaults (then, for the drawn kinds, the look's
// attributes, fonts and bitmaps), the children the kind makes itself, its
// callbacks and links, its input handlers, and its drawing item and kind
// state; the four attributes every control has come last.
//
// Every control of kinds 1 to 19 keeps a KindState: the cells its input
// rules and the application work on (ControlCells) and what it gives back
// when it is destroyed. A failing set-up stops where it failed and passes
// the failure on; the control stays in the table, and destroying it gives
// back what its set-up took.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "render/ColorRGB.hpp"
#include "shell/IRect2D.hpp"
#include "ui/base/ControlResources.hpp"
#include "ui/base/IdCell.hpp"
#include "ui/base/PointerActions.hpp"
#include "ui/base/UIAttributes.hpp"
#include "ui/tree/ControlTree.hpp"
#include "ui/tree/HandlerTables.hpp"
#include "ui/tree/UIControl.hpp"

namespace zil {

class RenderPreview;
class UIContext;
struct ScrollRecord;

enum class ControlKindTag : std::int32_t {
    TopLevelWindow = 0,
    TextLabel = 1,
    ImportantTextLabel = 2,
    CheckBox = 3,
    ButtonView = 4,
    HorizScrollBar = 5,
    TabBook = 6,
    FieldTabulator = 7,
    VertScrollArea = 8,  // with a frame child holding a vertical bar
    Frame = 9,           // keeps its first child inset by 2
    VertScrollBar = 10,
    SelectionStrings = 11,
    TabBookPage = 12,
    TabIndex = 13,
    PushAction = 14,
    ImageButton = 15,
    TextEdit = 16,
    ControlFrame = 17,
    Window = 18,  // popup window or dialog
    DemoPage = 19,
};

using ObservedStrings = ObservedArray<std::string>;
using ObservedFlags = ObservedArray<std::int32_t>;

// The state of a control that its input rules and the application reach
// without going through the attribute table; null where the kind has none.
// The observed values are the very ones registered as attributes.
struct ControlCells {
    ControlKindTag kind{};
    IdCell self;
    std::shared_ptr<ObservedString> text;     // "text": labels, check box, buttons, text edit
    std::shared_ptr<ObservedInt> checked;     // "ischecked"
    std::shared_ptr<ObservedInt> isPressed;   // "ispressed": button view, image button
    // "barpos", "barsize", "barrange": the scroll bars; a scroll area holds
    // its own bar's.
    std::shared_ptr<ObservedInt> barPos, barSize, barRange;
    // "strings" (selection strings), "tabs" (tab index), "controlnames"
    // (field tabulator).
    std::shared_ptr<ObservedStrings> items;
    std::shared_ptr<ObservedFlags> selectable;  // "selectableitems", one flag per string
    // "selectedtabindex" (tab book, tab index), "tabindex" (tab-book page).
    std::shared_ptr<ObservedInt> selected;
    std::shared_ptr<ObservedInt> cursor, extent;  // "cursorchar", "cursorcharextent"
    std::shared_ptr<PlainList> onClick;            // "onclick" of a push action
    std::shared_ptr<Attr::NUIControlID::Value> control;  // "control": push action, control frame
    IdCell scrollBar;                          // a scroll area's bar
    std::shared_ptr<const ScrollRecord> scroll;  // a scroll area's, shared with its callbacks
    // 1 while a mouse button is held on the control (check box, buttons,
    // bars, text edit).
    IntCell pressed;
    // Further cells of the input rules, each 0: buttons 2; bars 3; text
    // edits 3, the first the text's scroll offset; tab indexes 2, the
    // highlight flag and the highlighted tab; a frame 1, its space latch.
    std::vector<IntCell> cells;
    std::shared_ptr<RenderPreview> preview;  // the demo page's
    // Entries kept outside the control's own slots (the field tabulator's
    // key handler in slot 0), taken off when the control is destroyed.
    std::vector<Registration> registrations;
};

class KindState final : public ControlKindState {
public:
    ControlCells cells;
    ControlResources resources;  // fonts, look bitmaps, rendering context
    // Emptied at release when it still names this control.
    std::shared_ptr<IdCell> publishedIn;

    // Takes off the registrations, empties the published cell, gives the
    // resources back (failures as ControlResources::release's).
    void release(ControlTree& tree) override;
};

namespace Controls {

// The colour of the look's second font where a kind takes one (check box,
// button, tab index, text edit): the look's light grey, which reads on the
// darker greys of the button, check box and tab bitmaps.
inline constexpr ColorRGB secondFontColour{0.75, 0.75, 0.75};

// Adds one control of `kind` under `parent` (null for none) and returns its
// ID cell. Kind 0 is a top-level window (TopLevelWindowKind).
IdCell addControl(UIContext& ctx, const IdCell& parent, ControlKindTag kind, const IRect2D& box,
                  std::int32_t visible);

// The demo page (kind 19): the 3-D preview of the subdivided cube with its
// four values "zoom", "cornersharpness", "yellowedgesharpness" and
// "blueedgesharpness".
IdCell newDemoPageControl(UIContext& ctx, const IdCell& parent, const IRect2D& box, std::int32_t visible);

// The cells of the control, null when it has no KindState (a top-level
// window). Lookup failures as ControlTree::lookup's.
const ControlCells* cellsOf(const ControlTree& tree, const IdCell& id);

}  // namespace Controls
}  // namespace zil
