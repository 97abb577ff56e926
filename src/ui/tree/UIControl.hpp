#pragma once
// The record of one live control, the same for every kind, and the two
// placeholders that a kind's set-up fills in: what the control draws and
// what it holds.
//
// Every cell of the record is reached through the control table's lookup at
// the moment of use (ControlTree::lookup). Whoever sets one of the record's
// observed values holds the shared_ptr that lookup gave until set() returns,
// since a delivery may destroy the control; after a delivery it looks the
// control up again instead of reusing the record.
#include <cstdint>
#include <memory>
#include <string>
#include <utility>

#include "shell/IRect2D.hpp"
#include "ui/base/IdCell.hpp"
#include "ui/base/ObservedValue.hpp"
#include "ui/tree/RepaintArea.hpp"

namespace zil {

class ControlTree;

using ObservedInt = ObservedValue<std::int32_t>;
using ObservedReal = ObservedValue<double>;
using ObservedString = ObservedValue<std::string>;
using ObservedRect = ObservedValue<IRect2D>;

// The lists of the observed values, by what they deliver besides the owner.
using IntList = ObservedInt::List;
using RealList = ObservedReal::List;
using StringList = ObservedString::List;
using RectList = ObservedRect::List;

// What a control draws. The kind's set-up makes one; the painter that the
// redraw calls (drawControlItems) reads it and switches on tag(), 1 to 16.
// A control without one (null) draws nothing.
class ControlDrawItem {
public:
    virtual ~ControlDrawItem() = default;
    virtual std::int32_t tag() const = 0;
    // True only when drawing it sets every pixel of a w x h box without
    // blending: the redraw then leaves whatever lies under the control
    // unpainted. A look that blends (text with its soft rim) or skips
    // pixels must say false, or each repaint would blend it over its own
    // last picture.
    virtual bool paintsWholeBox(std::int32_t /*w*/, std::int32_t /*h*/) const { return false; }
};

// The kind-specific state of a control: its per-class cells and the shared
// resources it holds. Destroying the control calls release() once, after
// its children are gone and it has left its parent's child list, before its
// slot is emptied. A control without one (null) releases nothing.
class ControlKindState {
public:
    virtual ~ControlKindState() = default;
    virtual void release(ControlTree&) {}
};

struct UIControl {
    // `id` is the control's own cell; `parent` is the parent's own ID cell,
    // shared (a fresh cell holding 0 for a top-level control).
    UIControl(const IdCell& ownId, IdCell parentId, IRect2D box, std::int32_t visibleFlag)
        : id(ownId),
          parent(std::move(parentId)),
          name(ownId, ""),
          className(ownId, ""),
          visible(ownId, visibleFlag),
          boundingBox(ownId, box),
          children(ownId),
          links(ownId) {
        boundingBox.watch(&repaintArea);
    }
    UIControl(const UIControl&) = delete;
    UIControl& operator=(const UIControl&) = delete;

    IdCell id;
    IdCell parent;
    ObservedString name;        // "name" in the UI description
    ObservedString className;   // "class"
    ObservedInt visible;        // 0: neither it nor its subtree is drawn
    ObservedRect boundingBox;   // in the parent's coordinates
    // Child ID cells in child order; every change delivers around itself.
    ObservedArray<IdCell> children;
    // A second list of ID cells (the members of a composite group).
    ObservedArray<IdCell> links;
    // Which child holds the focus within this control (the Tab rule).
    std::shared_ptr<std::int32_t> childFocus = std::make_shared<std::int32_t>(0);

    std::shared_ptr<const ControlDrawItem> drawItem;
    std::shared_ptr<ControlKindState> kindState;

    // What a repaint request of the control marks dirty, once worked out;
    // forgotten whenever the box is stored.
    RepaintArea repaintArea;
};

}  // namespace zil
