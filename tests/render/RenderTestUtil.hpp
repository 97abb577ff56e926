#pragma once
// Shared by the renderer tests: captured output, owned surfaces and a state
// with an offscreen device.
#include <gtest/gtest.h>

#include <SDL.h>

#include <string>

#include "records/Capture.hpp"
#include "render/RealtimeZilyMan.hpp"
#include "render/RiState.hpp"

namespace zil::test {

struct Surface {
    SDL_Surface* s;
    Surface(int w, int h)
        : s(SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 32, 0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000)) {}
    ~Surface() { SDL_FreeSurface(s); }
    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;
    Uint32& at(int x, int y) { return static_cast<Uint32*>(s->pixels)[y * (s->pitch / 4) + x]; }
};

// A state drawing into an offscreen device of w x h (the colour surface may
// differ in size), its world begun. With identity camera and raster
// matrices polygon points are pixel coordinates.
struct Scene {
    RiState st;
    Surface colour;
    Scene(int w, int h, int surfaceW = -1, int surfaceH = -1)
        : colour(surfaceW < 0 ? w : surfaceW, surfaceH < 0 ? h : surfaceH) {
        EXPECT_TRUE(RealtimeZilyMan::installOffscreenDevice(st, colour.s, w, h));
        st.deviceWidth = w;
        st.deviceHeight = h;
        RealtimeZilyMan::worldBegin(st);
    }
    ~Scene() { RealtimeZilyMan::releaseDevice(st); }
    void tri(RasterPosition a, RasterPosition b, RasterPosition c, int r, int g = 0, int bl = 0) {
        RealtimeZilyMan::triangle(st, a, b, c, r, g, bl);
    }
    RiParamList points(std::vector<Rt::Point> p) { return {{st.tokens.P, RiParamValue::points(std::move(p))}}; }
    void render() {
        RealtimeZilyMan::renderScene(st);
        RealtimeZilyMan::worldEnd(st);
    }
};

}  // namespace zil::test
