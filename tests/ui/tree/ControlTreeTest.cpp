#include "ui/tree/ControlTree.hpp"

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "shell/ShellTestSupport.hpp"
#include "ui/tree/ControlRefLinks.hpp"
#include "ui/tree/LayoutSteps.hpp"
#include "ui/tree/TreeCallbacks.hpp"
#include "ui/tree/TreeTestSupport.hpp"

namespace zil {
namespace {

using namespace testing;
using Ids = std::vector<UIControlID>;

TEST(ControlTree, LookupAndIdsFromTheCounterThenFromTheStartThenFromGrowth) {
    ControlTree tree(8);
    std::vector<IdCell> cells;
    const auto next = [&] { return *cells.emplace_back(add(tree, nullptr)); };
    EXPECT_EQ(next(), 1);
    // Lookup checks 0, then the end of the table, then the slot.
    const std::pair<UIControlID, const char*> cases[] = {
        {1, "none"}, {0, "ControlDestroyed"}, {8, "Subscript"}, {-1, "Subscript"}, {7, "InvalidControlID"},
    };
    for (const auto& c : cases) EXPECT_EQ(raised([&] { tree.lookup(makeIdCell(c.first)); }), c.second) << c.first;
    auto other = tree.stores().newAttributeStore<std::int32_t>();
    for (UIControlID want = 2; want <= 5; ++want) EXPECT_EQ(next(), want);
    other->at(5) = 55;
    tree.destroyControl(cells[2]);
    // After 5 the counter gives 6 and 7, then 3 from the start; then the
    // table is full and every store doubles, keeping its slots.
    for (UIControlID want : {6, 7, 3, 8}) EXPECT_EQ(next(), want);
    EXPECT_EQ(tree.capacity() + other->size(), 32);
    EXPECT_EQ(other->at(5), 55);
    *cells[0] = 0;  // destroyed as seen through the cell, although the slot still holds the record
    EXPECT_EQ(raised([&] { tree.lookup(cells[0]); }), "ControlDestroyed");
}

TEST(ControlTree, AChildSharesItsParentsCellComesLastAndLeavesFromTheLastEntry) {
    ControlTree tree;
    IdCell w = add(tree, nullptr), a = add(tree, w);
    TestKind kind;
    kind.extra = [](ControlTree& t, const IdCell& self) { t.attributes().registerString(self, "text", ""); };
    IdCell b = add(tree, w, {}, "", 1, kind);
    EXPECT_EQ(tree.lookup(a)->parent, w);  // the cell itself
    EXPECT_EQ(tree.attributes().attributeNames(b),
              (std::vector<std::string>{"text", "boundingbox", "visible", "name", "class"}));
    tree.attributes().writeAsString(b, "boundingbox", "{x=5,y=6,w=7,h=8}");  // the record's own value
    EXPECT_EQ(boxOf(tree, b), (IRect2D{5, 6, 7, 8}));
    tree.lookup(w)->children.append(a);  // [a, b, a]
    tree.removeChild(a);
    EXPECT_EQ(ControlTree::snapshotChildren(*tree.lookup(w)), (std::vector<IdCell>{a, b}));
    tree.removeChild(a);
    EXPECT_EQ(failureOf([&] { tree.removeChild(a); }),
              "ChildNotInParent: Internal error: Child not found in parent control!");
}

struct Released : ControlKindState {
    std::shared_ptr<Log> log;
    std::string name;
    Released(std::shared_ptr<Log> l, std::string n) : log(std::move(l)), name(std::move(n)) {}
    void release(ControlTree&) override {
        log->push_back(name);
        if (name == "B") throw Io("closed");
    }
};

TEST(ControlTree, DestroyingTakesTheSubtreeChildrenFirstAndClearsEveryStore) {
    ControlTree tree;  // W { A { A1, A2 }, B }: 1 { 2 { 3, 4 }, 5 }
    auto log = std::make_shared<Log>();
    const auto make = [&](const IdCell& parent, const std::string& name) {
        IdCell c = add(tree, parent, {}, name);
        tree.lookup(c)->kindState = std::make_shared<Released>(log, name);
        return c;
    };
    IdCell w = make(nullptr, "W"), a = make(w, "A"), a1 = make(a, "A1"), a2 = make(a, "A2"), b = make(w, "B");
    auto other = tree.stores().newAttributeStore<std::int32_t>();
    other->at(0) = other->at(3) = 7;
    tree.lookup(a)->children.append(makeIdCell(0));  // a child destroyed earlier: dropped
    tree.destroyControl(a);
    EXPECT_EQ(*log, (Log{"A1", "A2", "A"}));
    EXPECT_EQ((Ids{*a, *a1, *a2}), (Ids{0, 0, 0}));
    EXPECT_FALSE(tree.inUse(3));
    EXPECT_EQ(other->at(0) + other->at(3), 7);  // slot 0 belongs to no control
    EXPECT_EQ(childIds(tree, w), Ids{5});
    // B's release fails; B is gone all the same.
    EXPECT_EQ(raised([&] { tree.destroyControl(b); }), "Io");
    EXPECT_TRUE(*b == 0 && !tree.inUse(5));
    EXPECT_EQ(childIds(tree, w), Ids{});
    tree.destroyControl(w);
    tree.destroyControl(w);  // a cell holding 0 names nothing
    EXPECT_EQ(log->size(), 5u);
}

TEST(ControlTree, FindByNameIsPreOrderAndLooksUpOnlyWhatItVisits) {
    ControlTree tree;  // R { X { "deep" }, Z "deep" { "twin", "deep" }, dead, "last" }
    IdCell r = add(tree, nullptr, {}, "R"), x = add(tree, r, {}, "X"), y = add(tree, x, {}, "deep");
    IdCell z = add(tree, r, {}, "deep"), zt = add(tree, z, {}, "twin");
    add(tree, z, {}, "deep");
    tree.lookup(r)->children.append(makeIdCell(0));
    add(tree, r, {}, "last");
    const std::tuple<IdCell, const char*, IdCell> cases[] = {
        {r, "R", r}, {r, "deep", y}, {r, "twin", zt}, {z, "deep", z}, {x, "twin", nullptr}, {x, "Deep", nullptr},
    };
    for (const auto& [start, name, found] : cases) EXPECT_EQ(tree.findControlByName(start, name), found) << name;
    EXPECT_EQ(raised([&] { tree.findControlByName(r, "last"); }), "ControlDestroyed");
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
}

TEST(TreeCallbacks, RaiseMovesTheControlLastThroughWriteAt) {
    const std::tuple<std::size_t, Ids, int> cases[] = {{0, {3, 4, 2}, 2}, {1, {2, 4, 3}, 1}, {2, {2, 3, 4}, 0}};
    for (const auto& [raisedChild, want, swaps] : cases) {
        ControlTree tree;
        IdCell g = add(tree, nullptr);
        const std::vector<IdCell> kids{add(tree, g), add(tree, g), add(tree, g)};  // 2, 3, 4
        int deliveries = 0;
        tree.lookup(g)->children.onChanging.push([&](const IdCell&) { ++deliveries; });
        tree.lookup(g)->children.onChanged.push([&](const IdCell&) { ++deliveries; });
        TreeCallbacks::raise(tree, kids[raisedChild]);
        EXPECT_EQ(childIds(tree, g), want);
        EXPECT_EQ(deliveries, 4 * swaps);  // two writes per swap, each delivered before and after
    }
    ControlTree tree;
    EXPECT_EQ(raised([&] { TreeCallbacks::raise(tree, add(tree, nullptr)); }), "ControlDestroyed");
}

TEST(TreeCallbacks, SiblingsGetOneRangeLinkAndOneGroupEntryAndTheControlIsRaised) {
    ControlTree tree;  // G (100 high) with S, A, B: 1, 2, 3, 4
    IdCell g = add(tree, nullptr, {0, 0, 10, 100});
    IdCell s = add(tree, g, {0, 0, 10, 100}), a = add(tree, g, {0, 0, 10, 50}), b = add(tree, g, {0, 50, 10, 50});
    auto size = std::make_shared<ObservedInt>(g, 0);
    const auto link = TreeCallbacks::linkSiblingsAndRaise(
        tree, g, s,
        std::make_shared<ScrollRecord>(ScrollRecord{g, s, std::make_shared<ObservedInt>(g, 0), size,
                                                    std::make_shared<ObservedInt>(g, 200)}));
    const auto linked = [&](const IdCell& c) {  // box links (1: the repaint link) and group entries
        std::shared_ptr<UIControl> u = tree.lookup(c);
        return std::make_pair(u->boundingBox.onChanged.size(), u->links.count() == 1 ? idOf(u->links.readAt(0)) : 0);
    };
    // On G's own children, whose writes deliver it again while it runs.
    tree.lookup(g)->children.onChanged.push(link);
    link(g);
    link(g);  // again: nothing doubles
    EXPECT_EQ((std::vector{linked(a), linked(b), linked(s)}),
              (std::vector<std::pair<std::size_t, UIControlID>>{{2, 1}, {2, 1}, {1, 0}}));
    EXPECT_EQ(childIds(tree, g), (Ids{3, 4, 2}));
    tree.lookup(a)->boundingBox.set({0, 0, 10, 150});  // contents 0..150: size 100 * 200 div 150
    EXPECT_EQ(size->value(), 133);
    IdCell c = add(tree, g);
    EXPECT_EQ(childIds(tree, g), (Ids{3, 4, 5, 2}));
    EXPECT_EQ(linked(c), std::make_pair(std::size_t{2}, 1));
}

TEST(TreeCallbacks, EveryControlRepaintsWhenAddedShownHiddenOrMoved) {
    ControlTree tree;
    IdCell w = addWindow(tree, {0, 0, 200, 100});
    Rects& dirty = dirtyOf(tree, w);
    IdCell c = add(tree, w, {10, 10, 20, 20});
    EXPECT_EQ(dirty, (Rects{{10, 10, 20, 20}}));
    dirty.clear();
    tree.lookup(c)->visible.set(0);
    EXPECT_EQ(dirty, (Rects{{10, 10, 20, 20}}));
    dirty.clear();
    tree.lookup(c)->boundingBox.set({50, 50, 20, 20});  // the old area, then the new
    EXPECT_EQ(dirty, (Rects{{50, 50, 20, 20}, {10, 10, 20, 20}}));
}

TEST(ControlRefLinks, AFrameFollowsItsTargetUntilReLinked) {
    ControlTree tree;
    IdCell w = addWindow(tree, {0, 0, 200, 200});
    IdCell f = add(tree, w), r1 = add(tree, w, {10, 20, 30, 40}), r2 = add(tree, w, {10, 10, 0, 0});
    auto focusLinks = tree.stores().newAttributeStore<IntList>();
    std::shared_ptr<ControlRef> control = tree.attributes().registerControlID(f, "control");
    const auto relink = ControlRefLinks::frameAroundTarget(tree, f, focusLinks);
    control->onChanged.push(relink);
    Rects& dirty = dirtyOf(tree, w);
    using Counts = std::vector<std::size_t>;
    const auto links = [&](const IdCell& c) {  // box, visible (each 1 of its own) and focus links
        std::shared_ptr<UIControl> u = tree.lookup(c);
        return Counts{u->boundingBox.onChanged.size(), u->visible.onChanged.size(), focusLinks->at(*c).size()};
    };
    control->set(r1);
    EXPECT_EQ(boxOf(tree, f), (IRect2D{8, 18, 34, 44}));
    EXPECT_EQ(links(r1), (Counts{2, 2, 1}));
    tree.lookup(r1)->boundingBox.set({50, 60, 10, 10});
    tree.lookup(r1)->visible.set(0);
    EXPECT_EQ(boxOf(tree, f), (IRect2D{48, 58, 14, 14}));
    EXPECT_EQ(tree.lookup(f)->visible.value(), 0);
    tree.lookup(f)->boundingBox.set({0, 0, 20, 20});
    EXPECT_EQ(boxOf(tree, r1), (IRect2D{2, 2, 16, 16}));
    dirty.clear();
    control->set(makeIdCell(*r1));  // the same control: nothing at all
    EXPECT_TRUE(dirty.empty());

    control->set(r2);  // a zero-size target: F settles around it in place
    EXPECT_EQ(links(r1), (Counts{1, 1, 0}));
    EXPECT_EQ(boxOf(tree, f), (IRect2D{8, 8, 4, 4}));
    EXPECT_EQ(boxOf(tree, r2), (IRect2D{10, 10, 0, 0}));
    relink(f, r2);  // twice: still one set of links
    EXPECT_EQ(links(r2), (Counts{2, 2, 1}));
    dirty.clear();
    control->set(makeIdCell(0));
    EXPECT_EQ(links(r2), (Counts{1, 1, 0}));
    EXPECT_EQ(dirty, (Rects{{8, 8, 4, 4}}));  // only repainted
}

TEST(ControlRefLinks, TableLinksKeepFourEntriesAtTheTargetInTheirOwnTables) {
    ControlTree tree;
    IdCell w = addWindow(tree, {0, 0, 200, 200});
    IdCell p = add(tree, w), r1 = add(tree, w), r2 = add(tree, w);  // 2, 3, 4
    std::array<std::shared_ptr<ControlHookTable>, 4> tables;
    std::array<ControlRefLinks::Placement, 4> placements;
    Log placed;
    for (std::size_t i = 0; i < 4; ++i) {
        tables[i] = tree.stores().newAttributeStore<PlainList>();
        placements[i] = [&, i](const IdCell& target) {
            placed.push_back(std::to_string(i) + "@" + std::to_string(*target));
            return Registration::pushInSlot(tables[i], target, [](const IdCell&) {});
        };
    }
    const auto counts = [&](UIControlID c) {
        std::vector<std::size_t> n;
        for (const auto& t : tables) n.push_back(t->at(c).size());
        return n;
    };
    const std::vector<std::size_t> none(4, 0), one(4, 1);
    std::shared_ptr<ControlRef> control = tree.attributes().registerControlID(p, "control");
    control->onChanged.push(ControlRefLinks::targetTableLinks(placements));
    dirtyOf(tree, w).clear();
    control->set(r1);
    EXPECT_EQ(placed, (Log{"0@3", "1@3", "2@3", "3@3"}));
    control->set(r2);                   // taken off the old target first
    control->onChanged.deliver(p, r2);  // again to the same: still one each
    EXPECT_EQ(std::tuple(counts(3), counts(4)), std::tuple(none, one));
    control->set(makeIdCell(0));  // all taken off, none placed
    EXPECT_EQ(std::tuple(counts(4), counts(0), placed.size()), std::tuple(none, none, std::size_t{12}));
    EXPECT_TRUE(dirtyOf(tree, w).empty());
}

}  // namespace
}  // namespace zil
