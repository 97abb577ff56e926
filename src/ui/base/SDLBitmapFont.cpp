#include "ui/base/SDLBitmapFont.hpp"

#include <algorithm>
#include <new>

#include "glue/SDLFuncs.hpp"
#include "shell/Constants.hpp"
#include "shell/CoreInt.hpp"
#include "shell/Errors.hpp"

namespace zil {

SDL_Surface* createFontSurface(int width, int height) {
    // SDL 1.2 keeps the pitch in 16 bits: a wider surface would be allocated short.
    if (width < 0 || height < 0 || width > 16383 || height > 16383) throw Size();
    const auto& m = Constants::surfaceMasks;
    SDL_Surface* s = mltSDL_CreateRGBSurface(kFontSurfaceFlags, width, height, 32, m[0], m[1], m[2], m[3]);
    if (s == nullptr) throw std::bad_alloc();
    return s;
}

SDLBitmapFont::SDLBitmapFont(SDL_Surface* bitmap, GlyphTable glyphTable, ColorRGB colour, bool framed)
    : bitmap_(bitmap),
      glyphTable_(std::move(glyphTable)),
      colour_(colour),
      framed_(framed),
      height_(bitmap ? mltSDLSurface_GetHeight(bitmap) : 0) {
    // The table never changes, so each byte's glyph and advance are looked up once.
    const std::int32_t spacing = glyphTable_.spacing;
    for (int c = 0; c < 256; ++c) {
        const Glyph* g = BitmapFontFunc::findGlyph(glyphTable_, static_cast<unsigned char>(c));
        glyphOf_[c] = g;
        advance_[c] = g ? g->w + spacing : (c == ' ' ? 6 : 0) + spacing;
    }
}

SDLBitmapFont::~SDLBitmapFont() { freeSurfaces(); }

void SDLBitmapFont::dropCache() {
    if (cache_ != nullptr) mltSDL_FreeSurface(cache_);
    cache_ = nullptr;
}

void SDLBitmapFont::freeSurfaces() {
    dropCache();
    if (bitmap_ != nullptr) mltSDL_FreeSurface(bitmap_);
    bitmap_ = nullptr;
}

void SDLBitmapFont::setColour(const ColorRGB& colour) {
    colour_ = colour;
    dropCache();
}

std::int32_t SDLBitmapFont::stringWidth(std::string_view text) const noexcept {
    std::int32_t width = 0;
    for (char c : text) width += advance_[static_cast<unsigned char>(c)];
    return width;
}

void SDLBitmapFont::drawStringOn(std::string_view text, int x, int y, SDL_Surface* destination) {
    copyToAlphaSurface();
    if (cache_ == nullptr) throw Constants::errCacheNotReady();
    const int dw = mltSDLSurface_GetWidth(destination);
    const int dh = mltSDLSurface_GetHeight(destination);
    // Rectangles reach SDL as 16-bit values: a glyph wholly outside the
    // destination is skipped rather than wrapped round onto it.
    const bool rowVisible = y < dh && y + height_ > 0;
    std::int32_t pen = x;
    for (char ch : text) {
        unsigned char c = static_cast<unsigned char>(ch);
        if (const Glyph* g = glyphOf_[c]; g && rowVisible && pen < dw && pen + g->w > 0)
            mltSDL_BlitSurface(cache_, g->x, g->y, g->w, g->h, destination, pen, y, g->w, g->h);
        pen += advance_[c];
    }
}

namespace {

struct Pixels {
    SDL_Surface* surface;
    bool locked = false;
    explicit Pixels(SDL_Surface* s) : surface(s) {
        if (mltSDL_MUSTLOCK(s)) locked = mltSDL_LockSurface(s) == 0;
    }
    ~Pixels() {
        if (locked) mltSDL_UnlockSurface(surface);
    }
    Uint32* row(int y) const {
        return reinterpret_cast<Uint32*>(static_cast<Uint8*>(mltSDLSurface_GetPixels(surface)) +
                                         static_cast<std::ptrdiff_t>(y) * mltSDLSurface_GetPitch(surface));
    }
};

// Mean of the low three bytes (blue, green, red).
inline unsigned intensity(Uint32 p) { return ((p & 0xFF) + ((p >> 8) & 0xFF) + ((p >> 16) & 0xFF)) / 3; }

// channel x 255, to the nearest integer with ties to even, kept to a byte.
Uint32 channelByte(double value) {
    return static_cast<Uint32>(std::clamp(realToInt(value * 255.0, RoundingMode::ToNearest), 0, 255));
}

}  // namespace

void SDLBitmapFont::copyToAlphaSurface() {
    if (cache_ != nullptr || bitmap_ == nullptr) return;
    // Rule "paint" for each intensity i: alpha i, colour scaled by i / 255.
    std::array<Uint32, 256> paint;
    for (unsigned i = 0; i < 256; ++i) {
        double t = i / 255.0;
        paint[i] = channelByte(t) << 24 | channelByte(colour_.red * t) << 16 | channelByte(colour_.green * t) << 8 |
                   channelByte(colour_.blue * t);
    }
    const int w = mltSDLSurface_GetWidth(bitmap_);
    const int h = mltSDLSurface_GetHeight(bitmap_);
    SDL_Surface* cache = createFontSurface(w, h);
    {
        Pixels src(bitmap_);
        Pixels dst(cache);
        // Unframed: the whole bitmap painted in place. Framed: the interior,
        // painted in place, then its intensity raises the alpha one pixel
        // up-left and one down-right, leaving the colour bytes alone.
        const int inset = framed_ ? 1 : 0;
        for (int y = inset; y < h - inset; ++y) {
            const Uint32* s = src.row(y);
            Uint32* d = dst.row(y);
            for (int x = inset; x < w - inset; ++x) d[x] = paint[intensity(s[x])];
        }
        if (framed_) {
            for (int offset : {-1, 1}) {
                for (int y = 1; y < h - 1; ++y) {
                    const Uint32* s = src.row(y);
                    Uint32* d = dst.row(y + offset);
                    for (int x = 1; x < w - 1; ++x) {
                        Uint32 a = intensity(s[x]) << 24;
                        Uint32& p = d[x + offset];
                        if (a > (p & 0xFF000000u)) p = (p & 0x00FFFFFFu) | a;
                    }
                }
            }
        }
    }
    cache_ = cache;
}

}  // namespace zil
