#pragma once
// Observable control state.
//
// NotifyList<Args...>: a cell holding a list of entries, each a callback with
// an optional identity key. New entries go to the front, so the entry added
// last runs first. deliver(args...) reads the list once and calls the entries
// head first: entries added or removed during a walk take effect at the next
// one. An entry with a key can be taken out by that key; the key's identity
// alone names it. A callback's exception leaves the walk at once and reaches
// whoever delivered.
//
// ObservedValue<T, Equal>: a value, an owner (the owning control's ID cell)
// and two lists whose callbacks receive (owner, new value). set(v) does
// nothing when Equal says v equals the held value (for doubles a NaN is never
// equal); otherwise it delivers v to onChanging (callbacks still read the old
// value), stores v and delivers v to onChanged. A failure in onChanging skips
// the store and onChanged. A watcher, when one is set, is told of the store
// before onChanged is delivered.
//
// ObservedArray<T>: a growable array with an owner and two plain lists whose
// callbacks receive the owner. Every insertion, write and deletion runs
// onChanging, the change, then onChanged; reset() empties it silently.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "shell/Constants.hpp"
#include "shell/CoreInt.hpp"
#include "shell/DynArray.hpp"
#include "shell/Errors.hpp"
#include "ui/base/IdCell.hpp"

namespace zil {

// A fresh key cell names one list entry by its identity.
struct KeyCell {};
using IdentityKey = std::shared_ptr<const KeyCell>;
inline IdentityKey newIdentityKey() { return std::make_shared<const KeyCell>(); }

template <class... Args>
class NotifyList {
public:
    using Callback = std::function<void(Args...)>;
    struct Entry {
        IdentityKey key;  // null: not removable by key
        Callback fn;
    };
    using Entries = std::vector<Entry>;

    // Puts the callback at the front, with the given key (or none).
    void push(Callback fn) { push(nullptr, std::move(fn)); }
    void push(IdentityKey key, Callback fn) {
        auto next = std::make_shared<Entries>();
        next->reserve(size() + 1);
        next->push_back(Entry{std::move(key), std::move(fn)});
        if (entries_) next->insert(next->end(), entries_->begin(), entries_->end());
        entries_ = std::move(next);
    }
    // Puts the callback at the front under a fresh key and returns the key.
    IdentityKey pushKeyed(Callback fn) {
        IdentityKey key = newIdentityKey();
        push(key, std::move(fn));
        return key;
    }

    // Takes out every entry whose key is `key`, keeping the order of the
    // others; gives how many went. A null key matches nothing.
    std::size_t removeKey(const IdentityKey& key) {
        if (!key || !entries_) return 0;
        auto next = std::make_shared<Entries>();
        for (const Entry& e : *entries_)
            if (e.key != key) next->push_back(e);
        std::size_t removed = entries_->size() - next->size();
        if (removed > 0) entries_ = std::move(next);
        return removed;
    }

    void clear() { entries_.reset(); }
    bool empty() const { return size() == 0; }
    std::size_t size() const { return entries_ ? entries_->size() : 0; }

    // The list as it is now, head first; later changes leave it alone.
    std::shared_ptr<const Entries> entries() const { return entries_; }

    // Calls every entry of the list held now, head first.
    void deliver(Args... args) const {
        if (!entries_) return;
        std::shared_ptr<const Entries> walk = entries_;  // read once
        for (const Entry& e : *walk) e.fn(args...);
    }

private:
    std::shared_ptr<const Entries> entries_;
};

// Told of every store of a value that it watches, right after the store and
// before the value's onChanged list runs: for state worked out from the value,
// which no callback may then read stale. It is not a callback of the value;
// no list shows it.
class StoreWatcher {
public:
    virtual void stored() = 0;

protected:
    ~StoreWatcher() = default;
};

// Plain list: callbacks receive only the context (an owner's ID cell).
using PlainList = NotifyList<const IdCell&>;

template <class T, class Equal = std::equal_to<T>>
class ObservedValue {
public:
    using List = NotifyList<const IdCell&, const T&>;

    ObservedValue(IdCell owner, T initial) : value_(std::move(initial)), owner_(std::move(owner)) {}
    ObservedValue(const ObservedValue&) = delete;
    ObservedValue& operator=(const ObservedValue&) = delete;

    const T& value() const { return value_; }

    // The change protocol; true when the value changed.
    bool set(T v) {
        if (Equal{}(value_, v)) return false;
        onChanging.deliver(owner_, v);
        value_ = v;
        if (watcher_) watcher_->stored();
        onChanged.deliver(owner_, v);
        return true;
    }

    // The watcher must outlive the value, or be taken off (null) first.
    void watch(StoreWatcher* watcher) { watcher_ = watcher; }

    List onChanging;  // before the store
    List onChanged;   // after the store

private:
    T value_;
    IdCell owner_;
    StoreWatcher* watcher_ = nullptr;
};

template <class T>
class ObservedArray {
public:
    explicit ObservedArray(IdCell owner) : owner_(std::move(owner)) {}
    ObservedArray(const ObservedArray&) = delete;
    ObservedArray& operator=(const ObservedArray&) = delete;

    const DynArray<T>& items() const { return items_; }
    std::int32_t count() const { return items_.count(); }
    const T& readAt(std::int32_t i) const { return items_.readAt(i); }

    // Inserts x before index i (0 <= i <= count); a bad index raises
    // IndexOutOfRange "insertAt i" before anything is delivered.
    void insertAt(std::int32_t i, const T& x) {
        if (i < 0 || i > count()) throw EGeneric::named("IndexOutOfRange", "insertAt " + intToString(i));
        T keep = x;  // x may be an element that a callback changes
        onChanging.deliver(owner_);
        items_.insertAt(i, keep);
        onChanged.deliver(owner_);
    }
    void append(const T& x) { insertAt(count(), x); }

    // Replaces element i; a bad index fails as DynArray::writeAt does, before
    // anything is delivered.
    void writeAt(std::int32_t i, const T& x) {
        if (i >= count()) throw Constants::errWriteAt();
        if (i < 0) throw Subscript();
        T keep = x;
        onChanging.deliver(owner_);
        items_.writeAt(i, keep);
        onChanged.deliver(owner_);
    }

    // Removes element i; a bad index raises IndexOutOfRange "deleteAt i"
    // before anything is delivered.
    void deleteAt(std::int32_t i) {
        if (i < 0 || i >= count()) throw EGeneric::named("IndexOutOfRange", "deleteAt " + intToString(i));
        onChanging.deliver(owner_);
        items_.deleteAt(i);
        onChanged.deliver(owner_);
    }

    // Replaces the contents by an empty array; nothing is delivered.
    void reset() { items_.clear(); }

    PlainList onChanging;
    PlainList onChanged;

private:
    DynArray<T> items_;
    IdCell owner_;
};

}  // namespace zil
