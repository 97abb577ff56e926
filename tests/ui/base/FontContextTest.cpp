#include <filesystem>
#include <string>

#include "ImageTestSupport.hpp"
#include "records/Capture.hpp"
#include "ui/base/FontContext.hpp"
#include "ui/base/ImageManager.hpp"

namespace zil {
namespace {

using testing::failureOf;
using testing::pixel;

constexpr ColorRGB accent{1.0, 0.81, 0.51};
constexpr ColorRGB label{0.5, 0.63, 0.75};

class Fonts : public ::testing::Test {
protected:
    testing::InScratchDir dir;
    ImageManager images;
    FontContext fonts;
    AppConfig::Cell config = testing::demoConfig();
    const std::string lucidaPath = testing::fontFile("FontLucida14ASCII.bmp");

    FontHandle load(std::string_view name, ColorRGB colour) { return loadFont(fonts, images, config, name, colour); }
};

TEST_F(Fonts, SharedByNameAndExactColour) {
    FontHandle a = load("lucida-14", accent);
    FontHandle b = load("lucida-14", ColorRGB{1.0, 0.81, 0.51});
    EXPECT_EQ(a.shared(), b.shared());
    EXPECT_EQ(a.count(), 2);
    FontHandle c = load("lucida-14", ColorRGB{1.0, 0.81, 0.5100001});
    FontHandle d = load("clean-14", accent);
    EXPECT_NE(c.shared(), a.shared());
    EXPECT_NE(d.shared(), a.shared());
    EXPECT_EQ(fonts.fonts().size(), 3u);
    EXPECT_EQ(fonts.pool().liveCount(), 3u);
    // The bitmap file was only borrowed.
    EXPECT_EQ(images.count(lucidaPath), 0);
    // Outline fonts: every cell 2 wider, 2 higher; spacing -2; framed; cache on first drawing.
    for (auto [h, w, fh] : {std::tuple{&a, 851 + 2 * 96, 17}, {&d, 413 + 2 * 62, 14}}) {
        const SDLBitmapFont& f = h->font();
        EXPECT_EQ(f.bitmap()->w, w);
        EXPECT_EQ(f.height(), fh);
        EXPECT_EQ(f.glyphTable().spacing, -2);
        EXPECT_TRUE(f.framed());
        EXPECT_EQ(f.colour(), accent);
        EXPECT_EQ(f.cache(), nullptr);
    }
}

TEST_F(Fonts, OutlineGlyphsStandOnePixelInsideTheirCells) {
    FontHandle h = load("lucida-14", accent);
    SDL_Surface* file = SDL_LoadBMP(lucidaPath.c_str());
    ASSERT_NE(file, nullptr);
    // 'A' is glyph k = 33: plain x 278, outline cell at 278 + 2 x 33 = 344, 11 + 2 wide.
    EXPECT_EQ(BitmapFontFunc::getChar(h.font().glyphTable(), 'A'), (Glyph{344, 0, 13, 17}));
    int inked = 0;
    for (int y = 0; y < 17; ++y) {
        for (int x = 0; x < 13; ++x) {
            Uint32 got = pixel(h.font().bitmap(), 344 + x, y) & 0xFFFFFF;
            bool inside = x >= 1 && x <= 11 && y >= 1 && y <= 15;
            EXPECT_EQ(got, inside ? pixel(file, 277 + x, y - 1) & 0xFFFFFF : 0) << x << "," << y;
            inked += got != 0;
        }
    }
    EXPECT_GT(inked, 10);
    SDL_FreeSurface(file);
}

TEST_F(Fonts, MeasuredAndDrawnAdvancesAgree) {
    FontHandle lucida = load("lucida-14", accent), clean = load("clean-14", accent);
    EXPECT_EQ(lucida.font().stringWidth(""), 0);
    EXPECT_EQ(lucida.font().stringWidth("ab"), 19);  // 9 + 10
    EXPECT_EQ(lucida.font().stringWidth("a\xC3\xA9"), 27);  // no glyph: '?' (9) twice
    EXPECT_EQ(clean.font().stringWidth("a a"), 16);  // 6, a space without glyph 6 - 2, 6
    // In clean-14 the space draws nothing: the second 'a' is the first moved 10 on.
    SDL_Surface* one = testing::screenLike(40, 20);
    SDL_Surface* spaced = testing::screenLike(40, 20);
    clean.font().drawStringOn("a", 10, 2, one);
    clean.font().drawStringOn("a a", 0, 2, spaced);
    int inked = 0;
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 40; ++x) {
            Uint32 want = x < 10 ? pixel(one, x + 10, y) : pixel(one, x, y);
            EXPECT_EQ(pixel(spaced, x, y), want) << x << "," << y;
            inked += want != 0;
        }
    }
    EXPECT_GT(inked, 20);
    SDL_FreeSurface(one);
    SDL_FreeSurface(spaced);
}

