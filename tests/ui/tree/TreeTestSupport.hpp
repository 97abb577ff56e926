#pragma once
// Helpers shared by the control tree tests: a control kind that can run
// extra set-up and record its release, and the name of what a call raises.
#include <gtest/gtest.h>

#include <SDL.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "shell/Errors.hpp"
#include "ui/tree/ControlTree.hpp"

namespace zil::testing {

using Log = std::vector<std::string>;

// The name the call's exception is reported under, "none" when it returns.
template <class F>
std::string raised(F f) {
    try {
        f();
    } catch (const std::exception& e) {
        return std::string(exnName(e));
    }
    return "none";
}

struct TestKind : ControlKind {
    std::function<void(ControlTree&, const IdCell&)> extra;
    std::shared_ptr<Log> log;  // given: "release <name>" when destroyed

    struct State : ControlKindState {
        std::shared_ptr<Log> log;
        IdCell self;
        void release(ControlTree& t) override { log->push_back("release " + t.lookup(self)->name.value()); }
    };
    std::int32_t tag() const override { return 1; }
    void setUp(ControlTree& tree, const IdCell& self) const override {
        if (extra) extra(tree, self);
        if (log) {
            auto state = std::make_shared<State>();
            state->log = log;
            state->self = self;
            tree.lookup(self)->kindState = state;
        }
    }
};

inline IdCell add(ControlTree& tree, const IdCell& parent, IRect2D box = {}, const std::string& name = "",
                  std::int32_t visible = 1, const TestKind& kind = {}) {
    IdCell id = tree.addControl(parent, kind, box, visible);
    tree.lookup(id)->name.set(name);
    return id;
}

// SDL's video part under the dummy driver, started once for the test program.
class SdlVideo : public ::testing::Environment {
public:
    void SetUp() override { ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError(); }
    void TearDown() override { SDL_Quit(); }
};

}  // namespace zil::testing
