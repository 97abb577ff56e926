#include "ui/tree/ControlNotify.hpp"

#include <utility>

#include "glue/SDLFuncs.hpp"
#include "ui/tree/ControlMessages.hpp"
#include "ui/tree/ControlTree.hpp"
#include "ui/tree/TopLevelWindow.hpp"

namespace zil {

void ImageCell::reset(SDL_Surface* surface) {
    if (surface_ != nullptr && surface_ != surface) mltSDL_FreeSurface(surface_);
    surface_ = surface;
}

namespace ControlNotify {

IntList::Callback setIntValue(std::shared_ptr<ObservedInt> target) {
    return [target = std::move(target)](const IdCell&, const std::int32_t& v) { target->set(v); };
}

IntList::Callback setScaledReal(double r, std::shared_ptr<ObservedInt> upper, std::shared_ptr<ObservedInt> lower,
                                std::shared_ptr<ObservedReal> target) {
    return [r, upper = std::move(upper), lower = std::move(lower), target = std::move(target)](
               const IdCell&, const std::int32_t& v) {
        // The range in 64 bits: U - L of two ints may not fit in one.
        const std::int64_t range = std::int64_t{upper->value()} - lower->value();
        target->set(range == 0 ? 0.0 : r * v / static_cast<double>(range));
    };
}

namespace {

std::int32_t tabIndexOf(const UIAttributes& attributes, const IdCell& page) {
    const AttributeSlot* slot = attributes.findSlot(page, "tabindex");
    if (slot == nullptr || !slot->value) return -1;
    return attributes.get<Attr::NInt>(page, "tabindex")->value();
}

}  // namespace

IntList::Callback selectPageByTabIndex(ControlTree& tree, IdCell book) {
    return [t = &tree, book = std::move(book)](const IdCell&, const std::int32_t& v) {
        const std::int32_t n = t->lookup(book)->children.count();
        for (std::int32_t i = 0; i < n; ++i) {
            const IdCell page = t->lookup(book)->children.readAt(i);
            std::shared_ptr<UIControl> p = t->lookup(page);
            p->visible.set(tabIndexOf(t->attributes(), page) == v ? 1 : 0);
        }
    };
}

PlainList::Callback fitTabPages(ControlTree& tree, IdCell book) {
    return [t = &tree, book = std::move(book)](const IdCell&) { ControlMessages::fitTabPages(*t, book); };
}

PlainList::Callback clampRangeToLength(std::function<std::int32_t()> length, std::shared_ptr<ObservedInt> position,
                                       std::shared_ptr<ObservedInt> extent) {
    return [length = std::move(length), p = std::move(position), x = std::move(extent)](const IdCell&) {
        const std::int32_t n = length();
        if (std::int64_t{p->value()} + x->value() <= n) return;
        if (p->value() <= n) {
            x->set(n - p->value());
        } else {
            p->set(n);
            x->set(0);
        }
    };
}

StringList::Callback reloadImage(std::shared_ptr<ImageCell> image) {
    return [image = std::move(image)](const IdCell&, const std::string& name) {
        if (name.empty()) return;
        image->reset();
        image->reset(mltSDL_LoadBMP(name.c_str()));
    };
}

StringList::Callback setWindowCaption(ControlTree& tree, IdCell window) {
    return [t = &tree, window = std::move(window)](const IdCell&, const std::string& caption) {
        if (t->screen() != nullptr && idOf(window) != 0 && idOf(t->shownWindow()) == idOf(window))
            TopLevelWindow::showCaption(caption);
    };
}

}  // namespace ControlNotify
}  // namespace zil
