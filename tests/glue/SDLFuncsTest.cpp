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

Uint32 pixelAt(SDL_Surface* s, int x, int y) { return static_cast<Uint32*>(s->pixels)[y * s->pitch / 4 + x]; }

int countPixels(SDL_Surface* s, Uint32 v) {
    int n = 0;
    for (int y = 0; y < s->h; ++y)
        for (int x = 0; x < s->w; ++x) n += pixelAt(s, x, y) == v;
    return n;
}

}  // namespace

// Runs in a fresh temporary directory, where the logs land.
TEST(Glue, FailuresWriteTheirLogsAnewOrSkipThem) {
    const std::filesystem::path old = std::filesystem::current_path();
    char dir[] = "/tmp/zil-glue-XXXXXX";
    ASSERT_NE(mkdtemp(dir), nullptr);
    std::filesystem::current_path(dir);
    std::ofstream("SDL_Init.log") << "an older and much longer log line\nsecond line\n";
    const std::string saved = std::getenv("SDL_VIDEODRIVER") ? std::getenv("SDL_VIDEODRIVER") : "dummy";
    setenv("SDL_VIDEODRIVER", "no-such-video-driver", 1);
    EXPECT_LT(mltSDL_Init(SDL_INIT_VIDEO), 0);
    const std::string error = SDL_GetError();
    mltSDL_Quit();
    setenv("SDL_VIDEODRIVER", saved.c_str(), 1);
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

TEST(Glue, SurfacesClampSubSurfacesAndPassRectanglesAsLow16Bits) {
    SDL_Surface* parent = mltSDL_CreateRGBSurface(0, 8, 6, 32, 0xFF0000, 0xFF00, 0xFF, 0xFF000000);
    ASSERT_NE(parent, nullptr);
    // x, y, w, h -> the clamped width, height and origin in the parent.
    const int cases[][8] = {
        {6, 4, 5, 5, 2, 2, 6, 4},                  // partly outside
        {-2, -1, 4, 3, 2, 2, 0, 0},                // negative origin
        {-5, -5, 3, 3, 0, 0, 0, 0},                // wholly outside
        {INT_MAX - 1, 0, INT_MAX, 1, 0, 0, 0, 0},  // x + w beyond int
        {INT_MIN + 2, 0, INT_MAX, 6, 1, 6, 0, 0},  // right edge at 1
        {2, 1, 3, 2, 3, 2, 2, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c[0] << "," << c[1] << "," << c[2] << "," << c[3]);
        mltSDL_FillRect(parent, 0, 0, 8, 6, 0);
        SDL_Surface* sub = mltVuq_MakeSubSurface(parent, c[0], c[1], c[2], c[3]);
        ASSERT_NE(sub, nullptr);
        EXPECT_EQ(mltSDLSurface_GetWidth(sub) * 10 + mltSDLSurface_GetHeight(sub), c[4] * 10 + c[5]);
        // Its clip is the whole of it, so only its clamped area changes (and
        // the sanitizer build sees any write outside the parent).
        mltSDL_FillRect(sub, -100, -100, 1000, 1000, 8);
        EXPECT_EQ(countPixels(parent, 8), c[4] * c[5]);
        EXPECT_TRUE(c[4] == 0 || pixelAt(parent, c[6], c[7]) == 8u);
        mltVuq_FreeSubSurface(sub);  // the parent keeps its pixels
    }
    EXPECT_EQ(pixelAt(parent, 4, 2), 8u);
    EXPECT_EQ(mltVuq_MakeSubSurface(nullptr, 0, 0, 1, 1), nullptr);

    // Width 65,539 and height 65,537 reach SDL as 3 and 1.
    mltSDL_FillRect(parent, 0, 0, 8, 6, 0);
    mltSDL_FillRect(parent, 1, 2, 65536 + 3, 65536 + 1, 7);
    EXPECT_EQ(countPixels(parent, 7), 3);
    EXPECT_EQ(pixelAt(parent, 3, 2), 7u);
    mltSDL_FreeSurface(parent);

    // Must lock: an offset or a hardware, asynchronous-blit or RLE surface.
    const std::tuple<Uint32, int, int> lock[] = {{SDL_SWSURFACE, 0, 0}, {SDL_SRCALPHA, 0, 0}, {SDL_HWSURFACE, 0, 1},
                                                 {SDL_ASYNCBLIT, 0, 1}, {SDL_RLEACCEL, 0, 1},  {SDL_SWSURFACE, 4, 1}};
    for (const auto& [flags, offset, must] : lock) {
        SDL_Surface fake{};
        fake.flags = flags;
        fake.offset = offset;
        EXPECT_EQ(mltSDL_MUSTLOCK(&fake), must) << flags << " " << offset;
    }
}

TEST(Glue, GettersExtendTheFieldsOfTheLastTakenEvent) {
    ASSERT_EQ(mltSDL_Init(SDL_INIT_VIDEO), 0);
    ASSERT_NE(mltSDL_SetVideoMode(64, 48, 32, 0), nullptr);
    while (mltSDL_PollEvent() == 1) continue;
    SDL_Event e{};
    e.motion = {SDL_MOUSEMOTION, 0, SDL_BUTTON(1) | SDL_BUTTON(3), 65000, 40, -5, -32768};
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
