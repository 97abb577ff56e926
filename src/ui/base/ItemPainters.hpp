#pragma once
// The painters of the controls that show text and look bitmaps: labels,
// check boxes, buttons, image buttons and tab indexes. Like the faces they
// draw at the control's origin in the target, from values, fonts and
// bitmaps; a null bitmap skips that blit and nothing else.
//
// Text is centred vertically by (E div 2) + ((-fh) div 2), fh the height
// of the font's bitmap, and horizontally by (W div 2) - (tw div 2), tw the
// text's measured width: the two round differently for odd sizes.
#include <SDL.h>

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "shell/DynArray.hpp"
#include "ui/base/LookAndFeel.hpp"

namespace zil {

class SDLBitmapFont;

namespace ItemPainters {

// A label: the text at (0, 0).
void drawLabel(const DrawTarget& t, SDLBitmapFont& font, std::string_view text);

// A check box: the box bitmap at the left edge, centred vertically by
// (h div 2) - (ih div 2); the text at x = 18.
void drawCheckBox(const DrawTarget& t, std::int32_t w, std::int32_t h, SDL_Surface* box, SDLBitmapFont& font,
                  std::string_view text);

// A button: the bitmap at (0, 0), then the text centred and moved `inset`
// pixels right and down (a button: 1 while pressed, else 0; an image
// button one more).
void drawButton(const DrawTarget& t, std::int32_t w, std::int32_t h, SDL_Surface* bitmap, std::int32_t inset,
                SDLBitmapFont& font, std::string_view text);

// The caps and the middle tile of one tab.
struct TabBitmaps {
    SDL_Surface* left = nullptr;
    SDL_Surface* middle = nullptr;
    SDL_Surface* right = nullptr;
};

// One tab at x0, `width` wide and `height` high: the left cap at x0,
// ((width - 16) div 16) + 1 middle tiles 16 pixels apart from x0 + 4, the
// right cap 12 pixels before the tab's right edge, then the label centred.
// A negative width raises Size.
void drawTabStrip(const DrawTarget& t, const TabBitmaps& bitmaps, std::int64_t x0, std::int32_t width,
                  std::int32_t height, SDLBitmapFont& font, std::string_view label);

// How a tab index shows its tabs.
struct TabIndexState {
    std::int32_t selected = 0;      // the selected tab: selected bitmaps, first font
    std::int32_t highlighted = -1;  // another tab shown with the second font; others the third
};

// A tab index w wide: every tab (w div n) wide, n the number of tabs (w
// when there are none), side by side from x = 0.
void drawTabIndex(const DrawTarget& t, std::int32_t w, std::int32_t h, const DynArray<std::string>& tabs,
                  const TabIndexState& state, const TabBitmaps& selected, const TabBitmaps& other,
                  const std::array<SDLBitmapFont*, 3>& fonts);

}  // namespace ItemPainters
}  // namespace zil
