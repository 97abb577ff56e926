#include "ui/base/AutoreleasePool.hpp"

#include <algorithm>
#include "shell/CoreInt.hpp"

#include "shell/OutStream.hpp"

namespace zil {

void PoolEntry::free() {
    if (!release_) return;
    // Emptied first: a release that fails part-way is not run again.
    auto release = std::move(release_);
    release_ = nullptr;
    release();
}

AutoreleasePool::~AutoreleasePool() {
    for (auto it = live_.rbegin(); it != live_.rend(); ++it) {
        try {
            (*it)->free();
        } catch (...) {
            // Nothing can be reported from a destructor; the rest is still freed.
        }
    }
}

std::shared_ptr<PoolEntry> AutoreleasePool::add(std::function<void()> release) {
    auto entry = std::make_shared<PoolEntry>(std::move(release));
    live_.push_back(entry);
    return entry;
}

void AutoreleasePool::putPending(std::shared_ptr<PoolEntry> entry) { pending_.push_back(std::move(entry)); }

void AutoreleasePool::drain() {
    auto pending = std::move(pending_);
    pending_.clear();
    for (auto it = pending.rbegin(); it != pending.rend(); ++it) {
        PoolEntry& e = **it;
        if (!e.freed() && e.count <= 0) e.free();
    }
    std::erase_if(live_, [](const std::shared_ptr<PoolEntry>& e) { return e->freed(); });
}

void AutoreleasePool::destroy(OutStream& report) {
    drain();
    while (!live_.empty()) {
        std::shared_ptr<PoolEntry> e = live_.back();
        if (!e->freed()) {
            printMessage(report, "An object in an autorelease pool has " + intToString(e->count) +
                                     " references during destroy\n");
            e->free();
        }
        live_.pop_back();
    }
}

}  // namespace zil
