#pragma once
// A control tree with the demo's fonts and look bitmaps, where a test adds
// controls whose set-up runs a look set-up and keeps what it gave back.
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
    std::vector<LookSetUp> results;  // in the order the controls were added

    // Adds a control under `parent` whose set-up runs `setUp` and makes
    // the look it returns the control's drawing item.
    IdCell add(const IRect2D& box, std::function<LookSetUp(const IdCell&)> setUp, const IdCell& parent = nullptr) {
        TestKind kind;
        kind.extra = [&](ControlTree& t, const IdCell& self) {
            LookSetUp r = setUp(self);
            t.lookup(self)->drawItem = r.look;
            results.push_back(std::move(r));
        };
        return tree.addControl(parent, kind, box, 1);
    }
    // Adds a control that draws `look`.
    IdCell addDrawn(const IRect2D& box, std::shared_ptr<const ControlDrawItem> look, const IdCell& parent = nullptr) {
        TestKind kind;
        kind.extra = [&](ControlTree& t, const IdCell& self) { t.lookup(self)->drawItem = std::move(look); };
        return tree.addControl(parent, kind, box, 1);
    }

    std::shared_ptr<ObservedString> text(const IdCell& self, const std::string& initial = "") {
        return tree.attributes().registerString(self, "text", initial);
    }
    template <class Tag>
    std::shared_ptr<typename Tag::Value> get(const IdCell& id, std::string_view name) {
        return tree.attributes().get<Tag>(id, name);
    }

    // Draws the control into `s` with its origin at (x, y).
    void draw(const IdCell& id, SDL_Surface* s, const FocusQuery& focus = {}, int x = 0, int y = 0) {
        drawControlItems(tree, focus, {0, 0, s->w, s->h}, id, Canvas{s, x, y});
    }
};

}  // namespace zil::testing
