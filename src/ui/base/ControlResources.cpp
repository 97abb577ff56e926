#include "ui/base/ControlResources.hpp"

#include <exception>

#include "render/RiState.hpp"
#include "ui/base/ImageManager.hpp"

namespace zil {

SDL_Surface* LookBitmaps::take(ImageManager& images, const AppConfig::Cell& config, std::string_view fileName) {
    std::string path = lookupResourcePath(config, "ui/lf/vuq/") + std::string(fileName);
    paths_.reserve(paths_.size() + 1);  // so that a loaded bitmap is always remembered
    SDL_Surface* surface = images.getImage(path);
    if (surface != nullptr) {
        images_ = &images;
        paths_.push_back(std::move(path));
    }
    return surface;
}

void LookBitmaps::giveBack() {
    std::vector<std::string> paths = std::move(paths_);
    paths_.clear();
    std::exception_ptr failure;
    for (const std::string& path : paths) {
        try {
            images_->autorelease(path);
        } catch (...) {
            if (!failure) failure = std::current_exception();
        }
    }
    if (failure) std::rethrow_exception(failure);
}

void ControlResources::release() {
    std::exception_ptr failure;
    auto step = [&failure](auto&& f) {
        try {
            f();
        } catch (...) {
            if (!failure) failure = std::current_exception();
        }
    };
    for (FontHandle& font : fonts) step([&font] { font.release(); });
    fonts.clear();
    step([this] { lookBitmaps.giveBack(); });
    for (auto& font : ownFonts) font->freeSurfaces();
    ownFonts.clear();
    if (RiState* st = riContext) {
        riContext = nullptr;
        step([st] { riReleaseContext(*st); });
    }
    if (failure) std::rethrow_exception(failure);
}

}  // namespace zil
