#pragma once
// Helpers of the drawing tests: 32-bit targets, fonts of solid blocks whose
// pixels are exactly their colour, one-colour bitmaps, and a surface read
// back as rows of characters, one per pixel, so that a whole face compares
// at once.
#include <gtest/gtest.h>

#include <SDL.h>

#include <array>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "render/ColorRGB.hpp"
#include "ui/base/BitmapFontFunc.hpp"
#include "ui/base/ImageTestSupport.hpp"
#include "ui/base/SDLBitmapFont.hpp"

namespace zil::testing {

struct SurfaceDeleter {
    void operator()(SDL_Surface* s) const { SDL_FreeSurface(s); }
};
using SurfacePtr = std::unique_ptr<SDL_Surface, SurfaceDeleter>;

// A screen-like target filled with one pixel value (black by default).
inline SurfacePtr target(int w, int h, Uint32 fill = 0) {
    SurfacePtr s(screenLike(w, h));
    SDL_FillRect(s.get(), nullptr, fill);
    return s;
}

inline Uint32 rgb(int r, int g, int b) { return Uint32(r) << 16 | Uint32(g) << 8 | Uint32(b); }
inline Uint32 rgbAt(SDL_Surface* s, int x, int y) { return pixel(s, x, y) & 0xFFFFFF; }

// A bitmap of one colour, as SDL_LoadBMP gives a 32-bit file: no alpha.
inline SurfacePtr solidBitmap(int w, int h, Uint32 colour) { return target(w, h, colour); }

// Glyphs 'A' to 'Z', each a solid block `glyphWidth` wide and `height` high,
// spaced 1 apart: "ABC" measures 3 x (glyphWidth + 1).
inline std::unique_ptr<SDLBitmapFont> blockFont(int height, int glyphWidth, ColorRGB colour) {
    static constexpr std::array<CharacterSpec, 1> specs{{{'A', 'Z'}}};
    std::vector<std::int32_t> widths(26, glyphWidth);
    GlyphTable table = BitmapFontFunc::buildGlyphTable('A', widths, specs, height, 1);
    SDL_Surface* bitmap = createFontSurface(26 * glyphWidth, height);
    SDL_FillRect(bitmap, nullptr, 0xFFFFFFFF);
    return std::make_unique<SDLBitmapFont>(bitmap, std::move(table), colour, false);
}

// One character per pixel: grey levels by their byte ('0' black, '2' 51,
// '3' 76, '5' 128, '7' 191, 'W' 255, 'd' 13, 'c' 89, '6' 166, '8' 204), 'A'
// the accent (255, 207, 130), '.' the fill of target(), '?' anything else.
inline char pixelChar(Uint32 p) {
    static const std::map<Uint32, char> legend{
        {rgb(13, 13, 13), 'd'},   {rgb(51, 51, 51), '2'},   {rgb(76, 76, 76), '3'},    {rgb(89, 89, 89), 'c'},
        {rgb(128, 128, 128), '5'}, {rgb(166, 166, 166), '6'}, {rgb(191, 191, 191), '7'}, {rgb(204, 204, 204), '8'},
        {rgb(255, 255, 255), 'W'}, {rgb(255, 207, 130), 'A'}, {rgb(1, 2, 3), '.'},        {0, '0'}};
    auto it = legend.find(p & 0xFFFFFF);
    return it == legend.end() ? '?' : it->second;
}
inline constexpr Uint32 kBackground = 0x010203;  // '.'

inline std::vector<std::string> picture(SDL_Surface* s) {
    std::vector<std::string> rows;
    for (int y = 0; y < s->h; ++y) {
        std::string row;
        for (int x = 0; x < s->w; ++x) row += pixelChar(pixel(s, x, y));
        rows.push_back(row);
    }
    return rows;
}

// True when (x, y) shows the glyph and its left and upper neighbours don't:
// a text of block glyphs starts there.
inline ::testing::AssertionResult textStartsAt(SDL_Surface* s, int x, int y, char glyph) {
    if (pixelChar(pixel(s, x, y)) == glyph && pixelChar(pixel(s, x - 1, y)) != glyph &&
        pixelChar(pixel(s, x, y - 1)) != glyph)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "no text corner at (" << x << ", " << y << ")";
}

// Saves the surface as <build folder>/painters/<name>.bmp, for looking at.
inline void saveForViewing(SDL_Surface* s, const std::string& name) {
    std::filesystem::create_directories("painters");
    ASSERT_EQ(SDL_SaveBMP(s, ("painters/" + name + ".bmp").c_str()), 0) << SDL_GetError();
}

}  // namespace zil::testing
