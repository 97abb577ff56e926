#include "ui/tree/ControlTree.hpp"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "shell/ShellTestSupport.hpp"
#include "ui/tree/TreeTestSupport.hpp"

namespace zil {
namespace {

using testing::addNamed;
using testing::failureOf;
using testing::Log;
using testing::raised;
using testing::TestKind;

IdCell addPlain(ControlTree& tree, const IdCell& parent = nullptr) {
    return tree.addControl(parent, TestKind{}, {}, 1);
}

TEST(ControlTable, LookupChecksZeroThenTheEndThenTheSlot) {
    ControlTree tree(8);
    IdCell a = addPlain(tree);  // ID 1 of slots 0..7
    struct Case {
        UIControlID id;
        const char* raises;
    };
    const Case cases[] = {
        {1, "none"},
        {0, "ControlDestroyed"},
        {8, "Subscript"},  // the table's length
        {-1, "Subscript"},
        {2, "InvalidControlID"},
        {7, "InvalidControlID"},
    };
    for (const Case& c : cases) EXPECT_EQ(raised([&] { tree.lookup(makeIdCell(c.id)); }), c.raises) << c.id;
    // A cell holding 0 reads as destroyed even while the slot still holds the record.
    *a = 0;
    EXPECT_EQ(raised([&] { tree.lookup(a); }), "ControlDestroyed");
    EXPECT_EQ(raised([&] { tree.lookup(1); }), "none");
}

TEST(ControlTable, IdsComeFromTheCounterThenFromTheStartThenFromGrowth) {
    ControlTree tree(8);
    auto other = tree.stores().newAttributeStore<std::int32_t>();
    std::vector<IdCell> cells;
    const auto add = [&] {
        cells.push_back(addPlain(tree));
        return *cells.back();
    };
    for (UIControlID want = 1; want <= 5; ++want) EXPECT_EQ(add(), want);  // 0 is never given
    other->at(5) = 55;
    tree.destroyControl(cells[2]);  // frees 3
    EXPECT_FALSE(tree.inUse(3));
    EXPECT_EQ(add(), 6);  // the counter stands after 5
    EXPECT_EQ(add(), 7);
    EXPECT_EQ(add(), 3);  // nothing free from the counter (8) to the end
    EXPECT_EQ(tree.capacity(), 8);
    // Full: the table and every store double, keeping their slots.
    EXPECT_EQ(add(), 8);
    EXPECT_EQ(tree.capacity(), 16);
    EXPECT_EQ(other->size(), 16);
    EXPECT_EQ(tree.attributes().tables().size(), 16);
    EXPECT_EQ(other->at(5), 55);
    EXPECT_EQ(add(), 9);

    ControlTree tiny(1);  // only slot 0: the first control already grows the table
    EXPECT_EQ(*addPlain(tiny), 1);
    EXPECT_EQ(tiny.capacity(), 2);
    EXPECT_EQ(*addPlain(tiny), 2);
    EXPECT_EQ(tiny.capacity(), 4);
}

TEST(Controls, AChildSharesItsParentsCellAndComesLast) {
    ControlTree tree;
    IdCell w = addPlain(tree);
    IdCell a = tree.addControl(w, TestKind{}, {1, 2, 3, 4}, 0);
    Log log;
    const auto note = [&](std::string tag) {
        return [&log, &tree, tag](const IdCell& owner) {
            log.push_back(tag + " " + std::to_string(*owner) + " " +
                          std::to_string(tree.lookup(owner)->children.count()));
        };
    };
    tree.lookup(w)->children.onChanging.push(note("before"));
    tree.lookup(w)->children.onChanged.push(note("after"));
    IdCell b = addPlain(tree, w);

    EXPECT_EQ(log, (Log{"before 1 1", "after 1 2"}));
    const auto& kids = tree.lookup(w)->children;
    ASSERT_EQ(kids.count(), 2);
    EXPECT_EQ(kids.readAt(0), a);  // the cells themselves
    EXPECT_EQ(kids.readAt(1), b);
    EXPECT_EQ(tree.lookup(a)->parent, w);
    EXPECT_EQ(tree.lookup(a)->boundingBox.value(), (IRect2D{1, 2, 3, 4}));
    EXPECT_EQ(tree.lookup(a)->visible.value(), 0);
    // A top-level control has a parent cell of its own holding 0.
    EXPECT_EQ(*tree.lookup(w)->parent, 0);
    EXPECT_NE(tree.lookup(w)->parent, tree.lookup(b)->parent);

    // A destroyed parent fails the add, which keeps its slot and ID.
    EXPECT_EQ(raised([&] { tree.addControl(makeIdCell(0), TestKind{}, {}, 1); }), "ControlDestroyed");
    EXPECT_TRUE(tree.inUse(4));
    EXPECT_EQ(raised([&] { tree.lookup(4); }), "none");
    EXPECT_EQ(tree.lookup(w)->children.count(), 2);
}

TEST(Controls, EveryControlGetsTheFourCommonAttributesAfterItsOwn) {
    ControlTree tree;
    TestKind kind;
    kind.extra = [](ControlTree& t, const IdCell& self) { t.attributes().registerString(self, "text", ""); };
    IdCell c = tree.addControl(nullptr, kind, {1, 2, 3, 4}, 1);
    EXPECT_EQ(tree.attributes().attributeNames(c),
              (std::vector<std::string>{"text", "boundingbox", "visible", "name", "class"}));
    // They are the record's own values.
    tree.attributes().writeAsString(c, "boundingbox", "{x=5,y=6,w=7,h=8}");
    tree.attributes().writeAsString(c, "visible", "false");
    tree.attributes().writeString(c, "name", "n");
    tree.attributes().writeString(c, "class", "k");
    const auto rec = tree.lookup(c);
    EXPECT_EQ(rec->boundingBox.value(), (IRect2D{5, 6, 7, 8}));
    EXPECT_EQ(rec->visible.value(), 0);
    EXPECT_EQ(rec->name.value(), "n");
    EXPECT_EQ(rec->className.value(), "k");
}

// W { A { A1, A2 }, B }, each recording its release.
struct Family {
    ControlTree tree;
    std::shared_ptr<Log> log = std::make_shared<Log>();
    TestKind kind;
    IdCell w, a, a1, a2, b;
    Family() {
        kind.log = log;
        w = addNamed(tree, nullptr, "W", {}, kind);
        a = addNamed(tree, w, "A", {}, kind);
        a1 = addNamed(tree, a, "A1", {}, kind);
        a2 = addNamed(tree, a, "A2", {}, kind);
        b = addNamed(tree, w, "B", {}, kind);
    }
};

TEST(Controls, DestroyingTakesTheSubtreeChildrenFirst) {
    Family f;
    auto store = f.tree.stores().newAttributeStore<std::int32_t>();
    store->at(0) = 9;
    store->at(*f.a1) = 7;
    Log changes;
    f.tree.lookup(f.w)->children.onChanged.push([&](const IdCell& o) { changes.push_back(std::to_string(*o)); });

    f.tree.destroyControl(f.a);
    EXPECT_EQ(*f.log, (Log{"release A1", "release A2", "release A"}));
    EXPECT_EQ(changes, Log{"1"});  // W's list changed once: A left it
    for (const IdCell& gone : {f.a, f.a1, f.a2}) EXPECT_EQ(*gone, 0);
    for (UIControlID id : {2, 3, 4}) {
        EXPECT_FALSE(f.tree.inUse(id));
        EXPECT_EQ(raised([&] { f.tree.lookup(id); }), "InvalidControlID");
        EXPECT_FALSE(f.tree.attributes().findSlot(makeIdCell(id), "name"));
    }
    EXPECT_EQ(store->at(3), 0);  // every store forgets the ID...
    EXPECT_EQ(store->at(0), 9);  // ...but slot 0 belongs to no control
    ASSERT_EQ(f.tree.lookup(f.w)->children.count(), 1);
    EXPECT_EQ(f.tree.lookup(f.w)->children.readAt(0), f.b);

    f.tree.destroyControl(f.w);
    EXPECT_EQ(*f.log, (Log{"release A1", "release A2", "release A", "release B", "release W"}));
    EXPECT_EQ(*f.w, 0);
    f.tree.destroyControl(f.w);  // a cell holding 0 names nothing
    EXPECT_EQ(f.log->size(), 5u);
}

TEST(Controls, AReusedIdInheritsNothing) {
    ControlTree tree(2);  // ID 1 is the only one before growth
    auto handlers = tree.stores().newAttributeStore<IntList>();
    IdCell a = addPlain(tree);
    int calls = 0;
    handlers->at(*a).push([&](const IdCell&, const std::int32_t&) { ++calls; });
    tree.attributes().registerInt(a, "barpos", 3);
    tree.destroyControl(a);
    IdCell again = addPlain(tree);
    ASSERT_EQ(*again, 1);
    handlers->at(1).deliver(again, 0);
    EXPECT_EQ(calls, 0);
    EXPECT_FALSE(tree.attributes().findSlot(again, "barpos"));
}

TEST(Controls, DestroyingDropsChildEntriesThatHoldZero) {
    Family f;
    f.tree.lookup(f.w)->children.insertAt(0, makeIdCell(0));
    f.tree.lookup(f.a)->children.append(makeIdCell(0));
    f.tree.destroyControl(f.w);
    EXPECT_EQ(f.log->size(), 5u);
    EXPECT_EQ(*f.w, 0);
}

TEST(Controls, AFailingReleaseStillFinishesTheDestruction) {
    ControlTree tree;
    struct Failing : ControlKindState {
        void release(ControlTree&) override { throw Io("closed"); }
    };
    TestKind kind;
    kind.extra = [](ControlTree& t, const IdCell& self) { t.lookup(self)->kindState = std::make_shared<Failing>(); };
    IdCell w = addPlain(tree);
    IdCell c = tree.addControl(w, kind, {}, 1);
    EXPECT_EQ(raised([&] { tree.destroyControl(c); }), "Io");
    EXPECT_EQ(*c, 0);
    EXPECT_FALSE(tree.inUse(2));
    EXPECT_EQ(tree.lookup(w)->children.count(), 0);
}

TEST(ControlTree, FindByNameIsPreOrder) {
    ControlTree tree;
    // R { X { Y "deep" }, Z "deep" { "twin", "deep" }, "twin" }
    IdCell r = addNamed(tree, nullptr, "R", {});
    IdCell x = addNamed(tree, r, "X", {});
    IdCell y = addNamed(tree, x, "deep", {});
    IdCell z = addNamed(tree, r, "deep", {});
    IdCell zt = addNamed(tree, z, "twin", {});
    addNamed(tree, z, "deep", {});
    addNamed(tree, r, "twin", {});
    struct Case {
        IdCell start;
        const char* name;
        IdCell found;
    };
    const Case cases[] = {
        {r, "R", r}, {r, "deep", y},  // X's subtree comes before Z
        {r, "twin", zt},              // Z's child before R's later child
        {z, "deep", z},               // the start itself before its children
        {x, "twin", nullptr}, {r, "", nullptr}, {r, "Deep", nullptr},
    };
    for (const Case& c : cases) EXPECT_EQ(tree.findControlByName(c.start, c.name), c.found) << c.name;
}

TEST(ControlTree, FindByNameLooksUpWhatItVisitsOnly) {
    ControlTree tree;
    IdCell r = addNamed(tree, nullptr, "R", {});
    addNamed(tree, r, "first", {});
    tree.lookup(r)->children.append(makeIdCell(0));  // a child destroyed meanwhile
    addNamed(tree, r, "last", {});
    EXPECT_EQ(*tree.findControlByName(r, "first"), 2);
    EXPECT_EQ(raised([&] { tree.findControlByName(r, "last"); }), "ControlDestroyed");
}

TEST(ControlTree, RemoveChildTakesTheLastEntryOfTheChild) {
    ControlTree tree;
    IdCell w = addPlain(tree);
    IdCell a = addPlain(tree, w);
    IdCell b = addPlain(tree, w);
    tree.lookup(w)->children.append(a);  // [a, b, a]
    tree.removeChild(a);
    const auto& kids = tree.lookup(w)->children;
    ASSERT_EQ(kids.count(), 2);
    EXPECT_EQ(kids.readAt(0), a);
    EXPECT_EQ(kids.readAt(1), b);
    tree.removeChild(a);
    tree.removeChild(b);
    EXPECT_EQ(failureOf([&] { tree.removeChild(a); }),
              "ChildNotInParent: Internal error: Child not found in parent control!");
}

TEST(ControlTree, WalkToRootAndHalfWidth) {
    ControlTree tree;
    IdCell w = tree.addControl(nullptr, TestKind{}, {0, 0, 7, 5}, 1);
    IdCell a = tree.addControl(w, TestKind{}, {0, 0, -7, 5}, 1);
    IdCell g = addPlain(tree, a);
    EXPECT_EQ(tree.walkToRoot(g), w);
    EXPECT_EQ(tree.walkToRoot(w), w);
    EXPECT_EQ(tree.halfWidthStep(w), 3);   // 7 div 2
    EXPECT_EQ(tree.halfWidthStep(a), -4);  // rounded down
    *tree.lookup(g)->parent = 9;            // a parent slot that holds nothing
    EXPECT_EQ(raised([&] { tree.walkToRoot(g); }), "InvalidControlID");
}

}  // namespace
}  // namespace zil
