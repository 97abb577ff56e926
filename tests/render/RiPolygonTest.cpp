// Polygon entry, markers and the real-time renderer's triangle list.
#include <gtest/gtest.h>

#include "RenderTestUtil.hpp"
#include "glue/SDLFuncs.hpp"
#include "render/ColorRGB.hpp"
#include "render/RiPolygon.hpp"
#include "shell/Errors.hpp"

namespace zil::test {
namespace {

using RP = RasterPosition;

std::vector<RP> corners(const std::vector<SceneTriangle>& tris) {
    std::vector<RP> out;
    for (const SceneTriangle& t : tris)
        for (const RasterVertex* v : {&t.a, &t.b, &t.c}) out.push_back({v->x, v->y, v->z});
    return out;
}

TEST(RiPolygon, QuadsSplitInTwoAndPointsRoundUpwards) {
    Scene s(64, 64);
    RiColor(s.st, {1.0, 0.5, 0.0});
    RiPolygon(s.st, s.points({{1, 1, 5}, {9, 1, 6}, {9, 9, 7}, {1, 9, 8}}));
    const RP a{512, 512, 5}, b{9 * 512, 512, 6}, c{9 * 512, 9 * 512, 7}, d{512, 9 * 512, 8};
    EXPECT_EQ(corners(s.st.renderer().sceneTriangles), (std::vector<RP>{a, b, c, a, c, d}));
    EXPECT_EQ(s.st.renderer().sceneTriangles[1].b.colour, (FixedColor{255 << 8, 128 << 8, 0}));  // 127.5 rounds to even
    s.st.renderer().sceneTriangles.clear();
    RiPolygon(s.st, s.points({{2.0, 2.001, 1}, {-0.0001, 3, 1}, {4, -2.0009, 1}}));
    EXPECT_EQ(corners(s.st.renderer().sceneTriangles), (std::vector<RP>{{1024, 1025, 1}, {0, 1536, 1}, {2048, -1024, 1}}));
}

TEST(RiPolygon, Messages) {
    Scene s(64, 64);
    const std::string lazy = "I have been lazy - only use triangles or quads when calling Polygon please...\n";
    const std::pair<RiParamList, std::string> cases[] = {
        {{}, lazy},
        {{{s.st.tokens.N, RiParamValue::normals({{0, 0, 1}})}}, lazy},
        {{{s.st.tokens.P, RiParamValue::normals({{0, 0, 1}})}},
         "Parameter type error: Expecting type Rt.Point list for parameter P\n" + lazy},
        {s.points({{1, 1, 1}, {2, 2, 1}}), lazy},
        {s.points({{1, 1, 1}, {2, 2, 1}, {3, 1, 1}, {4, 4, 1}, {5, 1, 1}}), lazy},
    };
    for (const auto& [params, printed] : cases) EXPECT_EQ(stdoutOf([&] { RiPolygon(s.st, params); }), printed);
    EXPECT_TRUE(s.st.renderer().sceneTriangles.empty());
    s.st.currentColor = {1.0, 1.0};
    EXPECT_EQ(stdoutOf([&] { RiPolygon(s.st, s.points({{1, 1, 1}, {5, 1, 1}, {1, 5, 1}})); }),
              "Exactly 3 color components are required in ColorRGB.fromColorN!\n");
    EXPECT_EQ(s.st.renderer().sceneTriangles.at(0).a.colour, (FixedColor{0, 0, 0}));
    // A point on the camera plane of a perspective raster matrix cannot be divided.
    s.st.rasterTransform = {{{{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 1, 0}}}};
    EXPECT_THROW(RiPolygon(s.st, s.points({{1, 1, 0}, {5, 1, 1}, {1, 5, 1}})), EGeneric);
}

TEST(RiPolygon, PointMarkersSitJustInFront) {
    Scene s(64, 64);
    RiColor(s.st, {0.5, 0.63, 0.75});
    drawPointMarkers(s.st, {{40, 20, 2.0}});
    const double z = 2.0 - 1e-10;
    EXPECT_EQ(corners(s.st.renderer().sceneTriangles), (std::vector<RP>{{40 * 512, 17 * 512, z}, {37 * 512, 22 * 512, z},
                                                              {43 * 512, 22 * 512, z}}));
    EXPECT_EQ(s.st.renderer().sceneTriangles[0].a.colour, (FixedColor{128 << 8, 161 << 8, 191 << 8}));
    // The marker wins over a surface at the same depth drawn before it.
    RiColor(s.st, {0.0, 1.0, 0.0});
    RiPolygon(s.st, s.points({{30, 10, 2.0}, {50, 10, 2.0}, {30, 30, 2.0}}));
    s.render();
    EXPECT_EQ(s.colour.at(40, 18), 0x0080A1BFu);
}

TEST(RealtimeZilyMan, DrawsByTopRowThenInSubmissionOrder) {
    // Three triangles at one depth; ties keep the pixel drawn first. Blue
    // starts on row 2 and comes first; red and green start on row 0 and
    // cover the same pixels. Drawn: red, green (losing every tie), blue
    // (losing where it meets red, e.g. pixel (1, 3)).
    Scene s(8, 8);
    s.tri({0, 1024, 1}, {4095, 1024, 1}, {0, 4095, 1}, 0, 0, 255);
    s.tri({0, 0, 1}, {4095, 0, 1}, {0, 4095, 1}, 255);
    s.tri({0, 0, 1}, {4095, 0, 1}, {0, 4095, 1}, 0, 255);
    s.render();
    EXPECT_EQ(s.colour.at(1, 1), 0x00FF0000u);
    EXPECT_EQ(s.colour.at(1, 3), 0x00FF0000u);
    EXPECT_EQ(s.colour.at(6, 3), 0x000000FFu);  // blue alone
}

TEST(RealtimeZilyMan, WholeTrianglesAreCulledAtTheDeviceAndSurfaceEdges) {
    const int W = 8 * 512, H = 8 * 512;
    // Just inside, then one corner out on each side.
    for (const RP first : {RP{W - 1, 0, 1}, RP{W, 100, 1}, RP{-1, 100, 1}, RP{100, H, 1}, RP{100, -1, 1}}) {
        Scene s(8, 8);
        s.tri(first, {0, 2048, 1}, {W - 1, H - 1, 1}, 255);
        s.render();
        int red = 0;
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x) red += s.colour.at(x, y) == 0x00FF0000u;
        const bool inside = first.x == W - 1;
        EXPECT_EQ(s.colour.at(7, 7) == 0x00FF0000u && s.colour.at(0, 4) == 0x00FF0000u, inside);
        EXPECT_EQ(red == 0, !inside) << first.x << "," << first.y;
    }
    // Device 16 x 16 on a 6 x 6 colour surface: only what fits both is drawn.
    Scene s(16, 16, 6, 6);
    s.tri({0, 0, 1}, {5 * 512, 0, 1}, {0, 5 * 512, 1}, 255);
    s.tri({0, 0, 1}, {12 * 512, 0, 1}, {0, 12 * 512, 1}, 0, 255);
    s.render();
    EXPECT_EQ(s.colour.at(1, 1), 0x00FF0000u);
    EXPECT_EQ(s.colour.at(5, 0), 0xFF000000u);  // cleared, untouched
    EXPECT_EQ(mltSDLSurface_GetWidth(s.st.renderer().currentDevice->depthSurface), 16);  // it fits the device
}

TEST(RealtimeZilyMan, NoDeviceDrawsNothingAndTheScreenOpensAtFirstWorldBegin) {
    using namespace RealtimeZilyMan;
    RiState st;
    const std::string none = "No device open in RealtimeZilyMan.";
    EXPECT_EQ(stdoutOf([&] {
                  triangle(st, {0, 0, 1}, {512, 0, 1}, {0, 512, 1}, 1, 2, 3);
                  shadedTriangle(st, {}, {}, {});
                  renderScene(st);
              }),
              none + "triangle\n" + none + "triangle\n" + none + "renderScene\n");
    EXPECT_TRUE(st.renderer().sceneTriangles.empty());
    const std::string noDepth = "Could not create depth surface in RealtimeZilyMan\n";
    Surface colour(4, 4);
    EXPECT_EQ(stdoutOf([&] { EXPECT_FALSE(installOffscreenDevice(st, colour.s, 0, 4)); }), noDepth);
    ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0);
    ASSERT_NE(mltSDL_SetVideoMode(64, 48, 32, 0), nullptr);
    // No depth surface of width 0: the screen keeps its mode.
    st.deviceHeight = 24;
    EXPECT_EQ(stdoutOf([&] { worldBegin(st); }), noDepth);
    EXPECT_FALSE(st.renderer().currentDevice.has_value());
    EXPECT_EQ(std::pair(SDL_GetVideoSurface()->w, SDL_GetVideoSurface()->h), std::pair(64, 48));
    {
        RiState screen;  // frees its depth surface when it goes
        screen.deviceWidth = 32;
        screen.deviceHeight = 24;
        worldBegin(screen);
        const RenderDevice& dev = screen.renderer().currentDevice.value();
        EXPECT_FALSE(dev.offscreen);
        EXPECT_EQ(std::pair(dev.depthSurface->w, dev.colourSurface->h), std::pair(32, 24));
        triangle(screen, {0, 0, 1}, {4096, 0, 1}, {0, 4096, 1}, 9, 9, 9);
        renderScene(screen);
        worldEnd(screen);
        showFrame(screen);
        EXPECT_EQ(static_cast<Uint32*>(dev.colourSurface->pixels)[0], 0x00090909u);
    }
    SDL_Quit();
}

}  // namespace
}  // namespace zil::test
