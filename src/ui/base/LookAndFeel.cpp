#include "ui/base/LookAndFeel.hpp"

#include <algorithm>

#include "glue/SDLFuncs.hpp"
#include "shell/CoreInt.hpp"
#include "ui/base/SDLBitmapFont.hpp"

namespace zil::LookAndFeel {

namespace {

// The part of (x, y, w, h), absolute in the surface, that lies on it.
struct Clipped {
    std::int64_t x0, y0, x1, y1;
    bool empty() const { return x1 <= x0 || y1 <= y0; }
};

Clipped clipToSurface(SDL_Surface* s, std::int64_t x, std::int64_t y, std::int64_t w, std::int64_t h) {
    return {std::max<std::int64_t>(x, 0), std::max<std::int64_t>(y, 0),
            std::min<std::int64_t>(x + w, mltSDLSurface_GetWidth(s)),
            std::min<std::int64_t>(y + h, mltSDLSurface_GetHeight(s))};
}

// The faces' colours are constants: their channels are worked out once, by
// the compiler, to the nearest integer with ties to even.
struct Shade {
    int r, g, b;
};
constexpr int constantChannel(double value) {
    const double v = value * 255.0;
    const auto whole = static_cast<long long>(v);
    const double rest = v - static_cast<double>(whole);
    return static_cast<int>(rest > 0.5 || (rest == 0.5 && whole % 2 != 0) ? whole + 1 : whole);
}
constexpr Shade shade(const ColorRGB& c) {
    return {constantChannel(c.red), constantChannel(c.green), constantChannel(c.blue)};
}
constexpr Shade kBlack = shade(grey(0.0));
constexpr Shade kGrey02 = shade(grey(0.2));
constexpr Shade kGrey03 = shade(grey(0.3));
constexpr Shade kGrey035 = shade(grey(0.35));
constexpr Shade kGrey05 = shade(grey(0.5));
constexpr Shade kGrey075 = shade(grey(0.75));
constexpr Shade kAccent = shade(accent);
constexpr Shade kWhite = shade(white);
static_assert(kGrey03.r == 76 && kGrey05.r == 128 && kAccent.g == 207 && kAccent.b == 130);

int channel(double value) { return realToInt(value * 255.0, RoundingMode::ToNearest); }

Uint32 pixelOf(SDL_Surface* surface, const Shade& s) {
    return mltSDL_MapRGB(mltSDLSurface_GetFormat(surface), s.r, s.g, s.b);
}

// Text drawn this far out is off every surface; keeps the pen's sums in range.
constexpr std::int64_t kFarAway = std::int64_t{1} << 30;
int nearby(std::int64_t v) { return static_cast<int>(std::clamp(v, -kFarAway, kFarAway)); }

}  // namespace

void fillRect(const DrawTarget& t, std::int64_t x, std::int64_t y, std::int64_t w, std::int64_t h, Uint32 pixel) {
    if (w < 1 || h < 1) return;
    const Clipped c = clipToSurface(t.surface, t.x + x, t.y + y, w, h);
    if (c.empty()) return;
    mltSDL_FillRect(t.surface, static_cast<int>(c.x0), static_cast<int>(c.y0), static_cast<int>(c.x1 - c.x0),
                    static_cast<int>(c.y1 - c.y0), pixel);
}

void fillRectColor(const DrawTarget& t, const IRect2D& r, const ColorRGB& colour) {
    if (r.isEmpty()) return;
    const Shade s{channel(colour.red), channel(colour.green), channel(colour.blue)};
    fillRect(t, r.x, r.y, r.w, r.h, pixelOf(t.surface, s));
}

void blitWhole(const DrawTarget& t, SDL_Surface* bitmap, std::int64_t x, std::int64_t y) {
    if (bitmap == nullptr) return;
    const std::int64_t ax = t.x + x;
    const std::int64_t ay = t.y + y;
    const Clipped c =
        clipToSurface(t.surface, ax, ay, mltSDLSurface_GetWidth(bitmap), mltSDLSurface_GetHeight(bitmap));
    if (c.empty()) return;
    const int w = static_cast<int>(c.x1 - c.x0);
    const int h = static_cast<int>(c.y1 - c.y0);
    mltSDL_BlitSurface(bitmap, static_cast<int>(c.x0 - ax), static_cast<int>(c.y0 - ay), w, h, t.surface,
                       static_cast<int>(c.x0), static_cast<int>(c.y0), w, h);
}

bool bitmapCovers(SDL_Surface* bitmap, std::int32_t w, std::int32_t h) {
    return bitmap != nullptr && (bitmap->flags & (SDL_SRCALPHA | SDL_SRCCOLORKEY)) == 0 &&
           mltSDLSurface_GetWidth(bitmap) >= w && mltSDLSurface_GetHeight(bitmap) >= h;
}

void drawText(const DrawTarget& t, SDLBitmapFont& font, std::string_view text, std::int64_t x, std::int64_t y) {
    font.drawStringOn(text, nearby(t.x + x), nearby(t.y + y), t.surface);
}

std::int32_t centred(std::int32_t outer, std::int32_t inner) { return intDiv(outer, 2) + intDiv(-inner, 2); }

void drawFramePanel(const DrawTarget& t, std::int32_t w, std::int32_t h) {
    const Uint32 black = pixelOf(t.surface, kBlack);
    fillRect(t, 0, 0, w, h, black);
    const bool inner = w - 2 > 0 && h - 2 > 0;
    if (!inner) return;  // the inner rectangles are all empty
    fillRect(t, 1, 1, w - 2, h - 2, black);
    fillRect(t, 1, 1, w - 3, h - 3, pixelOf(t.surface, kGrey05));
    if (w - 4 > 0 && h - 4 > 0) fillRect(t, 2, 2, w - 4, h - 4, pixelOf(t.surface, kGrey02));
}

void drawSunkenField(const DrawTarget& t, std::int32_t w, std::int32_t h, bool marked) {
    fillRect(t, 0, 0, w, h, pixelOf(t.surface, kGrey075));
    fillRect(t, 0, 0, std::int64_t{w} - 1, std::int64_t{h} - 1, pixelOf(t.surface, kGrey05));
    fillRect(t, 1, 1, std::int64_t{w} - 2, std::int64_t{h} - 2, pixelOf(t.surface, marked ? kAccent : kBlack));
}

namespace {

// The thumb's three shades: face c, light bevel c + 0.3 (at most 1), dark
// bevel c - 0.3 (at least 0); c is 0.5 while pressed, else 0.35.
struct ThumbShades {
    Shade face, light, dark;
};
constexpr ThumbShades thumbShades(double c) {
    return {shade(grey(c)), shade(grey(std::min(c + 0.3, 1.0))), shade(grey(std::max(c - 0.3, 0.0)))};
}
constexpr ThumbShades kPressedThumb = thumbShades(0.5);
constexpr ThumbShades kThumb = thumbShades(0.35);
static_assert(kThumb.dark.r == 13 && kThumb.light.r == 166 && kPressedThumb.light.r == 204);

// A bar along one axis: `along` is the bar's length, `across` its
// thickness; `fill` takes rectangles in (along, across) order.
template <class Fill>
void drawBar(const DrawTarget& t, std::int32_t along, std::int32_t across, std::int32_t offset, std::int32_t size,
             bool pressed, Fill fill) {
    fill(0, 0, along, across, pixelOf(t.surface, kGrey02));
    const std::int64_t o = offset;
    const std::int64_t l = std::min(size, along);
    const ThumbShades& s = pressed ? kPressedThumb : kThumb;
    fill(o, 0, l, across, pixelOf(t.surface, s.dark));
    fill(o, 0, l - 1, std::int64_t{across} - 1, pixelOf(t.surface, s.light));
    if (across - 2 > 0 && l - 2 > 0) fill(o + 1, 1, l - 2, across - 2, pixelOf(t.surface, s.face));
}

}  // namespace

void drawVertBar(const DrawTarget& t, std::int32_t w, std::int32_t h, std::int32_t offset, std::int32_t size,
                 bool pressed) {
    drawBar(t, h, w, offset, size, pressed,
            [&t](std::int64_t a, std::int64_t b, std::int64_t la, std::int64_t lb, Uint32 p) {
                fillRect(t, b, a, lb, la, p);
            });
}

void drawHorizBar(const DrawTarget& t, std::int32_t w, std::int32_t h, std::int32_t offset, std::int32_t size,
                  bool pressed) {
    drawBar(t, w, h, offset, size, pressed,
            [&t](std::int64_t a, std::int64_t b, std::int64_t la, std::int64_t lb, Uint32 p) {
                fillRect(t, a, b, la, lb, p);
            });
}

void drawPlainFace(const DrawTarget& t, std::int32_t w, std::int32_t h) {
    fillRect(t, 0, 0, w, h, pixelOf(t.surface, kGrey02));
}

void drawRectFace(const DrawTarget& t, const IRect2D& r) {
    if (!r.isEmpty()) fillRect(t, r.x, r.y, r.w, r.h, pixelOf(t.surface, kGrey03));
}

void drawTextSelection(const DrawTarget& t, std::int64_t p, std::int64_t m, bool backward, std::int32_t h) {
    const std::int64_t x0 = p - 2;
    const std::int64_t width = backward ? 2 - m : m + 2;
    const Uint32 band = pixelOf(t.surface, kGrey05);
    if (width >= 0) fillRect(t, x0, 0, width, h, band);
    else fillRect(t, x0 + width, 0, -width, h, band);  // the band reaches left of x0
}

void drawTextCursor(const DrawTarget& t, std::int64_t originX, std::int64_t width, std::int32_t h) {
    fillRect(t, originX + width - 2, 0, 2, h, pixelOf(t.surface, kWhite));
}

void drawLabelFace(const DrawTarget& t, const IRect2D& area, std::string_view text,
                   const std::array<SDLBitmapFont*, 3>& fonts, std::int64_t originX, const LabelFaceState& state) {
    if (!area.isEmpty()) fillRect(t, area.x, area.y, area.w, area.h, pixelOf(t.surface, kGrey02));
    SDLBitmapFont& font = *fonts[state.emphasised ? 0 : state.highlighted ? 1 : 2];
    if (state.emphasised) {
        // Positions outside the text (a text that shrank) are taken at its ends.
        const auto length = static_cast<std::int64_t>(text.size());
        const std::int64_t cursor = std::clamp<std::int64_t>(state.cursor, 0, length);
        const std::int64_t end = std::clamp<std::int64_t>(std::int64_t{state.cursor} + state.extent, 0, length);
        const std::int64_t before = font.stringWidth(text.substr(0, static_cast<std::size_t>(cursor)));
        const std::int64_t from = std::min(cursor, end);
        const std::int64_t selected =
            font.stringWidth(text.substr(static_cast<std::size_t>(from), static_cast<std::size_t>(std::max(cursor, end) - from)));
        drawTextSelection(t, originX + before, selected, end < cursor, area.h);
        drawTextCursor(t, originX, before, area.h);
    }
    drawText(t, font, text, originX, std::int64_t{area.y} + centred(area.h, font.height()));
}

void drawListFace(const DrawTarget& t, std::int32_t w, std::int32_t h, const DynArray<std::string>& rows,
                  const DynArray<std::int32_t>& flags, SDLBitmapFont& selectedFont, SDLBitmapFont& otherFont) {
    const Uint32 band = pixelOf(t.surface, kGrey035);
    fillRect(t, 0, 0, w, h, pixelOf(t.surface, kGrey02));
    const std::int64_t fh = selectedFont.height();
    // Rows that start below the control cannot show.
    const std::int32_t shown =
        fh > 0 ? static_cast<std::int32_t>(std::min<std::int64_t>(rows.count(), (std::int64_t{h} + fh - 1) / fh))
               : rows.count();
    auto selected = [&flags](std::int32_t i) { return i < flags.count() && flags.readAt(i) != 0; };
    for (std::int32_t i = 0; i < shown; ++i)
        if (selected(i)) fillRect(t, 0, i * fh, w, fh, band);
    for (std::int32_t i = 0; i < shown; ++i)
        drawText(t, selected(i) ? selectedFont : otherFont, rows.readAt(i), 2, i * fh);
}

}  // namespace zil::LookAndFeel
