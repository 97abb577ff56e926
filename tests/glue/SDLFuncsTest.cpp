#include "glue/SDLFuncs.hpp"

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

using namespace zil;

namespace {

std::string readFile(const std::string& name) {
    std::ifstream in(name, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// Runs a test inside a fresh temporary directory, so the logs land there.
class InTempDir : public ::testing::Test {
protected:
    void SetUp() override {
        old_ = std::filesystem::current_path();
        char tmpl[] = "/tmp/zil-glue-XXXXXX";
        ASSERT_NE(mkdtemp(tmpl), nullptr);
        dir_ = tmpl;
        ASSERT_EQ(chdir(dir_.c_str()), 0);
    }
    void TearDown() override {
        std::filesystem::current_path(old_);
        std::filesystem::remove_all(dir_);
    }
    std::filesystem::path old_, dir_;
};

SDL_Surface* make32(int w, int h) {
    return mltSDL_CreateRGBSurface(0, w, h, 32, 0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000);
}

Uint32 pixelAt(SDL_Surface* s, int x, int y) {
    Uint32 v;
    std::memcpy(&v, static_cast<Uint8*>(s->pixels) + y * s->pitch + x * 4, 4);
    return v;
}

// Counts the pixels of `s` equal to `v`.
int countPixels(SDL_Surface* s, Uint32 v) {
    int n = 0;
    for (int y = 0; y < s->h; ++y)
        for (int x = 0; x < s->w; ++x) n += pixelAt(s, x, y) == v;
    return n;
}

}  // namespace

using GlueLogs = InTempDir;

TEST_F(GlueLogs, FailedInitWritesItsLogAnew) {
    { std::ofstream("SDL_Init.log") << "an older and much longer log line\nsecond line\n"; }
    const char* old = std::getenv("SDL_VIDEODRIVER");
    std::string saved = old ? old : "";
    setenv("SDL_VIDEODRIVER", "no-such-video-driver", 1);
    int result = mltSDL_Init(SDL_INIT_VIDEO);
    std::string error = SDL_GetError();
    mltSDL_Quit();
    if (old) setenv("SDL_VIDEODRIVER", saved.c_str(), 1);
    else unsetenv("SDL_VIDEODRIVER");

    EXPECT_LT(result, 0);
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(readFile("SDL_Init.log"), "Could not initialize SDL: " + error + "\n");
}

TEST_F(GlueLogs, LoadBmpLogsEachMissingFileAnew) {
    SDL_Surface* s = make32(3, 2);
    ASSERT_EQ(SDL_SaveBMP(s, "img.bmp"), 0);
    mltSDL_FreeSurface(s);
    SDL_Surface* loaded = mltSDL_LoadBMP("img.bmp");
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(mltSDLSurface_GetWidth(loaded), 3);
    mltSDL_FreeSurface(loaded);
    EXPECT_FALSE(std::filesystem::exists("SDL_LoadBMP.log"));

    EXPECT_EQ(mltSDL_LoadBMP("first-missing.bmp"), nullptr);
    EXPECT_NE(readFile("SDL_LoadBMP.log").find("first-missing.bmp"), std::string::npos);
    EXPECT_EQ(mltSDL_LoadBMP("second.bmp"), nullptr);
    EXPECT_EQ(readFile("SDL_LoadBMP.log"), std::string("Could not load BMP file: ") + SDL_GetError() + "\n");
    EXPECT_EQ(readFile("SDL_LoadBMP.log").find("first-missing.bmp"), std::string::npos);
}

TEST_F(GlueLogs, UnwritableLogIsSkipped) {
    std::filesystem::create_directory("SDL_LoadBMP.log");
    EXPECT_EQ(mltSDL_LoadBMP("missing.bmp"), nullptr);
    EXPECT_TRUE(std::filesystem::is_directory("SDL_LoadBMP.log"));
}

TEST(GlueRects, FieldsReachSdlAsTheirLow16Bits) {
    SDL_Surface* s = make32(16, 2);
    ASSERT_NE(s, nullptr);
    mltSDL_FillRect(s, 0, 0, 16, 2, 0);
    // x = 65546 -> 10, w = 65538 -> 2, h = 65537 -> 1.
    mltSDL_FillRect(s, 65536 + 10, 0, 65536 + 2, 65536 + 1, 7);
    EXPECT_EQ(countPixels(s, 7), 2);
    EXPECT_EQ(pixelAt(s, 10, 0), 7u);
    EXPECT_EQ(pixelAt(s, 11, 0), 7u);
    // x = 40000 is -25536 as a signed 16-bit value: wholly left of the surface.
    mltSDL_FillRect(s, 40000, 0, 20000, 2, 9);
    EXPECT_EQ(countPixels(s, 9), 0);
    mltSDL_FreeSurface(s);
}

TEST(GlueRects, BlitCopiesTheSourceRectangleToTheDestinationPoint) {
    SDL_Surface* src = make32(4, 4);
    SDL_Surface* dst = make32(8, 8);
    ASSERT_TRUE(src && dst);
    SDL_SetAlpha(src, 0, 255);  // plain copy
    mltSDL_FillRect(src, 0, 0, 4, 4, 1);
    mltSDL_FillRect(src, 1, 2, 2, 1, 3);
    mltSDL_FillRect(dst, 0, 0, 8, 8, 0);
    EXPECT_EQ(mltSDL_BlitSurface(src, 1, 2, 2, 1, dst, 5, 6, 0, 0), 0);
    EXPECT_EQ(countPixels(dst, 3), 2);
    EXPECT_EQ(pixelAt(dst, 5, 6), 3u);
    EXPECT_EQ(pixelAt(dst, 6, 6), 3u);
    mltSDL_FreeSurface(src);
    mltSDL_FreeSurface(dst);
}

TEST(GlueSubSurface, SharesTheParentsPixelsAndHasItsOwnClip) {
    SDL_Surface* parent = make32(8, 6);
    ASSERT_NE(parent, nullptr);
    mltSDL_FillRect(parent, 0, 0, 8, 6, 0);
    mltSDL_SetClipRect(parent, 0, 0, 1, 1);
    SDL_Surface* sub = mltVuq_MakeSubSurface(parent, 2, 1, 3, 2);
    ASSERT_NE(sub, nullptr);
    EXPECT_EQ(mltSDLSurface_GetWidth(sub), 3);
    EXPECT_EQ(mltSDLSurface_GetHeight(sub), 2);
    EXPECT_EQ(mltSDLSurface_GetPitch(sub), mltSDLSurface_GetPitch(parent));
    EXPECT_EQ(mltSDLSurface_GetPixels(sub), static_cast<Uint8*>(parent->pixels) + 1 * parent->pitch + 2 * 4);
    EXPECT_EQ(sub->clip_rect.x, 0);
    EXPECT_EQ(sub->clip_rect.y, 0);
    EXPECT_EQ(sub->clip_rect.w, 3);
    EXPECT_EQ(sub->clip_rect.h, 2);
    EXPECT_EQ(mltSDL_MapRGB(mltSDLSurface_GetFormat(sub), 1, 2, 3),
              mltSDL_MapRGB(mltSDLSurface_GetFormat(parent), 1, 2, 3));

    mltSDL_FillRect(sub, 0, 0, 3, 2, 4);
    mltSDL_FillRect(sub, 2, 1, 1, 1, 6);
    EXPECT_EQ(countPixels(parent, 4), 5);
    EXPECT_EQ(pixelAt(parent, 2, 1), 4u);
    EXPECT_EQ(pixelAt(parent, 4, 2), 6u);

    mltVuq_FreeSubSurface(sub);
    // The parent is untouched by the free: pixels, format and clip remain.
    EXPECT_EQ(pixelAt(parent, 4, 2), 6u);
    EXPECT_EQ(countPixels(parent, 4), 5);
    EXPECT_EQ(parent->clip_rect.w, 1);
    mltSDL_FillRect(parent, 0, 0, 8, 6, mltSDL_MapRGB(parent->format, 0, 0, 255));
    EXPECT_EQ(pixelAt(parent, 0, 0), 0xFF0000FFu);
    mltSDL_FreeSurface(parent);
    mltVuq_FreeSubSurface(nullptr);
}

TEST(GlueSubSurface, IsClampedToTheParent) {
    SDL_Surface* parent = make32(8, 6);
    ASSERT_NE(parent, nullptr);
    struct Case { int x, y, w, h, expectW, expectH, originX, originY; };
    const Case cases[] = {
        {6, 4, 5, 5, 2, 2, 6, 4},                  // partly outside, right and below
        {-2, -1, 4, 3, 2, 2, 0, 0},                // negative origin
        {9, 0, 3, 3, 0, 0, 0, 0},                  // wholly right
        {-5, -5, 3, 3, 0, 0, 0, 0},                // wholly above and left
        {INT_MAX - 1, 0, INT_MAX, 1, 0, 0, 0, 0},  // x + w beyond int
        {INT_MIN + 2, 0, INT_MAX, 6, 1, 6, 0, 0},  // right edge at 1
        {-1, -1, INT_MAX, INT_MAX, 8, 6, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.x << "," << c.y << "," << c.w << "," << c.h);
        mltSDL_FillRect(parent, 0, 0, 8, 6, 0);
        SDL_Surface* sub = mltVuq_MakeSubSurface(parent, c.x, c.y, c.w, c.h);
        ASSERT_NE(sub, nullptr);
        EXPECT_EQ(mltSDLSurface_GetWidth(sub), c.expectW);
        EXPECT_EQ(mltSDLSurface_GetHeight(sub), c.expectH);
        // Fill far more than the sub-surface: only its clamped area changes
        // (and the sanitizer build sees any write outside the parent).
        mltSDL_FillRect(sub, -100, -100, 1000, 1000, 8);
        EXPECT_EQ(countPixels(parent, 8), c.expectW * c.expectH);
        if (c.expectW > 0) {
            EXPECT_EQ(pixelAt(parent, c.originX, c.originY), 8u);
        }
        mltVuq_FreeSubSurface(sub);
    }
    EXPECT_EQ(mltVuq_MakeSubSurface(nullptr, 0, 0, 1, 1), nullptr);
    mltSDL_FreeSurface(parent);
}

TEST(GlueEvents, GettersReadTheLastTakenEvent) {
    ASSERT_EQ(mltSDL_Init(SDL_INIT_VIDEO), 0);
    SDL_Surface* screen = mltSDL_SetVideoMode(64, 48, 32, 0);
    ASSERT_NE(screen, nullptr);
    while (mltSDL_PollEvent() == 1) {
    }
    EXPECT_EQ(mltSDL_PollEvent(), 0);

    SDL_Event e{};
    e.key.type = SDL_KEYDOWN;
    e.key.which = 3;
    e.key.state = SDL_PRESSED;
    e.key.keysym.scancode = 200;
    e.key.keysym.sym = SDLK_F5;
    e.key.keysym.mod = static_cast<SDLMod>(KMOD_LSHIFT | KMOD_RCTRL);
    e.key.keysym.unicode = 0xFFE9;
    ASSERT_EQ(SDL_PushEvent(&e), 0);
    ASSERT_EQ(mltSDL_PollEvent(), 1);
    EXPECT_EQ(mltSDL_GetEventType(), SDL_KEYDOWN);
    EXPECT_EQ(mltSDL_GetKeyboard_Which(), 3);
    EXPECT_EQ(mltSDL_GetKeyboard_State(), SDL_PRESSED);
    EXPECT_EQ(mltSDL_GetKeyboard_KeySymScancode(), 200);
    EXPECT_EQ(mltSDL_GetKeyboard_KeySymKey(), SDLK_F5);
    EXPECT_EQ(mltSDL_GetKeyboard_KeySymMod(), KMOD_LSHIFT | KMOD_RCTRL);
    EXPECT_EQ(mltSDL_GetKeyboard_KeySymUnicode(), 0xFFE9);

    e = SDL_Event{};
    e.motion.type = SDL_MOUSEMOTION;
    e.motion.which = 1;
    e.motion.state = SDL_BUTTON(1) | SDL_BUTTON(3);
    e.motion.x = 65000;
    e.motion.y = 40;
    e.motion.xrel = -5;
    e.motion.yrel = -32768;
    ASSERT_EQ(SDL_PushEvent(&e), 0);
    ASSERT_EQ(mltSDL_WaitEvent(), 1);
    EXPECT_EQ(mltSDL_GetEventType(), SDL_MOUSEMOTION);
    EXPECT_EQ(mltSDL_GetMouseMotion_Which(), 1);
    EXPECT_EQ(mltSDL_GetMouseMotion_State(), 5);
    EXPECT_EQ(mltSDL_GetMouseMotion_X(), 65000);
    EXPECT_EQ(mltSDL_GetMouseMotion_Y(), 40);
    EXPECT_EQ(mltSDL_GetMouseMotion_XRel(), -5);
    EXPECT_EQ(mltSDL_GetMouseMotion_YRel(), -32768);

    e = SDL_Event{};
    e.button.type = SDL_MOUSEBUTTONUP;
    e.button.which = 2;
    e.button.button = SDL_BUTTON_RIGHT;
    e.button.state = SDL_RELEASED;
    e.button.x = 50000;
    e.button.y = 7;
    ASSERT_EQ(SDL_PushEvent(&e), 0);
    ASSERT_EQ(mltSDL_PollEvent(), 1);
    EXPECT_EQ(mltSDL_GetEventType(), SDL_MOUSEBUTTONUP);
    EXPECT_EQ(mltSDL_GetMouseButton_Which(), 2);
    EXPECT_EQ(mltSDL_GetMouseButton_Button(), SDL_BUTTON_RIGHT);
    EXPECT_EQ(mltSDL_GetMouseButton_State(), SDL_RELEASED);
    EXPECT_EQ(mltSDL_GetMouseButton_X(), 50000);
    EXPECT_EQ(mltSDL_GetMouseButton_Y(), 7);

    // An empty poll leaves the last event in the buffer.
    EXPECT_EQ(mltSDL_PollEvent(), 0);
    EXPECT_EQ(mltSDL_GetEventType(), SDL_MOUSEBUTTONUP);

    SDL_SetModState(static_cast<SDLMod>(KMOD_RSHIFT | KMOD_LCTRL));
    EXPECT_EQ(mltSDL_GetModState(), KMOD_RSHIFT | KMOD_LCTRL);
    mltSDL_Quit();
}
