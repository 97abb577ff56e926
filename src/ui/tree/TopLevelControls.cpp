#include "ui/tree/TopLevelControls.hpp"

#include <algorithm>
#include <memory>
#include <utility>

#include "glue/SDLFuncs.hpp"
#include "shell/Constants.hpp"
#include "shell/Errors.hpp"
#include "ui/tree/ControlTree.hpp"
#include "ui/tree/RectArith.hpp"
#include "ui/tree/RepaintArea.hpp"

namespace zil::TopLevelControls {

namespace {

std::int64_t area(const IRect2D& r) { return std::int64_t{r.w} * r.h; }

bool overlap(const IRect2D& a, const IRect2D& b) { return !intersectRect(a, b).isEmpty(); }

// [a, b] merged when they overlap.
std::vector<IRect2D> unifyTwo(const IRect2D& a, const IRect2D& b) {
    if (overlap(a, b)) return {unionRect(a, b)};
    return {a, b};
}

struct SubSurfaceFree {
    void operator()(SDL_Surface* s) const { mltVuq_FreeSubSurface(s); }
};
using SubSurface = std::unique_ptr<SDL_Surface, SubSurfaceFree>;

Rect64 surfaceRect(SDL_Surface* s) { return {0, 0, mltSDLSurface_GetWidth(s), mltSDLSurface_GetHeight(s)}; }

}  // namespace

IRect2D intersectRect(const IRect2D& a, const IRect2D& b) { return narrow(intersect(wide(a), wide(b))); }

IRect2D unionRect(const IRect2D& a, const IRect2D& b) {
    if (a.isEmpty()) return b.isEmpty() ? Constants::emptyRect : b;
    if (b.isEmpty()) return a;
    const std::int64_t x = std::min(a.x, b.x);
    const std::int64_t y = std::min(a.y, b.y);
    const std::int64_t right = std::max(std::int64_t{a.x} + a.w, std::int64_t{b.x} + b.w);
    const std::int64_t bottom = std::max(std::int64_t{a.y} + a.h, std::int64_t{b.y} + b.h);
    return narrow(Rect64{x, y, right - x, bottom - y});
}

std::vector<IRect2D> unifyRects(std::vector<IRect2D> list, OutStream& report) {
    switch (list.size()) {
        case 0:
        case 1:
            return list;
        case 2:
            return unifyTwo(list[0], list[1]);
        case 3:
            break;
        default: {
            printMessage(report, "Bug: TopLevelControls.unifyRects got more than 3 rectangles!\n");
            IRect2D all = Constants::emptyRect;
            for (const IRect2D& r : list) all = unionRect(all, r);
            return {all};
        }
    }
    const IRect2D a = list[0], b = list[1], c = list[2];
    const IRect2D ab = unionRect(a, b), ac = unionRect(a, c), bc = unionRect(b, c);
    if (overlap(a, b)) return unifyTwo(ab, c);
    if (overlap(a, c)) return unifyTwo(ac, b);
    if (overlap(b, c)) return unifyTwo(bc, a);
    if (!overlap(ab, c)) return {ab, c};
    if (!overlap(ac, b)) return {ac, b};
    if (!overlap(bc, a)) return {bc, a};
    std::vector<IRect2D> kept{ab, c};
    std::int64_t keptArea = area(ab);
    if (area(ab) > area(ac)) {
        kept = {ac, b};
        keptArea = area(ac);
    }
    if (area(bc) <= keptArea) kept = {bc, a};
    return kept;
}

void invalidate(ControlTree& tree, const IdCell& control) {
    const RepaintArea::Area area = RepaintArea::of(tree, tree.lookup(control));
    if (area.rect.empty()) return;
    ControlTree::Window* window = tree.findWindow(area.window);
    if (window == nullptr) return;
    std::vector<IRect2D>& dirty = window->dirty;
    dirty.insert(dirty.begin(), narrow(area.rect));
    dirty = unifyRects(std::move(dirty), tree.report());
}

bool isCovered(const ControlTree& tree, const std::vector<IdCell>& children, const IRect2D& rect) {
    for (const IdCell& child : children) {
        std::shared_ptr<UIControl> c = tree.lookup(child);
        const IRect2D box = c->boundingBox.value();
        if (c->visible.value() != 0 && unionRect(box, rect) == box && c->drawItem &&
            c->drawItem->paintsWholeBox(box.w, box.h))
            return true;
    }
    return false;
}

void redraw(ControlTree& tree, const IdCell& child, const IRect2D& clip, const Canvas& parent,
            const ControlPainter& paint) {
    IdCell self;
    IRect2D box;
    Rect64 wanted;
    std::vector<IdCell> children;
    {
        std::shared_ptr<UIControl> c = tree.lookup(child);
        if (c->visible.value() == 0) return;
        self = c->id;
        box = c->boundingBox.value();
        wanted = intersect(wide(clip), wide(box));
        if (wanted.empty()) return;
        children = ControlTree::snapshotChildren(*c);
    }
    // The part of the box that the parent's surface holds, in its pixels,
    // and the area to paint in the control's own coordinates.
    const std::int64_t ox = std::int64_t{parent.x} + box.x;
    const std::int64_t oy = std::int64_t{parent.y} + box.y;
    const Rect64 shown = intersect(Rect64{ox, oy, box.w, box.h}, surfaceRect(parent.surface));
    if (shown.empty()) return;
    const Rect64 area = intersect(Rect64{wanted.x - box.x, wanted.y - box.y, wanted.w, wanted.h},
                                  Rect64{shown.x - ox, shown.y - oy, shown.w, shown.h});
    if (area.empty()) return;
    const IRect2D local = narrow(area);

    SubSurface sub(mltVuq_MakeSubSurface(parent.surface, saturate32(shown.x), saturate32(shown.y), saturate32(shown.w),
                                         saturate32(shown.h)));
    if (!sub) throw BackendError();
    const Canvas canvas{sub.get(), saturate32(ox - shown.x), saturate32(oy - shown.y)};
    mltSDL_SetClipRect(sub.get(), local.x + canvas.x, local.y + canvas.y, local.w, local.h);
    if (!isCovered(tree, children, local)) paint(local, self, canvas);
    children = ControlTree::snapshotChildren(*tree.lookup(child));
    for (const IdCell& k : children) redraw(tree, k, local, canvas, paint);
}

IRect2D redrawWindow(ControlTree& tree, const IdCell& window, const IRect2D& dirty, SDL_Surface* screen,
                     const ControlPainter& paint) {
    IdCell self;
    Rect64 r;
    std::vector<IdCell> children;
    {
        std::shared_ptr<UIControl> w = tree.lookup(window);
        const IRect2D box = w->boundingBox.value();
        r = intersect(intersect(wide(dirty), Rect64{0, 0, box.w, box.h}), surfaceRect(screen));
        if (r.empty()) return Constants::emptyRect;
        self = w->id;
        children = ControlTree::snapshotChildren(*w);
    }
    const IRect2D rect = narrow(r);
    if (!isCovered(tree, children, rect)) {
        mltSDL_SetClipRect(screen, rect.x, rect.y, rect.w, rect.h);
        paint(rect, self, Canvas{screen, 0, 0});
    }
    return rect;
}

void redrawWindowChildren(ControlTree& tree, const IdCell& window, const IRect2D& rect, SDL_Surface* screen,
                          const ControlPainter& paint) {
    const std::vector<IdCell> children = ControlTree::snapshotChildren(*tree.lookup(window));
    for (const IdCell& k : children) redraw(tree, k, rect, Canvas{screen, 0, 0}, paint);
}

}  // namespace zil::TopLevelControls
