#include "glue/SDLFuncs.hpp"

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

using namespace zil;

namespace {

std::string readFile(const char* name) {
    std::ifstream in(name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

SDL_Surface* make32(int w, int h) {
    return mltSDL_CreateRGBSurface(0, w, h, 32, 0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000);
}

Uint32 pixelAt(SDL_Surface* s, int x, int y) {
    Uint32 v;
    std::memcpy(&v, static_cast<Uint8*>(s->pixels) + y * s->pitch + x * 4, 4);
    return v;
}

int countPixels(SDL_Surface* s, Uint32 v) {
    int n = 0;
    for (int y = 0; y < s->h; ++y)
        for (int x = 0; x < s->w; ++x) n += pixelAt(s, x, y) == v;
    return n;
}

}  // namespace

// Runs inside a fresh temporary directory, where the logs land.
TEST(GlueLogs, FailuresWriteTheirLogsAnewOrSkipThem) {
    const std::filesystem::path old = std::filesystem::current_path();
    char dir[] = "/tmp/zil-glue-XXXXXX";
    ASSERT_NE(mkdtemp(dir), nullptr);
    std::filesystem::current_path(dir);

    std::ofstream("SDL_Init.log") << "an older and much longer log line\nsecond line\n";
    const char* driver = std::getenv("SDL_VIDEODRIVER");
    const std::string saved = driver ? driver : "dummy";
    setenv("SDL_VIDEODRIVER", "no-such-video-driver", 1);
    EXPECT_LT(mltSDL_Init(SDL_INIT_VIDEO), 0);
    const std::string error = SDL_GetError();
    mltSDL_Quit();
    setenv("SDL_VIDEODRIVER", saved.c_str(), 1);
    ASSERT_FALSE(error.empty());
    EXPECT_EQ(readFile("SDL_Init.log"), "Could not initialize SDL: " + error + "\n");

    std::filesystem::create_directory("SDL_LoadBMP.log");  // cannot be written: skipped
    EXPECT_EQ(mltSDL_LoadBMP("missing.bmp"), nullptr);
    std::filesystem::remove("SDL_LoadBMP.log");
    EXPECT_EQ(mltSDL_LoadBMP("first-missing.bmp"), nullptr);
    EXPECT_EQ(mltSDL_LoadBMP("second.bmp"), nullptr);
    EXPECT_EQ(readFile("SDL_LoadBMP.log"), std::string("Could not load BMP file: ") + SDL_GetError() + "\n");

    std::filesystem::current_path(old);
    std::filesystem::remove_all(dir);
}

TEST(GlueSubSurface, IsClampedSharesThePixelsAndFreesOnlyItself) {
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
        {2, 1, 3, 2, 3, 2, 2, 1},                  // inside
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.x << "," << c.y << "," << c.w << "," << c.h);
        mltSDL_FillRect(parent, 0, 0, 8, 6, 0);
        SDL_Surface* sub = mltVuq_MakeSubSurface(parent, c.x, c.y, c.w, c.h);
        ASSERT_NE(sub, nullptr);
        EXPECT_EQ(mltSDLSurface_GetWidth(sub), c.expectW);
        EXPECT_EQ(mltSDLSurface_GetHeight(sub), c.expectH);
        // Fill far more than the sub-surface: its clip is the whole of it, so
        // only its clamped area of the parent changes (and the sanitizer
        // build sees any write outside the parent).
        mltSDL_FillRect(sub, -100, -100, 1000, 1000, 8);
        EXPECT_EQ(countPixels(parent, 8), c.expectW * c.expectH);
        if (c.expectW > 0) {
            EXPECT_EQ(pixelAt(parent, c.originX, c.originY), 8u);
        }
        mltVuq_FreeSubSurface(sub);
    }
    // Freeing the last one left the parent's pixels, format and clip.
    EXPECT_EQ(pixelAt(parent, 4, 2), 8u);
    mltSDL_FillRect(parent, 0, 0, 8, 6, mltSDL_MapRGB(parent->format, 0, 0, 255));
    EXPECT_EQ(countPixels(parent, 0xFF0000FFu), 48);
    EXPECT_EQ(mltVuq_MakeSubSurface(nullptr, 0, 0, 1, 1), nullptr);
    mltVuq_FreeSubSurface(nullptr);
    mltSDL_FreeSurface(parent);
}

TEST(GlueSurfaces, RectanglesKeepTheirLow16BitsAndLockingFollowsSDL) {
    SDL_Surface* s = make32(8, 6);
    ASSERT_NE(s, nullptr);
    mltSDL_FillRect(s, 0, 0, 8, 6, 0);
    // Width 65,539 and height 65,537 reach SDL as 3 and 1.
    mltSDL_FillRect(s, 1, 2, 65536 + 3, 65536 + 1, 7);
    EXPECT_EQ(countPixels(s, 7), 3);
    EXPECT_EQ(pixelAt(s, 3, 2), 7u);
    EXPECT_EQ(pixelAt(s, 4, 2), 0u);
    mltSDL_FreeSurface(s);

    // SDL_MUSTLOCK: an offset or a hardware, asynchronous-blit or RLE surface.
    struct Case {
        Uint32 flags;
        int offset;
        int mustLock;
    };
    for (const Case c : {Case{SDL_SWSURFACE, 0, 0}, Case{SDL_SRCALPHA, 0, 0}, Case{SDL_HWSURFACE, 0, 1},
                         Case{SDL_ASYNCBLIT, 0, 1}, Case{SDL_RLEACCEL, 0, 1}, Case{SDL_SWSURFACE, 4, 1}}) {
        SDL_Surface fake{};
        fake.flags = c.flags;
        fake.offset = c.offset;
        EXPECT_EQ(mltSDL_MUSTLOCK(&fake), c.mustLock) << c.flags << " " << c.offset;
    }
}

TEST(GlueEvents, GettersExtendTheFieldsOfTheLastTakenEvent) {
    ASSERT_EQ(mltSDL_Init(SDL_INIT_VIDEO), 0);
    ASSERT_NE(mltSDL_SetVideoMode(64, 48, 32, 0), nullptr);
    while (mltSDL_PollEvent() == 1) continue;
    SDL_Event e{};
    e.motion.type = SDL_MOUSEMOTION;
    e.motion.state = SDL_BUTTON(1) | SDL_BUTTON(3);
    e.motion.x = 65000;
    e.motion.y = 40;
    e.motion.xrel = -5;
    e.motion.yrel = -32768;
    ASSERT_EQ(SDL_PushEvent(&e), 0);
    ASSERT_EQ(mltSDL_WaitEvent(), 1);
    EXPECT_EQ(mltSDL_GetEventType(), SDL_MOUSEMOTION);
    EXPECT_EQ(mltSDL_GetMouseMotion_State(), 5);
    EXPECT_EQ(mltSDL_GetMouseMotion_Y(), 40);
    EXPECT_EQ(mltSDL_GetMouseMotion_XRel(), -5);
    EXPECT_EQ(mltSDL_GetMouseMotion_YRel(), -32768);
    EXPECT_EQ(mltSDL_PollEvent(), 0);  // an empty poll leaves the last event in the buffer
    EXPECT_EQ(mltSDL_GetMouseMotion_X(), 65000);
    mltSDL_Quit();
}
