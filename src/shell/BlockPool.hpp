#pragma once
// Blocks of one size for the many small objects of one kind that a user
// interface makes and drops together. Freed blocks go on a free list and the
// slabs they are cut from go back only with the pool, so taking or giving
// back a block touches nothing but the block, where the heap would also touch
// its neighbours and its own lists anywhere in a large heap. One pool per
// user interface, unlike the records' process-wide node pool: a new
// interface then takes its nodes from fresh slabs, side by side, not from
// what an older one scattered (the shared pool, tried here, made building
// and tearing down slower by a fifth; the standard library's pool resource
// made building a quarter slower).
#include <cstddef>
#include <memory>
#include <vector>

namespace zil {

class BlockPool {
public:
    // Blocks of at least `blockSize` bytes, aligned for any object.
    explicit BlockPool(std::size_t blockSize, std::size_t blocksPerSlab = 256);
    BlockPool(const BlockPool&) = delete;
    BlockPool& operator=(const BlockPool&) = delete;

    std::size_t blockSize() const { return blockSize_; }
    // Blocks handed out and not given back.
    std::size_t blocksInUse() const { return inUse_; }

    void* allocate();
    void deallocate(void* block) noexcept;

private:
    struct FreeBlock {
        FreeBlock* next;
    };

    std::size_t blockSize_;
    std::size_t blocksPerSlab_;
    std::size_t inUse_ = 0;
    FreeBlock* free_ = nullptr;
    std::byte* fresh_ = nullptr;  // the part of the newest slab never handed out
    std::byte* slabEnd_ = nullptr;
    std::vector<std::unique_ptr<std::byte[]>> slabs_;
};

// An allocator that takes single objects that fit a block from the pool and
// anything else (or everything, without a pool) from the heap. The pool
// must outlive every object taken from it.
template <class T>
class PoolAllocator {
public:
    using value_type = T;

    explicit PoolAllocator(BlockPool* pool = nullptr) noexcept : pool_(pool) {}
    template <class U>
    PoolAllocator(const PoolAllocator<U>& other) noexcept : pool_(other.pool()) {}

    T* allocate(std::size_t n) {
        if (pooled(n)) return static_cast<T*>(pool_->allocate());
        return std::allocator<T>{}.allocate(n);
    }
    void deallocate(T* p, std::size_t n) noexcept {
        if (pooled(n))
            pool_->deallocate(p);
        else
            std::allocator<T>{}.deallocate(p, n);
    }

    BlockPool* pool() const noexcept { return pool_; }
    friend bool operator==(const PoolAllocator& a, const PoolAllocator& b) noexcept { return a.pool_ == b.pool_; }

private:
    bool pooled(std::size_t n) const noexcept {
        return pool_ != nullptr && n == 1 && sizeof(T) <= pool_->blockSize() &&
               alignof(T) <= alignof(std::max_align_t);
    }

    BlockPool* pool_;
};

}  // namespace zil
