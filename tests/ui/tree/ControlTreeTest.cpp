#include "ui/tree/ControlTree.hpp"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "shell/ShellTestSupport.hpp"
#include "ui/tree/TreeTestSupport.hpp"

namespace zil {
namespace {

using testing::add;
using testing::Log;
using testing::raised;
using testing::TestKind;

TEST(ControlTree, LookupChecksZeroThenTheEndThenTheSlot) {
    ControlTree tree(8);
    IdCell a = add(tree, nullptr);  // ID 1 of slots 0..7
    const std::pair<UIControlID, const char*> cases[] = {
        {1, "none"}, {0, "ControlDestroyed"}, {8, "Subscript"}, {-1, "Subscript"}, {7, "InvalidControlID"},
    };
    for (const auto& c : cases) EXPECT_EQ(raised([&] { tree.lookup(makeIdCell(c.first)); }), c.second) << c.first;
    *a = 0;  // destroyed as seen through the cell, although the slot still holds the record
    EXPECT_EQ(raised([&] { tree.lookup(a); }), "ControlDestroyed");
}

TEST(ControlTree, IdsComeFromTheCounterThenFromTheStartThenFromGrowth) {
    ControlTree tree(8);
    auto other = tree.stores().newAttributeStore<std::int32_t>();
    std::vector<IdCell> cells;
    const auto next = [&] { return *cells.emplace_back(add(tree, nullptr)); };
    for (UIControlID want = 1; want <= 5; ++want) EXPECT_EQ(next(), want);
    other->at(5) = 55;
    tree.destroyControl(cells[2]);
    EXPECT_EQ(next(), 6);  // the counter stands after 5
    EXPECT_EQ(next(), 7);
    EXPECT_EQ(next(), 3);  // nothing free from the counter (8) to the end
    EXPECT_EQ(next(), 8);  // full: every store doubles, keeping its slots
    EXPECT_EQ(tree.capacity(), 16);
    EXPECT_EQ(other->size(), 16);
    EXPECT_EQ(tree.attributes().tables().size(), 16);
    EXPECT_EQ(other->at(5), 55);
}

TEST(ControlTree, AChildSharesItsParentsCellComesLastAndFollowsTheKindsAttributes) {
    ControlTree tree;
    IdCell w = add(tree, nullptr);
    IdCell a = add(tree, w, {1, 2, 3, 4}, "", 0);
    Log log;
    tree.lookup(w)->children.onChanging.push([&](const IdCell& o) { log.push_back(std::to_string(*o)); });
    TestKind kind;
    kind.extra = [](ControlTree& t, const IdCell& self) { t.attributes().registerString(self, "text", ""); };
    IdCell b = add(tree, w, {}, "", 1, kind);
    EXPECT_EQ(log, Log{"1"});
    ASSERT_EQ(tree.lookup(w)->children.count(), 2);
    EXPECT_EQ(tree.lookup(w)->children.readAt(1), b);
    EXPECT_EQ(tree.lookup(a)->parent, w);  // the cell itself
    EXPECT_EQ(*tree.lookup(w)->parent, 0);
    EXPECT_EQ(tree.lookup(a)->boundingBox.value(), (IRect2D{1, 2, 3, 4}));
    EXPECT_EQ(tree.lookup(a)->visible.value(), 0);
    EXPECT_EQ(tree.attributes().attributeNames(b),
              (std::vector<std::string>{"text", "boundingbox", "visible", "name", "class"}));
    tree.attributes().writeAsString(b, "boundingbox", "{x=5,y=6,w=7,h=8}");  // the record's own value
    EXPECT_EQ(tree.lookup(b)->boundingBox.value(), (IRect2D{5, 6, 7, 8}));
    // A destroyed parent fails the add, which keeps its slot.
    EXPECT_EQ(raised([&] { add(tree, makeIdCell(0)); }), "ControlDestroyed");
    EXPECT_TRUE(tree.inUse(4));
}

// W { A { A1, A2 }, B }, each writing its release to the log.
struct Family {
    ControlTree tree;
    std::shared_ptr<Log> log = std::make_shared<Log>();
    IdCell w, a, a1, a2, b;
    Family() {
        TestKind kind;
        kind.log = log;
        w = add(tree, nullptr, {}, "W", 1, kind);
        a = add(tree, w, {}, "A", 1, kind);
        a1 = add(tree, a, {}, "A1", 1, kind);
        a2 = add(tree, a, {}, "A2", 1, kind);
        b = add(tree, w, {}, "B", 1, kind);
    }
};

TEST(ControlTree, DestroyingTakesTheSubtreeChildrenFirstAndClearsEveryStore) {
    Family f;
    auto handlers = f.tree.stores().newAttributeStore<IntList>();
    int calls = 0;
    for (UIControlID id : {0, 3}) handlers->at(id).push([&](const IdCell&, const std::int32_t&) { ++calls; });
    f.tree.lookup(f.a)->children.append(makeIdCell(0));  // a child destroyed earlier: dropped
    f.tree.destroyControl(f.a);
    EXPECT_EQ(*f.log, (Log{"release A1", "release A2", "release A"}));
    for (const IdCell& gone : {f.a, f.a1, f.a2}) EXPECT_EQ(*gone, 0);
    EXPECT_EQ(raised([&] { f.tree.lookup(3); }), "InvalidControlID");
    EXPECT_FALSE(f.tree.inUse(3));
    EXPECT_FALSE(f.tree.attributes().findSlot(makeIdCell(3), "name"));
    handlers->at(0).deliver(f.w, 0);
    handlers->at(3).deliver(f.w, 0);
    EXPECT_EQ(calls, 1);  // slot 0 belongs to no control and stays
    ASSERT_EQ(f.tree.lookup(f.w)->children.count(), 1);
    EXPECT_EQ(f.tree.lookup(f.w)->children.readAt(0), f.b);

    f.tree.destroyControl(f.w);
    EXPECT_EQ(f.log->size(), 5u);
    f.tree.destroyControl(f.w);  // a cell holding 0 names nothing
    EXPECT_EQ(f.log->size(), 5u);
}

TEST(ControlTree, AFailingReleaseStillFinishesTheDestruction) {
    ControlTree tree;
    struct Failing : ControlKindState {
        void release(ControlTree&) override { throw Io("closed"); }
    };
    TestKind kind;
    kind.extra = [](ControlTree& t, const IdCell& self) { t.lookup(self)->kindState = std::make_shared<Failing>(); };
    IdCell w = add(tree, nullptr);
    IdCell c = add(tree, w, {}, "", 1, kind);
    EXPECT_EQ(raised([&] { tree.destroyControl(c); }), "Io");
    EXPECT_EQ(*c, 0);
    EXPECT_FALSE(tree.inUse(2));
    EXPECT_EQ(tree.lookup(w)->children.count(), 0);
}

TEST(ControlTree, FindByNameIsPreOrderAndLooksUpOnlyWhatItVisits) {
    ControlTree tree;
    // R { X { "deep" }, Z "deep" { "twin", "deep" }, dead, "twin" }
    IdCell r = add(tree, nullptr, {}, "R");
    IdCell x = add(tree, r, {}, "X");
    IdCell y = add(tree, x, {}, "deep");
    IdCell z = add(tree, r, {}, "deep");
    IdCell zt = add(tree, z, {}, "twin");
    add(tree, z, {}, "deep");
    tree.lookup(r)->children.append(makeIdCell(0));
    add(tree, r, {}, "last");
    const std::tuple<IdCell, const char*, IdCell> cases[] = {
        {r, "R", r}, {r, "deep", y}, {r, "twin", zt}, {z, "deep", z}, {x, "twin", nullptr}, {x, "Deep", nullptr},
    };
    for (const auto& [start, name, found] : cases) EXPECT_EQ(tree.findControlByName(start, name), found) << name;
    EXPECT_EQ(raised([&] { tree.findControlByName(r, "last"); }), "ControlDestroyed");
}

TEST(ControlTree, RemoveChildTakesTheLastEntryOfTheChild) {
    ControlTree tree;
    IdCell w = add(tree, nullptr);
    IdCell a = add(tree, w);
    IdCell b = add(tree, w);
    tree.lookup(w)->children.append(a);  // [a, b, a]
    tree.removeChild(a);
    EXPECT_EQ(ControlTree::snapshotChildren(*tree.lookup(w)), (std::vector<IdCell>{a, b}));
    tree.removeChild(a);
    EXPECT_EQ(testing::failureOf([&] { tree.removeChild(a); }),
              "ChildNotInParent: Internal error: Child not found in parent control!");
}

}  // namespace
}  // namespace zil
