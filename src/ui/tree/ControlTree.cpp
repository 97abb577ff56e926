#include "ui/tree/ControlTree.hpp"

#include <algorithm>
#include <exception>
#include <utility>

#include "shell/Constants.hpp"
#include "shell/CoreInt.hpp"
#include "shell/Errors.hpp"
#include "ui/tree/TreeCallbacks.hpp"

namespace zil {

ControlTree::ControlTree(std::int32_t capacity, OutStream& report)
    : stores_(std::max<std::int32_t>(capacity, 1)),
      attributes_(stores_),
      table_(stores_.newAttributeStore<std::shared_ptr<UIControl>>()),
      used_(stores_.newAttributeStore<std::int32_t>()),
      report_(report) {}

ControlTree::~ControlTree() {
    // What one control holds in all the stores was made at about the same
    // time and lies close together; freed store after store, each store's
    // pass would wander over the whole heap.
    const std::shared_ptr<const std::vector<std::int32_t>> used = used_->array();
    for (std::size_t id = 1; id < used->size(); ++id)
        if ((*used)[id] != 0) stores_.clearAttributeStores(static_cast<std::int32_t>(id));
}

std::shared_ptr<UIControl> ControlTree::lookup(UIControlID id) const {
    if (id == 0) throw ControlDestroyed();
    const std::shared_ptr<UIControl>& slot = table_->at(id);  // Subscript past the end
    if (!slot) throw InvalidControlID();
    return slot;
}

bool ControlTree::inUse(UIControlID id) const { return used_->at(id) != 0; }

UIControlID ControlTree::allocateId() {
    UIControlID found = 0;
    {
        const std::vector<std::int32_t>& used = *used_->array();
        const auto n = static_cast<UIControlID>(used.size());
        const UIControlID from = std::clamp<UIControlID>(nextIndex_, 1, n);
        for (UIControlID i = from; i < n && found == 0; ++i)
            if (used[static_cast<std::size_t>(i)] == 0) found = i;
        for (UIControlID i = 1; i < from && found == 0; ++i)
            if (used[static_cast<std::size_t>(i)] == 0) found = i;
    }
    if (found == 0) {
        const std::int64_t old = capacity();
        const std::int64_t grown = 2 * old;
        if (grown > kMaxArraySize) throw Size();
        stores_.growAttributeStores(grown);
        found = static_cast<UIControlID>(old);
    }
    used_->at(found) = 1;
    nextIndex_ = found + 1;
    return found;
}

IdCell ControlTree::addControl(const IdCell& parent, const ControlKind& kind, const IRect2D& box,
                               std::int32_t visible) {
    const UIControlID id = allocateId();
    IdCell own = makeIdCell(id);
    table_->at(id) = std::make_shared<UIControl>(own, parent ? parent : makeIdCell(0), box, visible);
    if (parent) {
        std::shared_ptr<UIControl> p = lookup(parent);
        p->children.append(own);
    }
    kind.setUp(*this, own);
    std::shared_ptr<UIControl> c = lookup(own);
    attributes_.registerStandard(
        own, std::shared_ptr<ObservedRect>(c, &c->boundingBox), std::shared_ptr<ObservedInt>(c, &c->visible),
        std::shared_ptr<ObservedString>(c, &c->name), std::shared_ptr<ObservedString>(c, &c->className));
    c.reset();
    TreeCallbacks::attachRepaintLinks(*this, own);
    return own;
}

void ControlTree::destroyControl(const IdCell& cell) {
    // Children first, without recursion: a control is finished once its
    // child list is empty.
    std::vector<IdCell> pending{cell};
    while (!pending.empty()) {
        IdCell top = pending.back();
        if (idOf(top) == 0) {
            pending.pop_back();
            continue;
        }
        std::shared_ptr<UIControl> c = lookup(top);
        if (c->children.count() > 0) {
            IdCell first = c->children.readAt(0);
            if (idOf(first) == 0)
                c->children.deleteAt(0);  // a destroyed child left behind
            else
                pending.push_back(std::move(first));
            continue;
        }
        c.reset();
        pending.pop_back();
        destroyOne(top);
    }
}

void ControlTree::destroyOne(const IdCell& cell) {
    if (idOf(lookup(cell)->parent) != 0) removeChild(cell);
    const IdCell own = lookup(cell)->id;
    std::shared_ptr<ControlKindState> state = lookup(cell)->kindState;
    std::exception_ptr failure;
    if (state) {
        try {
            state->release(*this);
        } catch (...) {
            failure = std::current_exception();
        }
    }
    const UIControlID id = idOf(own);
    if (id != 0) {
        const std::shared_ptr<UIControl> record = table_->at(id);
        std::erase_if(windows_, [id](const Window& w) { return idOf(w.id) == id; });
        if (idOf(shown_) == id) shown_.reset();
        freeSlot(id);
        *own = 0;
        // A control below it that lives on now counts as top-level.
        if (record) record->repaintArea.forget();
    }
    if (failure) std::rethrow_exception(failure);
}

void ControlTree::freeSlot(UIControlID id) {
    table_->at(id).reset();
    stores_.clearAttributeStores(id);
    used_->at(id) = 0;
}

std::vector<IdCell> ControlTree::snapshotChildren(const UIControl& control) {
    return std::vector<IdCell>(control.children.items().begin(), control.children.items().end());
}

IdCell ControlTree::findControlByName(const IdCell& start, std::string_view name) const {
    struct Level {
        std::vector<IdCell> children;
        std::size_t next = 0;
    };
    std::shared_ptr<UIControl> c = lookup(start);
    if (c->name.value() == name) return c->id;
    std::vector<Level> levels;
    levels.push_back(Level{snapshotChildren(*c)});
    while (!levels.empty()) {
        Level& level = levels.back();
        if (level.next == level.children.size()) {
            levels.pop_back();
            continue;
        }
        c = lookup(level.children[level.next++]);
        if (c->name.value() == name) return c->id;
        levels.push_back(Level{snapshotChildren(*c)});
    }
    return nullptr;
}

void ControlTree::removeChild(const IdCell& child) {
    IdCell parentCell = lookup(child)->parent;
    std::shared_ptr<UIControl> parent = lookup(parentCell);
    const UIControlID id = idOf(child);
    std::int32_t last = -1;
    const DynArray<IdCell>& items = parent->children.items();
    for (std::int32_t i = 0; i < items.count(); ++i)
        if (idOf(items.readAt(i)) == id) last = i;
    if (last < 0) throw Constants::errChildNotInParent();
    parent->children.deleteAt(last);
}

IdCell ControlTree::walkToRoot(const IdCell& cell) const {
    IdCell current = cell;
    IdCell parent = lookup(current)->parent;
    while (idOf(parent) != 0) {
        current = std::move(parent);
        parent = lookup(current)->parent;
    }
    return current;
}

std::int32_t ControlTree::halfWidthStep(const IdCell& cell) const {
    return intDiv(lookup(cell)->boundingBox.value().w, 2);
}

ControlTree::Window* ControlTree::findWindow(UIControlID id) {
    for (Window& w : windows_)
        if (idOf(w.id) == id) return &w;
    return nullptr;
}

void ControlTree::addWindow(const IdCell& id, std::shared_ptr<ObservedString> caption) {
    windows_.push_back(Window{id, std::move(caption), {}});
}

}  // namespace zil
