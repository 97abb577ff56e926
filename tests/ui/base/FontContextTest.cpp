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
    EXPECT_EQ(fonts.fonts().size(), 1u);
    FontHandle c = load("lucida-14", ColorRGB{1.0, 0.81, 0.5100001});
    FontHandle d = load("clean-14", accent);
    EXPECT_NE(c.shared(), a.shared());
    EXPECT_NE(d.shared(), a.shared());
    EXPECT_EQ(c.count(), 1);
    EXPECT_EQ(fonts.fonts().size(), 3u);
    EXPECT_EQ(fonts.pool().liveCount(), 3u);
    // The font bitmap was only borrowed: given back, freed by the next drain.
    EXPECT_EQ(images.count(lucidaPath), 0);
    images.pool().drain();
    EXPECT_EQ(images.count(lucidaPath), std::nullopt);
    EXPECT_NE(a.font().bitmap(), nullptr);
}

TEST_F(Fonts, OutlineFontsAreTwoPixelsLargerPerGlyph) {
    struct Case {
        const char* name;
        int width, height;  // plain width + 2 per glyph, glyph height + 2
        Glyph first;
    } cases[] = {
        {"lucida-14", 851 + 2 * 96, 17, {0, 0, 10, 17}},
        {"clean-14", 413 + 2 * 62, 14, {0, 0, 10, 14}},
    };
    for (const Case& c : cases) {
        FontHandle h = load(c.name, label);
        const SDLBitmapFont& f = h.font();
        EXPECT_EQ(f.bitmap()->w, c.width) << c.name;
        EXPECT_EQ(f.bitmap()->h, c.height);
        EXPECT_EQ(f.height(), c.height);
        EXPECT_EQ(f.bitmap()->format->Amask, 0xFF000000u);
        EXPECT_TRUE(f.framed());
        EXPECT_EQ(f.colour(), label);
        EXPECT_EQ(f.glyphTable().spacing, -2);
        EXPECT_EQ(*f.glyphTable().glyphs[0], c.first);
        EXPECT_EQ(f.cache(), nullptr);  // rendered on first drawing
    }
}

TEST_F(Fonts, OutlineGlyphsStandOnePixelInsideTheirCells) {
    FontHandle h = load("lucida-14", accent);
    SDL_Surface* file = SDL_LoadBMP(lucidaPath.c_str());
    ASSERT_NE(file, nullptr);
    SDL_Surface* outline = h.font().bitmap();
    // 'A' is glyph k = 33: plain x 278, outline cell x 278 + 2 x 33 = 344, glyph at 345.
    const Glyph cell = BitmapFontFunc::getChar(h.font().glyphTable(), 'A');
    EXPECT_EQ(cell, (Glyph{344, 0, 13, 17}));
    bool inked = false;
    for (int y = 0; y < 17; ++y) {
        for (int x = 0; x < 13; ++x) {
            Uint32 got = pixel(outline, 344 + x, y) & 0xFFFFFF;
            bool inside = x >= 1 && x <= 11 && y >= 1 && y <= 15;
            Uint32 want = inside ? pixel(file, 278 + x - 1, y - 1) & 0xFFFFFF : 0;
            EXPECT_EQ(got, want) << x << "," << y;
            inked |= got != 0;
        }
    }
    EXPECT_TRUE(inked);
    SDL_FreeSurface(file);
}

TEST_F(Fonts, MeasuredAndDrawnAdvancesAgree) {
    FontHandle lucida = load("lucida-14", accent);
    FontHandle clean = load("clean-14", accent);
    struct Case {
        const FontHandle* font;
        std::string text;
        std::int32_t width;
    } cases[] = {
        {&lucida, "", 0},
        {&lucida, "ab", 19},        // 9 + 10: outline cells 11 and 12, spacing -2
        {&lucida, "a\xC3\xA9", 27},  // two bytes without glyph, each drawn as '?' (9)
        {&clean, "a a", 16},       // 6, then a space without glyph: 6 - 2, then 6
    };
    for (const Case& c : cases) EXPECT_EQ(c.font->font().stringWidth(c.text), c.width) << c.text;

    // In clean-14 the space draws nothing: the second 'a' lands 10 pixels on.
    SDL_Surface* one = testing::screenLike(40, 20);
    SDL_Surface* spaced = testing::screenLike(40, 20);
    clean.font().drawStringOn("a", 10, 2, one);
    clean.font().drawStringOn("a a", 0, 2, spaced);
    int inked = 0;
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 40; ++x) {
            Uint32 want = x < 10 ? pixel(one, x + 10, y) : pixel(one, x, y);  // the first 'a' is the second moved left
            EXPECT_EQ(pixel(spaced, x, y), want) << x << "," << y;
            inked += want != 0;
        }
    }
    EXPECT_GT(inked, 20);
    SDL_FreeSurface(one);
    SDL_FreeSurface(spaced);
}

