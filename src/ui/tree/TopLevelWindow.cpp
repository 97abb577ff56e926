#include "ui/tree/TopLevelWindow.hpp"

#include <memory>
#include <utility>
#include <vector>

#include "glue/SDLFuncs.hpp"
#include "shell/Constants.hpp"
#include "shell/Errors.hpp"
#include "ui/tree/ControlNotify.hpp"
#include "ui/tree/TopLevelControls.hpp"

namespace zil {

namespace TopLevelWindow {

void activate(ControlTree& tree, const IdCell& window, const ObservedString& caption) {
    IdCell self;
    IRect2D box;
    {
        std::shared_ptr<UIControl> w = tree.lookup(window);
        self = w->id;
        box = w->boundingBox.value();
    }
    const auto fits = [](std::int32_t side) { return side >= 0 && side <= kMaxScreenSide; };
    SDL_Surface* screen = nullptr;
    if (fits(box.w) && fits(box.h)) {
        Uint32 flags = 0;
        for (std::uint32_t f : Constants::videoModeFlags) flags |= f;
        screen = mltSDL_SetVideoMode(box.w, box.h, 32, flags);
    }
    if (screen == nullptr) {
        tree.setScreen(nullptr, nullptr);
        throw BackendError();
    }
    tree.setScreen(screen, self);
    showCaption(caption.value());
    TopLevelControls::invalidate(tree, self);
}

void showCaption(const std::string& caption) { mltSDL_WM_SetCaption(caption.c_str(), caption.c_str()); }

void reactivate(ControlTree& tree, const LinkTable& links, const IdCell& control, std::int32_t value) {
    std::vector<IdCell> path{control};
    for (IdCell up = tree.lookup(control)->parent; idOf(up) != 0; up = tree.lookup(up)->parent) path.push_back(up);
    for (auto p = path.rbegin(); p != path.rend(); ++p) {
        for (const IntList::Entry& e : ControlMessages::gatherLinks(links, *p)) e.fn(*p, value);
    }
}

void reactivateAncestors(ControlTree& tree, const LinkTable& links, const IdCell& control, std::int32_t value) {
    reactivate(tree, links, control, value);
}

}  // namespace TopLevelWindow

void TopLevelWindowKind::setUp(ControlTree& tree, const IdCell& self) const {
    std::shared_ptr<ObservedString> caption = tree.attributes().registerString(self, "caption", "Untitled");
    caption->onChanged.push(ControlNotify::setWindowCaption(tree, self));
    {
        std::shared_ptr<UIControl> w = tree.lookup(self);
        w->visible.onChanging.push(newIdentityKey(), ControlMessages::messageEntry(tree, ActivateTopLevel{caption}));
    }
    tree.addWindow(self, caption);
    if (tree.lookup(self)->visible.value() != 0) TopLevelWindow::activate(tree, self, *caption);
}

}  // namespace zil
