#pragma once
// Growable array: appended to, read and written by index, with insertion and
// deletion that move the later elements. Shared by reference by its holders.
#include <cstdint>
#include <utility>
#include <vector>

#include "shell/Constants.hpp"
#include "shell/CoreInt.hpp"
#include "shell/Errors.hpp"

namespace zil {

template <class T>
class DynArray {
public:
    DynArray() = default;

    std::int32_t count() const { return static_cast<std::int32_t>(items_.size()); }
    std::int32_t capacity() const { return capacity_; }

    // Capacity after growing a full array of the given capacity: 32 while it
    // is 15 or less, twice it after that. Above kMaxArraySize raises Size.
    static std::int32_t grownCapacity(std::int32_t capacity) {
        std::int64_t next = capacity <= 15 ? 32 : std::int64_t{capacity} * 2;
        checkSize(next);
        return static_cast<std::int32_t>(next);
    }

    void append(const T& x) {
        if (count() < capacity_) {
            items_.push_back(x);
            return;
        }
        T keep = x;  // x may live in the storage that growing replaces
        grow();
        items_.push_back(std::move(keep));
    }

    // An index at or beyond the count raises IndexOutOfRange "readAt"; a
    // negative one raises Subscript.
    const T& readAt(std::int32_t i) const {
        if (i >= count()) throw Constants::errReadAt();
        if (i < 0) throw Subscript();
        return items_[static_cast<std::size_t>(i)];
    }

    void writeAt(std::int32_t i, const T& x) {
        if (i >= count()) throw Constants::errWriteAt();
        if (i < 0) throw Subscript();
        items_[static_cast<std::size_t>(i)] = x;
    }

    // Inserts x before index i (0 <= i <= count); the elements from i on
    // move up by one.
    void insertAt(std::int32_t i, const T& x) {
        if (i < 0 || i > count()) throw EGeneric::named("IndexOutOfRange", "insertAt " + intToString(i));
        if (count() < capacity_) {
            items_.insert(items_.begin() + i, x);
            return;
        }
        T keep = x;
        grow();
        items_.insert(items_.begin() + i, std::move(keep));
    }

    // Removes element i; the later elements move down by one.
    void deleteAt(std::int32_t i) {
        if (i < 0 || i >= count()) throw EGeneric::named("IndexOutOfRange", "deleteAt " + intToString(i));
        items_.erase(items_.begin() + i);
    }

    // Empties the array, giving it fresh storage of capacity 0.
    void clear() {
        std::vector<T>().swap(items_);
        capacity_ = 0;
    }

    // The contents, elements 0 to count - 1.
    const T* begin() const { return items_.data(); }
    const T* end() const { return items_.data() + items_.size(); }

private:
    void grow() {
        std::int32_t next = grownCapacity(capacity_);
        items_.reserve(static_cast<std::size_t>(next));
        capacity_ = next;
    }

    std::vector<T> items_;
    std::int32_t capacity_ = 0;
};

}  // namespace zil
