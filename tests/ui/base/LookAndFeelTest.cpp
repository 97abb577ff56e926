// Faces compared whole as pictures (legend in PaintTestSupport.hpp), each
// worked out by hand from the fill sequence; the tab strips of the painters;
// where a text field's pointer and cursor fall.
#include <gtest/gtest.h>

#include <functional>
#include <limits>

#include "shell/Errors.hpp"
#include "ui/base/ItemPainters.hpp"
#include "ui/base/LookAndFeel.hpp"
#include "ui/base/PaintTestSupport.hpp"
#include "ui/base/TextGeometry.hpp"

namespace zil::testing {
namespace {

using namespace LookAndFeel;
using Draw = std::function<void(const DrawTarget&)>;

Picture drawn(int w, int h, const Draw& draw) {
    SurfacePtr s = target(w, h);
    draw({s.get()});
    return picture(s.get());
}

TEST(LookAndFeelTest, FacesFillInOrderClippedToTheTarget) {
    const Uint32 w = rgb(255, 255, 255);
    SurfacePtr bitmap = target(3, 3, w);
    const std::tuple<int, int, Draw, Picture> cases[] = {
        // Outline; R1 = (1,1,4,3) black; bevel (1,1,3,2) 0.5; R2 = (2,2,2,1) 0.2.
        {6, 5, [](auto& t) { drawFramePanel(t, 6, 5); }, {"000000", "055500", "052200", "000000", "000000"}},
        {4, 4, [](auto& t) { drawFramePanel(t, 4, 4); }, {"0000", "0500", "0000", "0000"}},  // no 0.2 face
        // 0.75; (0,0,4,3) 0.5; (1,1,3,2) black or accent.
        {5, 4, [](auto& t) { drawSunkenField(t, 5, 4, false); }, {"55557", "50007", "50007", "77777"}},
        {5, 4, [](auto& t) { drawSunkenField(t, 5, 4, true); }, {"55557", "5AAA7", "5AAA7", "77777"}},
        // Trough 0.2; dark (0,2,4,5); light (0,2,3,4); face (1,3,2,3): 0.05,
        // 0.65, 0.35, or pressed 0.2, 0.8, 0.5.
        {4, 8, [](auto& t) { drawVertBar(t, 4, 8, 2, 5, false); },
         {"2222", "2222", "666d", "6ccd", "6ccd", "6ccd", "dddd", "2222"}},
        {4, 8, [](auto& t) { drawVertBar(t, 4, 8, 2, 5, true); },
         {"2222", "2222", "8882", "8552", "8552", "8552", "2222", "2222"}},
        {4, 3, [](auto& t) { drawVertBar(t, 4, 3, 0, 99, false); }, {"666d", "6ccd", "dddd"}},  // cut to 3
        {10, 3, [](auto& t) { drawHorizBar(t, 10, 3, 2, 5, false); }, {"226666d222", "226cccd222", "22ddddd222"}},
        {4, 3, [](auto& t) { drawRectFace(t, {1, 1, 2, 1}); }, {"....", ".33.", "...."}},
        // P = 10, m = 4: (8, 0, 6) forwards; backwards (6, 0, 2), or 2 - m from P - 2.
        {16, 1, [](auto& t) { drawTextSelection(t, 10, 4, false, 1); }, {"........555555.."}},
        {16, 1, [](auto& t) { drawTextSelection(t, 10, 4, true, 1); }, {"......55........"}},
        {16, 1, [](auto& t) { drawTextSelection(t, 10, 1, true, 1); }, {"........5......."}},
        // The well of 5 x 4 with its origin at (-1, 1).
        {4, 3, [](auto& t) { drawSunkenField({t.surface, -1, 1}, 5, 4, false); }, {"....", "5557", "0007"}},
        // Narrowed to 16 bits these would start at x 2, y 1, x 1 (1 wide), be
        // 3 wide, or start at x 1.
        {6, 2, [&](auto& t) { fillRect(t, 65538, 0, 5, 5, w); }, {"......", "......"}},
        {6, 2, [&](auto& t) { fillRect(t, 0, 65537, 3, 3, w); }, {"......", "......"}},
        {6, 2, [&](auto& t) { fillRect(t, -65535, 1, 65537, 1, w); }, {"......", "WW...."}},
        {6, 2, [&](auto& t) { fillRect(t, 0, 0, 65539, 1, w); }, {"WWWWWW", "......"}},
        {6, 2, [&](auto& t) { blitWhole(t, bitmap.get(), 65537, 0); }, {"......", "......"}},
        {6, 2, [&](auto& t) { blitWhole({t.surface, -1, 1}, bitmap.get(), 0, 0); }, {"......", "WW...."}},
        // A colour's channels x 255 to the nearest, ties to even: 76.5 to 76,
        // 127.5 to 128; the accent (255, 207, 130).
        {4, 2, [](auto& t) { fillRectColor(t, {1, 0, 2, 2}, grey(0.3)); }, {".33.", ".33."}},
        {4, 2, [](auto& t) { fillRectColor({t.surface, 1, 1}, {-1, 0, 2, 5}, grey(0.5)); }, {"....", "55.."}},
        {4, 1, [](auto& t) { fillRectColor(t, {3, 0, 1, 1}, accent); }, {"...A"}},
        {4, 2, [](auto& t) {
             const SDL_Rect clip{1, 1, 2, 1};
             SDL_SetClipRect(t.surface, &clip);
             fillRectColor(t, {0, 0, 4, 2}, grey(0.2));
         }, {"....", ".22."}},
        // Nothing for an empty rectangle (a width of -1 as 16 bits would be
        // 65535), nor for one at x 65541 (as 16 bits, 5).
        {4, 1, [](auto& t) { fillRectColor(t, {0, 0, 0, 1}, white); }, {"...."}},
        {4, 1, [](auto& t) { fillRectColor(t, {0, 0, -1, 1}, white); }, {"...."}},
        {4, 1, [](auto& t) { fillRectColor(t, {1, 0, 2, 0}, white); }, {"...."}},
        {6, 1, [](auto& t) { fillRectColor(t, {65541, 0, 1, 1}, white); }, {"......"}},
    };
    for (const auto& [w, h, draw, expected] : cases) EXPECT_EQ(drawn(w, h, draw), expected);
    // An empty rectangle does not even map its colour.
    SurfacePtr s = target(2, 2);
    const ColorRGB notANumber{std::numeric_limits<double>::quiet_NaN(), 0.0, 0.0};
    EXPECT_NO_THROW(fillRectColor({s.get()}, {0, 0, 2, 0}, notANumber));
    EXPECT_THROW(fillRectColor({s.get()}, {0, 0, 1, 1}, notANumber), Domain);
}

// Fonts of block glyphs 5 wide: white, the accent and black.
std::array<std::shared_ptr<SDLBitmapFont>, 3> blockFonts(int height) {
    return {blockFont(height, 5, white), blockFont(height, 5, accent), blockFont(height, 5, grey(0.0))};
}

TEST(LookAndFeelTest, LabelFaceTextFontCursorAndBand) {
    const auto fonts = blockFonts(15);
    // "AB" (12 wide) from x = 4 in 20 x 20: text rows 10 + (-8) = 2 to 16.
    // Emphasised: band from P - 2 over the selection, cursor ending at P.
    const std::tuple<LabelFaceState, char, std::string> cases[] = {
        {{false, false, 1, 1}, '0', "22222222222222222222"},
        {{false, true}, 'A', "22222222222222222222"},
        {{true, false, 1, 1}, 'W', "22222222WW5555552222"},   // P = 10, "B" 6 wide
        {{true, false, 7, 3}, 'W', "22222222222222WW2222"},   // clamped to 2, 2: P = 16
        {{true, false, 1, -4}, 'W', "22225555WW2222222222"},  // clamped to 1, 0: over "A"
        {{true, false, -3, 1}, 'W', "22WW2222222222222222"},  // clamped to 0, 0: P = 4
    };
    for (const auto& [state, glyph, row0] : cases) {
        SurfacePtr s = target(20, 20);
        drawLabelFace({s.get()}, {0, 0, 20, 20}, "AB", {fonts[0].get(), fonts[1].get(), fonts[2].get()}, 4, state);
        EXPECT_EQ(picture(s.get())[0] + picture(s.get())[19], row0 + row0);
        auto at = [&](int y) { return pixelChar(pixel(s.get(), 4, y)); };
        EXPECT_TRUE(at(1) != glyph && at(2) == glyph && at(16) == glyph && at(17) != glyph) << glyph;
    }
}

TEST(LookAndFeelTest, ListRowsAreBandedAndWrittenInTheirFont) {
    DynArray<std::string> rows;
    for (const char* r : {"A", "B", "C"}) rows.append(r);
    DynArray<std::int32_t> flags;  // none for "C"
    flags.append(0);
    flags.append(1);
    const auto fonts = blockFonts(15);
    const Picture p = drawn(12, 40, [&](auto& t) { drawListFace(t, 12, 40, rows, flags, *fonts[0], *fonts[1]); });
    // Rows at y = 0, 15, 30, text at x = 2; row 1 banded.
    EXPECT_EQ((Picture{p[0], p[14], p[15], p[29], p[30]}),
              (Picture{"22AAAAA22222", "22AAAAA22222", "ccWWWWWccccc", "ccWWWWWccccc", "22AAAAA22222"}));
}

TEST(ItemPaintersTest, TabStrips) {
    SurfacePtr caps[] = {target(4, 24, rgb(76, 76, 76)),  target(16, 24, rgb(128, 128, 128)),
                         target(12, 24, rgb(191, 191, 191)), target(4, 24, rgb(89, 89, 89)),
                         target(16, 24, rgb(166, 166, 166)), target(12, 24, rgb(204, 204, 204))};
    const ItemPainters::TabBitmaps on{caps[0].get(), caps[1].get(), caps[2].get()},
        off{caps[3].get(), caps[4].get(), caps[5].get()};
    const auto fonts = blockFonts(5);
    DynArray<std::string> labels;
    for (const char* l : {"A", "B", "C"}) labels.append(l);
    // 300 wide, 3 tabs of 100: cap, six tiles 4..99 ((100 - 16) div 16 =
    // 5), right cap 88..99; tab 1 selected; labels 6 wide at x0 + 47,
    // y = 12 + (-3) = 9: first font selected, second highlighted (2), third.
    SurfacePtr s = target(300, 24);
    ItemPainters::drawTabIndex({s.get()}, 300, 24, labels, {1, 2}, on, off, {fonts[0].get(), fonts[1].get(), fonts[2].get()});
    auto strip = [](char l, char m, char r) { return std::string(4, l) + std::string(84, m) + std::string(12, r); };
    EXPECT_EQ(picture(s.get())[0], strip('c', '6', '8') + strip('3', '5', '7') + strip('c', '6', '8'));
    for (auto [x, glyph] : {std::pair{47, '0'}, {147, 'W'}, {247, 'A'}}) EXPECT_TRUE(textStartsAt(s.get(), x, 9, glyph));
    // Tiles by width, floor division; missing caps are skipped.
    for (const auto& [width, tiles] : {std::pair{15, 0}, {16, 1}, {31, 1}, {32, 2}}) {
        const Picture p = drawn(60, 1, [&](auto& t) {
            ItemPainters::drawTabStrip(t, {nullptr, on.middle, nullptr}, 0, width, 1, *fonts[0], "");
        });
        EXPECT_EQ(p[0], "...." + std::string(16 * tiles, '5') + std::string(56 - 16 * tiles, '.')) << width;
    }
    // The right cap 12 before the right edge; the label (tw = 5, fh = 17) at
    // x0 + 20 - 2, y = 10 - 9.
    s = target(60, 24);
    ItemPainters::drawTabStrip({s.get()}, {nullptr, nullptr, on.right}, 10, 40, 20, *blockFont(17, 4, white), "A");
    EXPECT_EQ(picture(s.get())[0].substr(37, 14), "." + std::string(12, '7') + ".");
    EXPECT_TRUE(textStartsAt(s.get(), 28, 1, 'W'));
    EXPECT_THROW(ItemPainters::drawTabStrip({s.get()}, on, 0, -1, 24, *fonts[0], ""), Size);
}

TEST(TextGeometry, CharacterBoundaryUnderThePointer) {
    // 'i' is 3 pixels wide, 'W' 8, anything else 7.
    auto widthOf = [](unsigned char c) { return c == 'i' ? 3 : c == 'W' ? 8 : 7; };
    const std::tuple<const char*, std::int32_t, std::int32_t, std::int32_t> cases[] = {
        {"abc", 3, 10, 1},   // past a (rest 3), on b: 3 < 7 - 3, left part
        {"abc", 3, 11, 2},   // rest 4 is not below 3: right part
        {"abc", 3, 7, 1},    // exactly between a and b
        {"abc", 3, 4, 1},    // 3.5 is a's middle: 4 is on its right
        {"abc", 3, -5, 0},   // left of the text
        {"abc", 2, 100, 2},  // past the end: only the first two count
        {"iW", 2, 7, 2},     // W's middle (rest 4 of 8) is on its right
    };
    for (const auto& [text, n, x, want] : cases)
        EXPECT_EQ(TextGeometry::characterBoundary(text, n, x, widthOf), want) << text << " n " << n << " x " << x;
    EXPECT_THROW(TextGeometry::characterBoundary("abc", 4, 5, widthOf), Subscript);
    EXPECT_EQ(TextGeometry::dragSelection(5, 2), (TextGeometry::Selection{2, 3}));
}

TEST(TextGeometry, ScrollDeltasKeepTheCursorInsideTheField) {
    // Field 100 wide, steps 7 and 50; 0 stands for none.
    const std::tuple<std::int32_t, std::int32_t, std::int32_t> cases[] = {
        {4, 0, 0},         // inside from 4 ...
        {95, 0, 0},        // ... to W - 5
        {96, 7, 50},       // 96 - 7 = 89 is not past 95: by the step
        {130, 42, 50},     // 123 is past 95: 7 + 130 - 100 + 5
        {3, -7, -50},      // 3 + 7 = 10 is past 3: by the step
        {-20, -30, -50},   // -13 is not: -20 - 3 - 7
    };
    for (const auto& [p, measured, half] : cases) {
        EXPECT_EQ(TextGeometry::measuredScrollDelta(p, 100, 7).value_or(0), measured) << p;
        EXPECT_EQ(TextGeometry::halfScrollDelta(p, 100, 50).value_or(0), half) << p;
    }
    constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
    EXPECT_THROW(TextGeometry::halfScrollDelta(0, 100, kMin), Overflow);
    EXPECT_THROW(TextGeometry::measuredScrollDelta(kMin, 100, 7), Overflow);  // kMin - 3 - 7
}

}  // namespace
}  // namespace zil::testing
