#pragma once
// What a control draws and the one painter that draws every control.
//
// A ControlLook is the drawing item of a control, kinds 1 to 16, made once
// by the control's set-up. It holds views of the control's cells, not
// copies, so each redraw shows the values as they are then. The redraw of
// the control tree calls drawControlItems (through makeControlPainter) for
// every control it repaints; the tree itself knows nothing of drawing.
#include <SDL.h>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <variant>

#include "shell/DynArray.hpp"
#include "shell/IRect2D.hpp"
#include "ui/base/IdCell.hpp"
#include "ui/base/ItemPainters.hpp"
#include "ui/base/ObservedValue.hpp"
#include "ui/tree/TopLevelControls.hpp"
#include "ui/tree/UIControl.hpp"

namespace zil {

class ControlTree;
class ImageCell;
class RenderPreview;
class SDLBitmapFont;

// A read-only view of a value that lives elsewhere: an observed value's,
// an observed array's items or a plain cell. It keeps its holder alive.
template <class T>
using View = std::shared_ptr<const T>;

template <class T, class Eq>
View<T> viewOf(const std::shared_ptr<ObservedValue<T, Eq>>& v) {
    return View<T>(v, &v->value());
}
template <class T>
View<DynArray<T>> viewOf(const std::shared_ptr<ObservedArray<T>>& a) {
    return View<DynArray<T>>(a, &a->items());
}
template <class T>
View<T> viewOf(const std::shared_ptr<T>& cell) {
    return cell;
}

using Font = std::shared_ptr<SDLBitmapFont>;

// The drawing kinds; the numbers are the items' tags.
enum class LookKind : std::int32_t {
    TextLabel = 1,           // Look::Text
    ImportantTextLabel = 2,  // Look::Text
    CheckBox = 3,            // Look::CheckBox
    Button = 4,              // Look::Button
    HorizBar = 5,            // Look::Bar
    PlainFace = 6,           // Look::Face
    Frame = 7,               // Look::Face: marked when its first child has the focus
    VertBar = 8,             // Look::Bar
    SelectionStrings = 9,    // Look::List
    TabBookPage = 10,        // Look::Face
    TabIndex = 11,           // Look::TabIndex
    ImageButton = 12,        // Look::ImageButton
    TextEdit = 13,           // Look::TextEdit
    ControlFrame = 14,       // Look::ControlFrame
    Window = 15,             // Look::Face
    Preview = 16,            // Look::Preview
};

// What each kind reads when it is drawn. Integers are shown as non-zero or
// zero where a flag is meant. Every field must be set.
namespace Look {

struct Text {
    View<std::string> text;
    Font font;  // text at (0, 0)
};
struct CheckBox {
    View<std::int32_t> checked;            // picks boxes[0] when set, else boxes[1]
    View<std::int32_t> highlighted;        // picks fonts[0] when set, else fonts[1]
    std::array<SDL_Surface*, 2> boxes{};   // checked, unchecked; null: no box
    View<std::string> text;
    std::array<Font, 2> fonts;
};
struct Button {
    View<std::int32_t> pressed;            // bitmaps[0] and the text 1 pixel in when set
    View<std::int32_t> highlighted;        // fonts[0] when set, else fonts[1]
    std::array<SDL_Surface*, 2> bitmaps{};  // pressed, released; null: none
    View<std::string> text;
    std::array<Font, 2> fonts;
};
struct Bar {
    View<std::int32_t> offset;   // thumb position along the bar
    View<std::int32_t> size;     // thumb length
    View<std::int32_t> pressed;  // lighter thumb when set
};
struct Face {};
struct ControlFrame {
    View<IdCell> control;  // the framed control: marked when it has the focus
};
struct List {
    View<DynArray<std::string>> rows;
    View<DynArray<std::int32_t>> selected;  // one flag per row; missing ones are 0
    std::array<Font, 2> fonts;              // selected rows, the others
};
struct TabIndex {
    View<DynArray<std::string>> tabs;
    View<std::int32_t> selected;          // selected tab index
    View<std::int32_t> highlighted;       // when set, tab `highlightedIndex`
    View<std::int32_t> highlightedIndex;  // takes fonts[1]
    ItemPainters::TabBitmaps selectedBitmaps, otherBitmaps;
    std::array<Font, 3> fonts;  // selected, highlighted, the others
};
struct ImageButton {
    View<std::int32_t> pressed;  // images[0] and the text 2 pixels in when set; else images[1], 1 in
    std::array<std::shared_ptr<const ImageCell>, 2> images;  // down, up
    View<std::string> text;
    Font font;
};
struct TextEdit {
    View<std::string> text;
    View<std::int32_t> cursor;       // characters before the cursor
    View<std::int32_t> extent;       // selected characters after it (before it when negative)
    View<std::int32_t> scroll;       // the text starts at x = 4 + scroll
    View<std::int32_t> highlighted;  // fonts[1] when set and not focused
    std::array<Font, 3> fonts;       // focused (with cursor and selection), highlighted, plain
};
struct Preview {
    std::shared_ptr<RenderPreview> preview;
};

using Data = std::variant<Text, CheckBox, Button, Bar, Face, ControlFrame, List, TabIndex, ImageButton, TextEdit,
                          Preview>;

}  // namespace Look

class ControlLook final : public ControlDrawItem {
public:
    // Data of another alternative than the kind takes raises an internal
    // EGeneric.
    ControlLook(LookKind kind, Look::Data data);

    std::int32_t tag() const override { return static_cast<std::int32_t>(kind_); }
    // The faces, bars, lists, text edits and the preview fill their whole
    // box; a button only while its current bitmap covers the box; labels,
    // check boxes and tab indexes draw text or bitmaps over what lies under
    // them.
    bool paintsWholeBox(std::int32_t w, std::int32_t h) const override;
    LookKind kind() const { return kind_; }
    const Look::Data& data() const { return data_; }

private:
    LookKind kind_;
    Look::Data data_;
};

// Whether the control of this ID has the keyboard focus. An empty query
// says no for every control.
using FocusQuery = std::function<bool(UIControlID)>;

// Paints the control `id` names into the canvas: looks it up (ID 0 raises
// ControlDestroyed, one past the table Subscript, an empty slot
// InvalidControlID), then draws its item at the canvas's origin with the
// control's size. A control without a ControlLook draws nothing. The clip
// rectangle is already set on the canvas's surface and is left alone. A
// missing look bitmap skips that blit; other failures pass on.
void drawControlItems(ControlTree& tree, const FocusQuery& isFocused, const IRect2D& clip, const IdCell& id,
                      const Canvas& canvas);

// The painter the tree's redraw takes; `tree` must outlive it.
ControlPainter makeControlPainter(ControlTree& tree, FocusQuery isFocused);

}  // namespace zil
