#include "ui/tree/FocusChange.hpp"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "ui/tree/ControlTree.hpp"
#include "ui/tree/TreeTestSupport.hpp"

namespace zil {
namespace {

using testing::Log;
using testing::raised;

// A and B (2, 3) under a window, and recorders in slot 0 of all six tables
// logging "<step> <control>[ <flag>] <focused or ->".
struct Focus {
    ControlTree tree;
    IdCell w = tree.addControl(nullptr, testing::TestKind{}, {}, 1);
    IdCell a = tree.addControl(w, testing::TestKind{}, {}, 1), b = tree.addControl(w, testing::TestKind{}, {}, 1);
    FocusState state{tree};
    Log log;

    std::string now() const { return state.focused() ? std::to_string(*state.focused()) : "-"; }
    Focus() {
        for (auto [t, step] : {std::pair{state.blurHooksBefore, "blur"}, {state.blurHooksAfter, "blurred"},
                               {state.focusHooksBefore, "focus"}, {state.focusHooksAfter, "focused"}})
            t->at(0).push([this, step = std::string(step)](const IdCell& c) {
                log.push_back(step + " " + std::to_string(*c) + " " + now());
            });
        for (auto [t, step] : {std::pair{state.linksBefore, "flag"}, {state.linksAfter, "flagged"}})
            t->at(0).push([this, step = std::string(step)](const IdCell& c, const std::int32_t& v) {
                log.push_back(step + " " + std::to_string(*c) + " " + std::to_string(v) + " " + now());
            });
    }
};

TEST(FocusChange, MovingTheFocusRunsTheTenStepsInOrder) {
    Focus f;
    ControlMessages::changeCurrent(f.a, f.state);
    EXPECT_EQ(f.log, (Log{"focus 2 -", "flag 2 1 -", "focused 2 2", "flagged 2 1 2"}));
    f.log.clear();
    ControlMessages::changeCurrent(f.b, f.state);
    EXPECT_EQ(f.log, (Log{"blur 2 2", "flag 2 0 2", "blurred 2 -", "flagged 2 0 -", "focus 3 -", "flag 3 1 -",
                          "focused 3 3", "flagged 3 1 3"}));
    f.log.clear();
    ControlMessages::changeCurrent(makeIdCell(*f.b), f.state);  // another cell, the same ID
    EXPECT_EQ(f.log, Log{});
    EXPECT_TRUE(ControlMessages::isFocused(f.state, makeIdCell(*f.b)));
    EXPECT_FALSE(ControlMessages::isFocused(f.state, f.a));
}

TEST(FocusChange, FailuresPassBeforeTheCellChangesAndAreDroppedAfter) {
    const auto fail = [](auto&&...) { throw Error(); };
    Focus f;
    ControlMessages::changeCurrent(f.a, f.state);
    f.state.blurHooksAfter->at(0).push(fail);  // runs before the recorder, which it skips
    f.log.clear();
    EXPECT_EQ(raised([&] { ControlMessages::changeCurrent(f.b, f.state); }), "none");
    EXPECT_EQ(f.log, (Log{"blur 2 2", "flag 2 0 2", "flagged 2 0 -", "focus 3 -", "flag 3 1 -", "focused 3 3",
                          "flagged 3 1 3"}));
    f.state.blurHooksBefore->at(0).push(fail);
    EXPECT_EQ(raised([&] { ControlMessages::changeCurrent(f.a, f.state); }), "Error");
    EXPECT_EQ(f.now(), "3");  // B keeps the focus
}

TEST(FocusChange, FocusEntriesFollowTheFocus) {
    Focus f;
    f.tree.addControl(f.a, testing::TestKind{}, {}, 1);  // 4
    FocusChange::focusFirstChild(f.state)(f.a);
    EXPECT_EQ(f.now(), "4");

    // A text that no longer holds cursor 3 + extent 2 takes the focus away
    // from the focused control only.
    const auto shortText = FocusChange::clearFocusOnShortText(f.state, f.a, std::make_shared<ObservedInt>(f.a, 3),
                                                              std::make_shared<ObservedInt>(f.a, 2));
    shortText(f.a, "abcd");
    EXPECT_EQ(f.now(), "4");
    ControlMessages::changeCurrent(f.a, f.state);
    shortText(f.a, "abcde");
    EXPECT_EQ(f.now(), "2");
    shortText(f.a, "abcd");
    EXPECT_EQ(f.now(), "-");
}

}  // namespace
}  // namespace zil
