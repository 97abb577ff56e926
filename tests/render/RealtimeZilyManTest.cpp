#include <gtest/gtest.h>

#include "RenderTestUtil.hpp"
#include "glue/SDLFuncs.hpp"
#include "render/RealtimeZilyMan.hpp"
#include "render/RiState.hpp"

namespace zil {
namespace {

using test::captured;

// A state with an offscreen device of w x h (device size as given) inside an
// open world block.
struct Scene {
    RiState st;
    test::Surface colour;
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
    void render() {
        RealtimeZilyMan::renderScene(st);
        RealtimeZilyMan::worldEnd(st);
    }
};

TEST(RealtimeZilyMan, MessagesWithoutADevice) {
    RiState st;
    EXPECT_EQ(captured([&] { RealtimeZilyMan::triangle(st, {0, 0, 1}, {512, 0, 1}, {0, 512, 1}, 1, 2, 3); }),
              "No device open in RealtimeZilyMan.triangle\n");
    EXPECT_TRUE(st.sceneTriangles.empty());
    EXPECT_EQ(captured([&] { RealtimeZilyMan::shadedTriangle(st, {}, {}, {}); }),
              "No device open in RealtimeZilyMan.triangle\n");
    EXPECT_EQ(captured([&] { RealtimeZilyMan::renderScene(st); }),
              "No device open in RealtimeZilyMan.renderScene\n");
}

TEST(RealtimeZilyMan, CullAtTheDeviceEdge) {
    const int W = 8 * 512, H = 8 * 512;
    {
        Scene s(8, 8);
        s.tri({W - 1, 0, 1}, {0, 2048, 1}, {W - 1, H - 1, 1}, 255);  // inside, just
        s.render();
        EXPECT_EQ(s.colour.at(7, 7), 0x00FF0000u);
        EXPECT_EQ(s.colour.at(0, 4), 0x00FF0000u);
    }
    for (RasterPosition bad : {RasterPosition{W, 100, 1}, RasterPosition{-1, 100, 1}, RasterPosition{100, H, 1},
                               RasterPosition{100, -1, 1}}) {
        Scene s(8, 8);
        s.tri(bad, {0, 2048, 1}, {2048, 3000, 1}, 255);
        s.render();
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x) EXPECT_EQ(s.colour.at(x, y) & 0xFFFFFF, 0u);
    }
}

TEST(RealtimeZilyMan, CullAgainstSmallerSurfaces) {
    // Device 16 x 16 on a 6 x 6 colour surface: only what fits both is drawn.
    Scene s(16, 16, 6, 6);
    s.tri({0, 0, 1}, {5 * 512, 0, 1}, {0, 5 * 512, 1}, 255);
    s.tri({0, 0, 1}, {12 * 512, 0, 1}, {0, 12 * 512, 1}, 0, 255);
    s.render();
    EXPECT_EQ(s.colour.at(1, 1), 0x00FF0000u);
    EXPECT_EQ(s.colour.at(5, 0), 0xFF000000u);  // cleared, untouched
    EXPECT_EQ(mltSDLSurface_GetWidth(s.st.currentDevice->depthSurface), 16);
}

TEST(RealtimeZilyMan, DrawingOrderByTopRowThenSubmission) {
    Scene s(8, 8);
    // Equal depth everywhere: the first drawn keeps each pixel.
    s.tri({0, 1024, 1}, {4095, 1024, 1}, {0, 4000, 1}, 255);  // top row 2, first submitted
    s.tri({0, 1024, 1}, {4000, 1024, 1}, {0, 4000, 1}, 0, 255);  // top row 2, second
    s.tri({0, 0, 1}, {4095, 0, 1}, {0, 4095, 1}, 0, 0, 255);  // top row 0, last submitted
    s.render();
    EXPECT_EQ(s.colour.at(0, 0), 0x000000FFu);
    EXPECT_EQ(s.colour.at(1, 3), 0x000000FFu);  // drawn first although submitted last
    EXPECT_EQ(s.colour.at(1, 7), 0x00FF0000u);  // beside the blue one: the earlier of the two
}

TEST(RealtimeZilyMan, WorldBeginClearsAnExistingDevice) {
    Scene s(4, 4);
    s.tri({0, 0, 1}, {2047, 0, 1}, {0, 2047, 1}, 255);
    s.render();
    EXPECT_EQ(s.colour.at(0, 0), 0x00FF0000u);
    RealtimeZilyMan::worldBegin(s.st);
    EXPECT_TRUE(s.st.sceneTriangles.empty());
    EXPECT_EQ(s.colour.at(0, 0), 0xFF000000u);  // black in the surface's format
    auto* depth = static_cast<Uint32*>(mltSDLSurface_GetPixels(s.st.currentDevice->depthSurface));
    EXPECT_EQ(depth[0], 0u);
    // A farther triangle now draws: the old depth is gone.
    s.tri({0, 0, 50}, {2047, 0, 50}, {0, 2047, 50}, 0, 255);
    s.render();
    EXPECT_EQ(s.colour.at(0, 0), 0x0000FF00u);
}

TEST(RealtimeZilyMan, ShadedTriangleInterpolatesColours) {
    Scene s(16, 2);
    RasterVertex a{0, 0, 1, {0xFF00, 0, 0}}, b{16 * 512 - 1, 0, 1, {0, 0, 0xFF00}}, c{0, 1023, 1, {0xFF00, 0, 0}};
    RealtimeZilyMan::shadedTriangle(s.st, a, b, c);
    s.render();
    EXPECT_EQ(s.colour.at(0, 0), 0x00FF0000u);
    Uint32 mid = s.colour.at(8, 0);
    EXPECT_NEAR(double(mid >> 16), 127, 3);
    EXPECT_NEAR(double(mid & 0xFF), 127, 3);
}

TEST(RealtimeZilyMan, ScreenDeviceOpensAtFirstWorldBegin) {
    ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0);
    {
        RiState st;
        st.deviceWidth = 32;
        st.deviceHeight = 24;
        RealtimeZilyMan::worldBegin(st);
        ASSERT_TRUE(st.currentDevice.has_value());
        EXPECT_FALSE(st.currentDevice->offscreen);
        EXPECT_EQ(mltSDLSurface_GetWidth(st.currentDevice->depthSurface), 32);
        EXPECT_EQ(mltSDLSurface_GetHeight(st.currentDevice->colourSurface), 24);
        RealtimeZilyMan::triangle(st, {0, 0, 1}, {4096, 0, 1}, {0, 4096, 1}, 9, 9, 9);
        RealtimeZilyMan::renderScene(st);
        RealtimeZilyMan::worldEnd(st);
        RealtimeZilyMan::showFrame(st);
        SDL_Surface* screen = st.currentDevice->colourSurface;
        EXPECT_EQ(static_cast<Uint32*>(screen->pixels)[0], 0x00090909u);
        RealtimeZilyMan::releaseDevice(st);
    }
    SDL_Quit();
}

TEST(RealtimeZilyMan, DepthSurfaceThatCannotBeMadeIsReported) {
    RiState st;
    test::Surface colour(4, 4);
    EXPECT_EQ(captured([&] { EXPECT_FALSE(RealtimeZilyMan::installOffscreenDevice(st, colour.s, 0, 4)); }),
              "Could not create depth surface in RealtimeZilyMan\n");
    EXPECT_FALSE(st.currentDevice.has_value());
}

}  // namespace
}  // namespace zil
