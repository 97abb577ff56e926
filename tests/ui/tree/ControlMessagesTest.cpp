#include "ui/tree/ControlMessages.hpp"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ui/tree/ControlTree.hpp"
#include "ui/tree/TopLevelWindow.hpp"
#include "ui/tree/TreeTestSupport.hpp"

namespace zil {
namespace {

using testing::Log;
using testing::raised;
using testing::TestKind;

IdCell addBox(ControlTree& tree, const IdCell& parent, IRect2D box, std::int32_t visible = 1) {
    return tree.addControl(parent, TestKind{}, box, visible);
}

struct RectCase {
    const char* what;
    IRect2D before;  // the target's box
    std::function<RectLink(ControlTree&, const IdCell& target)> link;
    IRect2D r;  // delivered
    IRect2D want;
    int changes;
    bool framed = false;  // the target is a frame whose first child is watched
};

TEST(ControlMessages, RectLinksDeriveTheirTargetsBox) {
    const RectCase cases[] = {
        {"strip", {}, [](ControlTree&, const IdCell& t) { return PlaceRightStrip{t}; }, {5, 6, 100, 30},
         {84, 0, 16, 30}, 1},
        {"narrow strip", {}, [](ControlTree&, const IdCell& t) { return PlaceRightStrip{t}; }, {0, 0, 10, 8},
         {-6, 0, 16, 8}, 1},
        // The inset keeps its origin; a size below 0 becomes 0.
        {"inset 3", {}, [](ControlTree&, const IdCell& t) { return InsetBy{3, t}; }, {10, 20, 5, 100},
         {13, 23, 0, 94}, 1},
        {"inset 0", {}, [](ControlTree&, const IdCell& t) { return InsetBy{0, t}; }, {4, 5, 6, 7}, {4, 5, 6, 7}, 1},
        {"inset 0 of empty", {1, 1, 1, 1}, [](ControlTree&, const IdCell& t) { return InsetBy{0, t}; }, {0, 0, 0, 0},
         {0, 0, 0, 0}, 1},
        {"grow by 2", {}, [](ControlTree&, const IdCell& t) { return InsetBy{-2, t}; }, {10, 10, 0, 0},
         {8, 8, 4, 4}, 1},
        {"match width", {7, 8, 50, 9}, [](ControlTree&, const IdCell& t) { return MatchWidth{t}; }, {0, 0, 120, 1},
         {7, 8, 120, 9}, 1},
        {"same width", {7, 8, 50, 9}, [](ControlTree&, const IdCell& t) { return MatchWidth{t}; }, {1, 2, 50, 3},
         {7, 8, 50, 9}, 0},
        // The target is the frame; its first child moves, even to a size below 0.
        {"first child", {}, [](ControlTree&, const IdCell& t) { return InsetFirstChild{t}; }, {9, 9, 50, 40},
         {2, 2, 46, 36}, 1, true},
        {"tiny frame", {}, [](ControlTree&, const IdCell& t) { return InsetFirstChild{t}; }, {0, 0, 3, 1},
         {2, 2, -1, -3}, 1, true},
    };
    for (const RectCase& c : cases) {
        ControlTree tree;
        IdCell owner = addBox(tree, nullptr, {});
        IdCell target = addBox(tree, nullptr, c.before);
        IdCell watched = target;
        IdCell second;
        if (c.framed) {
            watched = addBox(tree, target, c.before);
            second = addBox(tree, target, {9, 9, 9, 9});
        }
        int changes = 0;
        tree.lookup(watched)->boundingBox.onChanged.push([&](const IdCell&, const IRect2D&) { ++changes; });
        ControlMessages::act(tree, c.link(tree, target), c.r, owner);
        EXPECT_EQ(tree.lookup(watched)->boundingBox.value(), c.want) << c.what;
        EXPECT_EQ(changes, c.changes) << c.what;
        if (second) {
            EXPECT_EQ(tree.lookup(second)->boundingBox.value(), (IRect2D{9, 9, 9, 9})) << c.what;
        }
    }
}

TEST(ControlMessages, IntLinksTakeTheWidthOrTheHeight) {
    ControlTree tree;
    IdCell owner = addBox(tree, nullptr, {});
    auto w = std::make_shared<ObservedInt>(owner, 0);
    auto h = std::make_shared<ObservedInt>(owner, 0);
    auto& box = tree.lookup(owner)->boundingBox;
    box.onChanged.push(ControlMessages::linkEntry(tree, SetIntToWidth{w}));
    box.onChanged.push(ControlMessages::linkEntry(tree, SetIntToHeight{h}));
    box.set({1, 2, 30, 40});
    EXPECT_EQ(w->value(), 30);
    EXPECT_EQ(h->value(), 40);
    // Empty frames change nothing.
    IdCell frame = addBox(tree, nullptr, {});
    EXPECT_EQ(raised([&] { ControlMessages::act(tree, InsetFirstChild{frame}, {0, 0, 9, 9}, owner); }), "none");
}

TEST(ControlMessages, ABoxChangeMovesTheSubtreeDepthFirstAndEndsWhereNothingChanges) {
    ControlTree tree;
    IdCell w = addBox(tree, nullptr, {0, 0, 200, 200});
    tree.addWindow(w, nullptr);
    // Every control repaints its old and new box; starting inside A's new
    // box keeps the dirty list at that one rectangle.
    IdCell a = addBox(tree, w, {20, 20, 1, 1});
    IdCell b = addBox(tree, w, {20, 20, 1, 1});
    IdCell c = addBox(tree, w, {20, 20, 1, 1});
    IdCell d = addBox(tree, w, {20, 20, 1, 1});
    Log log;
    const auto note = [&](const char* name) {
        return [&log, name](const IdCell&, const IRect2D& r) {
            log.push_back(std::string(name) + " " + std::to_string(r.x) + "," + std::to_string(r.w));
        };
    };
    auto& boxA = tree.lookup(a)->boundingBox;
    boxA.onChanged.push(ControlMessages::linkEntry(tree, RepaintControl{a}));
    boxA.onChanged.push(ControlMessages::linkEntry(tree, InsetBy{2, c}));
    boxA.onChanged.push(ControlMessages::linkEntry(tree, InsetBy{1, b}));  // runs first
    tree.lookup(b)->boundingBox.onChanged.push(ControlMessages::linkEntry(tree, InsetBy{1, d}));
    const std::vector<std::pair<IdCell, const char*>> watched{{b, "B"}, {c, "C"}, {d, "D"}};
    for (const auto& [id, name] : watched) tree.lookup(id)->boundingBox.onChanged.push(note(name));  // runs first

    tree.findWindow(*w)->dirty.clear();
    boxA.set({10, 10, 50, 50});
    EXPECT_EQ(log, (Log{"B 11,48", "D 12,46", "C 12,46"}));
    EXPECT_EQ(tree.findWindow(*w)->dirty, (std::vector<IRect2D>{{10, 10, 50, 50}}));

    // The same box again: every target holds its derived box, only the repaint acts.
    log.clear();
    tree.findWindow(*w)->dirty.clear();
    ControlMessages::act(tree, InsetBy{0, a}, {10, 10, 50, 50}, w);  // equal: nothing at all
    tree.lookup(a)->boundingBox.onChanged.deliver(a, {10, 10, 50, 50});
    EXPECT_EQ(log, Log{});
    EXPECT_EQ(tree.findWindow(*w)->dirty, (std::vector<IRect2D>{{10, 10, 50, 50}}));
}

TEST(ControlMessages, AFailureLeavesTheWalkAndSkipsTheStore) {
    ControlTree tree;
    IdCell owner = addBox(tree, nullptr, {});
    IdCell first = addBox(tree, nullptr, {});
    IdCell second = addBox(tree, nullptr, {});
    Log log;
    auto& v1 = tree.lookup(first)->visible;
    v1.onChanging.push([&](const IdCell&, const std::int32_t& v) {
        log.push_back("changing " + std::to_string(v));
        throw Io("closed");
    });
    v1.onChanged.push([&](const IdCell&, const std::int32_t&) { log.push_back("changed"); });
    IntList list;
    list.push(ControlMessages::messageEntry(tree, SetVisible{second}));
    list.push(ControlMessages::messageEntry(tree, SetVisible{first}));  // runs first and fails
    EXPECT_EQ(raised([&] { list.deliver(owner, 0); }), "Io");
    EXPECT_EQ(log, Log{"changing 0"});
    EXPECT_EQ(tree.lookup(first)->visible.value(), 1);
    EXPECT_EQ(tree.lookup(second)->visible.value(), 1);
    // Visible already: nothing is delivered.
    EXPECT_EQ(raised([&] { ControlMessages::act(tree, SetVisible{first}, 1, owner); }), "none");
    // Activation with 0 leaves the screen as it is.
    auto caption = std::make_shared<ObservedString>(owner, "c");
    ControlMessages::act(tree, ActivateTopLevel{caption}, 0, owner);
    EXPECT_EQ(tree.screen(), nullptr);
}

struct Links {
    ControlTree tree;
    std::shared_ptr<LinkTable> table = tree.stores().newAttributeStore<IntList>();
    Log log;
    void put(UIControlID slot, std::string tag) {
        table->at(slot).push([this, tag](const IdCell& owner, const std::int32_t& v) {
            log.push_back(tag + "@" + std::to_string(*owner) + "=" + std::to_string(v));
        });
    }
};

TEST(ControlMessages, DeliverTrueToLinksRunsSlotZeroThenTheOwnersSlot) {
    Links l;
    l.put(0, "a");
    l.put(0, "b");
    l.put(5, "c");
    l.put(6, "x");
    ControlMessages::deliverTrueToLinks(*l.table, makeIdCell(0));
    EXPECT_EQ(l.log, (Log{"b@0=1", "a@0=1"}));
    l.log.clear();
    ControlMessages::deliverTrueToLinks(*l.table, makeIdCell(5));
    EXPECT_EQ(l.log, (Log{"b@5=1", "a@5=1", "c@5=1"}));
}

TEST(ControlMessages, DeliverTrueToLinksWalksWhatWasThereAndDropsAFailure) {
    Links l;
    l.put(5, "late");
    l.table->at(0).push([&](const IdCell&, const std::int32_t&) {
        l.log.push_back("adds");
        l.put(5, "new");  // waits for the next walk
    });
    ControlMessages::deliverTrueToLinks(*l.table, makeIdCell(5));
    EXPECT_EQ(l.log, (Log{"adds", "late@5=1"}));

    l.log.clear();
    l.table->at(0).push([&](const IdCell&, const std::int32_t&) {
        l.log.push_back("fails");
        throw BackendError();
    });
    EXPECT_EQ(raised([&] { ControlMessages::deliverTrueToLinks(*l.table, makeIdCell(5)); }), "none");
    EXPECT_EQ(l.log, Log{"fails"});
    EXPECT_EQ(raised([&] { ControlMessages::deliverTrueToLinks(*l.table, makeIdCell(64)); }), "none");
}

TEST(TopLevelWindow, ReactivateRunsThePathFromTheWindowDown) {
    Links l;
    IdCell w = addBox(l.tree, nullptr, {});
    IdCell a = addBox(l.tree, w, {});
    IdCell c = addBox(l.tree, a, {});
    l.put(0, "any");
    l.put(*w, "w");
    l.put(*c, "c");
    TopLevelWindow::reactivate(l.tree, *l.table, c, 7);
    EXPECT_EQ(l.log, (Log{"any@1=7", "w@1=7", "any@2=7", "any@3=7", "c@3=7"}));
    // As a message, the owner names the control.
    l.log.clear();
    ControlMessages::act(l.tree, ReactivateWindow{l.table}, 0, a);
    EXPECT_EQ(l.log, (Log{"any@1=0", "w@1=0", "any@2=0"}));
}

}  // namespace
}  // namespace zil
