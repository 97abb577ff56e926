#pragma once
// The small layout, scroll, coordinate and hit-test steps that callbacks,
// links and the input rules call: keeping a scroll area's bar in step with
// its contents and its contents with the bar, fitting a list's height to
// its items, placing the child of a frame, turning a window point into a
// control's own, and the hit test by which a control takes the mouse.
//
// Each step looks controls up at the moment it needs them and changes state
// only through ObservedValue::set, so every change propagates as usual.
// Integer rules: divisions round down (as intDiv: Div for 0); sums and
// products are exact, and a result that leaves 32 bits raises Overflow.
#include <cstdint>
#include <functional>
#include <memory>

#include "ui/base/IdCell.hpp"
#include "ui/base/ObservedValue.hpp"
#include "ui/tree/HandlerTables.hpp"
#include "ui/tree/UIControl.hpp"

namespace zil {

class ControlTree;

// What a vertical scroll area shares between its contents and its bar.
struct ScrollRecord {
    IdCell area;
    IdCell frame;  // the area's child that holds the bar; it never scrolls
    std::shared_ptr<ObservedInt> position;  // the bar's "barpos"
    std::shared_ptr<ObservedInt> size;      // "barsize"
    std::shared_ptr<ObservedInt> range;     // "barrange"
    // Not 0 while the area moves its own children: the range stays.
    std::shared_ptr<std::int32_t> busy = std::make_shared<std::int32_t>(0);
};

struct ContentExtent {
    std::int32_t top = 0;     // the smallest child y, at most 0
    std::int32_t extent = 0;  // from top to the lowest child bottom, at least 0
    friend constexpr bool operator==(const ContentExtent&, const ContentExtent&) = default;
};

// A list control whose height follows its item count.
struct ItemList {
    IdCell list;
    std::function<std::int32_t()> itemCount;
    std::function<std::int32_t()> lineHeight;  // of one item
    std::shared_ptr<ObservedArray<std::int32_t>> flags;  // one per item
};

// A frame that keeps a child inset and hands a latch key to another.
struct FramedChild {
    IdCell frame;   // its box gives the size
    IdCell fitted;  // its first child gets (2, 2, w - 4, h - 4)
    IdCell keyed;   // its first child gets `latchKey` and `releaseKey`
    std::shared_ptr<KeyDownTable> keyDown;
    KeyDownList::Callback latchKey;
    // The latch key registered last; replaced, never added to.
    std::shared_ptr<Registration> registration = std::make_shared<Registration>();
    // The key-up side of the latch, registered alongside it when there is one.
    std::shared_ptr<KeyUpTable> keyUp = nullptr;
    KeyUpList::Callback releaseKey = nullptr;
    std::shared_ptr<Registration> releaseRegistration = std::make_shared<Registration>();
};

// What the hit test of a control needs.
struct HitRecord {
    bool test = true;  // false: every point counts as inside
    std::shared_ptr<std::int32_t> capture;  // not 0: a control holds the mouse
    std::shared_ptr<AttributeStore<std::int32_t>> marks;
    std::shared_ptr<MouseTable> handlers;
};

namespace ControlMessages {

// The top of the area's children (their smallest y, at most 0) and their
// extent down to the lowest bottom (at least 0): the extent always covers
// the area's row 0. Overflow when the extent leaves 32 bits.
ContentExtent contentExtent(const ControlTree& tree, const IdCell& area);

// Nothing while the area is busy. Otherwise, with the area's height h, the
// range X and the content (top, E): size := (h * X) div E, then position :=
// -((top * X) div E), each only when it changes. E = 0 raises Div.
void updateScrollRange(ControlTree& tree, const ScrollRecord& scroll);

// The bar moved to v: every child but the frame moves by the same offset so
// that the contents' top becomes -q, q = ((E - h) * v) div (range - size);
// with range = size (contents that fit) q is 0. The area is busy meanwhile
// (also when a move fails).
void scrollAreaContents(ControlTree& tree, const ScrollRecord& scroll, std::int32_t v);

// Appends 0 flags until there is one per item (existing items keep theirs),
// sets the list's height to count * line height (Overflow beyond 32 bits),
// and repaints the list, changed or not.
void fitItemsHeight(ControlTree& tree, const ItemList& items);

// The fitted control's first child gets (2, 2, w - 4, h - 4) of the frame's
// box; the keyed control's first child gets the latch key handlers in place
// of those registered before; then the frame is repainted. Without a
// keyed child it ends before the handler and the repaint.
void insetFramedChild(ControlTree& tree, const FramedChild& framed);

// The window point p in the control's coordinates: the box origins of the
// control and of its ancestors below the top-level control are subtracted.
// Overflow when a coordinate leaves 32 bits.
Point toControlPoint(const ControlTree& tree, const IdCell& control, Point p);

// Runs the mouse handlers of slot 0, then the control's, with p.
void runMouseHandlers(const MouseTable& handlers, const IdCell& control, const PointerAt& p);

// The button-down test: when the point is inside the visible control (0 <=
// x < w, 0 <= y < h) and no control holds the mouse, the control is marked,
// takes the capture and returns true.
bool hitAndCapture(const ControlTree& tree, const PointerAt& p, const IdCell& control, const HitRecord& hit);

// hitAndCapture, then the control's mouse handlers.
void hitTestAndCapture(const ControlTree& tree, const PointerAt& p, const IdCell& control, const HitRecord& hit);

// hitAndCapture, then controlRecordListWalk over the control's items with
// the record's handler table, in place of the control's own handlers.
void hitTestAndWalkRecords(const ControlTree& tree, const PointerAt& p, const IdCell& control, const HitRecord& hit);

}  // namespace ControlMessages

// A control's item records are its children, in child order. The walk hands
// the point, in each item's coordinates, to the handlers of `items` (slot
// 0's, then the item's own) for every visible item whose box holds it; the
// children are those of the moment it starts. Overflow when the point leaves
// 32 bits.
void controlRecordListWalk(const ControlTree& tree, const IdCell& control, const MouseTable& items, const PointerAt& p);

// The steps above as list entries; each holds a pointer to the tree, which
// must outlive it.
namespace LayoutSteps {

// Box list entry: the area's scroll range follows its contents.
RectList::Callback updateScrollRange(ControlTree& tree, std::shared_ptr<const ScrollRecord> scroll);

// Int list entry for the bar's position: the contents follow the bar. It
// keeps everything of the record but the position.
IntList::Callback scrollAreaContents(ControlTree& tree, std::shared_ptr<const ScrollRecord> scroll);

// Plain entry for the area's child list: the bar follows contents as they
// come and go, not only as they move (nothing while the contents have no
// extent to divide by).
PlainList::Callback followScrollContents(ControlTree& tree, std::shared_ptr<const ScrollRecord> scroll);

// Box entry for the area's bar: its range becomes its length, so that its
// position and size are pixels along it, and the bar follows the contents
// as above.
RectList::Callback followBarLength(ControlTree& tree, std::shared_ptr<const ScrollRecord> scroll);

// Plain entries.
PlainList::Callback fitItemsHeight(ControlTree& tree, std::shared_ptr<const ItemList> items);
PlainList::Callback insetFramedChild(ControlTree& tree, std::shared_ptr<const FramedChild> framed);

}  // namespace LayoutSteps
}  // namespace zil
