#include "ui/tree/LayoutSteps.hpp"

#include <algorithm>
#include <limits>
#include <utility>
#include <vector>

#include "shell/CoreInt.hpp"
#include "shell/Errors.hpp"
#include "ui/tree/ControlMessages.hpp"
#include "ui/tree/ControlTree.hpp"
#include "ui/tree/TopLevelControls.hpp"

namespace zil {

namespace {

constexpr std::int32_t kIntMin = std::numeric_limits<std::int32_t>::min();

// v as a 32-bit int; Overflow when it does not fit.
std::int32_t fit32(std::int64_t v) {
    if (v < kIntMin || v > std::numeric_limits<std::int32_t>::max()) throw Overflow();
    return static_cast<std::int32_t>(v);
}

std::int32_t negate(std::int32_t v) {
    if (v == kIntMin) throw Overflow();
    return -v;
}

}  // namespace

namespace ControlMessages {

ContentExtent contentExtent(const ControlTree& tree, const IdCell& area) {
    std::int64_t top = 0;
    std::int64_t bottom = 0;
    for (const IdCell& child : ControlTree::snapshotChildren(*tree.lookup(area))) {
        const IRect2D& box = tree.lookup(child)->boundingBox.value();
        top = std::min<std::int64_t>(top, box.y);
        bottom = std::max(bottom, std::int64_t{box.y} + box.h);
    }
    return {static_cast<std::int32_t>(top), fit32(bottom - top)};
}

void updateScrollRange(ControlTree& tree, const ScrollRecord& scroll) {
    if (*scroll.busy != 0) return;
    const ContentExtent content = contentExtent(tree, scroll.area);
    const std::int32_t h = tree.lookup(scroll.area)->boundingBox.value().h;
    const std::int64_t range = scroll.range->value();
    if (content.extent == 0) throw Div();
    // Products of sizes SDL can address (up to 65,535) pass 32 bits; the
    // quotients fit while the contents reach the area's height.
    scroll.size->set(fit32(floorDiv(h * range, content.extent)));
    scroll.position->set(fit32(-floorDiv(content.top * range, content.extent)));
}

void scrollAreaContents(ControlTree& tree, const ScrollRecord& scroll, std::int32_t v) {
    const std::int32_t h = tree.lookup(scroll.area)->boundingBox.value().h;
    const ContentExtent content = contentExtent(tree, scroll.area);
    const std::int64_t span = std::int64_t{scroll.range->value()} - scroll.size->value();
    // Contents that fit leave the bar no room to move: they sit at the top.
    const std::int64_t q = span == 0 ? 0 : floorDiv((std::int64_t{content.extent} - h) * v, span);
    const std::int64_t offset = -q - content.top;

    *scroll.busy = 1;
    struct Idle {
        std::int32_t& busy;
        ~Idle() { busy = 0; }
    } idle{*scroll.busy};
    for (const IdCell& child : ControlTree::snapshotChildren(*tree.lookup(scroll.area))) {
        if (idOf(child) == idOf(scroll.frame)) continue;
        std::shared_ptr<UIControl> c = tree.lookup(child);
        IRect2D box = c->boundingBox.value();
        box.y = fit32(box.y + offset);
        c->boundingBox.set(box);
    }
}

void fitItemsHeight(ControlTree& tree, const ItemList& items) {
    while (items.itemCount() > items.flags->count()) items.flags->append(0);
    {
        std::shared_ptr<UIControl> list = tree.lookup(items.list);
        const std::int32_t line = items.lineHeight();
        IRect2D box = list->boundingBox.value();
        box.h = fit32(std::int64_t{items.itemCount()} * line);
        list->boundingBox.set(box);
    }
    TopLevelControls::invalidate(tree, items.list);
}

void insetFramedChild(ControlTree& tree, const FramedChild& framed) {
    const IRect2D frameBox = tree.lookup(framed.frame)->boundingBox.value();
    act(tree, InsetFirstChild{framed.fitted}, frameBox, framed.frame);
    const std::vector<IdCell> keyed = ControlTree::snapshotChildren(*tree.lookup(framed.keyed));
    if (keyed.empty()) return;
    framed.registration->remove();
    *framed.registration = Registration::pushInSlot(framed.keyDown, keyed.front(), framed.latchKey);
    if (framed.keyUp) {
        framed.releaseRegistration->remove();
        *framed.releaseRegistration = Registration::pushInSlot(framed.keyUp, keyed.front(), framed.releaseKey);
    }
    TopLevelControls::invalidate(tree, framed.frame);
}

Point toControlPoint(const ControlTree& tree, const IdCell& control, Point p) {
    for (IdCell c = control;;) {
        std::shared_ptr<UIControl> u = tree.lookup(c);
        if (idOf(u->parent) == 0) return p;
        const IRect2D& box = u->boundingBox.value();
        p = {fit32(std::int64_t{p.x} + negate(box.x)), fit32(std::int64_t{p.y} + negate(box.y))};
        c = u->parent;
    }
}

void runMouseHandlers(const MouseTable& handlers, const IdCell& control, const PointerAt& p) {
    deliverToSlots(handlers, control, p);
}

bool hitAndCapture(const ControlTree& tree, const PointerAt& p, const IdCell& control, const HitRecord& hit) {
    if (hit.test) {
        std::shared_ptr<UIControl> c = tree.lookup(control);
        const IRect2D& box = c->boundingBox.value();
        if (c->visible.value() == 0) return false;
        if (!box.holdsLocal(p.local.x, p.local.y)) return false;
    }
    if (*hit.capture != 0) return false;
    hit.marks->at(idOf(control)) = 1;
    *hit.capture = 1;
    return true;
}

void hitTestAndCapture(const ControlTree& tree, const PointerAt& p, const IdCell& control, const HitRecord& hit) {
    if (hitAndCapture(tree, p, control, hit)) runMouseHandlers(*hit.handlers, control, p);
}

void hitTestAndWalkRecords(const ControlTree& tree, const PointerAt& p, const IdCell& control, const HitRecord& hit) {
    if (hitAndCapture(tree, p, control, hit)) controlRecordListWalk(tree, control, *hit.handlers, p);
}

}  // namespace ControlMessages

void controlRecordListWalk(const ControlTree& tree, const IdCell& control, const MouseTable& items, const PointerAt& p) {
    for (const IdCell& item : ControlTree::snapshotChildren(*tree.lookup(control))) {
        PointerAt at = p;
        {
            std::shared_ptr<UIControl> c = tree.lookup(item);
            if (c->visible.value() == 0) continue;
            const IRect2D& box = c->boundingBox.value();
            at.local = {fit32(std::int64_t{p.local.x} - box.x), fit32(std::int64_t{p.local.y} - box.y)};
            if (!box.holdsLocal(at.local.x, at.local.y)) continue;
        }
        ControlMessages::runMouseHandlers(items, item, at);
    }
}

namespace LayoutSteps {

namespace {

void followContents(ControlTree& tree, const ScrollRecord& scroll) {
    if (ControlMessages::contentExtent(tree, scroll.area).extent != 0) ControlMessages::updateScrollRange(tree, scroll);
}

}  // namespace

RectList::Callback updateScrollRange(ControlTree& tree, std::shared_ptr<const ScrollRecord> scroll) {
    return [t = &tree, scroll = std::move(scroll)](const IdCell&, const IRect2D&) {
        ControlMessages::updateScrollRange(*t, *scroll);
    };
}

IntList::Callback scrollAreaContents(ControlTree& tree, std::shared_ptr<const ScrollRecord> scroll) {
    // The entry sits on the position's own list: holding the position would
    // keep it, and all it reaches, alive for ever.
    ScrollRecord held = *scroll;
    held.position = nullptr;
    return [t = &tree, held = std::move(held)](const IdCell&, const std::int32_t& v) {
        ControlMessages::scrollAreaContents(*t, held, v);
    };
}

PlainList::Callback followScrollContents(ControlTree& tree, std::shared_ptr<const ScrollRecord> scroll) {
    return [t = &tree, scroll = std::move(scroll)](const IdCell&) { followContents(*t, *scroll); };
}

RectList::Callback followBarLength(ControlTree& tree, std::shared_ptr<const ScrollRecord> scroll) {
    return [t = &tree, scroll = std::move(scroll)](const IdCell&, const IRect2D& box) {
        scroll->range->set(box.h);
        followContents(*t, *scroll);
    };
}

PlainList::Callback fitItemsHeight(ControlTree& tree, std::shared_ptr<const ItemList> items) {
    return [t = &tree, items = std::move(items)](const IdCell&) { ControlMessages::fitItemsHeight(*t, *items); };
}

PlainList::Callback insetFramedChild(ControlTree& tree, std::shared_ptr<const FramedChild> framed) {
    return [t = &tree, framed = std::move(framed)](const IdCell&) { ControlMessages::insetFramedChild(*t, *framed); };
}

}  // namespace LayoutSteps
}  // namespace zil
