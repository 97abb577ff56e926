#include "ui/tree/ControlMessages.hpp"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "ui/tree/ControlTree.hpp"
#include "ui/tree/TopLevelWindow.hpp"
#include "ui/tree/TreeTestSupport.hpp"

namespace zil {
namespace {

using testing::add;
using testing::Log;
using testing::raised;

TEST(ControlMessages, RectLinksDeriveTheirTargetsBox) {
    struct Case {
        const char* what;
        RectLink (*link)(const IdCell& target);
        IRect2D before, r, want;
        bool framed;  // the target is a frame; its first child is watched
    };
    const Case cases[] = {
        {"strip", [](const IdCell& t) -> RectLink { return PlaceRightStrip{t}; }, {}, {5, 6, 100, 30},
         {84, 0, 16, 30}, false},
        {"narrow strip", [](const IdCell& t) -> RectLink { return PlaceRightStrip{t}; }, {}, {0, 0, 10, 8},
         {-6, 0, 16, 8}, false},
        // The inset keeps its origin; a size below 0 becomes 0.
        {"inset 3", [](const IdCell& t) -> RectLink { return InsetBy{3, t}; }, {}, {10, 20, 5, 100},
         {13, 23, 0, 94}, false},
        {"inset 0", [](const IdCell& t) -> RectLink { return InsetBy{0, t}; }, {1, 1, 1, 1}, {0, 0, 0, 0},
         {0, 0, 0, 0}, false},
        {"grow 2", [](const IdCell& t) -> RectLink { return InsetBy{-2, t}; }, {}, {10, 10, 0, 0}, {8, 8, 4, 4},
         false},
        {"width", [](const IdCell& t) -> RectLink { return MatchWidth{t}; }, {7, 8, 50, 9}, {0, 0, 120, 1},
         {7, 8, 120, 9}, false},
        {"first child", [](const IdCell& t) -> RectLink { return InsetFirstChild{t}; }, {}, {9, 9, 3, 40},
         {2, 2, -1, 36}, true},
    };
    for (const Case& c : cases) {
        ControlTree tree;
        IdCell target = add(tree, nullptr, c.before);
        IdCell watched = c.framed ? add(tree, target, c.before) : target;
        IdCell second = add(tree, target, {9, 9, 9, 9});
        ControlMessages::act(tree, c.link(target), c.r, target);
        EXPECT_EQ(tree.lookup(watched)->boundingBox.value(), c.want) << c.what;
        EXPECT_EQ(tree.lookup(second)->boundingBox.value(), (IRect2D{9, 9, 9, 9})) << c.what;
    }
}

TEST(ControlMessages, ABoxChangeMovesTheSubtreeDepthFirstAndEndsWhereNothingChanges) {
    ControlTree tree;
    IdCell w = add(tree, nullptr, {0, 0, 200, 200});
    tree.addWindow(w, nullptr);
    IdCell a = add(tree, w), b = add(tree, w, {}, "B"), c = add(tree, w, {}, "C"), d = add(tree, w, {}, "D");
    auto width = std::make_shared<ObservedInt>(a, 0);
    Log log;
    auto& boxA = tree.lookup(a)->boundingBox;
    boxA.onChanged.push(ControlMessages::linkEntry(tree, RepaintControl{a}));
    boxA.onChanged.push(ControlMessages::linkEntry(tree, SetIntToWidth{width}));
    boxA.onChanged.push(ControlMessages::linkEntry(tree, InsetBy{2, c}));
    boxA.onChanged.push(ControlMessages::linkEntry(tree, InsetBy{1, b}));  // runs first
    tree.lookup(b)->boundingBox.onChanged.push(ControlMessages::linkEntry(tree, InsetBy{1, d}));
    for (const IdCell& id : {b, c, d})
        tree.lookup(id)->boundingBox.onChanged.push([&log, &tree, id](const IdCell&, const IRect2D&) {
            const auto held = tree.lookup(id)->boundingBox.value();  // already the new box
            log.push_back(tree.lookup(id)->name.value() + " " + std::to_string(held.x) + "," + std::to_string(held.w));
        });
    tree.lookup(b)->boundingBox.onChanging.push([&log, &tree, b](const IdCell&, const IRect2D& r) {
        log.push_back("B from " + std::to_string(tree.lookup(b)->boundingBox.value().x) + " to " + std::to_string(r.x));
    });
    boxA.set({10, 10, 50, 50});
    EXPECT_EQ(log, (Log{"B from 0 to 11", "B 11,48", "D 12,46", "C 12,46"}));
    EXPECT_EQ(width->value(), 50);
    EXPECT_EQ(tree.findWindow(*w)->dirty, (std::vector<IRect2D>{{10, 10, 50, 50}}));
    // The same box again: every target holds its derived box; only the repaint acts.
    log.clear();
    tree.findWindow(*w)->dirty.clear();
    boxA.onChanged.deliver(a, {10, 10, 50, 50});
    EXPECT_EQ(log, Log{});
    EXPECT_EQ(tree.findWindow(*w)->dirty.size(), 1u);
}

TEST(ControlMessages, AFailureLeavesTheWalkAndSkipsTheStore) {
    ControlTree tree;
    IdCell owner = add(tree, nullptr), first = add(tree, nullptr), second = add(tree, nullptr);
    Log log;
    tree.lookup(first)->visible.onChanging.push([&](const IdCell&, const std::int32_t&) { throw Io("closed"); });
    tree.lookup(first)->visible.onChanged.push([&](const IdCell&, const std::int32_t&) { log.push_back("stored"); });
    IntList list;
    list.push(ControlMessages::messageEntry(tree, SetVisible{second}));
    list.push(ControlMessages::messageEntry(tree, SetVisible{first}));  // runs first and fails
    EXPECT_EQ(raised([&] { list.deliver(owner, 0); }), "Io");
    EXPECT_EQ(log, Log{});
    EXPECT_EQ(tree.lookup(first)->visible.value(), 1);
    EXPECT_EQ(tree.lookup(second)->visible.value(), 1);
    EXPECT_EQ(raised([&] { list.deliver(owner, 1); }), "none");  // both visible already: nothing set
    ControlMessages::act(tree, ActivateTopLevel{std::make_shared<ObservedString>(owner, "")}, 0, owner);
    EXPECT_EQ(tree.screen(), nullptr);  // activation with 0 does nothing
}

struct Links {
    ControlTree tree;
    std::shared_ptr<LinkTable> table = tree.stores().newAttributeStore<IntList>();
    Log log;
    void put(UIControlID slot, std::string tag) {
        table->at(slot).push([this, tag](const IdCell& owner, const std::int32_t& v) {
            log.push_back(tag + "@" + std::to_string(*owner) + "=" + std::to_string(v));
            if (tag == "adds") put(5, "new");  // waits for the next walk
            if (tag == "fails") throw BackendError();
        });
    }
};

TEST(ControlMessages, DeliverTrueToLinksRunsSlotZeroThenTheOwnersAsTheyWere) {
    Links l;
    l.put(0, "a");
    l.put(0, "adds");
    l.put(5, "c");
    l.put(6, "x");
    ControlMessages::deliverTrueToLinks(*l.table, makeIdCell(0));
    EXPECT_EQ(l.log, (Log{"adds@0=1", "a@0=1"}));
    l.log.clear();
    ControlMessages::deliverTrueToLinks(*l.table, makeIdCell(5));
    EXPECT_EQ(l.log, (Log{"adds@5=1", "a@5=1", "new@5=1", "c@5=1"}));
    l.log.clear();
    l.put(0, "fails");  // ends the walk; the failure goes no further
    EXPECT_EQ(raised([&] { ControlMessages::deliverTrueToLinks(*l.table, makeIdCell(5)); }), "none");
    EXPECT_EQ(l.log, Log{"fails@5=1"});
}

TEST(TopLevelWindow, ReactivateRunsThePathFromTheWindowDown) {
    Links l;
    IdCell w = add(l.tree, nullptr);
    IdCell a = add(l.tree, w);
    IdCell c = add(l.tree, a);
    l.put(0, "any");
    l.put(*w, "w");
    l.put(*c, "c");
    TopLevelWindow::reactivate(l.tree, *l.table, c, 7);
    EXPECT_EQ(l.log, (Log{"any@1=7", "w@1=7", "any@2=7", "any@3=7", "c@3=7"}));
    l.log.clear();
    ControlMessages::act(l.tree, ReactivateWindow{l.table}, 0, a);  // the owner names the control
    EXPECT_EQ(l.log, (Log{"any@1=0", "w@1=0", "any@2=0"}));
}

}  // namespace
}  // namespace zil
