#include "ui/tree/TreeCallbacks.hpp"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "ui/tree/ControlRefLinks.hpp"
#include "ui/tree/ControlTree.hpp"
#include "ui/tree/LayoutSteps.hpp"
#include "ui/tree/TreeTestSupport.hpp"

namespace zil {
namespace {

using testing::Log;
using testing::raised;
using Rects = std::vector<IRect2D>;
using Ids = std::vector<UIControlID>;

IdCell add(ControlTree& tree, const IdCell& parent, IRect2D box = {}) {
    return tree.addControl(parent, testing::TestKind{}, box, 1);
}

Ids childIds(const ControlTree& tree, const IdCell& c) {
    Ids ids;
    for (const IdCell& k : ControlTree::snapshotChildren(*tree.lookup(c))) ids.push_back(idOf(k));
    return ids;
}

TEST(TreeCallbacks, PathsRunRootFirstSlotZeroFirstReadingEachSlotWhenReached) {
    ControlTree tree;
    IdCell r = add(tree, nullptr), m = add(tree, r), c = add(tree, m);  // 1, 2, 3
    auto hooks = tree.stores().newAttributeStore<PlainList>();
    Log log;
    const auto hook = [&](UIControlID slot, const std::string& name) {
        hooks->at(slot).push([&log, name](const IdCell& at) { log.push_back(name + "@" + std::to_string(*at)); });
    };
    for (UIControlID slot : {0, 1, 2, 3}) hook(slot, std::to_string(slot));
    hooks->at(1).push([&](const IdCell&) {
        if (log.size() == 1) hook(0, "new");  // waits until slot 0 is read again
    });
    TreeCallbacks::notifyAlongPath(tree, hooks)(c);
    EXPECT_EQ(log, (Log{"0@1", "1@1", "new@2", "0@2", "2@2", "new@3", "0@3", "3@3"}));

    auto path = std::make_shared<ControlPath>();
    TreeCallbacks::recordPathAndNotify(tree, hooks, path)(m);
    EXPECT_EQ(*path, (ControlPath{r, m}));
    log.clear();
    TreeCallbacks::resetAndNotifyAlongPath(tree, hooks, path)(r);  // a top-level control's path is itself
    EXPECT_TRUE(path->empty());
    EXPECT_EQ(log, (Log{"new@1", "0@1", "1@1"}));
    EXPECT_EQ(raised([&] { TreeCallbacks::notifyAlongPath(tree, hooks)(makeIdCell(0)); }), "ControlDestroyed");
    EXPECT_EQ(log.size(), 3u);
}

TEST(TreeCallbacks, RaiseMovesTheControlLastThroughWriteAt) {
    const std::pair<std::size_t, int> cases[] = {{0, 4}, {1, 2}, {2, 0}};  // raised child, writes
    for (const auto& [raisedChild, writes] : cases) {
        ControlTree tree;
        IdCell g = add(tree, nullptr);
        const std::vector<IdCell> kids{add(tree, g), add(tree, g), add(tree, g)};  // 2, 3, 4
        int before = 0, after = 0;
        tree.lookup(g)->children.onChanging.push([&](const IdCell&) { ++before; });
        tree.lookup(g)->children.onChanged.push([&](const IdCell&) { ++after; });
        TreeCallbacks::raise(tree, kids[raisedChild]);
        Ids want{2, 3, 4};
        want.erase(want.begin() + static_cast<std::ptrdiff_t>(raisedChild));
        want.push_back(idOf(kids[raisedChild]));
        EXPECT_EQ(childIds(tree, g), want);
        EXPECT_EQ(before + after, 2 * writes);
    }
    ControlTree tree;
    EXPECT_EQ(raised([&] { TreeCallbacks::raise(tree, add(tree, nullptr)); }), "ControlDestroyed");
}

TEST(TreeCallbacks, SiblingsGetOneRangeLinkAndOneGroupEntryAndTheControlIsRaised) {
    ControlTree tree;  // G (100 high) with A, S, B: 1, 2, 3, 4
    IdCell g = add(tree, nullptr, {0, 0, 10, 100});
    IdCell a = add(tree, g, {0, 0, 10, 50}), s = add(tree, g, {0, 0, 10, 100}), b = add(tree, g, {0, 50, 10, 50});
    auto size = std::make_shared<ObservedInt>(g, 0);
    const auto link = TreeCallbacks::linkSiblingsAndRaise(
        tree, g, s,
        std::make_shared<ScrollRecord>(ScrollRecord{g, s, std::make_shared<ObservedInt>(g, 0), size,
                                                    std::make_shared<ObservedInt>(g, 200)}));
    const auto linked = [&](const IdCell& c) {  // box links (1: the repaint link) and group entries
        std::shared_ptr<UIControl> u = tree.lookup(c);
        return std::make_pair(u->boundingBox.onChanged.size(), u->links.count() == 1 ? idOf(u->links.readAt(0)) : 0);
    };
    link(g);
    link(g);  // again: nothing doubles
    EXPECT_EQ(linked(a), std::make_pair(std::size_t{2}, 1));
    EXPECT_EQ(linked(b), std::make_pair(std::size_t{2}, 1));
    EXPECT_EQ(linked(s), std::make_pair(std::size_t{1}, 0));
    EXPECT_EQ(childIds(tree, g), (Ids{2, 4, 3}));
    tree.lookup(a)->boundingBox.set({0, 0, 10, 150});  // contents 0..150: size 100 * 200 div 150
    EXPECT_EQ(size->value(), 133);

    // On G's own children, whose writes deliver it again, it still ends.
    tree.lookup(g)->children.onChanged.push(link);
    IdCell c = add(tree, g);
    EXPECT_EQ(childIds(tree, g), (Ids{2, 4, 5, 3}));
    EXPECT_EQ(linked(c), std::make_pair(std::size_t{2}, 1));
}

TEST(TreeCallbacks, EveryControlRepaintsWhenAddedShownHiddenOrMoved) {
    ControlTree tree;
    IdCell w = add(tree, nullptr, {0, 0, 200, 100});
    tree.addWindow(w, nullptr);
    Rects& dirty = tree.findWindow(*w)->dirty;
    IdCell c = add(tree, w, {10, 10, 20, 20});
    EXPECT_EQ(dirty, (Rects{{10, 10, 20, 20}}));
    dirty.clear();
    tree.lookup(c)->visible.set(0);
    EXPECT_EQ(dirty, (Rects{{10, 10, 20, 20}}));
    tree.lookup(c)->boundingBox.set({50, 50, 20, 20});  // the old area, then the new
    EXPECT_EQ(dirty, (Rects{{50, 50, 20, 20}, {10, 10, 20, 20}}));
}

TEST(ControlRefLinks, AFrameFollowsItsTargetUntilReLinked) {
    ControlTree tree;
    IdCell w = add(tree, nullptr, {0, 0, 200, 200});
    tree.addWindow(w, nullptr);
    IdCell f = add(tree, w), r1 = add(tree, w, {10, 20, 30, 40}), r2 = add(tree, w, {10, 10, 0, 0});
    auto focusLinks = tree.stores().newAttributeStore<IntList>();
    std::shared_ptr<ControlRef> control = tree.attributes().registerControlID(f, "control");
    const auto relink = ControlRefLinks::frameAroundTarget(tree, f, focusLinks);
    control->onChanged.push(relink);
    Rects& dirty = tree.findWindow(*w)->dirty;
    const auto box = [&](const IdCell& c) { return tree.lookup(c)->boundingBox.value(); };
    using Counts = std::vector<std::size_t>;
    const auto links = [&](const IdCell& c) {  // box, visible (each 1 of its own) and focus links
        std::shared_ptr<UIControl> u = tree.lookup(c);
        return Counts{u->boundingBox.onChanged.size(), u->visible.onChanged.size(), focusLinks->at(*c).size()};
    };

    control->set(r1);
    EXPECT_EQ(box(f), (IRect2D{8, 18, 34, 44}));
    EXPECT_EQ(links(r1), (Counts{2, 2, 1}));
    tree.lookup(r1)->boundingBox.set({50, 60, 10, 10});
    EXPECT_EQ(box(f), (IRect2D{48, 58, 14, 14}));
    tree.lookup(f)->boundingBox.set({0, 0, 20, 20});
    EXPECT_EQ(box(r1), (IRect2D{2, 2, 16, 16}));
    tree.lookup(r1)->visible.set(0);
    EXPECT_EQ(tree.lookup(f)->visible.value(), 0);
    dirty.clear();
    control->set(makeIdCell(*r1));  // the same control: nothing at all
    EXPECT_TRUE(dirty.empty());

    control->set(r2);  // a zero-size target: F settles around it in place
    EXPECT_EQ(links(r1), (Counts{1, 1, 0}));
    EXPECT_EQ(box(f), (IRect2D{8, 8, 4, 4}));
    EXPECT_EQ(box(r2), (IRect2D{10, 10, 0, 0}));
    relink(f, r2);  // twice: still one set of links
    EXPECT_EQ(links(r2), (Counts{2, 2, 1}));
    dirty.clear();
    control->set(makeIdCell(0));
    EXPECT_EQ(links(r2), (Counts{1, 1, 0}));
    EXPECT_EQ(dirty, (Rects{{8, 8, 4, 4}}));  // only repainted
}

}  // namespace
}  // namespace zil
