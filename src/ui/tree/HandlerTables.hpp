#pragma once
// Per-control tables of callback lists, and the input handler tables.
//
// A table is a per-control store whose slot i holds the list for the control
// with ID i; slot 0 holds the entries that apply to every control. The
// entries for a control are slot 0's, then its own slot's (slot 0 once when
// its ID is 0), each list in its stored order. Both lists are read before
// the first entry runs, so entries added meanwhile wait for the next walk.
//
// The input rules fill the key and mouse tables: a key-down handler sees
// every key the focused control gets and decides itself whether it acts; a
// key-up handler sees the key sym; a mouse handler the pointer in the
// control's own coordinates. A handler is any callable of its list's
// signature, pushed under a key when it must come out again.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>

#include "ui/base/AttributeStores.hpp"
#include "ui/base/IdCell.hpp"
#include "ui/base/ObservedValue.hpp"
#include "ui/base/PointerPosition.hpp"

namespace zil {

// Delivers args to the entries of `table` for `control` (see above). A slot
// past the end raises Subscript, slot 0 first, before anything runs.
template <class List, class... Args>
void deliverToSlots(const AttributeStore<List>& table, const IdCell& control, Args&&... args) {
    const UIControlID id = idOf(control);
    const auto common = table.at(0).entries();
    const auto own = id != 0 ? table.at(id).entries() : nullptr;
    for (const auto* list : {common.get(), own.get()})
        if (list != nullptr)
            for (const auto& e : *list) e.fn(args...);
}

// What a dependent remembers of one keyed entry it has put on a list, so
// that it can take it off again; empty when nothing is registered.
class Registration {
public:
    Registration() = default;

    // Pushes `fn` under a fresh key in front of slot idOf(slot) of the
    // table (Subscript past the end). Taking it off reads the slot cell
    // again, so an entry of a control destroyed meanwhile (its cell 0) is
    // simply not found.
    template <class List>
    static Registration pushInSlot(std::shared_ptr<AttributeStore<List>> table, IdCell slot,
                                   typename List::Callback fn) {
        IdentityKey key = table->at(idOf(slot)).pushKeyed(std::move(fn));
        Registration r;
        r.remove_ = [table = std::move(table), slot = std::move(slot), key = std::move(key)] {
            table->at(idOf(slot)).removeKey(key);
        };
        return r;
    }

    // Pushes `fn` under a fresh key in front of `list`, which the
    // registration does not keep alive: a list gone meanwhile has nothing
    // to take off.
    template <class List>
    static Registration pushInList(const std::shared_ptr<List>& list, typename List::Callback fn) {
        IdentityKey key = list->pushKeyed(std::move(fn));
        Registration r;
        r.remove_ = [list = std::weak_ptr<List>(list), key = std::move(key)] {
            if (std::shared_ptr<List> l = list.lock()) l->removeKey(key);
        };
        return r;
    }

    bool empty() const { return !remove_; }

    // Takes the entry off (if any) and empties the registration, also
    // when the removal fails.
    void remove() {
        std::function<void()> f = std::move(remove_);
        remove_ = nullptr;
        if (f) f();
    }

private:
    std::function<void()> remove_;
};

// A per-control table of plain callbacks, delivered with a control's ID
// cell as context.
using ControlHookTable = AttributeStore<PlainList>;

// One key-down event as the handlers see it.
struct KeyPress {
    std::uint32_t modifiers = 0;  // SDL modifier bits: Shift 3, Ctrl 192
    std::int32_t sym = 0;         // SDL key sym
    std::int32_t unicode = 0;
};

using KeyDownList = NotifyList<const KeyPress&>;
using KeyUpList = NotifyList<std::int32_t>;  // the key sym
using MouseList = NotifyList<const PointerAt&>;

using KeyDownTable = AttributeStore<KeyDownList>;
using KeyUpTable = AttributeStore<KeyUpList>;
using MouseTable = AttributeStore<MouseList>;

// The input tables every control's set-up registers into; they grow with
// the control table and lose a destroyed control's slot. They are made with
// the other per-control stores, in their fixed order, and handed in.
struct HandlerTables {
    std::shared_ptr<KeyDownTable> keyDown;
    std::shared_ptr<KeyUpTable> keyUp;
    std::shared_ptr<MouseTable> mouse;
    // 1 for a control that a mouse event has reached during its walk.
    std::shared_ptr<AttributeStore<std::int32_t>> marks;
    // Run when a button is clicked (pressed and released over it, or Space
    // let go on it); the context is the button's ID cell.
    std::shared_ptr<ControlHookTable> clicks;
    // What the text fields' Ctrl+C and Ctrl+X copied last.
    std::shared_ptr<std::string> clipboard = std::make_shared<std::string>();
};

}  // namespace zil
