#pragma once
// Fixed-length arrays shared by reference, with a plain (non-atomic)
// reference count: the program is single-threaded, and record reads on the
// preview's hot path copy handles often enough for atomics to show.
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <iterator>
#include <new>
#include <utility>

#include "shell/Constants.hpp"
#include "shell/Errors.hpp"

namespace zil {

namespace detail {

[[noreturn]] void throwSubscript();

// Raw storage for array nodes. Records are made and dropped by the thousand
// on every regeneration, mostly in a few small sizes, so freed blocks of up
// to kPooledNodeBytes are kept on free lists per 8-byte size class and
// handed out again; larger ones go to the heap. The pool is not
// thread-safe (the program is single-threaded) and keeps its memory. Under
// AddressSanitizer every node comes from the heap, so that it still catches
// a use after free.
#if defined(__SANITIZE_ADDRESS__)
#define ZIL_NODE_POOL 0
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ZIL_NODE_POOL 0
#endif
#endif
#ifndef ZIL_NODE_POOL
#define ZIL_NODE_POOL 1
#endif

inline constexpr std::size_t kNodeGrain = 8;
inline constexpr std::size_t kPooledNodeBytes = 512;

struct FreeNode {
    FreeNode* next;
};
// Trivially destructible, so nodes freed during static destruction still
// find it intact.
struct NodePool {
    FreeNode* free[kPooledNodeBytes / kNodeGrain + 1];
    char* cursor;
    char* limit;
    void* slabs;
};
extern NodePool nodePool;

// Out of line: a block carved from the current slab (a new one when it is
// used up), and the heap for large nodes.
void* carveNodeStorage(std::size_t sizeClass);
void* allocateHeapNodeStorage(std::size_t bytes);
void freeHeapNodeStorage(void* p) noexcept;

inline void* allocateNodeStorage(std::size_t bytes) {
#if ZIL_NODE_POOL
    if (bytes <= kPooledNodeBytes) {
        const std::size_t sizeClass = (bytes + kNodeGrain - 1) / kNodeGrain;
        if (FreeNode* f = nodePool.free[sizeClass]) {
            nodePool.free[sizeClass] = f->next;
            return f;
        }
        return carveNodeStorage(sizeClass);
    }
#endif
    return allocateHeapNodeStorage(bytes);
}

// `bytes` must be the size the block was allocated with.
inline void freeNodeStorage(void* p, std::size_t bytes) noexcept {
#if ZIL_NODE_POOL
    if (bytes <= kPooledNodeBytes) {
        const std::size_t sizeClass = (bytes + kNodeGrain - 1) / kNodeGrain;
        nodePool.free[sizeClass] = new (p) FreeNode{nodePool.free[sizeClass]};
        return;
    }
#else
    (void)bytes;
#endif
    freeHeapNodeStorage(p);
}

// Four bytes of count are plenty: every holder takes at least eight bytes
// of memory, so no program here can hold a node four billion times.
struct Node {
    std::uint32_t refs = 1;
};

// Header of one allocation that holds the elements right behind it.
template <class T>
struct alignas(T) ArrayNode : Node {
    std::uint32_t size = 0;
    T* data() { return reinterpret_cast<T*>(reinterpret_cast<char*>(this) + sizeof(ArrayNode)); }
};

}  // namespace detail

// Longest array the system builds; a longer one raises Size.
inline constexpr std::size_t kMaxArrayLength = Constants::maxArrayLength;

// A handle on a fixed-length array. Copies of a handle share the slots: a
// `set` through one is seen through every other. The handle's constness
// does not protect the slots (it behaves like a pointer). A default handle
// is the empty array; empty arrays own no storage.
template <class T>
class SharedArray {
public:
    SharedArray() noexcept = default;
    SharedArray(std::initializer_list<T> items) : SharedArray(items.begin(), items.end()) {}
    template <class It>
    SharedArray(It first, It last) {
        std::size_t n = static_cast<std::size_t>(std::distance(first, last));
        if (n == 0) return;
        node_ = allocate(n);
        T* d = node_->data();
        std::size_t i = 0;
        try {
            for (; first != last; ++first, ++i) new (d + i) T(*first);
        } catch (...) {
            destroyFirst(node_, i, n);
            throw;
        }
    }

    // An array of `n` elements, element i being `make(i)`, made in index order.
    template <class F>
    static SharedArray generate(std::size_t n, F&& make) {
        SharedArray a;
        if (n == 0) return a;
        a.node_ = allocate(n);
        T* d = a.node_->data();
        std::size_t i = 0;
        try {
            for (; i < n; ++i) new (d + i) T(make(i));
        } catch (...) {
            destroyFirst(std::exchange(a.node_, nullptr), i, n);
            throw;
        }
        return a;
    }

    SharedArray(const SharedArray& o) noexcept : node_(o.node_) {
        if (node_) ++node_->refs;
    }
    SharedArray(SharedArray&& o) noexcept : node_(std::exchange(o.node_, nullptr)) {}
    SharedArray& operator=(const SharedArray& o) noexcept {
        SharedArray(o).swap(*this);
        return *this;
    }
    SharedArray& operator=(SharedArray&& o) noexcept {
        SharedArray(std::move(o)).swap(*this);
        return *this;
    }
    ~SharedArray() {
        if (node_ && --node_->refs == 0) destroy(node_);
    }
    void swap(SharedArray& o) noexcept { std::swap(node_, o.node_); }

    std::size_t size() const { return node_ ? node_->size : 0; }
    bool empty() const { return size() == 0; }

    // Unchecked read: the caller has checked the index.
    const T& operator[](std::size_t i) const { return node_->data()[i]; }
    // Checked read: an index outside the array raises Subscript.
    const T& at(std::size_t i) const {
        if (i < size()) return node_->data()[i];
        throwSubscript();
    }
    // Replaces slot i of the shared array; an index outside raises Subscript.
    void set(std::size_t i, T value) const {
        if (i < size()) {
            node_->data()[i] = std::move(value);
            return;
        }
        throwSubscript();
    }

    const T* begin() const { return node_ ? node_->data() : nullptr; }
    const T* end() const { return node_ ? node_->data() + node_->size : nullptr; }

    // True when both handles refer to the same array (empty arrays all count
    // as one).
    bool sameArray(const SharedArray& o) const { return node_ == o.node_; }

private:
    friend class ZilLValue;
    using NodeT = detail::ArrayNode<T>;

    explicit SharedArray(NodeT* adopted) noexcept : node_(adopted) {}

    static NodeT* allocate(std::size_t n) {
        if (n > kMaxArrayLength) throw Size();
        if (n == 0) return nullptr;
        void* raw = detail::allocateNodeStorage(storageBytes(n));
        NodeT* node = new (raw) NodeT;
        node->size = static_cast<std::uint32_t>(n);
        return node;
    }
    [[noreturn]] static void throwSubscript() { detail::throwSubscript(); }
    static constexpr std::size_t storageBytes(std::size_t n) { return sizeof(NodeT) + n * sizeof(T); }
    // Destroys the first `constructed` elements of a node made for `n`.
    static void destroyFirst(NodeT* node, std::size_t constructed, std::size_t n) noexcept {
        T* d = node->data();
        for (std::size_t i = constructed; i > 0; --i) d[i - 1].~T();
        node->~NodeT();
        detail::freeNodeStorage(node, storageBytes(n));
    }
    static void destroy(NodeT* node) noexcept {
        if (node) destroyFirst(node, node->size, node->size);
    }

    NodeT* node_ = nullptr;
};

}  // namespace zil
