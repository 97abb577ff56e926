#include "ui/tree/ScreenUpdate.hpp"

#include <utility>
#include <vector>

#include "glue/SDLFuncs.hpp"

namespace zil {

std::vector<IRect2D> partsOnScreen(const std::vector<IRect2D>& rects, std::int32_t w, std::int32_t h) {
    std::vector<IRect2D> parts;
    for (const IRect2D& r : rects) {
        const IRect2D shown = TopLevelControls::intersectRect(r, {0, 0, w, h});
        if (!shown.isEmpty()) parts.push_back(shown);
    }
    return parts;
}

namespace {

std::vector<IRect2D> pushToDisplay(SDL_Surface* screen, const std::vector<IRect2D>& rects) {
    std::vector<IRect2D> parts =
        partsOnScreen(rects, mltSDLSurface_GetWidth(screen), mltSDLSurface_GetHeight(screen));
    for (const IRect2D& r : parts) mltSDL_UpdateRect(screen, r.x, r.y, r.w, r.h);
    return parts;
}

}  // namespace

std::optional<std::vector<IRect2D>> updateScreen(ControlTree& tree, const ControlPainter& paint) {
    SDL_Surface* screen = tree.screen();
    const IdCell window = tree.shownWindow();
    ControlTree::Window* entry = screen != nullptr ? tree.findWindow(idOf(window)) : nullptr;
    if (entry == nullptr || idOf(window) == 0) return std::nullopt;
    std::vector<IRect2D> dirty = std::move(entry->dirty);
    entry->dirty.clear();
    if (dirty.empty()) return dirty;

    const bool mustLock = mltSDL_MUSTLOCK(screen) != 0;
    if (mustLock && mltSDL_LockSurface(screen) < 0) {
        // Nothing may touch the pixels: try again at the next update.
        if (ControlTree::Window* again = tree.findWindow(idOf(window))) again->dirty = std::move(dirty);
        return std::vector<IRect2D>{};
    }
    std::vector<IRect2D> drawn;
    try {
        for (const IRect2D& d : dirty) drawn.push_back(TopLevelControls::redrawWindow(tree, window, d, screen, paint));
        for (const IRect2D& r : drawn)
            if (!r.isEmpty()) TopLevelControls::redrawWindowChildren(tree, window, r, screen, paint);
    } catch (...) {
        // The failing step has written its own trace; show what there is.
        drawn = dirty;
    }
    if (mustLock) mltSDL_UnlockSurface(screen);
    return pushToDisplay(screen, drawn);
}

}  // namespace zil
