#pragma once
// Bitmap files shared by path: each is loaded once while anyone holds it,
// counted, and freed by the drain of the manager's pool once every holder
// has given it back. Surfaces are kept exactly as SDL loaded them.
#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>

#include <SDL.h>

#include "shell/StringTree.hpp"
#include "ui/base/AutoreleasePool.hpp"

namespace zil {

struct ImageEntry {
    SDL_Surface* surface = nullptr;
    std::shared_ptr<PoolEntry> entry;  // holds the count
};

class ImageManager {
public:
    ImageManager() = default;
    ImageManager(const ImageManager&) = delete;
    ImageManager& operator=(const ImageManager&) = delete;

    // The shared image of `path`, loading it on first use; one more
    // reference. Null when the file cannot be loaded: nothing is recorded and
    // the next call tries again.
    SDL_Surface* getImage(std::string_view path);

    // Gives back one reference to the image of `path`; at 0 or below the
    // image waits for the next drain of pool(). A path that is not held
    // raises EGeneric "ImageRessource" and changes nothing.
    void autorelease(std::string_view path);

    // The image pool: drained when idle, destroyed at shut-down.
    AutoreleasePool& pool() { return pool_; }

    // The reference count of `path`, none when it is not in the table.
    std::optional<std::int32_t> count(std::string_view path) const;

private:
    StringTree<ImageEntry> table_;
    AutoreleasePool pool_;  // after the table: its releases edit the table
};

}  // namespace zil
