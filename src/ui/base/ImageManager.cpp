#include "ui/base/ImageManager.hpp"

#include <string>

#include "glue/SDLFuncs.hpp"
#include "shell/Errors.hpp"

namespace zil {

SDL_Surface* ImageManager::getImage(std::string_view path) {
    if (const ImageEntry* held = table_.lookup(path)) {
        ++held->entry->count;
        return held->surface;
    }
    // SDL takes a C string: a path with a NUL byte in it would open another file.
    if (path.find('\0') != std::string_view::npos) return nullptr;
    std::string name(path);
    SDL_Surface* surface = mltSDL_LoadBMP(name.c_str());
    if (surface == nullptr) return nullptr;
    ImageEntry image;
    image.surface = surface;
    try {
        image.entry = pool_.add([this, surface, name] {
            mltSDL_FreeSurface(surface);
            table_ = table_.remove(name);
        });
        table_ = table_.insert(name, image);
    } catch (...) {
        if (image.entry) image.entry->free();
        else mltSDL_FreeSurface(surface);
        throw;
    }
    return surface;
}

void ImageManager::autorelease(std::string_view path) {
    const ImageEntry* held = table_.lookup(path);
    if (held == nullptr)
        throw EGeneric::named("ImageRessource",
                              "Image " + std::string(path) + " has been freed too early in ImageManager.autorelease!");
    if (--held->entry->count <= 0) pool_.putPending(held->entry);
}

std::optional<std::int32_t> ImageManager::count(std::string_view path) const {
    if (const ImageEntry* held = table_.lookup(path)) return held->entry->count;
    return std::nullopt;
}

}  // namespace zil
