#pragma once
// The look's faces: every control face is a fixed sequence of solid
// rectangle fills, later fills covering parts of earlier ones, so bevels,
// outlines and wells are the strips an earlier, larger fill leaves showing.
//
// Coordinates are pixels relative to the control's origin in the target;
// w and h are the control's size. A colour becomes a pixel as each channel
// x 255 rounded to the nearest integer, ties to even (0.3 gives 76, 0.5
// gives 128), mapped with the target's format once per face and colour.
// Rectangles are clipped to the target surface before they reach SDL, whose
// rectangle fields are 16 bits wide; one narrower or lower than a pixel
// fills nothing and makes no SDL call.
#include <SDL.h>

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "render/ColorRGB.hpp"
#include "shell/Constants.hpp"
#include "shell/DynArray.hpp"
#include "shell/IRect2D.hpp"

namespace zil {

class SDLBitmapFont;

// Where a control is painted: a 32-bit surface and the position of the
// control's origin in it (negative where the control starts left of or
// above the surface, which then shows only its visible part).
struct DrawTarget {
    SDL_Surface* surface = nullptr;
    std::int32_t x = 0;
    std::int32_t y = 0;
};

namespace LookAndFeel {

inline constexpr ColorRGB accent = ColorRGB::of(Constants::accentColour);
inline constexpr ColorRGB labelColour = ColorRGB::of(Constants::highlightColour);
inline constexpr ColorRGB white = ColorRGB::of(Constants::whiteColour);
constexpr ColorRGB grey(double v) { return {v, v, v}; }

// Fills (x, y, w, h), relative to the target's origin, with a pixel of the
// target's format.
void fillRect(const DrawTarget& t, std::int64_t x, std::int64_t y, std::int64_t w, std::int64_t h, Uint32 pixel);

// Fills the rectangle with the colour, its pixel made as above. An empty
// rectangle makes no SDL call at all; otherwise a channel that is not a
// number raises Domain.
void fillRectColor(const DrawTarget& t, const IRect2D& r, const ColorRGB& colour);

// Copies the whole bitmap to (x, y); a null bitmap draws nothing.
void blitWhole(const DrawTarget& t, SDL_Surface* bitmap, std::int64_t x, std::int64_t y);

// Whether blitWhole of the bitmap at (0, 0) sets every pixel of a w x h
// box: it is at least that large and blits with neither alpha nor a colour
// key. A null bitmap covers nothing.
bool bitmapCovers(SDL_Surface* bitmap, std::int32_t w, std::int32_t h);

// Draws `text` with `font`, its first glyph's top-left corner at (x, y).
void drawText(const DrawTarget& t, SDLBitmapFont& font, std::string_view text, std::int64_t x, std::int64_t y);

// The offset that centres a height `inner` in `outer`, rounding towards the
// top: (outer div 2) + ((-inner) div 2).
std::int32_t centred(std::int32_t outer, std::int32_t inner);

// Raised dark panel: black outline, grey 0.5 bevel on the top and left
// inside it, face grey 0.2. Three pixels or less across is black all over.
void drawFramePanel(const DrawTarget& t, std::int32_t w, std::int32_t h);

// Well: grey 0.5 top and left edges, grey 0.75 right and bottom, interior
// the accent colour when marked, else black.
void drawSunkenField(const DrawTarget& t, std::int32_t w, std::int32_t h, bool marked);

// Trough in grey 0.2 with a raised thumb at `offset` of length `size`
// (at most the bar's length) along y or x. The thumb's face is grey 0.5
// while pressed, else 0.35, with bevels 0.3 lighter and darker.
void drawVertBar(const DrawTarget& t, std::int32_t w, std::int32_t h, std::int32_t offset, std::int32_t size,
                 bool pressed);
void drawHorizBar(const DrawTarget& t, std::int32_t w, std::int32_t h, std::int32_t offset, std::int32_t size,
                  bool pressed);

// (0, 0, w, h) in grey 0.2.
void drawPlainFace(const DrawTarget& t, std::int32_t w, std::int32_t h);

// The rectangle in grey 0.3.
void drawRectFace(const DrawTarget& t, const IRect2D& r);

// How a text field shows.
struct LabelFaceState {
    bool emphasised = false;   // first font, with the selection band and the cursor
    bool highlighted = false;  // otherwise: the second font when set, else the third
    std::int32_t cursor = 0;   // characters before the cursor
    std::int32_t extent = 0;   // characters selected after it, before it when negative
};

// A text field: the area in grey 0.2, then the text at x = originX, centred
// vertically in the area. When emphasised, the selection band and the
// cursor go under the text; a cursor or selection reaching outside the text
// is clamped into it.
void drawLabelFace(const DrawTarget& t, const IRect2D& area, std::string_view text,
                   const std::array<SDLBitmapFont*, 3>& fonts, std::int64_t originX, const LabelFaceState& state);

// A list: (0, 0, w, h) in grey 0.2; row i at y = i x fh (fh the first
// font's height); rows whose flag is set get a grey 0.35 band and the first
// font, the others the second; text at x = 2. Rows without a flag are not
// selected; rows below the control are skipped.
void drawListFace(const DrawTarget& t, std::int32_t w, std::int32_t h, const DynArray<std::string>& rows,
                  const DynArray<std::int32_t>& flags, SDLBitmapFont& selectedFont, SDLBitmapFont& otherFont);

// The selection band, grey 0.5, over height h: from p - 2 to p + m for a
// forward selection of measured width m; for a backward one from p - m to
// p - 2 (m > 2), or 2 - m pixels from p - 2 (m < 2).
void drawTextSelection(const DrawTarget& t, std::int64_t p, std::int64_t m, bool backward, std::int32_t h);

// The cursor: a white bar 2 pixels wide over height h, ending at
// originX + width.
void drawTextCursor(const DrawTarget& t, std::int64_t originX, std::int64_t width, std::int32_t h);

}  // namespace LookAndFeel
}  // namespace zil
