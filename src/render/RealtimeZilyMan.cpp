#include "render/RealtimeZilyMan.hpp"

#include <SDL.h>

#include <algorithm>
#include <cstring>

#include "glue/SDLFuncs.hpp"
#include "render/RiState.hpp"
#include "shell/Constants.hpp"
#include "shell/OutStream.hpp"

namespace zil {

RendererState::~RendererState() {
    if (!currentDevice) return;
    if (colourLocked) mltSDL_UnlockSurface(currentDevice->colourSurface);
    if (depthLocked) mltSDL_UnlockSurface(currentDevice->depthSurface);
    mltSDL_FreeSurface(currentDevice->depthSurface);
}

namespace RealtimeZilyMan {
namespace {

SDL_Surface* makeDepthSurface(int width, int height) {
    if (width <= 0 || height <= 0) return nullptr;
    Uint32 flags = 0;
    for (std::uint32_t f : Constants::depthSurfaceFlags) flags |= f;
    const auto& m = Constants::surfaceMasks;
    return mltSDL_CreateRGBSurface(flags, width, height, 32, m[0], m[1], m[2], m[3]);
}

void clearSurface(SDL_Surface* s, Uint32 pixel) {
    // SDL 1.2 fills 32-bit surfaces one word at a time on x86-64; filling the
    // clipped rows directly is several times faster, and this runs twice per
    // preview redraw.
    if (s->format->BytesPerPixel == 4 && !SDL_MUSTLOCK(s) && s->pixels) {
        const SDL_Rect& r = s->clip_rect;
        auto* row = static_cast<Uint8*>(s->pixels) + r.y * s->pitch + r.x * 4;
        for (int y = 0; y < r.h; ++y, row += s->pitch) {
            if (pixel == 0)
                std::memset(row, 0, static_cast<std::size_t>(r.w) * 4);
            else
                std::fill_n(reinterpret_cast<Uint32*>(row), r.w, pixel);
        }
        return;
    }
    mltSDL_FillRect(s, 0, 0, mltSDLSurface_GetWidth(s), mltSDLSurface_GetHeight(s), pixel);
}

inline FixedColor fixed(int red, int green, int blue) {
    return {static_cast<std::int32_t>(static_cast<std::uint32_t>(red) << 8),
            static_cast<std::int32_t>(static_cast<std::uint32_t>(green) << 8),
            static_cast<std::int32_t>(static_cast<std::uint32_t>(blue) << 8)};
}

// Top, middle and bottom by y with the renderer's three comparisons.
inline void sortByY(const SceneTriangle& t, const RasterVertex*& top, const RasterVertex*& mid,
                    const RasterVertex*& bot) {
    const RasterVertex* p = &t.a;
    const RasterVertex* q = &t.b;
    if (t.b.y < t.a.y) std::swap(p, q);
    const RasterVertex* r;
    if (t.c.y <= p->y) {
        top = &t.c;
        r = p;
    } else {
        top = p;
        r = &t.c;
    }
    if (q->y > r->y) {
        mid = r;
        bot = q;
    } else {
        mid = q;
        bot = r;
    }
}

}  // namespace

void triangle(RiState& st, const RasterPosition& a, const RasterPosition& b, const RasterPosition& c, int red,
              int green, int blue) {
    RendererState& rs = st.renderer();
    if (!rs.currentDevice) {
        printMessage("No device open in RealtimeZilyMan.triangle\n");
        return;
    }
    const FixedColor colour = fixed(red, green, blue);
    rs.sceneTriangles.push_back({{a.x, a.y, a.z, colour}, {b.x, b.y, b.z, colour}, {c.x, c.y, c.z, colour}});
}

void shadedTriangle(RiState& st, const RasterVertex& a, const RasterVertex& b, const RasterVertex& c) {
    RendererState& rs = st.renderer();
    if (!rs.currentDevice) {
        printMessage("No device open in RealtimeZilyMan.triangle\n");
        return;
    }
    rs.sceneTriangles.push_back({a, b, c});
}

void renderScene(RiState& st) {
    RendererState& rs = st.renderer();
    if (!rs.currentDevice) {
        printMessage("No device open in RealtimeZilyMan.renderScene\n");
        return;
    }
    RenderDevice& dev = *rs.currentDevice;
    if (!dev.offscreen && !rs.colourLocked && mltSDL_MUSTLOCK(dev.colourSurface)) {
        mltSDL_LockSurface(dev.colourSurface);
        rs.colourLocked = true;
    }
    if (!rs.depthLocked && mltSDL_MUSTLOCK(dev.depthSurface)) {
        mltSDL_LockSurface(dev.depthSurface);
        rs.depthLocked = true;
    }

    // Cull against the device and never beyond either surface.
    const int width = std::min({st.deviceWidth, mltSDLSurface_GetWidth(dev.colourSurface),
                                mltSDLSurface_GetWidth(dev.depthSurface)});
    const int height = std::min({st.deviceHeight, mltSDLSurface_GetHeight(dev.colourSurface),
                                 mltSDLSurface_GetHeight(dev.depthSurface)});
    if (width <= 0 || height <= 0) return;
    const std::int64_t maxX = std::int64_t{width} * 512;
    const std::int64_t maxY = std::int64_t{height} * 512;

    // Bucket by top row, keeping submission order within a row.
    const auto& tris = rs.sceneTriangles;
    auto& start = rs.bucketScratch;
    auto& order = rs.orderScratch;
    start.assign(static_cast<size_t>(height) + 1, 0u);
    order.resize(tris.size());
    constexpr std::uint32_t kCulled = 0xFFFFFFFFu;
    for (size_t i = 0; i < tris.size(); ++i) {
        const RasterVertex *top, *mid, *bot;
        sortByY(tris[i], top, mid, bot);
        const auto& t = tris[i];
        bool inside = top->y >= 0 && bot->y < maxY && t.a.x >= 0 && t.a.x < maxX && t.b.x >= 0 &&
                      t.b.x < maxX && t.c.x >= 0 && t.c.x < maxX;
        if (!inside) {
            order[i] = kCulled;
            continue;
        }
        const auto row = static_cast<std::uint32_t>(top->y >> 9);
        order[i] = row;
        ++start[row + 1];
    }
    for (int r = 0; r < height; ++r) start[r + 1] += start[r];
    std::vector<std::uint32_t>& slots = rs.slotScratch;
    slots.resize(start[height]);
    for (size_t i = 0; i < tris.size(); ++i)
        if (order[i] != kCulled) slots[start[order[i]]++] = static_cast<std::uint32_t>(i);

    const RasterTarget target{static_cast<std::uint8_t*>(mltSDLSurface_GetPixels(dev.colourSurface)),
                              mltSDLSurface_GetPitch(dev.colourSurface),
                              static_cast<std::uint8_t*>(mltSDLSurface_GetPixels(dev.depthSurface)),
                              mltSDLSurface_GetPitch(dev.depthSurface), width, height};
    for (std::uint32_t idx : slots) {
        const RasterVertex *top, *mid, *bot;
        sortByY(tris[idx], top, mid, bot);
        FSubpixelInterpInterp::ySortedTriangle(*top, *mid, *bot, target);
    }
}

void worldBegin(RiState& st) {
    RendererState& rs = st.renderer();
    if (!rs.currentDevice) {
        // Depth first: a failure then leaves the screen as it was.
        SDL_Surface* depth = makeDepthSurface(st.deviceWidth, st.deviceHeight);
        if (!depth) {
            printMessage("Could not create depth surface in RealtimeZilyMan\n");
        } else if (SDL_Surface* screen = mltSDL_SetVideoMode(st.deviceWidth, st.deviceHeight, 32, 0)) {
            rs.currentDevice = RenderDevice{depth, screen, false};
        } else {
            mltSDL_FreeSurface(depth);
        }
    } else {
        RenderDevice& dev = *rs.currentDevice;
        clearSurface(dev.colourSurface, mltSDL_MapRGB(mltSDLSurface_GetFormat(dev.colourSurface), 0, 0, 0));
        clearSurface(dev.depthSurface, 0);
    }
    rs.sceneTriangles.clear();
}

void worldEnd(RiState& st) {
    RendererState& rs = st.renderer();
    if (!rs.currentDevice) return;
    RenderDevice& dev = *rs.currentDevice;
    if (rs.colourLocked) {
        mltSDL_UnlockSurface(dev.colourSurface);
        rs.colourLocked = false;
    }
    if (rs.depthLocked) {
        mltSDL_UnlockSurface(dev.depthSurface);
        rs.depthLocked = false;
    }
}

void showFrame(RiState& st) {
    RendererState& rs = st.renderer();
    if (rs.currentDevice && !rs.currentDevice->offscreen)
        mltSDL_UpdateRect(rs.currentDevice->colourSurface, 0, 0, 0, 0);
}

bool installOffscreenDevice(RiState& st, SDL_Surface* colour, int width, int height) {
    RendererState& rs = st.renderer();
    // An offscreen device of the same size keeps its depth surface: the
    // world's begin clears it anyway, and a new one costs an allocation and
    // a second clear at every frame.
    SDL_Surface* depth = nullptr;
    if (colour && rs.currentDevice && rs.currentDevice->offscreen &&
        mltSDLSurface_GetWidth(rs.currentDevice->depthSurface) == width &&
        mltSDLSurface_GetHeight(rs.currentDevice->depthSurface) == height) {
        worldEnd(st);
        depth = rs.currentDevice->depthSurface;
        rs.currentDevice.reset();
    }
    releaseDevice(st);
    if (!colour) return false;
    if (!depth) depth = makeDepthSurface(width, height);
    if (!depth) {
        printMessage("Could not create depth surface in RealtimeZilyMan\n");
        return false;
    }
    rs.currentDevice = RenderDevice{depth, colour, true};
    return true;
}

void releaseDevice(RiState& st) {
    RendererState& rs = st.renderer();
    if (!rs.currentDevice) return;
    worldEnd(st);
    mltSDL_FreeSurface(rs.currentDevice->depthSurface);
    rs.currentDevice.reset();
}

}  // namespace RealtimeZilyMan
}  // namespace zil
