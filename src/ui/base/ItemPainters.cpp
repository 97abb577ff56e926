#include "ui/base/ItemPainters.hpp"

#include "glue/SDLFuncs.hpp"
#include "shell/CoreInt.hpp"
#include "shell/Errors.hpp"
#include "ui/base/SDLBitmapFont.hpp"

namespace zil::ItemPainters {

using LookAndFeel::blitWhole;
using LookAndFeel::centred;
using LookAndFeel::drawText;

namespace {

std::int32_t heightOf(SDL_Surface* s) { return mltSDLSurface_GetHeight(s); }

}  // namespace

void drawLabel(const DrawTarget& t, SDLBitmapFont& font, std::string_view text) { drawText(t, font, text, 0, 0); }

void drawCheckBox(const DrawTarget& t, std::int32_t, std::int32_t h, SDL_Surface* box, SDLBitmapFont& font,
                  std::string_view text) {
    if (box != nullptr) blitWhole(t, box, 0, intDiv(h, 2) - intDiv(heightOf(box), 2));
    drawText(t, font, text, 18, centred(h, font.height()));
}

void drawButton(const DrawTarget& t, std::int32_t w, std::int32_t h, SDL_Surface* bitmap, std::int32_t inset,
                SDLBitmapFont& font, std::string_view text) {
    blitWhole(t, bitmap, 0, 0);
    const std::int64_t x = std::int64_t{inset} + intDiv(w, 2) - intDiv(font.stringWidth(text), 2);
    drawText(t, font, text, x, std::int64_t{inset} + centred(h, font.height()));
}

void drawTabStrip(const DrawTarget& t, const TabBitmaps& bitmaps, std::int64_t x0, std::int32_t width,
                  std::int32_t height, SDLBitmapFont& font, std::string_view label) {
    // (width - 16) div 16 tiles after the first: below -1 for a negative width.
    if (width < 0) throw Size();
    const std::int32_t last = intDiv(width - 16, 16);
    blitWhole(t, bitmaps.left, x0, 0);
    if (bitmaps.middle != nullptr) {
        // Only the tiles that can reach the surface are blitted.
        const std::int64_t base = t.x + x0 + 4;
        const std::int64_t reach = base + mltSDLSurface_GetWidth(bitmaps.middle);
        const std::int64_t surfaceWidth = mltSDLSurface_GetWidth(t.surface);
        for (std::int64_t i = reach <= 0 ? -reach / 16 + 1 : 0; i <= last && base + 16 * i < surfaceWidth; ++i)
            blitWhole(t, bitmaps.middle, x0 + 4 + 16 * i, 0);
    }
    blitWhole(t, bitmaps.right, x0 + width - 12, 0);
    const std::int64_t x = x0 + intDiv(width, 2) - intDiv(font.stringWidth(label), 2);
    drawText(t, font, label, x, centred(height, font.height()));
}

void drawTabIndex(const DrawTarget& t, std::int32_t w, std::int32_t h, const DynArray<std::string>& tabs,
                  const TabIndexState& state, const TabBitmaps& selected, const TabBitmaps& other,
                  const std::array<SDLBitmapFont*, 3>& fonts) {
    const std::int32_t n = tabs.count();
    const std::int32_t width = n != 0 ? intDiv(w, n) : w;
    for (std::int32_t i = 0; i < n; ++i) {
        const bool isSelected = i == state.selected;
        SDLBitmapFont& font = *fonts[isSelected ? 0 : i == state.highlighted ? 1 : 2];
        drawTabStrip(t, isSelected ? selected : other, std::int64_t{i} * width, width, h, font, tabs.readAt(i));
    }
}

}  // namespace zil::ItemPainters
