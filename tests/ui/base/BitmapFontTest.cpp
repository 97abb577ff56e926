#include <array>
#include <string>

#include "ImageTestSupport.hpp"
#include "ui/base/BitmapFontFunc.hpp"
#include "ui/base/FontTables.hpp"
#include "ui/base/SDLBitmapFont.hpp"

namespace zil {
namespace {

using BitmapFontFunc::buildGlyphTable;
using BitmapFontFunc::getChar;
using testing::pixel;
using testing::setPixel;

GlyphTable tableOf(std::string_view name) {
    const auto* d = FontTables::findFontDefinition(name);
    return buildGlyphTable(d->replacement, d->widths, d->specs, d->glyphHeight, d->spacing);
}

TEST(GlyphTables, BothFontsAsDefined) {
    GlyphTable clean = tableOf("clean-14");
    EXPECT_EQ(clean.firstCode, 48);
    EXPECT_EQ(clean.glyphs.size(), 75u);      // '0' (48) to 'z' (122)
    EXPECT_EQ(clean.replacementIndex, -1);    // '/' is 47: no replacement glyph
    EXPECT_EQ(clean.spacing, 2);
    GlyphTable lucida = tableOf("lucida-14");
    EXPECT_EQ(lucida.firstCode, 32);
    EXPECT_EQ(lucida.glyphs.size(), 96u);
    EXPECT_EQ(lucida.replacementIndex, 31);   // '?' is 63

    struct Case {
        const GlyphTable* table;
        unsigned char c;
        Glyph glyph;
    } cases[] = {
        {&clean, '0', {0, 0, 8, 12}},
        {&clean, 'A', {67, 0, 7, 12}},    // after the digits: 8+6+6+6+8+7+6+7+6+7 = 67
        {&clean, 'a', {241, 0, 6, 12}},   // 67 + upper case (18 x 7 + 8 x 6 = 174)
        {&clean, 'z', {407, 0, 6, 12}},   // the last: 413 - 6
        {&lucida, ' ', {0, 0, 8, 15}},
        {&lucida, '!', {8, 0, 4, 15}},
        {&lucida, 'A', {278, 0, 11, 15}}, // ' ' to '/' 122, '0' to '?' 144, '@' 12
        {&lucida, 127, {845, 0, 6, 15}},  // the last: 851 - 6
        {&lucida, 200, {257, 0, 9, 15}},  // no glyph: '?', the last of '0' to '?': 122 + 144 - 9
        {&lucida, 31, {257, 0, 9, 15}},
    };
    for (const Case& c : cases) EXPECT_EQ(getChar(*c.table, c.c), c.glyph) << int(c.c);
}

TEST(GlyphTables, WidthsRunningOutOrLeftOver) {
    const std::array<CharacterSpec, 2> specs{CharacterSpec{'x', 'z'}, CharacterSpec{'a', 'a'}};
    const std::array<std::int32_t, 2> few{3, 4};
    GlyphTable t = buildGlyphTable('y', few, specs, 5, 1);
    EXPECT_EQ(t.firstCode, 'a');
    EXPECT_EQ(t.glyphs.size(), 26u);
    EXPECT_EQ(getChar(t, 'x'), (Glyph{0, 0, 3, 5}));
    EXPECT_EQ(getChar(t, 'y'), (Glyph{3, 0, 4, 5}));
    EXPECT_FALSE(t.glyphs['z' - 'a']);
    EXPECT_EQ(getChar(t, 'a'), (Glyph{3, 0, 4, 5}));  // no glyph: the replacement 'y'

    const std::array<std::int32_t, 6> many{3, 4, 5, 6, 7, 8};
    t = buildGlyphTable('y', many, specs, 5, 1);
    EXPECT_EQ(getChar(t, 'a'), (Glyph{12, 0, 6, 5}));  // after 3 + 4 + 5; 7 and 8 unused

    EXPECT_EQ(testing::failureOf([&] { buildGlyphTable('a', many, {}, 5, 1); }),
              "kind 1: No character specs in BitmapFontFunc!");
}

TEST(GlyphTables, NoGlyphAndNoReplacementRaises) {
    GlyphTable clean = tableOf("clean-14");
    for (auto [c, text] : {std::pair<unsigned char, std::string>{':', ": code: 58"}, {' ', "  code: 32"},
                           {'[', "[ code: 91"}, {255, "\xFF code: 255"}})
        EXPECT_EQ(testing::failureOf([&] { getChar(clean, c); }),
                  "kind 1: Invalid character in BitmapFontFunc.getChar: " + text);
}

// A font over a 32-bit alpha bitmap made in the test.
struct TestFont {
    SDLBitmapFont font;
    TestFont(int w, int h, bool framed, ColorRGB colour)
        : font(createFontSurface(w, h), GlyphTable{}, colour, framed) {}
    void grey(int x, int y, Uint32 i) { setPixel(font.bitmap(), x, y, i << 16 | i << 8 | i); }
};

TEST(FontCache, PaintRoundsEachChannelToEven) {
    // red 0.5: red = 0.5 x (i / 255) x 255 = i / 2, halves to the even neighbour.
    const Uint32 in[] = {1, 3, 5, 7, 255};
    const Uint32 red[] = {0, 2, 2, 4, 128};
    TestFont f(6, 1, false, {0.5, 1.0, 0.0});
    for (int x = 0; x < 5; ++x) f.grey(x, 0, in[x]);
    // The mean of the colour bytes decides: (30 + 0 + 0) div 3 = 10.
    setPixel(f.font.bitmap(), 5, 0, 30u << 16);
    f.font.copyToAlphaSurface();
    SDL_Surface* cache = f.font.cache();
    ASSERT_NE(cache, nullptr);
    EXPECT_EQ(cache->format->BitsPerPixel, 32);
    EXPECT_EQ(cache->format->Amask, 0xFF000000u);
    for (int x = 0; x < 5; ++x) EXPECT_EQ(pixel(cache, x, 0), in[x] << 24 | red[x] << 16 | in[x] << 8) << x;
    EXPECT_EQ(pixel(cache, 5, 0), 10u << 24 | 5u << 16 | 10u << 8);
    // Rendered once: a second call keeps the same cache; a new colour drops it.
    f.font.copyToAlphaSurface();
    EXPECT_EQ(f.font.cache(), cache);
    f.font.setColour({0.0, 0.0, 1.0});
    EXPECT_EQ(f.font.cache(), nullptr);
    f.font.copyToAlphaSurface();
    EXPECT_EQ(pixel(f.font.cache(), 0, 0), 1u << 24 | 1u);  // intensity 1 in blue 1.0
}

TEST(FontCache, FramedGlyphsGetARimUpLeftAndDownRight) {
    // Interior pixels (2, 2) at 255 and (3, 3) at 100; the edge pixel (0, 4) is outside the interior.
    TestFont f(6, 6, true, {1.0, 1.0, 1.0});
    f.grey(2, 2, 255);
    f.grey(3, 3, 100);
    f.grey(0, 4, 255);
    f.font.copyToAlphaSurface();
    SDL_Surface* c = f.font.cache();
    struct Case {
        int x, y;
        Uint32 word;
    } cases[] = {
        {2, 2, 0xFFFFFFFF},                          // painted, rims never darken its colour
        {1, 1, 0xFF000000},                          // rim of (2, 2): black at its opacity
        {3, 3, 0xFF000000 | 100u << 16 | 100u << 8 | 100u},  // painted at 100, alpha raised to 255 by (2, 2)'s rim
        {4, 4, 100u << 24},                          // rim of (3, 3)
        {2, 3, 0}, {3, 2, 0},                        // not diagonal neighbours
        {0, 4, 0},                                   // the edge is not painted
        {1, 5, 0},                                   // nor rimmed
    };
    for (const Case& k : cases) EXPECT_EQ(pixel(c, k.x, k.y), k.word) << k.x << "," << k.y;
}

TEST(FontCache, FreedFontHasNoCacheToDrawWith) {
    TestFont f(4, 4, false, {1.0, 1.0, 1.0});
    f.font.copyToAlphaSurface();
    f.font.freeSurfaces();
    EXPECT_EQ(f.font.cache(), nullptr);
    EXPECT_EQ(f.font.bitmap(), nullptr);
    SDL_Surface* dst = testing::screenLike(4, 4);
    EXPECT_EQ(testing::failureOf([&] { f.font.drawStringOn("a", 0, 0, dst); }),
              "CacheNotReady: No cache rendered in SDLBitmapFont.drawStringOn!");
    SDL_FreeSurface(dst);
    f.font.freeSurfaces();  // twice is harmless
}

// A one-row font whose glyphs are solid blocks: 'a' 2 wide, 'b' 3 wide, no
// replacement; spacing 1.
struct BlockFont {
    SDLBitmapFont font;
    static GlyphTable table() {
        static const std::array<CharacterSpec, 1> specs{CharacterSpec{'a', 'b'}};
        static const std::array<std::int32_t, 2> widths{2, 3};
        return buildGlyphTable('?', widths, specs, 2, 1);
    }
    BlockFont() : font(createFontSurface(5, 2), table(), {1.0, 1.0, 1.0}, false) {
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 5; ++x) setPixel(font.bitmap(), x, y, 0xFFFFFF);
    }
};

TEST(FontDrawing, GlyphsAdvanceByWidthAndSpacingAsMeasured) {
    BlockFont f;
    struct Case {
        std::string text;
        std::int32_t width;
        std::string row;  // '#' where the destination was drawn on, from x = 1
    } cases[] = {
        {"", 0, "..............."},
        {"a", 3, "##............."},
        {"ab", 7, "##.###........."},  // 'b' at 1 + 2 + 1
        {"a b", 14, "##........###.."},  // a space without glyph: 6 + 1
        {"a:b", 8, "##..###........"},   // another character without glyph: 1
    };
    for (const Case& c : cases) {
        EXPECT_EQ(f.font.stringWidth(c.text), c.width) << c.text;
        SDL_Surface* dst = testing::screenLike(16, 3);
        f.font.drawStringOn(c.text, 1, 1, dst);
        std::string row;
        for (int x = 1; x < 16; ++x) row += pixel(dst, x, 1) ? '#' : '.';
        EXPECT_EQ(row, c.row) << c.text;
        for (int x = 0; x < 16; ++x) EXPECT_EQ(pixel(dst, x, 0), 0u) << "above the text at " << x;
        SDL_FreeSurface(dst);
    }
}

TEST(FontDrawing, GlyphsFarOutsideTheDestinationAreNotWrappedOntoIt) {
    BlockFont f;
    SDL_Surface* dst = testing::screenLike(8, 4);
    // 65536 + 1 would reach SDL as 1 in a 16-bit rectangle.
    f.font.drawStringOn("ab", 65537, 1, dst);
    f.font.drawStringOn("ab", 1, 65537, dst);
    f.font.drawStringOn("ab", -65535, 1, dst);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 8; ++x) EXPECT_EQ(pixel(dst, x, y), 0u) << x << "," << y;
    // Partly visible glyphs are still drawn, cut by SDL.
    f.font.drawStringOn("ab", -2, -1, dst);
    EXPECT_NE(pixel(dst, 1, 0), 0u);  // 'b' from x = 1
    EXPECT_EQ(pixel(dst, 0, 0), 0u);
    SDL_FreeSurface(dst);
}

}  // namespace
}  // namespace zil
