#pragma once
// Drawing test helpers: 32-bit targets, fonts of solid blocks drawn exactly
// in their colour, one-colour bitmaps, and a surface read back as rows of
// characters, one per pixel, so a whole face compares at once.
#include <gtest/gtest.h>

#include <SDL.h>

#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "ui/base/ImageTestSupport.hpp"
#include "ui/base/SDLBitmapFont.hpp"

namespace zil::testing {

struct SurfaceDeleter {
    void operator()(SDL_Surface* s) const { SDL_FreeSurface(s); }
};
using SurfacePtr = std::unique_ptr<SDL_Surface, SurfaceDeleter>;
using Picture = std::vector<std::string>;

inline constexpr Uint32 kBackground = 0x010203;  // '.'
inline Uint32 rgb(int r, int g, int b) { return Uint32(r) << 16 | Uint32(g) << 8 | Uint32(b); }
inline Uint32 rgbAt(SDL_Surface* s, int x, int y) { return pixel(s, x, y) & 0xFFFFFF; }

// A screen-like target, or a bitmap as SDL_LoadBMP gives one, of one colour.
inline SurfacePtr target(int w, int h, Uint32 fill = kBackground) {
    SurfacePtr s(screenLike(w, h));
    SDL_FillRect(s.get(), nullptr, fill);
    return s;
}

// Glyphs 'A' to 'Z', solid blocks `glyphWidth` wide, spaced 1 apart.
inline std::shared_ptr<SDLBitmapFont> blockFont(int height, int glyphWidth, ColorRGB colour) {
    static constexpr CharacterSpec specs[] = {{'A', 'Z'}};
    std::vector<std::int32_t> widths(26, glyphWidth);
    SDL_Surface* bitmap = createFontSurface(26 * glyphWidth, height);
    SDL_FillRect(bitmap, nullptr, 0xFFFFFFFF);
    return std::make_shared<SDLBitmapFont>(bitmap, BitmapFontFunc::buildGlyphTable('A', widths, specs, height, 1),
                                           colour, false);
}

// Greys by their byte ('0', 'd' 13, '2' 51, '3' 76, 'c' 89, '5' 128, '6'
// 166, '7' 191, '8' 204, 'W' 255), 'A' the accent, '.' the background.
inline char pixelChar(Uint32 p) {
    static const std::map<Uint32, char> greys{{0, '0'},   {13, 'd'},  {51, '2'},  {76, '3'},  {89, 'c'}, {128, '5'},
                                              {166, '6'}, {191, '7'}, {204, '8'}, {255, 'W'}};
    const Uint32 c = p & 0xFFFFFF, v = c & 0xFF;
    if (c == 0xFFCF82) return 'A';
    if (c == kBackground) return '.';
    auto it = greys.find(v);
    return c == (v * 0x010101) && it != greys.end() ? it->second : '?';
}

inline Picture picture(SDL_Surface* s) {
    Picture rows(static_cast<std::size_t>(s->h));
    for (int y = 0; y < s->h; ++y)
        for (int x = 0; x < s->w; ++x) rows[y] += pixelChar(pixel(s, x, y));
    return rows;
}

// A text of block glyphs starts at (x, y): the glyph there, not left or above.
inline ::testing::AssertionResult textStartsAt(SDL_Surface* s, int x, int y, char glyph) {
    if (pixelChar(pixel(s, x, y)) == glyph && pixelChar(pixel(s, x - 1, y)) != glyph &&
        pixelChar(pixel(s, x, y - 1)) != glyph)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "no text corner at (" << x << ", " << y << ")";
}

// Saves the surface as painters/<name>.bmp in the build folder, for viewing.
inline void saveForViewing(SDL_Surface* s, const std::string& name) {
    std::filesystem::create_directories("painters");
    ASSERT_EQ(SDL_SaveBMP(s, ("painters/" + name + ".bmp").c_str()), 0) << SDL_GetError();
}

}  // namespace zil::testing
