#pragma once
// The control table and the tree around it: the toolkit state that every
// control operation works on, in one object that the UI context owns (tests
// make fresh ones). It holds the per-control store registry with the control
// table, the attribute tables and the used-slot array among its stores, the
// next-index counter, the top-level windows with their dirty rectangles, and
// the one screen.
//
// Controls name each other only by ID cells. Every access goes through
// lookup(), which reads the cell at that moment: ID 0 raises
// ControlDestroyed, an ID at or past the end of the table Subscript, an
// empty slot InvalidControlID, in that order.
//
// Later parts of the toolkit keep their own state (focus, hook and handler
// tables, classes) in objects of their own that refer to this one; their
// per-control stores are made in stores() (in one fixed order, beside the
// class registration), so that they grow with the table and lose a
// destroyed control's slot.
#include <SDL.h>

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "shell/IRect2D.hpp"
#include "shell/OutStream.hpp"
#include "ui/base/AttributeStores.hpp"
#include "ui/base/IdCell.hpp"
#include "ui/base/UIAttributes.hpp"
#include "ui/tree/UIControl.hpp"

namespace zil {

// Describes a control to ControlTree::addControl: its kind's tag (0 for a
// top-level window, 1 to 19 for the control kinds) and its kind's set-up.
// This is the hook through which each kind plugs in.
class ControlKind {
public:
    virtual ~ControlKind() = default;
    virtual std::int32_t tag() const = 0;
    // Runs once the record is in the table and linked to its parent: the
    // kind's own attributes with their defaults, its children, its
    // callbacks and links, and its drawItem and kindState. A failure passes
    // out of addControl; nothing is undone.
    virtual void setUp(ControlTree& tree, const IdCell& self) const = 0;
};

class ControlTree {
public:
    static constexpr std::int32_t kDefaultCapacity = 64;

    // A table of `capacity` slots (at least 1; slot 0 is never handed out).
    // `report` takes the lines that the redraw writes and goes on after.
    explicit ControlTree(std::int32_t capacity = kDefaultCapacity, OutStream& report = stdOut());
    ControlTree(const ControlTree&) = delete;
    ControlTree& operator=(const ControlTree&) = delete;
    // Frees what each control holds, one control after another.
    ~ControlTree();

    // --- The table ---

    // The control named by the cell now (see above). Hold the result only
    // for the access at hand.
    std::shared_ptr<UIControl> lookup(const IdCell& cell) const { return lookup(idOf(cell)); }
    std::shared_ptr<UIControl> lookup(UIControlID id) const;

    // The registry of every per-control store; its capacity is the table's.
    AttributeStores& stores() { return stores_; }
    // Every control's attribute table (the registry's first store).
    UIAttributes& attributes() { return attributes_; }
    const UIAttributes& attributes() const { return attributes_; }
    std::int32_t capacity() const { return stores_.capacity(); }
    bool inUse(UIControlID id) const;
    // Where the search for a free ID starts: just after the last one given.
    UIControlID nextIndex() const { return nextIndex_; }

    // --- Adding and destroying controls ---

    // Adds one control: takes the first free ID from the counter to the
    // end of the table, else from 1 to the counter, else doubles the table
    // and every store (Size beyond 2,147,483,645 slots) and takes the first
    // new one; stores the record (box and visible flag as given, everything
    // else empty); appends its ID cell to the parent's child list (a null
    // parent makes a top-level control with a parent cell of its own holding
    // 0; a parent that cannot be looked up fails as lookup does, leaving the
    // record in the table); runs the kind's set-up; registers the four
    // attributes every control has ("boundingbox", "visible", "name",
    // "class"), after the kind's own; attaches its repaint links
    // (TreeCallbacks::attachRepaintLinks); returns the own ID cell.
    IdCell addControl(const IdCell& parent, const ControlKind& kind, const IRect2D& box, std::int32_t visible);

    // Destroys the control and its subtree, children first: each leaves its
    // parent's child list (ChildNotInParent when it is not there), releases
    // its kind state, loses its table slot and its slot in every store, and
    // its ID cell becomes 0, so that the ID can be given out again. A cell
    // holding 0 names no control: nothing happens, and a child list entry
    // holding 0 is dropped. A destroyed top-level window leaves the window
    // list. A failing release still finishes the destruction, then passes on.
    void destroyControl(const IdCell& cell);

    // --- Walks over the tree ---

    // A copy of the control's child list as it is now.
    static std::vector<IdCell> snapshotChildren(const UIControl& control);

    // The first control, in pre-order from `start` (the control itself,
    // then each child's subtree in child order), whose name is `name`;
    // null when none. Every control visited is looked up.
    IdCell findControlByName(const IdCell& start, std::string_view name) const;

    // Takes the child out of its parent's child list: the last entry that
    // holds the child's ID. None raises ChildNotInParent.
    void removeChild(const IdCell& child);

    // The own ID cell of the top-level control above `cell` (itself when it
    // is one), looking up every control on the way.
    IdCell walkToRoot(const IdCell& cell) const;

    // Half the control's width, rounded down.
    std::int32_t halfWidthStep(const IdCell& cell) const;

    // --- Top-level windows and the screen ---

    struct Window {
        IdCell id;
        std::shared_ptr<ObservedString> caption;
        std::vector<IRect2D> dirty;  // newest first
    };

    // Top-level windows in creation order; the first is the main window.
    const std::vector<Window>& windows() const { return windows_; }
    std::vector<Window>& windows() { return windows_; }
    // The entry whose ID cell holds `id` now; null when none.
    Window* findWindow(UIControlID id);
    void addWindow(const IdCell& id, std::shared_ptr<ObservedString> caption);

    // The one screen (null before the first activation and after a failed
    // one) and the window activated last, the only one drawn.
    SDL_Surface* screen() const { return screen_; }
    const IdCell& shownWindow() const { return shown_; }
    void setScreen(SDL_Surface* screen, IdCell shown) {
        screen_ = screen;
        shown_ = std::move(shown);
    }

    OutStream& report() const { return report_; }

private:
    UIControlID allocateId();
    // Frees the slot of `id` in the table and every store.
    void freeSlot(UIControlID id);
    void destroyOne(const IdCell& cell);

    AttributeStores stores_;
    UIAttributes attributes_;
    std::shared_ptr<AttributeStore<std::shared_ptr<UIControl>>> table_;
    std::shared_ptr<AttributeStore<std::int32_t>> used_;  // 1: the ID is taken
    UIControlID nextIndex_ = 1;
    std::vector<Window> windows_;
    SDL_Surface* screen_ = nullptr;
    IdCell shown_;
    OutStream& report_;
};

}  // namespace zil