TEST_F(Fonts, FailuresAddNothing) {
    EXPECT_EQ(failureOf([&] { load("helvetica-12", accent); }), "RESSOURCE: Font helvetica-12 not found!\n");
    dir.write("FontLucida14ASCII.bmp", "BM not a bitmap");
    for (const auto& fontDir : {dir.root() / "nowhere", dir.root()}) {
        config = testing::configFor(testing::demoDir(), fontDir);
        std::string path = (fontDir / "FontLucida14ASCII.bmp").string();
        EXPECT_EQ(failureOf([&] { load("lucida-14", accent); }), "RESSOURCE: Could not open font file " + path + "\n");
    }
    config.reset();  // no table: the working directory
    EXPECT_EQ(failureOf([&] { load("clean-14", accent); }), "RESSOURCE: Could not open font file ./FontClean14.bmp\n");
    // 16,300 + 2 x 96 pixels would pass SDL's 16-bit pitch.
    SDL_Surface* wide = testing::screenLike(16300, 1);
    ASSERT_EQ(SDL_SaveBMP(wide, dir.path("FontLucida14ASCII.bmp").c_str()), 0);
    SDL_FreeSurface(wide);
    config = testing::configFor(testing::demoDir(), dir.root());
    EXPECT_THROW(load("lucida-14", accent), Size);
    EXPECT_EQ(images.count(dir.path("FontLucida14ASCII.bmp")), 0);  // given back all the same
    EXPECT_TRUE(fonts.fonts().empty());
    EXPECT_EQ(fonts.pool().liveCount(), 0u);
}

TEST_F(Fonts, LastReleaseFreesAtOnceAndThePoolNeverAgain) {
    test::Capture out;
    FontHandle a = load("lucida-14", accent), b = load("lucida-14", accent), keep = load("lucida-14", label);
    std::shared_ptr<SDLBitmapFont> font = a.shared();
    SDL_Surface* dst = testing::screenLike(30, 20);
    a.font().drawStringOn("x", 0, 0, dst);
    SDL_FreeSurface(dst);
    a.release();
    EXPECT_EQ(b.count(), 1);
    EXPECT_NE(font->bitmap(), nullptr);
    b.release();
    EXPECT_EQ(font->bitmap(), nullptr);  // at once, cache and all
    EXPECT_EQ(font->cache(), nullptr);
    ASSERT_EQ(fonts.fonts().size(), 1u);
    EXPECT_EQ(fonts.fonts()[0].colour, label);
    b.release();  // an emptied handle gives nothing back
    FontHandle again = load("lucida-14", accent);  // built anew
    EXPECT_NE(again.shared(), font);
    again.release();
    fonts.pool().destroy(out.out());
    EXPECT_EQ(out.text(), "An object in an autorelease pool has 1 references during destroy\n");
    EXPECT_EQ(keep.font().bitmap(), nullptr);
    EXPECT_TRUE(fonts.fonts().empty());
    keep.release();  // after the destroy: nothing freed twice
}

}  // namespace
}  // namespace zil
