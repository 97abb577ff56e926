#include "shell/BlockPool.hpp"

#include <algorithm>

namespace zil {

namespace {

constexpr std::size_t kAlign = alignof(std::max_align_t);

}  // namespace

BlockPool::BlockPool(std::size_t blockSize, std::size_t blocksPerSlab)
    : blockSize_((std::max(blockSize, sizeof(FreeBlock)) + kAlign - 1) / kAlign * kAlign),
      blocksPerSlab_(std::max<std::size_t>(blocksPerSlab, 1)) {}

void* BlockPool::allocate() {
    void* block;
    if (free_ != nullptr) {
        block = free_;
        free_ = free_->next;
    } else {
        if (fresh_ == slabEnd_) {
            // new[] of bytes is aligned for any object of the slab's size.
            slabs_.push_back(std::make_unique_for_overwrite<std::byte[]>(blockSize_ * blocksPerSlab_));
            fresh_ = slabs_.back().get();
            slabEnd_ = fresh_ + blockSize_ * blocksPerSlab_;
        }
        block = fresh_;
        fresh_ += blockSize_;
    }
    ++inUse_;
    return block;
}

void BlockPool::deallocate(void* block) noexcept {
    auto* b = static_cast<FreeBlock*>(block);
    b->next = free_;
    free_ = b;
    --inUse_;
}

}  // namespace zil