TEST_F(Fonts, UnknownNameOrMissingBitmapAddsNothing) {
    EXPECT_EQ(failureOf([&] { load("helvetica-12", accent); }), "RESSOURCE: Font helvetica-12 not found!\n");
    dir.write("FontLucida14ASCII.bmp", "BM not a bitmap");
    for (const auto& fontDir : {dir.root() / "nowhere", dir.root()}) {
        config = testing::configFor(testing::demoDir(), fontDir);
        std::string path = (fontDir / "FontLucida14ASCII.bmp").string();
        EXPECT_EQ(failureOf([&] { load("lucida-14", accent); }), "RESSOURCE: Could not open font file " + path + "\n");
        EXPECT_EQ(images.count(path), std::nullopt);
    }
    EXPECT_TRUE(fonts.fonts().empty());
    EXPECT_EQ(fonts.pool().liveCount(), 0u);
    EXPECT_EQ(images.pool().liveCount(), 0u);
    // Without the table the bitmap is looked for in the working directory.
    config.reset();
    EXPECT_EQ(failureOf([&] { load("clean-14", accent); }), "RESSOURCE: Could not open font file ./FontClean14.bmp\n");
}

TEST_F(Fonts, LastReleaseFreesAtOnceAndThePoolNeverAgain) {
    test::Capture out;
    FontHandle a = load("lucida-14", accent);
    FontHandle b = load("lucida-14", accent);
    FontHandle keep = load("lucida-14", label);
    std::shared_ptr<SDLBitmapFont> font = a.shared();
    SDL_Surface* dst = testing::screenLike(30, 20);
    a.font().drawStringOn("x", 0, 0, dst);
    ASSERT_NE(font->cache(), nullptr);
    a.release();
    EXPECT_FALSE(a);
    EXPECT_EQ(b.count(), 1);
    EXPECT_NE(font->bitmap(), nullptr);
    b.release();
    EXPECT_EQ(font->bitmap(), nullptr);  // freed at once, cache and all
    EXPECT_EQ(font->cache(), nullptr);
    ASSERT_EQ(fonts.fonts().size(), 1u);
    EXPECT_EQ(fonts.fonts()[0].colour, label);
    b.release();  // an empty handle gives nothing back
    fonts.pool().drain();
    EXPECT_EQ(fonts.pool().liveCount(), 1u);
    // A new request builds the font anew.
    FontHandle again = load("lucida-14", accent);
    EXPECT_NE(again.shared(), font);
    EXPECT_EQ(again.count(), 1);
    again.release();
    fonts.pool().destroy(out.out());
    EXPECT_EQ(out.text(), "An object in an autorelease pool has 1 references during destroy\n");
    EXPECT_EQ(keep.font().bitmap(), nullptr);
    EXPECT_TRUE(fonts.fonts().empty());
    keep.release();  // after the destroy: nothing is freed twice
    SDL_FreeSurface(dst);
}

TEST_F(Fonts, AnOwnOutlineFontIsNeitherSharedNorFramed) {
    FontHandle shared = load("lucida-14", ColorRGB{1.0, 1.0, 1.0});
    std::unique_ptr<SDLBitmapFont> own = buildOutlineFont(images, config, "lucida-14");
    EXPECT_NE(own.get(), &shared.font());
    EXPECT_FALSE(own->framed());
    EXPECT_EQ(own->colour(), (ColorRGB{1.0, 1.0, 1.0}));
    EXPECT_EQ(own->bitmap()->w, 851 + 2 * 96);
    EXPECT_EQ(fonts.fonts().size(), 1u);
    EXPECT_EQ(shared.count(), 1);
    EXPECT_EQ(failureOf([&] { buildOutlineFont(images, config, "lucida"); }), "RESSOURCE: Font lucida not found!\n");
}

}  // namespace
}  // namespace zil
