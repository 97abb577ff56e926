#pragma once
// Helpers shared by the control tree tests: a control kind that can run
// extra set-up, short ways to add and inspect controls, the name of what a
// call raises, and SDL's video part for test programs that open a screen.
#include <gtest/gtest.h>

#include <SDL.h>

#include <functional>
#include <string>
#include <vector>

#include "shell/Errors.hpp"
#include "ui/tree/ControlTree.hpp"

namespace zil::testing {

using Log = std::vector<std::string>;
using Rects = std::vector<IRect2D>;

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
    std::int32_t tag() const override { return 1; }
    void setUp(ControlTree& tree, const IdCell& self) const override {
        if (extra) extra(tree, self);
    }
};

inline IdCell add(ControlTree& tree, const IdCell& parent, IRect2D box = {}, const std::string& name = "",
                  std::int32_t visible = 1, const TestKind& kind = {}) {
    IdCell id = tree.addControl(parent, kind, box, visible);
    tree.lookup(id)->name.set(name);
    return id;
}

// A top-level control in the window list, so that repaints mark it.
inline IdCell addWindow(ControlTree& tree, IRect2D box) {
    IdCell w = add(tree, nullptr, box);
    tree.addWindow(w, nullptr);
    return w;
}

inline IRect2D boxOf(const ControlTree& tree, const IdCell& c) { return tree.lookup(c)->boundingBox.value(); }
inline Rects& dirtyOf(ControlTree& tree, const IdCell& window) { return tree.findWindow(*window)->dirty; }
inline std::vector<UIControlID> childIds(const ControlTree& tree, const IdCell& c) {
    std::vector<UIControlID> ids;
    for (const IdCell& k : ControlTree::snapshotChildren(*tree.lookup(c))) ids.push_back(idOf(k));
    return ids;
}

// SDL's video part under the dummy driver, started once for the test program.
class SdlVideo : public ::testing::Environment {
public:
    void SetUp() override { ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError(); }
    void TearDown() override { SDL_Quit(); }
};

}  // namespace zil::testing
