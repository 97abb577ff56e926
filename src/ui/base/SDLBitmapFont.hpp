#pragma once
// A bitmap font on SDL surfaces: its glyph bitmap, the cache rendered from
// it in the font's colour, and drawing and measuring of text. The font owns
// both surfaces.
#include <array>
#include <cstdint>
#include <string_view>

#include <SDL.h>

#include "render/ColorRGB.hpp"
#include "ui/base/BitmapFontFunc.hpp"

namespace zil {

class SDLBitmapFont {
public:
    // Takes `bitmap`, a 32-bit surface whose glyph intensity is the mean of
    // each pixel's red, green and blue bytes.
    SDLBitmapFont(SDL_Surface* bitmap, GlyphTable glyphTable, ColorRGB colour, bool framed);
    // Frees the surfaces it still holds.
    ~SDLBitmapFont();
    SDLBitmapFont(const SDLBitmapFont&) = delete;
    SDLBitmapFont& operator=(const SDLBitmapFont&) = delete;

    // Draws `text` with the first glyph's top-left corner at (x, y) of
    // `destination`, rendering the cache first if there is none. No cache
    // raises EGeneric "CacheNotReady". A character without a glyph draws
    // nothing and advances 6 + spacing for a space, spacing otherwise.
    void drawStringOn(std::string_view text, int x, int y, SDL_Surface* destination);

    // How far drawStringOn moves its pen over `text`.
    std::int32_t stringWidth(std::string_view text) const noexcept;

    // Renders the cache in the font's colour if there is none.
    void copyToAlphaSurface();

    // A new colour; the cache is dropped and rendered again when next drawn.
    void setColour(const ColorRGB& colour);
    // Framed fonts get a one-pixel dark rim up-left and down-right of every
    // glyph in their cache.
    void setFramed(bool framed) { framed_ = framed; }

    // Frees the cache, if any, then the bitmap. A freed font draws nothing:
    // drawStringOn raises "CacheNotReady".
    void freeSurfaces();

    // Height of the glyph bitmap, what painters centre text by.
    std::int32_t height() const { return height_; }
    SDL_Surface* bitmap() const { return bitmap_; }
    SDL_Surface* cache() const { return cache_; }
    const ColorRGB& colour() const { return colour_; }
    bool framed() const { return framed_; }
    const GlyphTable& glyphTable() const { return glyphTable_; }

private:
    void dropCache();

    SDL_Surface* bitmap_;
    SDL_Surface* cache_ = nullptr;
    GlyphTable glyphTable_;
    ColorRGB colour_;
    bool framed_;
    std::int32_t height_;
    // Per byte: the glyph drawn (null: none) and the pen advance.
    std::array<const Glyph*, 256> glyphOf_{};
    std::array<std::int32_t, 256> advance_{};
};

// A new font bitmap or cache: 32 bits with source alpha, transparent black.
// A side beyond 16,383 pixels raises Size; failing SDL, std::bad_alloc.
inline constexpr Uint32 kFontSurfaceFlags = 0x00010000;  // SDL_SRCALPHA
SDL_Surface* createFontSurface(int width, int height);

}  // namespace zil
