#include <array>
#include <string>

#include "ImageTestSupport.hpp"
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

TEST(GlyphTables, BothFontsAsDefined) {
    GlyphTable clean = tableOf("clean-14"), lucida = tableOf("lucida-14");
    EXPECT_EQ(clean.firstCode, 48);
    EXPECT_EQ(clean.glyphs.size(), 75u);    // '0' (48) to 'z' (122)
    EXPECT_EQ(clean.replacementIndex, -1);  // '/' (47): none
    EXPECT_EQ(lucida.firstCode, 32);
    EXPECT_EQ(lucida.glyphs.size(), 96u);
    EXPECT_EQ(lucida.replacementIndex, 31);  // '?' (63)
    struct Case {
        const GlyphTable* table;
        unsigned char c;
        Glyph glyph;
    } cases[] = {
        {&clean, 'A', {67, 0, 7, 12}},    // after the digits: 8+6+6+6+8+7+6+7+6+7 = 67
        {&clean, 'a', {241, 0, 6, 12}},   // 67 + upper case (18 x 7 + 8 x 6 = 174)
        {&clean, 'z', {407, 0, 6, 12}},   // the last: 413 - 6
        {&lucida, '!', {8, 0, 4, 15}},
        {&lucida, 'A', {278, 0, 11, 15}}, // ' ' to '/' sum 122, '0' to '?' 144, '@' 12
        {&lucida, 127, {845, 0, 6, 15}},  // 851 - 6
        {&lucida, 200, {257, 0, 9, 15}},  // none: '?', the last of '0' to '?': 122 + 144 - 9
        {&lucida, 31, {257, 0, 9, 15}},
    };
    for (const Case& c : cases) EXPECT_EQ(getChar(*c.table, c.c), c.glyph) << int(c.c);
    EXPECT_EQ(failureOf([&] { getChar(clean, ':'); }),
              "kind 1: Invalid character in BitmapFontFunc.getChar: : code: 58");
    EXPECT_EQ(failureOf([&] { getChar(clean, 255); }),
              "kind 1: Invalid character in BitmapFontFunc.getChar: \xFF code: 255");
}

TEST(GlyphTables, WidthsRunningOutOrLeftOver) {
    const std::array<CharacterSpec, 2> specs{CharacterSpec{'x', 'z'}, CharacterSpec{'a', 'a'}};
    const std::array<std::int32_t, 2> few{3, 4};
    GlyphTable t = buildGlyphTable('y', few, specs, 5, 1);
    EXPECT_EQ(t.firstCode, 'a');
    EXPECT_EQ(getChar(t, 'y'), (Glyph{3, 0, 4, 5}));
    EXPECT_FALSE(t.glyphs['z' - 'a']);
    EXPECT_EQ(getChar(t, 'a'), (Glyph{3, 0, 4, 5}));  // none: the replacement 'y'
    const std::array<std::int32_t, 6> many{3, 4, 5, 6, 7, 8};
    EXPECT_EQ(getChar(buildGlyphTable('y', many, specs, 5, 1), 'a'), (Glyph{12, 0, 6, 5}));  // 3 + 4 + 5
    EXPECT_EQ(failureOf([&] { buildGlyphTable('a', many, {}, 5, 1); }),
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
    SDL_Surface* cache = f.font.cache();
    for (int x = 0; x < 5; ++x) EXPECT_EQ(pixel(cache, x, 0), in[x] << 24 | red[x] << 16 | in[x] << 8) << x;
    EXPECT_EQ(pixel(cache, 5, 0), 10u << 24 | 5u << 16 | 10u << 8);
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
    struct Case {
        int x, y;
        Uint32 word;
    } cases[] = {
        {2, 2, 0xFFFFFFFF},  // painted; the rim of (3, 3) leaves it alone
        {1, 1, 0xFF000000},  // rim of (2, 2): black at its opacity
        {3, 3, 0xFF646464},  // painted at 100, alpha raised to 255 by (2, 2)'s rim
        {4, 4, 0x64000000},  // rim of (3, 3)
        {2, 3, 0}, {0, 4, 0}, {1, 5, 0},
    };
    for (const Case& k : cases) EXPECT_EQ(pixel(f.font.cache(), k.x, k.y), k.word) << k.x << "," << k.y;
    f.font.freeSurfaces();
    SDL_Surface* dst = testing::screenLike(4, 4);
    EXPECT_EQ(failureOf([&] { f.font.drawStringOn("a", 0, 0, dst); }),
              "CacheNotReady: No cache rendered in SDLBitmapFont.drawStringOn!");
    SDL_FreeSurface(dst);
}

// Solid blocks: 'a' 2 wide, 'b' 3 wide, spacing 1, no replacement.
struct BlockFont : TestFont {
    static constexpr std::array<CharacterSpec, 1> specs{CharacterSpec{'a', 'b'}};
    static constexpr std::array<std::int32_t, 2> widths{2, 3};
    BlockFont() : TestFont(5, 2, false, {1.0, 1.0, 1.0}, buildGlyphTable('?', widths, specs, 2, 1)) {
        for (int x = 0; x < 10; ++x) grey(x % 5, x / 5, 255);
    }
};

TEST(FontDrawing, GlyphsAdvanceByWidthAndSpacingAsMeasured) {
    BlockFont f;
    struct Case {
        std::string text;
        std::int32_t width;
        std::string row;  // where the destination was drawn on, from x = 1
    } cases[] = {
        {"", 0, "..............."},
        {"ab", 7, "##.###........."},    // 'b' at 1 + 2 + 1
        {"a b", 14, "##........###.."},  // a space without glyph: 6 + 1
        {"a:b", 8, "##..###........"},   // any other without glyph: 1
    };
    for (const Case& c : cases) {
        EXPECT_EQ(f.font.stringWidth(c.text), c.width) << c.text;
        SDL_Surface* dst = testing::screenLike(16, 3);
        f.font.drawStringOn(c.text, 1, 1, dst);
        std::string row, above;
        for (int x = 1; x < 16; ++x) row += pixel(dst, x, 1) ? '#' : '.';
        for (int x = 0; x < 16; ++x) above += pixel(dst, x, 0) ? '#' : '.';
        EXPECT_EQ(row, c.row) << c.text;
        EXPECT_EQ(above, std::string(16, '.'));
        SDL_FreeSurface(dst);
    }
}

TEST(FontDrawing, GlyphsFarOutsideTheDestinationAreNotWrappedOntoIt) {
    BlockFont f;
    SDL_Surface* dst = testing::screenLike(8, 4);
    for (auto [x, y] : {std::pair{65537, 1}, {1, 65537}, {-65535, 1}})  // 65537 reaches SDL's 16 bits as 1
        f.font.drawStringOn("ab", x, y, dst);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 8; ++x) EXPECT_EQ(pixel(dst, x, y), 0u) << x << "," << y;
    f.font.drawStringOn("ab", -2, -1, dst);  // partly visible: drawn, cut by SDL
    EXPECT_NE(pixel(dst, 1, 0), 0u);
    EXPECT_EQ(pixel(dst, 0, 0), 0u);
    SDL_FreeSurface(dst);
}

}  // namespace
}  // namespace zil
