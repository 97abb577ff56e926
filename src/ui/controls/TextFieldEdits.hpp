#pragma once
// The editing steps of a text edit, shared by its key and mouse rules.
//
// Every step takes the cursor and the selection (cursor .. cursor + extent,
// the extent negative for a selection before the cursor) clamped into the
// text, so a position written from the description or left by a text that
// shrank never reads outside it. A step that shortens the text moves the
// cursor and clears the selection first: the text's own lists then see a
// range inside the new text.
//
// The text is drawn from x = 4 + scroll. The steps that move the cursor
// scroll only when it leaves the field (4 .. width - 5), and such a scroll
// goes no further than the text's end needs. Otherwise the scroll stays:
// deleting at the end of a scrolled text leaves an empty strip after it.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "ui/base/IdCell.hpp"
#include "ui/base/PointerActions.hpp"
#include "ui/base/PointerPosition.hpp"
#include "ui/tree/UIControl.hpp"

namespace zil {

class ControlTree;

struct TextField {
    IdCell self;
    std::shared_ptr<ObservedString> text;
    std::shared_ptr<ObservedInt> cursor;  // "cursorchar"
    std::shared_ptr<ObservedInt> extent;  // "cursorcharextent"
    IntCell scroll;
    IntCell anchor;  // the boundary where the pointer went down
    // The width of a piece of text in the field's font.
    std::function<std::int32_t(std::string_view)> measure;
};

namespace TextFieldEdits {

// The selected range, clamped into the text; from == to when none.
struct Range {
    std::int32_t from = 0;
    std::int32_t to = 0;
};
Range selection(const TextField& f);

// The selected text.
std::string copy(const TextField& f);

// Deletes the selection, leaving the cursor at its start; false when there
// was none.
bool deleteSelection(const TextField& f);

// Deletes the selection if there is one, else the character before the
// cursor; keeps the cursor in view.
void backspace(ControlTree& tree, const TextField& f);

// Types `s` at the cursor, replacing the selection when `replace` is set
// (a paste keeps it), and puts the cursor after it; keeps it in view.
void insert(ControlTree& tree, const TextField& f, std::string_view s, bool replace);

// Moves the cursor to `to` (clamped into the text), clearing the selection.
void moveCursor(ControlTree& tree, const TextField& f, std::int64_t to);

// Scrolls so that the cursor is inside the field, by the width of the
// character before it at least. Nothing once the field is destroyed.
void keepCursorInView(ControlTree& tree, const TextField& f);

// The pointer went down at `p` in the field: the cursor goes to the
// boundary under it, which becomes the anchor; the selection is cleared.
void placeCursor(const TextField& f, Point p);

// The pointer, held down, is at `p`: the selection runs from the anchor to
// the boundary under it, the cursor at its start; the text scrolls by half
// the field when that boundary is outside.
void dragSelect(ControlTree& tree, const TextField& f, Point p);

}  // namespace TextFieldEdits
}  // namespace zil
