#include "ui/tree/RepaintArea.hpp"

#include <utility>

#include "ui/tree/ControlTree.hpp"

namespace zil {

RepaintArea::Area RepaintArea::of(const ControlTree& tree, const std::shared_ptr<UIControl>& control) {
    // The controls whose areas are not known, from `control` up to the first
    // known one or the top-level one.
    std::vector<std::shared_ptr<UIControl>> unknown;
    std::shared_ptr<UIControl> above;
    for (std::shared_ptr<UIControl> c = control;;) {
        if (c->repaintArea.known_) {
            above = std::move(c);
            break;
        }
        const UIControlID parent = idOf(c->parent);
        unknown.push_back(std::move(c));
        if (parent == 0) break;
        c = tree.lookup(parent);
    }
    // Then down again, each from its parent's.
    for (std::size_t k = unknown.size(); k-- > 0;) {
        std::shared_ptr<UIControl>& c = unknown[k];
        RepaintArea& a = c->repaintArea;
        const IRect2D box = c->boundingBox.value();
        if (!above) {
            a.x_ = 0;
            a.y_ = 0;
            a.area_ = Area{Rect64{0, 0, box.w, box.h}, idOf(c->id)};
        } else {
            RepaintArea& p = above->repaintArea;
            a.x_ = p.x_ + box.x;
            a.y_ = p.y_ + box.y;
            a.area_ = Area{intersect(Rect64{a.x_, a.y_, box.w, box.h}, p.area_.rect), p.area_.window};
            if (!a.listed_) {
                std::vector<std::weak_ptr<UIControl>>& list = p.dependents_;
                if (list.size() == list.capacity())
                    std::erase_if(list, [](const std::weak_ptr<UIControl>& d) { return d.expired(); });
                list.push_back(c);
                a.listed_ = true;
            }
        }
        a.known_ = true;
        above = std::move(c);
    }
    return above->repaintArea.area_;
}

void RepaintArea::forget() {
    known_ = false;
    if (dependents_.empty()) return;
    // Without recursion: the dependents may nest as deep as the tree.
    std::vector<std::shared_ptr<UIControl>> pending;
    const auto takeDependents = [&pending](RepaintArea& a) {
        for (const std::weak_ptr<UIControl>& d : a.dependents_)
            if (std::shared_ptr<UIControl> c = d.lock()) pending.push_back(std::move(c));
        a.dependents_.clear();
    };
    takeDependents(*this);
    while (!pending.empty()) {
        const std::shared_ptr<UIControl> c = std::move(pending.back());
        pending.pop_back();
        RepaintArea& a = c->repaintArea;
        a.known_ = false;
        a.listed_ = false;
        takeDependents(a);
    }
}

}  // namespace zil
