#include "ui/controls/ControlLook.hpp"

#include <algorithm>
#include <new>
#include <utility>

#include "glue/SDLFuncs.hpp"
#include "render/RenderPreview.hpp"
#include "shell/Constants.hpp"
#include "shell/CoreInt.hpp"
#include "shell/Errors.hpp"
#include "ui/base/LookAndFeel.hpp"
#include "ui/tree/ControlNotify.hpp"
#include "ui/tree/ControlTree.hpp"

namespace zil {

namespace {

// The alternative of Look::Data that each kind, 1 to 16, takes.
constexpr std::array<std::size_t, 17> kAlternative{
    0,  // no kind 0
    0, 0, 1, 2, 3, 4, 4, 3, 6, 4, 7, 8, 9, 5, 4, 10,
};

Font::element_type& font(const Font& f) { return *f; }
bool set(const View<std::int32_t>& v) { return *v != 0; }

// The bitmap a button or an image button shows now: the first while pressed.
SDL_Surface* shownBitmap(const Look::Button& d) { return d.bitmaps[set(d.pressed) ? 0 : 1]; }
SDL_Surface* shownBitmap(const Look::ImageButton& d) { return d.images[set(d.pressed) ? 0 : 1]->get(); }

}  // namespace

ControlLook::ControlLook(LookKind kind, Look::Data data) : kind_(kind), data_(std::move(data)) {
    const auto k = static_cast<std::int32_t>(kind);
    if (k < 1 || k > 16 || data_.index() != kAlternative[static_cast<std::size_t>(k)])
        throw EGeneric::internal("A control look of kind " + intToString(k) + " got the data of another kind");
}

bool ControlLook::paintsWholeBox(std::int32_t w, std::int32_t h) const {
    switch (kind_) {
        case LookKind::TextLabel:
        case LookKind::ImportantTextLabel:
        case LookKind::CheckBox:
        case LookKind::TabIndex:
            return false;
        case LookKind::Button:
            return LookAndFeel::bitmapCovers(shownBitmap(std::get<Look::Button>(data_)), w, h);
        case LookKind::ImageButton:
            return LookAndFeel::bitmapCovers(shownBitmap(std::get<Look::ImageButton>(data_)), w, h);
        case LookKind::HorizBar:
        case LookKind::PlainFace:
        case LookKind::Frame:
        case LookKind::VertBar:
        case LookKind::SelectionStrings:
        case LookKind::TabBookPage:
        case LookKind::TextEdit:
        case LookKind::ControlFrame:
        case LookKind::Window:
        case LookKind::Preview:
            return true;
    }
    return false;
}

namespace {

// The preview draws from its target's top-left corner; a control whose
// origin lies elsewhere is rendered aside and copied into place.
void renderPreview(RenderPreview& preview, const DrawTarget& t, std::int32_t w, std::int32_t h) {
    if (t.x == 0 && t.y == 0) {
        preview.render(t.surface);
        return;
    }
    // Only the part that can reach the surface is rendered.
    const int rw = static_cast<int>(std::min<std::int64_t>(w, std::int64_t{mltSDLSurface_GetWidth(t.surface)} - t.x));
    const int rh = static_cast<int>(std::min<std::int64_t>(h, std::int64_t{mltSDLSurface_GetHeight(t.surface)} - t.y));
    if (rw < 1 || rh < 1) return;
    const auto& m = Constants::surfaceMasks;
    SDL_Surface* aside = mltSDL_CreateRGBSurface(0, rw, rh, 32, m[0], m[1], m[2], 0);
    if (aside == nullptr) throw std::bad_alloc();
    struct Free {
        SDL_Surface* s;
        ~Free() { mltSDL_FreeSurface(s); }
    } owner{aside};
    preview.render(aside);
    LookAndFeel::blitWhole(t, aside, 0, 0);
}

void paint(const ControlLook& look, const UIControl& control, const FocusQuery& isFocused, const DrawTarget& t) {
    using namespace LookAndFeel;
    using namespace ItemPainters;
    const std::int32_t w = control.boundingBox.value().w;
    const std::int32_t h = control.boundingBox.value().h;
    auto focused = [&isFocused](UIControlID id) { return id != 0 && isFocused && isFocused(id); };
    const Look::Data& data = look.data();
    switch (look.kind()) {
        case LookKind::TextLabel:
        case LookKind::ImportantTextLabel: {
            const auto& d = std::get<Look::Text>(data);
            drawLabel(t, font(d.font), *d.text);
            break;
        }
        case LookKind::CheckBox: {
            const auto& d = std::get<Look::CheckBox>(data);
            drawCheckBox(t, w, h, d.boxes[set(d.checked) ? 0 : 1], font(d.fonts[set(d.highlighted) ? 0 : 1]), *d.text);
            break;
        }
        case LookKind::Button: {
            const auto& d = std::get<Look::Button>(data);
            drawButton(t, w, h, shownBitmap(d), set(d.pressed) ? 1 : 0, font(d.fonts[set(d.highlighted) ? 0 : 1]),
                       *d.text);
            break;
        }
        case LookKind::HorizBar:
        case LookKind::VertBar: {
            const auto& d = std::get<Look::Bar>(data);
            if (look.kind() == LookKind::HorizBar) drawHorizBar(t, w, h, *d.offset, *d.size, set(d.pressed));
            else drawVertBar(t, w, h, *d.offset, *d.size, set(d.pressed));
            break;
        }
        case LookKind::PlainFace:
            drawPlainFace(t, w, h);
            break;
        case LookKind::Frame: {
            const UIControlID child = control.children.count() > 0 ? idOf(control.children.readAt(0)) : 0;
            drawSunkenField(t, w, h, focused(idOf(control.id)) || focused(child));
            break;
        }
        case LookKind::ControlFrame: {
            const auto& d = std::get<Look::ControlFrame>(data);
            drawSunkenField(t, w, h, focused(idOf(control.id)) || focused(idOf(*d.control)));
            break;
        }
        case LookKind::SelectionStrings: {
            const auto& d = std::get<Look::List>(data);
            drawListFace(t, w, h, *d.rows, *d.selected, font(d.fonts[0]), font(d.fonts[1]));
            break;
        }
        case LookKind::TabBookPage:
            drawRectFace(t, {0, 0, w, h});
            break;
        case LookKind::TabIndex: {
            const auto& d = std::get<Look::TabIndex>(data);
            const TabIndexState state{*d.selected, set(d.highlighted) ? *d.highlightedIndex : -1};
            drawTabIndex(t, w, h, *d.tabs, state, d.selectedBitmaps, d.otherBitmaps,
                         {d.fonts[0].get(), d.fonts[1].get(), d.fonts[2].get()});
            break;
        }
        case LookKind::ImageButton: {
            const auto& d = std::get<Look::ImageButton>(data);
            drawButton(t, w, h, shownBitmap(d), set(d.pressed) ? 2 : 1, font(d.font), *d.text);
            break;
        }
        case LookKind::TextEdit: {
            const auto& d = std::get<Look::TextEdit>(data);
            const LabelFaceState state{focused(idOf(control.id)), set(d.highlighted), *d.cursor, *d.extent};
            drawLabelFace(t, {0, 0, w, h}, *d.text, {d.fonts[0].get(), d.fonts[1].get(), d.fonts[2].get()},
                          std::int64_t{4} + *d.scroll, state);
            break;
        }
        case LookKind::Window:
            drawFramePanel(t, w, h);
            break;
        case LookKind::Preview:
            renderPreview(*std::get<Look::Preview>(data).preview, t, w, h);
            break;
    }
}

}  // namespace

void drawControlItems(ControlTree& tree, const FocusQuery& isFocused, const IRect2D&, const IdCell& id,
                      const Canvas& canvas) {
    const std::shared_ptr<UIControl> control = tree.lookup(id);
    const auto* look = dynamic_cast<const ControlLook*>(control->drawItem.get());
    if (look == nullptr) return;
    paint(*look, *control, isFocused, DrawTarget{canvas.surface, canvas.x, canvas.y});
}

ControlPainter makeControlPainter(ControlTree& tree, FocusQuery isFocused) {
    return [&tree, isFocused = std::move(isFocused)](const IRect2D& clip, const IdCell& id, const Canvas& canvas) {
        drawControlItems(tree, isFocused, clip, id, canvas);
    };
}

}  // namespace zil
