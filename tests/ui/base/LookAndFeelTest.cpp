// Faces are checked whole, pixel by pixel, as rows of characters (legend in
// PaintTestSupport.hpp); every expected picture is worked out from the fill
// sequence by hand.
#include <gtest/gtest.h>

#include <cmath>

#include "shell/Errors.hpp"
#include "ui/base/LookAndFeel.hpp"
#include "ui/base/PaintTestSupport.hpp"

namespace zil::testing {
namespace {

using Picture = std::vector<std::string>;
using namespace LookAndFeel;

TEST(LookAndFeelTest, ColoursBecomeChannelsRoundedHalfToEven) {
    struct Case {
        ColorRGB colour;
        Uint32 expected;
    };
    const Case cases[] = {
        {grey(0.3), rgb(76, 76, 76)},       // 76.5 goes to the even 76
        {grey(0.5), rgb(128, 128, 128)},    // 127.5 to 128
        {grey(0.35 - 0.3), rgb(13, 13, 13)},  // 12.75
        {grey(0.35 + 0.3), rgb(166, 166, 166)},
        {grey(0.5 + 0.3), rgb(204, 204, 204)},
        {accent, rgb(255, 207, 130)},       // 206.55, 130.05
        {labelColour, rgb(128, 161, 191)},  // 127.5, 160.65, 191.25
    };
    SurfacePtr s = target(1, 1);
    for (const Case& c : cases) {
        fillRectColor({s.get()}, {0, 0, 1, 1}, c.colour);
        EXPECT_EQ(rgbAt(s.get(), 0, 0), c.expected) << c.colour.red;
    }
    EXPECT_THROW(pixelOf(s.get(), grey(std::nan(""))), Domain);
}

struct FaceCase {
    const char* name;
    int w, h;
    void (*draw)(const DrawTarget&, int w, int h);
    Picture expected;
};

void panel(const DrawTarget& t, int w, int h) { drawFramePanel(t, w, h); }
void well(const DrawTarget& t, int w, int h) { drawSunkenField(t, w, h, false); }
void markedWell(const DrawTarget& t, int w, int h) { drawSunkenField(t, w, h, true); }
// Thumb at 2, 5 long.
void vbar(const DrawTarget& t, int w, int h) { drawVertBar(t, w, h, 2, 5, false); }
void vbarPressed(const DrawTarget& t, int w, int h) { drawVertBar(t, w, h, 2, 5, true); }
void vbarTooLong(const DrawTarget& t, int w, int h) { drawVertBar(t, w, h, 0, 99, false); }
void vbarEmpty(const DrawTarget& t, int w, int h) { drawVertBar(t, w, h, 1, 0, true); }
void hbar(const DrawTarget& t, int w, int h) { drawHorizBar(t, w, h, 2, 5, false); }
void plain(const DrawTarget& t, int w, int h) { drawPlainFace(t, w, h); }
void rectFace(const DrawTarget& t, int, int) { drawRectFace(t, {1, 1, 2, 1}); }

TEST(LookAndFeelTest, FacesFillInOrder) {
    const FaceCase cases[] = {
        // Outline; R1 = (1,1,4,3) black; (1,1,3,2) grey 0.5; R2 = (2,2,2,1) grey 0.2.
        {"panel 6x5", 6, 5, panel, {"000000", "055500", "052200", "000000", "000000"}},
        // R1 = (1,1,2,3); bevel (1,1,1,2); R2 empty: no 0.2 face.
        {"panel 4x5", 4, 5, panel, {"0000", "0500", "0500", "0000", "0000"}},
        {"panel 3x4", 3, 4, panel, {"000", "000", "000", "000"}},
        // 0.75 all; (0,0,4,3) 0.5; (1,1,3,2) interior.
        {"well 5x4", 5, 4, well, {"55557", "50007", "50007", "77777"}},
        {"marked well 5x4", 5, 4, markedWell, {"55557", "5AAA7", "5AAA7", "77777"}},
        {"well 1 wide", 1, 3, well, {"7", "7", "7"}},
        // Trough 0.2; dark 0.05 (0,2,4,5); light 0.65 (0,2,3,4); face 0.35 (1,3,2,3).
        {"vertical bar", 4, 10, vbar,
         {"2222", "2222", "666d", "6ccd", "6ccd", "6ccd", "dddd", "2222", "2222", "2222"}},
        // Pressed: face 0.5, light 0.8, dark 0.2.
        {"pressed vertical bar", 4, 10, vbarPressed,
         {"2222", "2222", "8882", "8552", "8552", "8552", "2222", "2222", "2222", "2222"}},
        // Size 99 is cut to the height 6.
        {"thumb too long", 4, 6, vbarTooLong, {"666d", "6ccd", "6ccd", "6ccd", "6ccd", "dddd"}},
        {"thumb of 0", 3, 2, vbarEmpty, {"222", "222"}},
        // Dark (2,0,5,4); light (2,0,4,3); face (3,1,3,2).
        {"horizontal bar", 10, 4, hbar, {"226666d222", "226cccd222", "226cccd222", "22ddddd222"}},
        {"plain face", 2, 2, plain, {"22", "22"}},
        {"rectangle face", 4, 3, rectFace, {"....", ".33.", "...."}},
    };
    for (const FaceCase& c : cases) {
        SurfacePtr s = target(c.w, c.h, kBackground);
        c.draw({s.get()}, c.w, c.h);
        EXPECT_EQ(picture(s.get()), c.expected) << c.name;
    }
}

TEST(LookAndFeelTest, FacesKeepTheirPlaceUnderAnOrigin) {
    // The well of 5x4 drawn with its origin at (-1, 1) of a 4x4 surface.
    SurfacePtr s = target(4, 4, kBackground);
    drawSunkenField({s.get(), -1, 1}, 5, 4, false);
    EXPECT_EQ(picture(s.get()), (Picture{"....", "5557", "0007", "0007"}));
}

TEST(LookAndFeelTest, RectanglesAreClippedBeforeSDLNarrowsThem) {
    struct Case {
        const char* name;
        std::int64_t x, y, w, h;
        Picture expected;
    };
    // Narrowed to 16 bits, x 65538 would be 2, y 65540 would be 4 and the
    // width 65539 would be 3.
    const Case cases[] = {
        {"far right", 65538, 0, 5, 5, {"......", "......", "......"}},
        {"far down", 0, 65540, 3, 3, {"......", "......", "......"}},
        {"very wide", 0, 0, 65539, 2, {"WWWWWW", "WWWWWW", "......"}},
        // x -65535 would be 1 and the width 65537 would be 1.
        {"from far left", -65535, 2, 65537, 1, {"......", "......", "WW...."}},
    };
    for (const Case& c : cases) {
        SurfacePtr s = target(6, 3, kBackground);
        fillRect({s.get()}, c.x, c.y, c.w, c.h, rgb(255, 255, 255));
        EXPECT_EQ(picture(s.get()), c.expected) << c.name;
    }
    SurfacePtr s = target(6, 3, kBackground);
    SurfacePtr bitmap = solidBitmap(3, 3, rgb(255, 255, 255));
    blitWhole({s.get()}, bitmap.get(), 65537, 0);
    blitWhole({s.get(), 0, -65536}, bitmap.get(), 0, 0);
    EXPECT_EQ(picture(s.get()), (Picture{"......", "......", "......"}));
    blitWhole({s.get(), -1, 1}, bitmap.get(), 0, 0);  // cut on the left and at the bottom
    EXPECT_EQ(picture(s.get()), (Picture{"......", "WW....", "WW...."}));
}

TEST(LookAndFeelTest, SelectionBandsAndTheirDirections) {
    struct Case {
        std::int64_t p, m;
        bool backward;
        int first, last;  // the band's pixels; first > last: none
    };
    const Case cases[] = {
        {50, 20, false, 48, 69},  // (48, 0, 22, H)
        {50, 20, true, 30, 47},   // (30, 0, 18, H)
        {50, 2, true, 1, 0},      // empty
        {50, 1, true, 48, 48},    // (48, 0, 1, H)
        {50, 0, false, 48, 49},
    };
    for (const Case& c : cases) {
        SurfacePtr s = target(80, 2, kBackground);
        drawTextSelection({s.get()}, c.p, c.m, c.backward, 2);
        std::string expected(80, '.');
        for (int x = c.first; x <= c.last; ++x) expected[x] = '5';
        EXPECT_EQ(picture(s.get()), (Picture{expected, expected})) << c.p << " " << c.m << " " << c.backward;
    }
}

class LabelFaceTest : public ::testing::Test {
protected:
    // Blocks 5 wide, 15 high: "AB" measures 12.
    std::unique_ptr<SDLBitmapFont> first = blockFont(15, 5, white);
    std::unique_ptr<SDLBitmapFont> second = blockFont(15, 5, accent);
    std::unique_ptr<SDLBitmapFont> third = blockFont(15, 5, grey(0.0));
    std::array<SDLBitmapFont*, 3> fonts{first.get(), second.get(), third.get()};

