// The per-control stores of a fresh UI context: the order they are made in,
// the default entries of slot 0 and what those record.
#include "ui/controls/ToolkitStores.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/controls/ControlEvents.hpp"
#include "ui/controls/UIContext.hpp"
#include "ui/tree/TreeTestSupport.hpp"

namespace zil {
namespace {

using testing::Log;
using testing::TestKind;

TEST(ToolkitStores, TheStoresAreMadeInTheirFixedOrder) {
    UIContext ctx;
    ToolkitStores& s = ctx.stores;
    const std::vector<const AttributeStoreBase*> expected = {
        &ctx.tree.attributes().tables(),                                                          // 1
        s.focusSteps.get(),           s.handlers.marks.get(),                                     // 2, 3
        s.focus.linksBefore.get(),    s.focus.linksAfter.get(),        s.focus.blurHooksBefore.get(),
        s.focus.blurHooksAfter.get(), s.focus.focusHooksBefore.get(),  s.focus.focusHooksAfter.get(),
        s.lastFocusStep[0].get(),     s.lastFocusStep[1].get(),        s.lastFocusStep[2].get(),
        s.lastFocusStep[3].get(),     s.lastFocusStep[4].get(),        s.lastFocusStep[5].get(),  // 10-15
        s.handlers.keyDown.get(),     s.handlers.keyUp.get(),          s.handlers.mouse.get(),
        s.handlers.clicks.get(),      s.spare.get(),                                              // 16-20
        s.pointerActions.press.get(), s.pointerActions.release.get(),                             // 21, 22
        s.releases.get(),             s.lastRelease.get()};                                       // 23, 24
    // The control table's own two columns come right after the first store.
    const auto& made = ctx.tree.stores().inCreationOrder();
    ASSERT_EQ(made.size(), 26u);
    std::vector<const AttributeStoreBase*> numbered{made[0].get()};
    for (std::size_t k = 3; k < made.size(); ++k) numbered.push_back(made[k].get());
    EXPECT_EQ(numbered, expected);
    for (const auto& store : made) EXPECT_EQ(store->size(), ControlTree::kDefaultCapacity);
}

TEST(ToolkitStores, RegistrationRunsItsStepsAfterTheFirstClassAndBeforeTheTextEdit) {
    ControlClassRegistry classes;
    Log seen;
    const auto known = [&] {
        std::string s;
        for (const char* name : {"VuqFrameForChild", "VuqVertScrollBar", "VuqCheckBoxView", "VuqTextEdit"})
            s += classes.findClass(name) ? "1" : "0";
        return s;
    };
    classes.registerToolkitClasses({[&] { seen.push_back("after " + known()); },
                                    [&] { seen.push_back("before " + known()); }});
    EXPECT_EQ(seen, (Log{"after 1000", "before 1110"}));
    EXPECT_TRUE(classes.findClass("VuqOKDialog") && classes.isTopLevelClass("VuqNoBackgroundWindow"));
}

TEST(ToolkitStores, SlotZeroOfTheFocusAndReleaseStoresHoldsOneDefaultEntry) {
    UIContext ctx;
    const ToolkitStores& s = ctx.stores;
    const FocusTables& f = s.focus;
    for (std::size_t n : {f.linksBefore->at(0).size(), f.linksAfter->at(0).size(), f.blurHooksBefore->at(0).size(),
                          f.blurHooksAfter->at(0).size(), f.focusHooksBefore->at(0).size(),
                          f.focusHooksAfter->at(0).size(), s.pointerActions.release->at(0).size()})
        EXPECT_EQ(n, 1u);
    for (std::size_t n : {s.handlers.keyDown->at(0).size(), s.handlers.keyUp->at(0).size(),
                          s.handlers.mouse->at(0).size(), s.handlers.clicks->at(0).size(),
                          s.pointerActions.press->at(0).size()})
        EXPECT_EQ(n, 0u);
}

// A window (ID 1) with controls A and B (2, 3).
struct Tree {
    UIContext ctx;
    IdCell w = add(nullptr, {0, 0, 100, 100});
    IdCell a = add(w, {10, 10, 20, 20}), b = add(w, {40, 10, 20, 20});

