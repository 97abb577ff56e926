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
    // Look bitmaps from the scratch directory, fonts from demo/.
    AppConfig::Cell config = testing::configFor(dir.root(), testing::demoDir() / "ui/fonts");

    std::string look(std::string_view name) { return dir.path(name); }
    void provide(std::string_view name) { std::filesystem::copy_file(testing::lookFile(name), look(name)); }
};

TEST_F(Releases, FontsThenBitmapsInOrderAndOnlyOnce) {
    provide("ButtonIn.bmp");
    provide("ButtonOut.bmp");
    ControlResources a, b;
    for (ControlResources* r : {&a, &b}) {
        r->fonts.push_back(loadFont(fonts, images, config, "lucida-14", accent));
        r->fonts.push_back(loadFont(fonts, images, config, "lucida-14", ColorRGB{1.0, 1.0, 1.0}));
        EXPECT_NE(r->lookBitmaps.take(images, config, "ButtonIn.bmp"), nullptr);
        EXPECT_NE(r->lookBitmaps.take(images, config, "ButtonOut.bmp"), nullptr);
    }
    std::shared_ptr<SDLBitmapFont> font = a.fonts[0].shared();
    EXPECT_EQ(images.count(look("ButtonIn.bmp")), 2);

    a.release();
    a.release();  // a second run gives nothing back
    EXPECT_TRUE(a.fonts.empty());
    EXPECT_EQ(b.fonts[0].count(), 1);
    EXPECT_EQ(images.count(look("ButtonIn.bmp")), 1);
    EXPECT_EQ(images.count(look("ButtonOut.bmp")), 1);

    b.release();
    EXPECT_EQ(font->bitmap(), nullptr);
    EXPECT_TRUE(fonts.fonts().empty());
    EXPECT_EQ(images.count(look("ButtonIn.bmp")), 0);
    images.pool().drain();
    fonts.pool().drain();
    EXPECT_EQ(images.pool().liveCount(), 0u);
    EXPECT_EQ(fonts.pool().liveCount(), 0u);
}

TEST_F(Releases, ABitmapThatNeverLoadedIsNotGivenBack) {
    // Control a asks for a bitmap that is missing; b loads it once it exists.
    ControlResources a, b;
    EXPECT_EQ(a.lookBitmaps.take(images, config, "CheckBoxChecked.bmp"), nullptr);
    provide("CheckBoxUnchecked.bmp");
    EXPECT_NE(a.lookBitmaps.take(images, config, "CheckBoxUnchecked.bmp"), nullptr);
    EXPECT_EQ(a.lookBitmaps.heldCount(), 1u);
    provide("CheckBoxChecked.bmp");
    SDL_Surface* held = b.lookBitmaps.take(images, config, "CheckBoxChecked.bmp");
    ASSERT_NE(held, nullptr);

    a.release();  // neither raises nor takes b's reference
    images.pool().drain();
    EXPECT_EQ(images.count(look("CheckBoxChecked.bmp")), 1);
    EXPECT_EQ(held->w, 13);
    EXPECT_EQ(images.count(look("CheckBoxUnchecked.bmp")), std::nullopt);
    b.release();
    EXPECT_EQ(images.count(look("CheckBoxChecked.bmp")), 0);
}

TEST_F(Releases, OwnFontsAreFreedCacheFirst) {
    ControlResources r;
    FontHandle shared = loadFont(fonts, images, config, "lucida-14", ColorRGB{1.0, 1.0, 1.0});
    std::shared_ptr<SDLBitmapFont> own = buildOutlineFont(images, config, "lucida-14");
    EXPECT_NE(own.get(), &shared.font());  // neither shared
    EXPECT_EQ(fonts.fonts().size(), 1u);    // nor listed,
    EXPECT_FALSE(own->framed());            // nor framed,
    EXPECT_EQ(own->colour(), (ColorRGB{1.0, 1.0, 1.0}));
    own->setColour(accent);
    SDL_Surface* dst = testing::screenLike(20, 20);
    own->drawStringOn("A", 0, 0, dst);
    SDL_FreeSurface(dst);
    r.ownFonts.push_back(own);
    r.release();
    EXPECT_EQ(own->cache(), nullptr);
    EXPECT_EQ(own->bitmap(), nullptr);
    EXPECT_TRUE(r.ownFonts.empty());
}

TEST_F(Releases, AnOpenRenderingBlockIsReported) {
    for (bool open : {false, true}) {
        RiState st;
        if (open) RiFrameBegin(st, 10, 10);
        ControlResources r;
        r.riContext = &st;
        std::string out = testing::stdoutOf([&] {
            r.release();
            r.release();
        });
        EXPECT_EQ(out, open ? "Unmatched calls to Ri*Begin / Ri*End functions!\n" : "") << open;
    }
}

}  // namespace
}  // namespace zil