    SurfacePtr draw(const LabelFaceState& state) {
        SurfacePtr s = target(20, 20, kBackground);
        drawLabelFace({s.get()}, {0, 0, 20, 20}, "AB", fonts, 4, state);
        return s;
    }
};

TEST_F(LabelFaceTest, TextIsCentredInTheFontOfTheState) {
    struct Case {
        LabelFaceState state;
        char glyph;
    };
    const Case cases[] = {{{false, false}, '0'}, {{false, true}, 'A'}, {{true, true}, 'W'}};
    for (const Case& c : cases) {
        SurfacePtr s = draw(c.state);
        // Area 20 high, font 15: y = 10 + (-8) = 2, down to 16; x from 4.
        EXPECT_EQ(pixelChar(pixel(s.get(), 4, 2)), c.glyph);
        EXPECT_EQ(pixelChar(pixel(s.get(), 4, 16)), c.glyph);
        EXPECT_EQ(pixelChar(pixel(s.get(), 4, 17)), '2');
        // Emphasised, the cursor (at 0) covers x = 2, 3.
        EXPECT_EQ(pixelChar(pixel(s.get(), 3, 5)), c.state.emphasised ? 'W' : '2');
    }
}

TEST_F(LabelFaceTest, CursorAndBandLieUnderTheTextAndStayInsideIt) {
    struct Case {
        std::int32_t cursor, extent;
        std::string row;  // row 0, above the text
    };
    const Case cases[] = {
        // Before = 6 ("A"): P = 10; "B" measures 6: band 8..15; cursor 8..9.
        {1, 1, "22222222WW5555552222"},
        // Clamped to 2, 2: P = 16, band and cursor 14..15.
        {7, 3, "22222222222222WW2222"},
        // Clamped to 1, 0: backward over "A": band 4..7, cursor 8..9.
        {1, -4, "22225555WW2222222222"},
        {-3, 0, "22WW2222222222222222"},  // at the start: cursor 2..3
    };
    for (const Case& c : cases) {
        SurfacePtr s = draw({true, false, c.cursor, c.extent});
        EXPECT_EQ(picture(s.get())[0], c.row) << c.cursor << " " << c.extent;
        EXPECT_EQ(picture(s.get())[19], c.row);
    }
}

TEST(LookAndFeelTest, ListRowsAreBandedAndWrittenInTheirFont) {
    std::unique_ptr<SDLBitmapFont> selected = blockFont(15, 5, white);
    std::unique_ptr<SDLBitmapFont> other = blockFont(15, 5, accent);
    DynArray<std::string> rows;
    for (const char* r : {"A", "B", "C"}) rows.append(r);
    DynArray<std::int32_t> flags;  // shorter than the rows: "C" has none
    flags.append(0);
    flags.append(1);
    SurfacePtr s = target(20, 40, kBackground);
    drawListFace({s.get()}, 20, 40, rows, flags, *selected, *other);
    const Picture p = picture(s.get());
    // Rows at y = 0, 15, 30; text at x = 2..6; row 1 banded over 15..29.
    EXPECT_EQ(p[0], "22AAAAA2222222222222");
    EXPECT_EQ(p[14], "22AAAAA2222222222222");
    EXPECT_EQ(p[15], "ccWWWWWccccccccccccc");
    EXPECT_EQ(p[29], "ccWWWWWccccccccccccc");
    EXPECT_EQ(p[30], "22AAAAA2222222222222");
}

}  // namespace
}  // namespace zil::testing
