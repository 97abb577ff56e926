#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "shell/AppConfig.hpp"
#include "ui/base/FontContext.hpp"
#include "ui/base/ImageManager.hpp"
#include "ui/base/ImageTestSupport.hpp"

namespace zil {
namespace {

namespace fs = std::filesystem;

struct BitmapFile {
    const char* key;
    const char* name;
    int w, h;
};

// The twelve bitmaps the program reads, and the two of the demo's image button.
constexpr BitmapFile kFiles[] = {
    {"ui/fonts/", "FontLucida14ASCII.bmp", 851, 15},
    {"ui/fonts/", "FontClean14.bmp", 413, 12},
    {"ui/lf/vuq/", "ButtonIn.bmp", 140, 32},
    {"ui/lf/vuq/", "ButtonOut.bmp", 140, 32},
    {"ui/lf/vuq/", "CheckBoxChecked.bmp", 13, 13},
    {"ui/lf/vuq/", "CheckBoxUnchecked.bmp", 13, 13},
    {"ui/lf/vuq/", "TabIndexSelectedLeft.bmp", 4, 24},
    {"ui/lf/vuq/", "TabIndexSelectedMiddle.bmp", 16, 24},
    {"ui/lf/vuq/", "TabIndexSelectedRight.bmp", 12, 24},
    {"ui/lf/vuq/", "TabIndexUnselectedLeft.bmp", 4, 24},
    {"ui/lf/vuq/", "TabIndexUnselectedMiddle.bmp", 16, 24},
    {"ui/lf/vuq/", "TabIndexUnselectedRight.bmp", 12, 24},
    {"ui/lf/vuq/", "DemoImageUp.bmp", 120, 32},
    {"ui/lf/vuq/", "DemoImageDown.bmp", 120, 32},
};

std::string bytesOf(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

int runTool(const fs::path& out, const std::string& extra = "") {
    std::string cmd = std::string(ZIL_MAKE_BITMAPS) + " '" + out.string() + "'" + extra + " >/dev/null 2>&1";
    return std::system(cmd.c_str());
}

TEST(BitmapFiles, TheToolReproducesEveryCommittedFileAs32BitsOfItsSize) {
    testing::ScratchDir dir;
    fs::path out = fs::path(dir.path("out"));
    ASSERT_EQ(runTool(out), 0);
    for (const BitmapFile& f : kFiles) {
        std::string made = bytesOf(out / f.key / f.name);
        EXPECT_FALSE(made.empty()) << f.name;
        EXPECT_TRUE(made == bytesOf(testing::demoDir() / f.key / f.name)) << f.name << " differs from demo/";
        SDL_Surface* s = SDL_LoadBMP((out / f.key / f.name).c_str());
        ASSERT_NE(s, nullptr) << f.name;
        EXPECT_EQ(std::tuple(s->w, s->h, s->format->BitsPerPixel, s->format->Rmask),
                  std::tuple(f.w, f.h, Uint8{32}, Uint32{0x00FF0000})) << f.name;
        SDL_FreeSurface(s);
    }
    fs::path failed = fs::path(dir.path("failed"));
    EXPECT_NE(runTool(failed, " '" + dir.path("NoSuchFont.ttf") + "'"), 0);
    EXPECT_FALSE(fs::exists(failed / "ui/fonts/FontLucida14ASCII.bmp"));
}

TEST(BitmapFiles, FromTheDemoDirectoryAllOpenThroughAppConfig) {
    // A copy, so that nothing can write into demo/ itself.
    testing::InScratchDir dir;
    fs::copy(testing::demoDir(), dir.root(), fs::copy_options::recursive);
    AppConfig::Cell config;
    AppConfig::load(config);
    ImageManager images;
    for (const BitmapFile& f : kFiles) {
        std::string path = lookupResourcePath(config, f.key) + f.name;
        EXPECT_EQ(path, std::string(f.key) + f.name);
        EXPECT_NE(images.getImage(path), nullptr) << path;
    }
    FontContext fonts;
    EXPECT_EQ(loadFont(fonts, images, config, "lucida-14", ColorRGB{1.0, 0.81, 0.51}).font().height(), 17);
    EXPECT_FALSE(fs::exists("SDL_LoadBMP.log"));
}

}  // namespace
}  // namespace zil
