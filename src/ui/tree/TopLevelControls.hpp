#pragma once
// Dirty rectangles and the redraw of a top-level window.
//
// A repaint request only marks the control's whole area, clipped by every
// ancestor, dirty in its window (invalidate); updateScreen alone draws. A
// window keeps at most two dirty rectangles after each request.
//
// The redraw calls one painter per drawn control, with a canvas: a surface
// that shares the screen's pixels over the part of the control that can be
// seen (clamped to its parent's), the position of the control's own origin
// in that surface (negative where the control starts left of or above its
// parent, so it keeps its place and is cut at the edge), and the surface's
// clip rectangle already set to the area to paint. The painter draws the
// control's items at origin + (x, y) for the control's point (x, y).
#include <SDL.h>

#include <cstdint>
#include <functional>
#include <vector>

#include "shell/IRect2D.hpp"
#include "shell/OutStream.hpp"
#include "ui/base/IdCell.hpp"

namespace zil {

class ControlTree;

struct Canvas {
    SDL_Surface* surface = nullptr;
    std::int32_t x = 0;  // the control's origin in the surface
    std::int32_t y = 0;
};

// Paints one control's own items. `clip` is the area to paint in the
// control's coordinates; the canvas's clip rectangle covers the same pixels.
using ControlPainter = std::function<void(const IRect2D& clip, const IdCell& control, const Canvas& canvas)>;

namespace TopLevelControls {

// The common part of a and b; (0, 0, 0, 0) when they do not overlap (edges
// that only touch do not).
IRect2D intersectRect(const IRect2D& a, const IRect2D& b);

// The bounding rectangle of a and b; an empty one counts for nothing, and
// two empty ones give (0, 0, 0, 0).
IRect2D unionRect(const IRect2D& a, const IRect2D& b);

// Merges a dirty list (newest first) of up to three rectangles into at most
// two: overlapping ones are merged, else the pair whose merged rectangle
// meets nothing else, else the pair with the smallest merged area (ties go
// to the later pair). Four or more are a fault of the caller: the line "Bug:
// TopLevelControls.unifyRects got more than 3 rectangles!\n" goes to
// `report` and all of them are merged into one.
std::vector<IRect2D> unifyRects(std::vector<IRect2D> list, OutStream& report);

// Marks the control's whole area, clipped by every ancestor, dirty in its
// window: every repaint request of a control (its repaint callbacks and
// links, a pointer action's redraw, the preview's redraw) comes here. A
// window without a dirty list (none registered) drops it, and so is an
// empty area: it would hold one of the two places and force the real ones
// to merge. Lookups fail as ControlTree::lookup does.
void invalidate(ControlTree& tree, const IdCell& control);

// True when a drawn child of the snapshot whose look paints its whole box
// opaquely (ControlDrawItem::paintsWholeBox) lies over all of `rect` (in
// the parent's coordinates); an empty rect is covered by any such child.
// Stops looking children up at the first that covers.
bool isCovered(const ControlTree& tree, const std::vector<IdCell>& children, const IRect2D& rect);

// Draws a child control and its subtree over `clip` (in the parent's
// coordinates) into the parent's canvas: nothing when it is hidden or its
// box misses the clip; else the painter for the control unless a child
// covers the area (isCovered), then each child in child order. Every
// sub-surface is freed before it returns, also when it raises.
void redraw(ControlTree& tree, const IdCell& child, const IRect2D& clip, const Canvas& parent,
            const ControlPainter& paint);

// The window's part of one dirty rectangle: the rectangle cut to the window
// (0, 0, w, h) and the screen; when that is not empty and no drawn child
// covers it, the window's own items are painted into the screen under that
// clip. Returns the rectangle (empty: nothing to draw).
IRect2D redrawWindow(ControlTree& tree, const IdCell& window, const IRect2D& dirty, SDL_Surface* screen,
                     const ControlPainter& paint);

// Draws every child of the window over `rect` into the screen.
void redrawWindowChildren(ControlTree& tree, const IdCell& window, const IRect2D& rect, SDL_Surface* screen,
                          const ControlPainter& paint);

}  // namespace TopLevelControls
}  // namespace zil