    IdCell add(const IdCell& parent, IRect2D box) {
        IdCell c = ctx.tree.addControl(parent, TestKind{}, box, 1);
        if (!parent) ctx.tree.addWindow(c, nullptr);
        return c;
    }
    // Per table 4-9, the step of the control's history at which it last ran.
    std::vector<std::int64_t> stamps(const IdCell& c) const {
        std::vector<std::int64_t> out;
        for (const auto& last : ctx.stores.lastFocusStep) out.push_back(last->at(*c));
        return out;
    }
};

TEST(ToolkitStores, TheFocusDefaultsCountAndStampEachStepBeforeTheControlsOwn) {
    Tree t;
    std::int64_t seenByOwn = -1;
    t.ctx.focus.focusHooksBefore->at(*t.a).push(
        [&](const IdCell& c) { seenByOwn = t.ctx.stores.lastFocusStep[4]->at(*c); });
    ControlMessages::changeCurrent(t.a, t.ctx.focus);
    EXPECT_EQ(seenByOwn, 1);  // slot 0's entry has run already
    ControlMessages::changeCurrent(t.b, t.ctx.focus);
    // Gaining: focus hooks before, links before, the cell, focus hooks
    // after, links after; losing likewise with the blur hooks. By table:
    // links before, links after, blur before, blur after, focus before, after.
    EXPECT_EQ(t.ctx.stores.focusSteps->at(*t.a), 8);
    EXPECT_EQ(t.stamps(t.a), (std::vector<std::int64_t>{6, 8, 5, 7, 1, 3}));
    EXPECT_EQ(t.ctx.stores.focusSteps->at(*t.b), 4);
    EXPECT_EQ(t.stamps(t.b), (std::vector<std::int64_t>{2, 4, 0, 0, 1, 3}));
    ControlMessages::changeCurrent(makeIdCell(0), t.ctx.focus);  // slot 0 is no control's: nothing kept
    EXPECT_EQ(t.ctx.stores.focusSteps->at(0), 0);
}

TEST(ToolkitStores, SlotZerosReleaseActionRunsBeforeTheControlsOwn) {
    Tree t;
    ControlEventTables events{t.ctx};
    Log log;
    const auto own = [&](const IdCell& c, const std::string& name) {
        pushPointerAction(*t.ctx.pointerActions.release, *c, PointerRule{[&, c, name](const PointerAt&) {
                              log.push_back(name + " " + std::to_string(t.ctx.stores.releases->at(*c)) + " " +
                                            std::to_string(t.ctx.stores.lastRelease->at(*c).x));
                          }});
    };
    own(t.a, "a");
    own(t.b, "b");
    const auto release = [&](int x, int y) { Controls::handleEvent(MouseButton{x, y}, EventType::buttonUp, events); };
    Controls::handleEvent(MouseButton{15, 12}, EventType::buttonDown, events);  // presses count nothing
    release(15, 12);
    release(47, 12);
    release(18, 29);
    EXPECT_EQ(log, (Log{"a 1 5", "b 1 7", "a 2 8"}));
    EXPECT_EQ(t.ctx.stores.lastRelease->at(*t.a), (Point{8, 19}));
    release(95, 95);  // the window itself
    EXPECT_EQ(t.ctx.stores.releases->at(*t.w), 1);
    // A run for a destroyed control runs slot 0 once and records nothing.
    Controls::runPointerActions(t.ctx.tree, *t.ctx.pointerActions.release, makeIdCell(0), {});
    EXPECT_EQ(t.ctx.stores.releases->at(0), 0);

    // Controls past the first capacity are counted in the grown stores.
    IdCell last;
    for (int i = 0; i < ControlTree::kDefaultCapacity; ++i) last = t.add(t.w, {70, 70, 10, 10});
    ASSERT_GE(*last, ControlTree::kDefaultCapacity);
    release(75, 75);
    EXPECT_EQ(t.ctx.stores.releases->at(*last), 1);
}

}  // namespace
}  // namespace zil
