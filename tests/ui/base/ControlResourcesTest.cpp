#include <filesystem>
#include <string>

#include "ImageTestSupport.hpp"
#include "render/RiState.hpp"
#include "ui/base/ControlResources.hpp"
#include "ui/base/ImageManager.hpp"

namespace zil {
namespace {

constexpr ColorRGB accent{1.0, 0.81, 0.51};

class Releases : public ::testing::Test {
protected:
    testing::InScratchDir dir;
    ImageManager images;
    FontContext fonts;
    // Look bitmaps from the scratch directory (only ButtonIn.bmp), fonts from demo/.
    AppConfig::Cell config = testing::configFor(dir.root(), testing::demoDir() / "ui/fonts");
    const std::string in = dir.path("ButtonIn.bmp");
    Releases() { std::filesystem::copy_file(testing::lookFile("ButtonIn.bmp"), in); }
};

TEST_F(Releases, SharedResourcesGoBackOnceAndOnlyThoseThatLoaded) {
    ControlResources a, b;
    for (ControlResources* r : {&a, &b}) {
        r->fonts.push_back(loadFont(fonts, images, config, "lucida-14", accent));
        EXPECT_NE(r->lookBitmaps.take(images, config, "ButtonIn.bmp"), nullptr);
    }
    EXPECT_EQ(a.lookBitmaps.take(images, config, "ButtonOut.bmp"), nullptr);  // missing: not held
    std::shared_ptr<SDLBitmapFont> font = a.fonts[0].shared();
    a.release();
    a.release();  // a second run gives nothing back
    EXPECT_EQ(b.fonts[0].count(), 1);
    EXPECT_EQ(images.count(in), 1);
    b.release();
    EXPECT_EQ(font->bitmap(), nullptr);
    EXPECT_TRUE(fonts.fonts().empty());
    EXPECT_EQ(images.count(in), 0);
}

TEST_F(Releases, OwnFontsAreUnsharedAndFreedWhole) {
    FontHandle shared = loadFont(fonts, images, config, "lucida-14", ColorRGB{1.0, 1.0, 1.0});
    std::shared_ptr<SDLBitmapFont> own = buildOutlineFont(images, config, "lucida-14");
    EXPECT_NE(own.get(), &shared.font());
    EXPECT_EQ(fonts.fonts().size(), 1u);
    EXPECT_FALSE(own->framed());
    SDL_Surface* dst = testing::screenLike(20, 20);
    own->drawStringOn("A", 0, 0, dst);
    SDL_FreeSurface(dst);
    ControlResources r;
    r.ownFonts.push_back(own);
    r.release();
    EXPECT_EQ(own->cache(), nullptr);
    EXPECT_EQ(own->bitmap(), nullptr);
}

TEST_F(Releases, AnOpenRenderingBlockIsReportedOnce) {
    for (bool open : {false, true}) {
        RiState st;
        if (open) RiFrameBegin(st, 10, 10);
        ControlResources r;
        r.riContext = &st;
        EXPECT_EQ(testing::stdoutOf([&] { r.release(), r.release(); }),
                  open ? "Unmatched calls to Ri*Begin / Ri*End functions!\n" : "");
    }
}

}  // namespace
}  // namespace zil
