#pragma once
// The screen update: the one place where controls are drawn and copied to
// the display. The event loop calls it after every handled event and before
// it waits for the next one.
#include <cstdint>
#include <optional>
#include <vector>

#include "ui/tree/ControlTree.hpp"
#include "ui/tree/TopLevelControls.hpp"

namespace zil {

// Redraws the dirty rectangles of the window shown on the screen (the one
// activated last) and pushes them to the display, then empties its dirty
// list; rectangles marked while drawing wait for the next update. The
// screen is locked around the drawing when SDL asks for it. Per rectangle
// the window's own items are painted, then each child's subtree.
//
// A failure while drawing is caught, since a broken control must not stop
// the program: the drawing of the window ends there, every sub-surface is
// freed, and the recorded rectangles are pushed as they are. Only
// rectangles cut to the screen and not empty reach SDL_UpdateRect.
//
// Returns the rectangles handed to SDL_UpdateRect, in order; no value,
// touching nothing of SDL, when no screen is open or the window it showed
// is gone: nothing can be shown.
std::optional<std::vector<IRect2D>> updateScreen(ControlTree& tree, const ControlPainter& paint);

// What of `rects` reaches SDL_UpdateRect on a w x h screen: each cut to the
// screen, the empty ones left out (SDL reads (0, 0, 0, 0) as everything).
std::vector<IRect2D> partsOnScreen(const std::vector<IRect2D>& rects, std::int32_t w, std::int32_t h);

}  // namespace zil
