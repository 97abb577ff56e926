#include "render/FSubpixelInterpInterp.hpp"

#include <algorithm>
#include <cstring>
#include <limits>
#include <string>

#include "shell/CoreInt.hpp"
#include "shell/Errors.hpp"
#include "shell/OutStream.hpp"

namespace zil::FSubpixelInterpInterp {
namespace {

// All set-up arithmetic is 64-bit: a slope of a nearly flat edge times a row
// distance does not fit 32 bits.
using i64 = std::int64_t;

// Floor division and the first sample at or after v, for the 512 grid.
inline i64 div512(i64 v) { return v >> 9; }
inline i64 ceil512(i64 v) { return (v + 511) & ~static_cast<i64>(511); }

struct EdgeWalker {
    i64 x = 0;
    i64 slope = 0;
    double z = 0.0;
    double dz = 0.0;
    i64 r = 0, g = 0, b = 0;
    i64 dr = 0, dg = 0, db = 0;

    template <bool Shaded>
    void step() {
        x += slope;
        z += dz;
        if constexpr (Shaded) {
            r += dr;
            g += dg;
            b += db;
        }
    }
};

// Slope in 1/512 pixel per row; an edge without rows counts with dx itself.
inline i64 edgeSlope(const RasterVertex& u, const RasterVertex& l) {
    i64 dx = i64{l.x} - u.x;
    i64 dy = i64{l.y} - u.y;
    return dy > 0 ? floorDiv(dx * 512, dy) : dx;
}

// Walker from u to l, placed on the sample row startY (o = startY - u.y past u).
// A flat triangle leaves the channels alone: they are never read.
template <bool Shaded>
EdgeWalker setupEdge(const RasterVertex& u, const RasterVertex& l, i64 startY) {
    EdgeWalker w;
    i64 dy = i64{l.y} - u.y;
    i64 o = startY - u.y;
    w.slope = edgeSlope(u, l);
    w.x = u.x + div512(w.slope * o);
    if (dy != 0) w.dz = (l.z - u.z) * 512.0 / static_cast<double>(dy);
    w.z = u.z + w.dz * static_cast<double>(o) / 512.0;
    if constexpr (Shaded) {
        if (dy != 0) {
            w.dr = floorDiv((i64{l.colour.r} - u.colour.r) * 512, dy);
            w.dg = floorDiv((i64{l.colour.g} - u.colour.g) * 512, dy);
            w.db = floorDiv((i64{l.colour.b} - u.colour.b) * 512, dy);
        }
        w.r = u.colour.r + div512(w.dr * o);
        w.g = u.colour.g + div512(w.dg * o);
        w.b = u.colour.b + div512(w.db * o);
    }
    return w;
}

inline float loadDepth(const std::uint8_t* p) {
    float f;
    std::memcpy(&f, p, sizeof f);
    return f;
}

inline void storeDepth(std::uint8_t* p, double d) {
    // Below the float range the depth is -inf, never an out-of-range conversion.
    float f = d < -static_cast<double>(std::numeric_limits<float>::max()) ? -std::numeric_limits<float>::infinity()
                                                                          : static_cast<float>(d);
    std::memcpy(p, &f, sizeof f);
}

inline std::int32_t clampChannel(i64 v) { return static_cast<std::int32_t>(std::clamp<i64>(v, 0, 0xFF00)); }

// One row: samples with xl <= x < xr.
template <bool Shaded>
inline void span(const EdgeWalker& left, const EdgeWalker& right, i64 row, const RasterTarget& t,
                 std::uint32_t flatWord) {
    const i64 xl = left.x;
    const i64 xr = right.x;
    const i64 xs = ceil512(xl);
    const i64 xe = (xr - 1) & ~static_cast<i64>(511);
    if (xe < xs) return;
    i64 c0 = div512(xs);
    i64 c1 = div512(xe);
    if (c0 < 0) c0 = 0;
    if (c1 >= t.width) c1 = t.width - 1;
    if (c1 < c0) return;

    const i64 d = xr - xl;  // > 0 here
    const i64 o = c0 * 512 - xl;
    const double dz = (right.z - left.z) * 512.0 / static_cast<double>(d);
    double z = left.z + dz * static_cast<double>(o) / 512.0;

    std::uint32_t* cp = reinterpret_cast<std::uint32_t*>(t.colourPixels + row * t.colourPitch) + c0;
    std::uint8_t* dp = t.depthPixels + row * t.depthPitch + 4 * c0;
    i64 n = c1 - c0 + 1;

    if constexpr (!Shaded) {
        for (; n > 0; --n, ++cp, dp += 4, z += dz) {
            const double dd = z - kDepthBias;
            if (dd < loadDepth(dp)) {
                *cp = flatWord;
                storeDepth(dp, dd);
            }
        }
    } else {
        const i64 dr = floorDiv((right.r - left.r) * 512, d);
        const i64 dg = floorDiv((right.g - left.g) * 512, d);
        const i64 db = floorDiv((right.b - left.b) * 512, d);
        i64 r = left.r + div512(dr * o);
        i64 g = left.g + div512(dg * o);
        i64 b = left.b + div512(db * o);
        for (; n > 0; --n, ++cp, dp += 4, z += dz, r += dr, g += dg, b += db) {
            const double dd = z - kDepthBias;
            if (dd < loadDepth(dp)) {
                *cp = colourWord(clampChannel(r), clampChannel(g), clampChannel(b));
                storeDepth(dp, dd);
            }
        }
    }
}

// Rows [fromRow, toRow) of one half; the walkers end on the row after the last.
template <bool Shaded>
void scanTriArea(EdgeWalker& left, EdgeWalker& right, i64 fromRow, i64 toRow, const RasterTarget& t,
                 std::uint32_t flatWord) {
    for (i64 row = fromRow; row < toRow; ++row) {
        if (row >= 0 && row < t.height) span<Shaded>(left, right, row, t, flatWord);
        left.step<Shaded>();
        right.step<Shaded>();
    }
}

template <bool Shaded>
void drawTriangle(const RasterVertex& top, const RasterVertex& mid, const RasterVertex& bot, const RasterTarget& t) {
    const std::uint32_t flatWord = colourWord(top.colour.r, top.colour.g, top.colour.b);
    const bool midLeft = edgeSlope(top, mid) < edgeSlope(top, bot);

    const i64 firstRow = ceil512(top.y);
    const i64 firstPix = div512(firstRow);
    const i64 lowStart = ceil512(mid.y);
    const i64 lowPix = div512(lowStart);
    const i64 endPix = div512(ceil512(bot.y));

    EdgeWalker a = setupEdge<Shaded>(top, mid, firstRow);
    EdgeWalker b = setupEdge<Shaded>(top, bot, firstRow);
    const i64 upperRows = std::max<i64>(0, lowPix - firstPix);
    if (midLeft)
        scanTriArea<Shaded>(a, b, firstPix, firstPix + upperRows, t, flatWord);
    else
        scanTriArea<Shaded>(b, a, firstPix, firstPix + upperRows, t, flatWord);

    const i64 topEnd = firstPix + upperRows - 1;
    if (lowPix != topEnd + 1)
        printMessage("Assert error: lowStartPixelY <> topEndPixelY + 1\nlowStartPixelY = " + intToString(lowPix) +
                     " topEndPixelY = " + intToString(topEnd) + "\n");

    if (endPix <= lowPix) return;
    EdgeWalker c = setupEdge<Shaded>(mid, bot, lowStart);
    if (midLeft)
        scanTriArea<Shaded>(c, b, lowPix, endPix, t, flatWord);
    else
        scanTriArea<Shaded>(b, c, lowPix, endPix, t, flatWord);
}

}  // namespace

void ySortedTriangle(const RasterVertex& top, const RasterVertex& middle, const RasterVertex& bottom,
                     const RasterTarget& target) {
    try {
        if (top.y > middle.y) printMessage("Assert error: y0 > y1");
        if (middle.y > bottom.y) printMessage("Assert error: y1 > y2");
        if (top.colour == middle.colour && top.colour == bottom.colour)
            drawTriangle<false>(top, middle, bottom, target);
        else
            drawTriangle<true>(top, middle, bottom, target);
    } catch (...) {
        flushAndReraise("FSubpixelInterpInterp.ySortedTriangle");
    }
}

}  // namespace zil::FSubpixelInterpInterp
