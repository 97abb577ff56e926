#pragma once
// Per-control value stores: columns beside the control table, one slot per
// control ID. A registry keeps every store exactly as long as the ID space
// (its capacity): a new store is made full-length, all stores grow together,
// and destroying a control clears its slot in every store.
//
// A store's array is replaced on every resize, never changed in length in
// place, so a holder of array() keeps a valid (old) array across a grow, for
// example while a walk creates a control. Slot 0 belongs to no control; list
// stores keep there the entries that apply to every control, and it is never
// cleared.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <type_traits>
#include <vector>

#include "shell/Errors.hpp"

namespace zil {

// What the registry does to every store, whatever its slot type.
class AttributeStoreBase {
public:
    virtual ~AttributeStoreBase() = default;
    virtual std::int32_t size() const = 0;
    // A new array of n slots: slot i keeps the old slot i where there was
    // one, the others are empty. n >= 2147483646 or below 0 raises Size and
    // leaves the store as it was.
    virtual void resize(std::int64_t n) = 0;
    // Slot id becomes empty; an id outside the array raises Subscript.
    virtual void clearSlot(std::int32_t id) = 0;
};

// Largest store length plus one.
inline constexpr std::int64_t kStoreLengthLimit = 2147483646;

// Raises Size for a store length the stores cannot take.
void checkStoreLength(std::int64_t n);

// A store whose slots hold T; a default-constructed T is the empty slot.
template <class T>
class AttributeStore final : public AttributeStoreBase {
    static_assert(!std::is_same_v<T, bool>, "slots must be addressable");

public:
    using Array = std::vector<T>;

    // The current array. It stays valid, as it is, after later resizes.
    std::shared_ptr<Array> array() const { return array_; }

    std::int32_t size() const override { return static_cast<std::int32_t>(array_->size()); }

    // Slot id of the current array; an id outside it raises Subscript.
    T& at(std::int32_t id) {
        checkIndex(id);
        return (*array_)[static_cast<std::size_t>(id)];
    }
    const T& at(std::int32_t id) const {
        checkIndex(id);
        return (*array_)[static_cast<std::size_t>(id)];
    }

    void resize(std::int64_t n) override {
        checkStoreLength(n);
        auto size = static_cast<std::size_t>(n);
        auto next = std::make_shared<Array>();
        next->reserve(size);
        next->assign(array_->begin(), array_->begin() + static_cast<std::ptrdiff_t>(std::min(size, array_->size())));
        next->resize(size);
        array_ = std::move(next);
    }

    void clearSlot(std::int32_t id) override { at(id) = T{}; }

private:
    void checkIndex(std::int32_t id) const {
        if (id < 0 || static_cast<std::size_t>(id) >= array_->size()) throw Subscript();
    }

    std::shared_ptr<Array> array_ = std::make_shared<Array>();
};

// The registry of every store and the capacity of the control ID space.
class AttributeStores {
public:
    // Stores made later start with `capacity` slots (Size when out of range).
    explicit AttributeStores(std::int32_t capacity = 0);
    AttributeStores(const AttributeStores&) = delete;
    AttributeStores& operator=(const AttributeStores&) = delete;

    // A new store with one empty slot per ID of the current capacity.
    template <class T>
    std::shared_ptr<AttributeStore<T>> newAttributeStore() {
        auto store = std::make_shared<AttributeStore<T>>();
        store->resize(capacity_);
        stores_.push_back(store);
        return store;
    }

    std::int32_t capacity() const { return capacity_; }

    // Every store made here, oldest first.
    const std::vector<std::shared_ptr<AttributeStoreBase>>& inCreationOrder() const { return stores_; }

    // Resizes every store, newest first, to n slots and makes n the
    // capacity; shrinking drops the slots from n on. n >= 2147483646 raises
    // Size before any store changes.
    void growAttributeStores(std::int64_t n);

    // Empties slot id of every store, newest first, once a control is
    // destroyed. ID 0 is no control: nothing happens. An id outside the
    // capacity raises Subscript before any store changes.
    void clearAttributeStores(std::int32_t id);

private:
    std::vector<std::shared_ptr<AttributeStoreBase>> stores_;  // oldest first
    std::int32_t capacity_;
};

}  // namespace zil
