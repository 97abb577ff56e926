#include "ui/controls/ControlEvents.hpp"

#include <algorithm>
#include <utility>

#include "ui/controls/UIContext.hpp"
#include "ui/tree/ControlTree.hpp"
#include "ui/tree/LayoutSteps.hpp"

namespace zil {

namespace {

struct Entry {
    IdCell control;
    Point local;
};

// Marks controls as reached during one walk and clears the marks it set
// when the walk is over, however it ends.
class Marks {
public:
    explicit Marks(AttributeStore<std::int32_t>& store) : store_(store) {}
    ~Marks() {
        for (UIControlID id : set_)
            if (id < store_.size()) store_.at(id) = 0;
    }
    Marks(const Marks&) = delete;
    Marks& operator=(const Marks&) = delete;

    // False when the control was reached before.
    bool take(const IdCell& c) {
        std::int32_t& mark = store_.at(idOf(c));
        if (mark != 0) return false;
        mark = 1;
        set_.push_back(idOf(c));
        return true;
    }

private:
    AttributeStore<std::int32_t>& store_;
    std::vector<UIControlID> set_;
};

// The breadth-first queue of the pick: the top-level windows first (`roots`
// of them), then every visible child holding the pointer. A loop over the
// queue, not a recursion: a description may stack thousands of controls.
struct Walk {
    std::vector<Entry> queue;
    std::size_t roots = 0;
};

Walk walkUnderPointer(const ControlTree& tree, AttributeStore<std::int32_t>& marks, Point w) {
    Marks reached(marks);
    Walk walk;
    for (const ControlTree::Window& window : tree.windows())
        if (reached.take(window.id)) walk.queue.push_back({window.id, w});
    walk.roots = walk.queue.size();
    for (std::size_t i = 0; i < walk.queue.size(); ++i) {
        const Point p = walk.queue[i].local;
        const std::vector<IdCell> children = ControlTree::snapshotChildren(*tree.lookup(walk.queue[i].control));
        for (const IdCell& child : children) {
            if (!reached.take(child)) continue;
            const std::shared_ptr<UIControl> c = tree.lookup(child);
            const IRect2D& box = c->boundingBox.value();
            // Inside the box the local point cannot leave 32 bits.
            if (c->visible.value() != 0 && box.holds(p.x, p.y))
                walk.queue.push_back({child, {p.x - box.x, p.y - box.y}});
        }
    }
    return walk;
}

// A top-level window holds the pointer in its own coordinates.
bool rootHolds(const ControlTree& tree, const Entry& e) {
    const std::shared_ptr<UIControl> c = tree.lookup(e.control);
    const IRect2D& box = c->boundingBox.value();
    return c->visible.value() != 0 && box.holdsLocal(e.local.x, e.local.y);
}

// The controls under the pointer, by ascending ID.
std::vector<IdCell> controlsUnder(const ControlTree& tree, const Walk& walk) {
    std::vector<IdCell> under;
    under.reserve(walk.queue.size());
    for (std::size_t i = 0; i < walk.queue.size(); ++i)
        if (i >= walk.roots || rootHolds(tree, walk.queue[i])) under.push_back(walk.queue[i].control);
    std::sort(under.begin(), under.end(), [](const IdCell& a, const IdCell& b) { return idOf(a) < idOf(b); });
    return under;
}

}  // namespace

ControlEventTables::ControlEventTables(ControlTree& t, FocusState& f, HandlerTables& h, PointerActionStores& p)
    : tree(t), focus(f), handlers(h), pointerActions(p) {}

ControlEventTables::ControlEventTables(UIContext& ctx)
    : ControlEventTables(ctx.tree, ctx.focus, ctx.handlers, ctx.pointerActions) {}

// The pointer's path through the toolkit.
struct PointerPath {
    ControlEventTables& t;

    // The grab holder, dropping a grab whose control is gone.
    const IdCell& holder() {
        if (t.grab_ && idOf(t.grab_) == 0) t.grab_.reset();
        return t.grab_;
    }

    // The grab holder with the pointer in its coordinates, else the pick.
    std::optional<Controls::Picked> receiver(Point w) {
        if (const IdCell& g = holder()) return Controls::Picked{g, ControlMessages::toControlPoint(t.tree, g, w)};
        return Controls::pickControl(t.tree, *t.handlers.marks, w);
    }

    void press(Point w) {
        const std::optional<Controls::Picked> r = receiver(w);
        if (!r) return;
        t.grab_ = r->control;
        Controls::runPointerActions(t.tree, *t.pointerActions.press, r->control, {r->local, w});
    }

