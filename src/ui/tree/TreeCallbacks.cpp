#include "ui/tree/TreeCallbacks.hpp"

#include <algorithm>
#include <set>
#include <utility>

#include "ui/tree/ControlMessages.hpp"
#include "ui/tree/ControlTree.hpp"
#include "ui/tree/LayoutSteps.hpp"
#include "ui/tree/TopLevelControls.hpp"

namespace zil::TreeCallbacks {

ControlPath pathOf(const ControlTree& tree, const IdCell& control) {
    ControlPath path{control};
    for (IdCell up = tree.lookup(control)->parent; idOf(up) != 0; up = tree.lookup(up)->parent) path.push_back(up);
    std::reverse(path.begin(), path.end());
    return path;
}

void runAlongPath(const ControlTree& tree, const ControlHookTable& hooks, const IdCell& control) {
    for (const IdCell& p : pathOf(tree, control)) deliverToSlots(hooks, p, p);
}

PlainList::Callback notifyAlongPath(ControlTree& tree, std::shared_ptr<ControlHookTable> hooks) {
    return [t = &tree, hooks = std::move(hooks)](const IdCell& c) { runAlongPath(*t, *hooks, c); };
}

PlainList::Callback resetAndNotifyAlongPath(ControlTree& tree, std::shared_ptr<ControlHookTable> hooks,
                                            std::shared_ptr<ControlPath> path) {
    return [t = &tree, hooks = std::move(hooks), path = std::move(path)](const IdCell& c) {
        path->clear();
        runAlongPath(*t, *hooks, c);
    };
}

PlainList::Callback recordPathAndNotify(ControlTree& tree, std::shared_ptr<ControlHookTable> hooks,
                                        std::shared_ptr<ControlPath> path) {
    return [t = &tree, hooks = std::move(hooks), path = std::move(path)](const IdCell& c) {
        *path = pathOf(*t, c);
        runAlongPath(*t, *hooks, c);
    };
}

void raise(ControlTree& tree, const IdCell& self) {
    const IdCell parent = tree.lookup(self)->parent;
    const std::vector<IdCell> snapshot = ControlTree::snapshotChildren(*tree.lookup(parent));
    bool found = false;
    for (std::size_t i = 0; i < snapshot.size(); ++i) {
        if (!found && idOf(snapshot[i]) != idOf(self)) continue;
        const auto at = static_cast<std::int32_t>(i);
        IdCell a, b;
        {
            std::shared_ptr<UIControl> p = tree.lookup(parent);
            if (at >= p->children.count() - 1) continue;
            a = p->children.readAt(at);
            b = p->children.readAt(at + 1);
            p->children.writeAt(at, b);
        }
        std::shared_ptr<UIControl> p = tree.lookup(parent);
        p->children.writeAt(at + 1, a);
        found = true;
    }
}

namespace {

struct SiblingLinks {
    ControlTree* tree;
    IdCell group;
    IdCell self;
    std::shared_ptr<const ScrollRecord> scroll;
    bool running = false;
    // The children already given their link and their group entry, by the
    // identity of their ID cells.
    std::set<std::weak_ptr<UIControlID>, std::owner_less<>> linked;
    std::set<std::weak_ptr<UIControlID>, std::owner_less<>> grouped;

    void run() {
        ControlTree& t = *tree;
        for (const IdCell& e : ControlTree::snapshotChildren(*t.lookup(group))) {
            if (idOf(e) == idOf(self)) continue;
            std::shared_ptr<UIControl> c = t.lookup(e);
            if (linked.insert(e).second)
                c->boundingBox.onChanged.push(newIdentityKey(), LayoutSteps::updateScrollRange(t, scroll));
        }
        for (const IdCell& e : ControlTree::snapshotChildren(*t.lookup(group))) {
            if (idOf(e) == idOf(self)) continue;
            std::shared_ptr<UIControl> c = t.lookup(e);
            if (grouped.insert(e).second) c->links.append(group);
        }
        raise(t, self);
    }
};

}  // namespace

PlainList::Callback linkSiblingsAndRaise(ControlTree& tree, IdCell group, IdCell self,
                                         std::shared_ptr<const ScrollRecord> scroll) {
    auto state = std::make_shared<SiblingLinks>(SiblingLinks{&tree, std::move(group), std::move(self),
                                                             std::move(scroll), false, {}, {}});
    return [state](const IdCell&) {
        // The raise rewrites the group's children, which may deliver this
        // very callback again; that run would see a half-done swap.
        if (state->running) return;
        state->running = true;
        struct Done {
            bool& running;
            ~Done() { running = false; }
        } done{state->running};
        state->run();
    };
}

void attachRepaintLinks(ControlTree& tree, const IdCell& control) {
    const RepaintControl repaint{control};
    tree.lookup(control)->visible.onChanged.push(newIdentityKey(), ControlMessages::messageEntry(tree, repaint));
    tree.lookup(control)->boundingBox.onChanging.push(newIdentityKey(), ControlMessages::linkEntry(tree, repaint));
    tree.lookup(control)->boundingBox.onChanged.push(newIdentityKey(), ControlMessages::linkEntry(tree, repaint));
    TopLevelControls::invalidate(tree, control);
}

}  // namespace zil::TreeCallbacks
