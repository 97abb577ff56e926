#include <array>
#include <string>

#include "PaintTestSupport.hpp"
#include "shell/Constants.hpp"
#include "ui/base/SDLBitmapFont.hpp"

namespace zil {
namespace {

using BitmapFontFunc::buildGlyphTable;
using BitmapFontFunc::getChar;
using testing::failureOf;
using testing::pixel;
using testing::setPixel;

GlyphTable tableOf(std::string_view name) {
    const auto* d = Constants::findFontDefinition(name);
    return buildGlyphTable(d->replacement, d->widths, d->specs, d->glyphHeight, d->spacing);
}

TEST(GlyphTables, GlyphsLieSideBySideInSpecOrder) {
    GlyphTable clean = tableOf("clean-14"), lucida = tableOf("lucida-14");
    const std::tuple<const GlyphTable*, unsigned char, Glyph> cases[] = {
        {&clean, 'A', {67, 0, 7, 12}},     // after the digits: 8+6+6+6+8+7+6+7+6+7 = 67
        {&clean, 'z', {407, 0, 6, 12}},    // the last: 413 - 6
        {&lucida, 'A', {278, 0, 11, 15}},  // ' ' to '/' sum 122, '0' to '?' 144, '@' 12
        {&lucida, 127, {845, 0, 6, 15}},   // 851 - 6
        {&lucida, 200, {257, 0, 9, 15}},   // none: '?', the last of '0' to '?': 122 + 144 - 9
    };
    for (const auto& [table, c, glyph] : cases) EXPECT_EQ(getChar(*table, c), glyph) << int(c);
    EXPECT_EQ(failureOf([&] { getChar(clean, ':'); }),  // its replacement '/' has no glyph
              "kind 1: Invalid character in BitmapFontFunc.getChar: : code: 58");
    // Widths running out leave 'z' without glyph; surplus widths are ignored.
    const std::array<CharacterSpec, 2> specs{CharacterSpec{'x', 'z'}, CharacterSpec{'a', 'a'}};
    const std::array<std::int32_t, 6> widths{3, 4, 5, 6, 7, 8};
    GlyphTable few = buildGlyphTable('y', std::span(widths).first(2), specs, 5, 1);
    EXPECT_FALSE(few.glyphs['z' - 'a']);
    EXPECT_EQ(getChar(few, 'a'), (Glyph{3, 0, 4, 5}));  // none: the replacement 'y'
    EXPECT_EQ(getChar(buildGlyphTable('y', widths, specs, 5, 1), 'a'), (Glyph{12, 0, 6, 5}));  // 3 + 4 + 5
    EXPECT_EQ(failureOf([&] { buildGlyphTable('a', widths, {}, 5, 1); }),
              "kind 1: No character specs in BitmapFontFunc!");
}

// A font over a bitmap made here, glyph intensities set pixel by pixel.
struct TestFont {
    SDLBitmapFont font;
    TestFont(int w, int h, bool framed, ColorRGB colour, GlyphTable table = {})
        : font(createFontSurface(w, h), std::move(table), colour, framed) {}
    void grey(int x, int y, Uint32 i) { setPixel(font.bitmap(), x, y, i << 16 | i << 8 | i); }
};

TEST(FontCache, PaintRoundsEachChannelToEven) {
    // red 0.5: red = 0.5 x (i / 255) x 255 = i / 2, halves going to the even neighbour.
    const Uint32 in[] = {1, 3, 5, 7, 255}, red[] = {0, 2, 2, 4, 128};
    TestFont f(6, 1, false, {0.5, 1.0, 0.0});
    for (int x = 0; x < 5; ++x) f.grey(x, 0, in[x]);
    setPixel(f.font.bitmap(), 5, 0, 30u << 16);  // intensity (30 + 0 + 0) div 3 = 10
    f.font.copyToAlphaSurface();
    for (int x = 0; x < 5; ++x) EXPECT_EQ(pixel(f.font.cache(), x, 0), in[x] << 24 | red[x] << 16 | in[x] << 8) << x;
    EXPECT_EQ(pixel(f.font.cache(), 5, 0), 10u << 24 | 5u << 16 | 10u << 8);
    f.font.setColour({0.0, 0.0, 1.0});  // drops the cache: the next one is blue
    f.font.copyToAlphaSurface();
    EXPECT_EQ(pixel(f.font.cache(), 4, 0), 0xFF0000FFu);
}

TEST(FontCache, FramedGlyphsGetARimUpLeftAndDownRight) {
    TestFont f(6, 6, true, {1.0, 1.0, 1.0});
    f.grey(2, 2, 255);
    f.grey(3, 3, 100);
    f.grey(0, 4, 255);  // on the edge: outside the interior
    f.font.copyToAlphaSurface();
    const std::tuple<int, int, Uint32> cases[] = {
        {2, 2, 0xFFFFFFFF},  // painted; the rim of (3, 3) leaves it alone
        {1, 1, 0xFF000000},  // rim of (2, 2): black at its opacity
        {3, 3, 0xFF646464},  // painted at 100, alpha raised to 255 by (2, 2)'s rim
        {4, 4, 0x64000000},  // rim of (3, 3)
        {2, 3, 0}, {0, 4, 0}, {1, 5, 0},
    };
    for (const auto& [x, y, word] : cases) EXPECT_EQ(pixel(f.font.cache(), x, y), word) << x << "," << y;
    f.font.freeSurfaces();
    SDL_Surface* dst = testing::screenLike(4, 4);
    EXPECT_EQ(failureOf([&] { f.font.drawStringOn("a", 0, 0, dst); }),
              "CacheNotReady: No cache rendered in SDLBitmapFont.drawStringOn!");
    SDL_FreeSurface(dst);
}

TEST(FontDrawing, GlyphsAdvanceByWidthAndSpacingAsMeasured) {
    using testing::Picture;
    // Solid blocks: 'a' 2 wide, 'b' 3 wide, spacing 1, no replacement.
    const std::array<CharacterSpec, 1> specs{CharacterSpec{'a', 'b'}};
    TestFont f(5, 2, false, {1.0, 1.0, 1.0}, buildGlyphTable('?', std::array{2, 3}, specs, 2, 1));
    SDL_FillRect(f.font.bitmap(), nullptr, 0xFFFFFFFF);
    auto drawn = [&](std::string_view text, int x, int y) {
        testing::SurfacePtr s = testing::target(16, 4);
        f.font.drawStringOn(text, x, y, s.get());
        return testing::picture(s.get());
    };
    const std::string none(16, '.');
    const std::tuple<std::string, std::int32_t, std::string> cases[] = {
        {"ab", 7, ".WW.WWW........."},    // 'b' at 1 + 2 + 1
        {"a b", 14, ".WW........WWW.."},  // a space without glyph: 6 + 1
        {"a:b", 8, ".WW..WWW........"},   // any other without glyph: 1
    };
    for (const auto& [text, width, row] : cases) {
        EXPECT_EQ(f.font.stringWidth(text), width) << text;
        EXPECT_EQ(drawn(text, 1, 1), (Picture{none, row, row, none})) << text;
    }
    // 65537 reaches SDL's 16 bits as 1: far off glyphs are not wrapped onto it.
    for (auto [x, y] : {std::pair{65537, 1}, {1, 65537}, {-65535, 1}})
        EXPECT_EQ(drawn("ab", x, y), (Picture{none, none, none, none})) << x << "," << y;
    EXPECT_EQ(drawn("ab", -2, -1)[0], ".WWW............");  // partly visible: cut by SDL
}

}  // namespace
}  // namespace zil
