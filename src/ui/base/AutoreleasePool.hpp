#pragma once
// Reference-counted shared objects and the pools that free them. An object
// whose count drops to 0 waits in its pool's pending list and is freed by the
// next drain, unless it was taken again meanwhile; destroying a pool at
// shut-down frees whatever is left, reporting each object still referenced.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace zil {

class OutStream;

// One shared object as its pool records it. `count` is the object's
// reference count, shared with its owner's record through the pointer. The
// release action frees the object and runs at most once; afterwards the
// entry holds nothing.
class PoolEntry {
public:
    explicit PoolEntry(std::function<void()> release) : release_(std::move(release)) {}
    PoolEntry(const PoolEntry&) = delete;
    PoolEntry& operator=(const PoolEntry&) = delete;

    std::int32_t count = 1;

    bool freed() const { return !release_; }
    // Runs the release action; a freed entry does nothing.
    void free();

private:
    std::function<void()> release_;
};

class AutoreleasePool {
public:
    AutoreleasePool() = default;
    // Frees whatever is still live, without reports: only a pool that was
    // never destroyed has anything left.
    ~AutoreleasePool();
    AutoreleasePool(const AutoreleasePool&) = delete;
    AutoreleasePool& operator=(const AutoreleasePool&) = delete;

    // Records a new object, count 1, as live; `release` frees it.
    std::shared_ptr<PoolEntry> add(std::function<void()> release);
    // Queues an entry whose count has dropped to 0 or below. An entry may be
    // queued more than once; it is freed once.
    void putPending(std::shared_ptr<PoolEntry> entry);
    // Frees every queued entry whose count is still 0 or below, empties the
    // queue and forgets the freed entries.
    void drain();
    // Drains, then writes "An object in an autorelease pool has N references
    // during destroy\n" to `report` for each object still live, newest first,
    // and frees it.
    void destroy(OutStream& report);

    std::size_t liveCount() const { return live_.size(); }

private:
    // Both oldest first; walked from the back, newest first.
    std::vector<std::shared_ptr<PoolEntry>> pending_;
    std::vector<std::shared_ptr<PoolEntry>> live_;
};

}  // namespace zil
