#include "ui/tree/ControlMessages.hpp"

#include <algorithm>
#include <utility>
#include <vector>

#include "ui/tree/ControlTree.hpp"
#include "ui/tree/RectArith.hpp"
#include "ui/tree/TopLevelControls.hpp"
#include "ui/tree/TopLevelWindow.hpp"

namespace zil::ControlMessages {

namespace {

template <class... F>
struct Overloaded : F... {
    using F::operator()...;
};
template <class... F>
Overloaded(F...) -> Overloaded<F...>;

}  // namespace

void setBoundingBox(ControlTree& tree, const IdCell& control, const IRect2D& box) {
    std::shared_ptr<UIControl> c = tree.lookup(control);
    c->boundingBox.set(box);
}

void fitTabPages(ControlTree& tree, const IdCell& book) {
    std::int32_t n = 0;
    IRect2D size;
    {
        std::shared_ptr<UIControl> b = tree.lookup(book);
        size = IRect2D{0, 0, b->boundingBox.value().w, b->boundingBox.value().h};
        n = b->children.count();
    }
    for (std::int32_t i = 0; i < n; ++i) {
        IdCell page = tree.lookup(book)->children.readAt(i);
        setBoundingBox(tree, page, size);
    }
}

void act(ControlTree& tree, const RectLink& link, const IRect2D& r, const IdCell&) {
    const std::int64_t w = r.w, h = r.h;
    std::visit(Overloaded{
                   [&](const SetIntToWidth& l) { l.target->set(r.w); },
                   [&](const SetIntToHeight& l) { l.target->set(r.h); },
                   [&](const MatchWidth& l) {
                       std::shared_ptr<UIControl> c = tree.lookup(l.follower);
                       IRect2D box = c->boundingBox.value();
                       box.w = r.w;
                       c->boundingBox.set(box);
                   },
                   [&](const PlaceRightStrip& l) {
                       setBoundingBox(tree, l.strip, narrow(Rect64{w - 16, 0, 16, h}));
                   },
                   [&](const InsetFirstChild& l) {
                       const std::vector<IdCell> children = ControlTree::snapshotChildren(*tree.lookup(l.frame));
                       if (children.empty()) return;
                       setBoundingBox(tree, children.front(), narrow(Rect64{2, 2, w - 4, h - 4}));
                   },
                   [&](const RepaintControl& l) { TopLevelControls::invalidate(tree, l.control); },
                   [&](const FitTabPages& l) { fitTabPages(tree, l.book); },
                   [&](const InsetBy& l) {
                       const std::int64_t b = l.border;
                       const Rect64 inset{r.x + b, r.y + b, std::max<std::int64_t>(w - 2 * b, 0),
                                          std::max<std::int64_t>(h - 2 * b, 0)};
                       setBoundingBox(tree, l.target, narrow(inset));
                   },
               },
               link);
}

void act(ControlTree& tree, const ControlMessage& message, std::int32_t v, const IdCell& owner) {
    std::visit(Overloaded{
                   [&](const RepaintControl& m) { TopLevelControls::invalidate(tree, m.control); },
                   [&](const ReactivateWindow& m) { TopLevelWindow::reactivate(tree, *m.links, owner, v); },
                   [&](const ReactivateWindowAncestors& m) {
                       TopLevelWindow::reactivateAncestors(tree, *m.links, owner, v);
                   },
                   [&](const SetVisible& m) {
                       std::shared_ptr<UIControl> c = tree.lookup(m.control);
                       c->visible.set(v);
                   },
                   [&](const ActivateTopLevel& m) {
                       if (v != 0) TopLevelWindow::activate(tree, owner, *m.caption);
                   },
               },
               message);
}

RectList::Callback linkEntry(ControlTree& tree, RectLink link) {
    return [t = &tree, link = std::move(link)](const IdCell& owner, const IRect2D& r) { act(*t, link, r, owner); };
}

IntList::Callback messageEntry(ControlTree& tree, ControlMessage message) {
    return [t = &tree, message = std::move(message)](const IdCell& owner, const std::int32_t& v) {
        act(*t, message, v, owner);
    };
}

std::vector<IntList::Entry> gatherLinks(const LinkTable& links, const IdCell& control) {
    std::vector<IntList::Entry> gathered;
    const auto gather = [&](UIControlID slot) {
        if (auto entries = links.at(slot).entries()) gathered.insert(gathered.end(), entries->begin(), entries->end());
    };
    gather(0);
    if (idOf(control) != 0) gather(idOf(control));
    return gathered;
}

void deliverTrueToLinks(const LinkTable& links, const IdCell& owner) {
    try {
        for (const IntList::Entry& e : gatherLinks(links, owner)) e.fn(owner, 1);
    } catch (...) {
        // The focus change that ends with this walk goes on regardless.
    }
}

}  // namespace zil::ControlMessages