    void release(Point w) {
        struct Free {
            IdCell& grab;
            ~Free() { grab.reset(); }
        } free{t.grab_};
        if (const std::optional<Controls::Picked> r = receiver(w))
            Controls::runPointerActions(t.tree, *t.pointerActions.release, r->control, {r->local, w});
    }

    void motion(const MotionRecord& m) {
        const Point w{m.x, m.y};
        const Point rel{m.xrel, m.yrel};
        std::vector<IdCell> before = std::move(t.under_);
        t.under_ = controlsUnder(t.tree, walkUnderPointer(t.tree, *t.handlers.marks, w));
        if (const IdCell& g = holder()) {
            ControlMessages::runMouseHandlers(*t.handlers.mouse, g,
                                              {ControlMessages::toControlPoint(t.tree, g, w), w, rel});
            return;
        }
        // Controls in one list only were entered or left; both lists are by
        // ID, though a control destroyed meanwhile now reads as 0.
        std::sort(before.begin(), before.end(), [](const IdCell& a, const IdCell& b) { return idOf(a) < idOf(b); });
        std::vector<IdCell> changed;
        std::set_symmetric_difference(before.begin(), before.end(), t.under_.begin(), t.under_.end(),
                                      std::back_inserter(changed),
                                      [](const IdCell& a, const IdCell& b) { return idOf(a) < idOf(b); });
        for (const IdCell& c : changed)
            if (idOf(c) != 0)
                ControlMessages::runMouseHandlers(*t.handlers.mouse, c,
                                                  {ControlMessages::toControlPoint(t.tree, c, w), w, rel});
    }
};

namespace Controls {

std::optional<Picked> pickControl(const ControlTree& tree, AttributeStore<std::int32_t>& marks, Point window) {
    const Walk walk = walkUnderPointer(tree, marks, window);
    if (walk.queue.size() > walk.roots) return Picked{walk.queue.back().control, walk.queue.back().local};
    for (std::size_t i = walk.roots; i-- > 0;)
        if (rootHolds(tree, walk.queue[i])) return Picked{walk.queue[i].control, walk.queue[i].local};
    return std::nullopt;
}

void runPointerActions(const ControlTree& tree, const PointerActionStore& store, const IdCell& control,
                       const PointerAt& pointer) {
    // Copied first: an action may change the lists or grow the store.
    const UIControlID id = idOf(control);
    const PointerActionList& common = store.at(0);
    const PointerActionList* own = id != 0 ? &store.at(id) : nullptr;
    std::vector<PointerAction> actions;
    actions.reserve(common.size() + (own ? own->size() : 0));
    for (const PointerActionEntry& e : common) actions.push_back(e.action);
    if (own)
        for (const PointerActionEntry& e : *own) actions.push_back(e.action);
    for (const PointerAction& a : actions) runPointerAction(a, pointer, control);
    if (idOf(control) == 0) return;  // its own actions destroyed it
    const DynArray<IdCell>& links = tree.lookup(control)->links.items();
    const std::vector<IdCell> linked(links.begin(), links.end());
    if (linked.empty()) return;
    const PointerAt at{ControlMessages::toControlPoint(tree, control, pointer.window), pointer.window};
    for (const IdCell& d : linked) runPointerActions(tree, store, d, at);
}

int handleEvent(const InputEvent& event, int type, ControlEventTables& tables) {
    switch (type) {
        case EventType::quit:
            return 0;
        case EventType::keyDown:
            if (const auto* k = std::get_if<KeyEvent>(&event))
                if (const IdCell& focused = tables.focus.keyTarget())
                    deliverToSlots(*tables.handlers.keyDown, focused,
                                   KeyPress{static_cast<std::uint32_t>(k->modifiers), k->sym, k->unicode});
            return 1;
        case EventType::keyUp:
            if (const auto* k = std::get_if<KeyEvent>(&event))
                if (const IdCell& focused = tables.focus.keyTarget())
                    deliverToSlots(*tables.handlers.keyUp, focused, k->sym);
            return 1;
        case EventType::buttonDown:
        case EventType::buttonUp:
            if (const auto* b = std::get_if<MouseButton>(&event)) {
                PointerPath path{tables};
                if (type == EventType::buttonDown)
                    path.press({b->x, b->y});
                else
                    path.release({b->x, b->y});
            }
            return 1;
        case EventType::mouseMotion:
            if (const auto* m = std::get_if<MotionRecord>(&event)) PointerPath{tables}.motion(*m);
            return 1;
        default:
            return 1;
    }
}

}  // namespace Controls
}  // namespace zil
