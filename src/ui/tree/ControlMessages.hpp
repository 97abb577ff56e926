#pragma once
// Control messages: the data entries of the lists of rectangle and boolean
// (or int) state. A RectLink says what happens to another control when a
// bounding box changes; a ControlMessage what happens when a flag changes.
// linkEntry() and messageEntry() turn one into the list element that acts
// when delivered, with the delivered value and the owner of the value that
// changed; no control queues anything. Entries whose work lives elsewhere (the scroll range of a
// scroll area) go onto the same lists as plain callables.
//
// Every set below is ObservedValue::set: compare, onChanging, store,
// onChanged. So a changed box moves a whole subtree depth first before the
// next entry of the first list acts, and an entry whose target already
// holds the derived value delivers nothing, which ends the recursion.
#include <cstdint>
#include <memory>
#include <variant>
#include <vector>

#include "shell/IRect2D.hpp"
#include "ui/base/AttributeStores.hpp"
#include "ui/base/IdCell.hpp"
#include "ui/tree/UIControl.hpp"

namespace zil {

class ControlTree;

// Repaints the whole area of the control (TopLevelControls::invalidate).
struct RepaintControl {
    IdCell control;
};

// --- RectLink alternatives, given the new box R = (x, y, w, h) ---

// The int value takes R.w (SetIntToWidth) or R.h (SetIntToHeight), with
// its own two deliveries; nothing when it holds that already.
struct SetIntToWidth {
    std::shared_ptr<ObservedInt> target;
};
struct SetIntToHeight {
    std::shared_ptr<ObservedInt> target;
};
// The follower's box takes R's width and keeps its x, y and height.
struct MatchWidth {
    IdCell follower;
};
// The strip's box becomes (R.w - 16, 0, 16, R.h): along the right edge of
// the control whose box changed, in its coordinates.
struct PlaceRightStrip {
    IdCell strip;
};
// The first child of the frame (none: nothing) gets (2, 2, R.w - 4, R.h - 4).
struct InsetFirstChild {
    IdCell frame;
};
// Every page of the tab book gets (0, 0, w, h) of the book's own box.
struct FitTabPages {
    IdCell book;
};
// The target's box becomes R shrunk by `border` on every side; a width or
// height below 0 becomes 0 and the inset origin stays.
struct InsetBy {
    std::int32_t border;
    IdCell target;
};

using RectLink = std::variant<SetIntToWidth, MatchWidth, PlaceRightStrip, InsetFirstChild, RepaintControl,
                              SetIntToHeight, FitTabPages, InsetBy>;

// --- ControlMessage alternatives, given the value v ---

// A link table: per control, the messages to deliver when it gains the
// focus (slot 0: for every control).
using LinkTable = AttributeStore<IntList>;

// Delivers v along the owner's path (TopLevelWindow::reactivate and its
// second entry, reactivateAncestors, which behave alike).
struct ReactivateWindow {
    std::shared_ptr<LinkTable> links;
};
struct ReactivateWindowAncestors {
    std::shared_ptr<LinkTable> links;
};
// The control's visible state becomes v.
struct SetVisible {
    IdCell control;
};
// v not 0: opens the screen for the owner (a top-level window) with its
// size and this caption (TopLevelWindow::activate).
struct ActivateTopLevel {
    std::shared_ptr<ObservedString> caption;
};

using ControlMessage =
    std::variant<RepaintControl, ReactivateWindow, ReactivateWindowAncestors, SetVisible, ActivateTopLevel>;

namespace ControlMessages {

// What one entry does when delivered.
void act(ControlTree& tree, const RectLink& link, const IRect2D& r, const IdCell& owner);
void act(ControlTree& tree, const ControlMessage& message, std::int32_t v, const IdCell& owner);

// The list element for an entry; it refers to `tree`, which must outlive
// the list.
RectList::Callback linkEntry(ControlTree& tree, RectLink link);
IntList::Callback messageEntry(ControlTree& tree, ControlMessage message);

// Sets the control's box to `box` (nothing when equal).
void setBoundingBox(ControlTree& tree, const IdCell& control, const IRect2D& box);

// The FitTabPages step: every page of the book, read by index from its
// child list (IndexOutOfRange "readAt" when the list shrank meanwhile),
// gets the book's size at (0, 0).
void fitTabPages(ControlTree& tree, const IdCell& book);

// The messages of slot 0 of the table followed by those of the control's
// slot (slot 0 alone when its ID is 0), as they are now. A slot past the
// end of the table raises Subscript.
std::vector<IntList::Entry> gatherLinks(const LinkTable& links, const IdCell& control);

// Delivers 1, with `owner`, to the messages of slot 0 of the table, then to
// those of the owner's slot (slot 0 once when the owner's ID is 0), as they
// are when the walk starts. Any failure ends the walk and is dropped.
void deliverTrueToLinks(const LinkTable& links, const IdCell& owner);

}  // namespace ControlMessages
}  // namespace zil
