#pragma once
// A control tree with the demo's fonts and look bitmaps, to which a test
// adds controls that draw a given look or run a look set-up.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ui/base/FontContext.hpp"
#include "ui/base/ImageManager.hpp"
#include "ui/base/PaintTestSupport.hpp"
#include "ui/controls/ControlLook.hpp"
#include "ui/controls/LookSetUp.hpp"
#include "ui/tree/ControlTree.hpp"
#include "ui/tree/TreeTestSupport.hpp"

namespace zil::testing {

struct LookWorld {
    ControlTree tree;
    ImageManager images;
    FontContext fonts;
    AppConfig::Cell config = demoConfig();
    PointerActionStores pointer{tree.stores()};
    LookServices services{tree, fonts, images, config, pointer};
    std::vector<LookSetUp> results;  // of add(), in order

    // A control whose set-up runs `setUp` and draws the look it returns.
    IdCell add(const IRect2D& box, const std::function<LookSetUp(const IdCell&)>& setUp,
               const IdCell& parent = nullptr) {
        TestKind kind;
        kind.extra = [&](ControlTree& t, const IdCell& self) {
            results.push_back(setUp(self));
            t.lookup(self)->drawItem = results.back().look;
        };
        return tree.addControl(parent, kind, box, 1);
    }
    IdCell addDrawn(const IRect2D& box, std::shared_ptr<const ControlDrawItem> look, const IdCell& parent = nullptr) {
        TestKind kind;
        kind.extra = [&](ControlTree& t, const IdCell& self) { t.lookup(self)->drawItem = look; };
        return tree.addControl(parent, kind, box, 1);
    }
    // Draws the control into `s` with its origin at (x, y).
    void draw(const IdCell& id, SDL_Surface* s, const FocusQuery& focus = {}, int x = 0, int y = 0) {
        drawControlItems(tree, focus, {0, 0, s->w, s->h}, id, Canvas{s, x, y});
    }
};

}  // namespace zil::testing
