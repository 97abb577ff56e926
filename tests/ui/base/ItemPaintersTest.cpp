// Text and bitmap painters: positions from the centring rules, tiles of the
// tab strips, fonts by state and missing bitmaps. Glyphs are solid blocks,
// so a text's top-left pixel shows where it was drawn.
#include <gtest/gtest.h>

#include "shell/Errors.hpp"
#include "ui/base/ItemPainters.hpp"
#include "ui/base/PaintTestSupport.hpp"

namespace zil::testing {
namespace {

using Picture = std::vector<std::string>;
using namespace ItemPainters;
using LookAndFeel::accent;
using LookAndFeel::grey;
using LookAndFeel::white;

TEST(ItemPaintersTest, ButtonTextIsCentredAndMovedByTheInset) {
    // 60 x 20, "ABC" 30 wide (blocks of 9 + 1), font bitmap 17 high:
    // x = 30 - 15 = 15, y = 10 + (-9) = 1, each plus the inset.
    std::unique_ptr<SDLBitmapFont> font = blockFont(17, 9, white);
    SurfacePtr bitmap = solidBitmap(60, 20, rgb(51, 51, 51));
    for (int inset : {0, 1, 2}) {
        SurfacePtr s = target(62, 22, kBackground);
        drawButton({s.get()}, 60, 20, bitmap.get(), inset, *font, "ABC");
        EXPECT_TRUE(textStartsAt(s.get(), 15 + inset, 1 + inset, 'W')) << inset;
        EXPECT_EQ(pixelChar(pixel(s.get(), 0, 0)), '2');
        EXPECT_EQ(pixelChar(pixel(s.get(), 60, 0)), '.');  // the bitmap's own size
    }
    SurfacePtr s = target(62, 22, kBackground);
    drawButton({s.get()}, 60, 20, nullptr, 0, *font, "ABC");  // no bitmap: the text alone
    EXPECT_EQ(pixelChar(pixel(s.get(), 0, 0)), '.');
    EXPECT_TRUE(textStartsAt(s.get(), 15, 1, 'W'));
}

TEST(ItemPaintersTest, CheckBoxBitmapAndTextCentreDifferently) {
    struct Case {
        int fontHeight;
        bool withBox;
        int textY;
    };
    // Box 7 high in 20: y = 10 - 3 = 7. Text: 10 + ((-7) div 2) = 6; 10 + (-9) = 1.
    const Case cases[] = {{7, true, 6}, {7, false, 6}, {17, true, 1}};
    SurfacePtr box = solidBitmap(13, 7, rgb(128, 128, 128));
    for (const Case& c : cases) {
        std::unique_ptr<SDLBitmapFont> font = blockFont(c.fontHeight, 5, white);
        SurfacePtr s = target(40, 20, kBackground);
        drawCheckBox({s.get()}, 40, 20, c.withBox ? box.get() : nullptr, *font, "A");
        EXPECT_TRUE(textStartsAt(s.get(), 18, c.textY, 'W')) << c.fontHeight;
        EXPECT_EQ(pixelChar(pixel(s.get(), 0, 6)), '.');
        EXPECT_EQ(pixelChar(pixel(s.get(), 12, 13)), c.withBox ? '5' : '.');
        EXPECT_EQ(pixelChar(pixel(s.get(), 12, 14)), '.');
    }
}

// Selected caps '3' and '7' around '5' tiles; unselected 'c', '8', '6'.
struct TabSet {
    SurfacePtr left = solidBitmap(4, 24, rgb(76, 76, 76));
    SurfacePtr middle = solidBitmap(16, 24, rgb(128, 128, 128));
    SurfacePtr right = solidBitmap(12, 24, rgb(191, 191, 191));
    SurfacePtr otherLeft = solidBitmap(4, 24, rgb(89, 89, 89));
    SurfacePtr otherMiddle = solidBitmap(16, 24, rgb(166, 166, 166));
    SurfacePtr otherRight = solidBitmap(12, 24, rgb(204, 204, 204));
    TabBitmaps selected{left.get(), middle.get(), right.get()};
    TabBitmaps other{otherLeft.get(), otherMiddle.get(), otherRight.get()};
};

TEST(ItemPaintersTest, TabStripsShareTheWidthAndTileTheirMiddles) {
    TabSet tabs;
    std::unique_ptr<SDLBitmapFont> first = blockFont(5, 5, white);
    std::unique_ptr<SDLBitmapFont> second = blockFont(5, 5, accent);
    std::unique_ptr<SDLBitmapFont> third = blockFont(5, 5, grey(0.0));
    DynArray<std::string> labels;
    for (const char* l : {"A", "B", "C"}) labels.append(l);

    SurfacePtr s = target(300, 24, kBackground);
    drawTabIndex({s.get()}, 300, 24, labels, {1, 2}, tabs.selected, tabs.other,
                 {first.get(), second.get(), third.get()});
    // Tabs 100 wide at 0, 100, 200: cap 4, six tiles 4..99 ((100 - 16) div
    // 16 = 5), right cap at 88..99 over the last tile's end.
    auto strip = [](char l, char m, char r) { return std::string(4, l) + std::string(84, m) + std::string(12, r); };
    const std::string row = strip('c', '6', '8') + strip('3', '5', '7') + strip('c', '6', '8');
    EXPECT_EQ(picture(s.get())[0], row);
    EXPECT_EQ(picture(s.get())[23], row);
    // Labels 6 wide at x0 + 50 - 3, y = 12 + (-3) = 9: the selected tab in
    // the first font, the highlighted one in the second, the other the third.
    EXPECT_TRUE(textStartsAt(s.get(), 47, 9, '0'));
    EXPECT_TRUE(textStartsAt(s.get(), 147, 9, 'W'));
    EXPECT_TRUE(textStartsAt(s.get(), 247, 9, 'A'));
}

TEST(ItemPaintersTest, TabStripTilesByWidthAndSkipsMissingBitmaps) {
    TabSet tabs;
    std::unique_ptr<SDLBitmapFont> font = blockFont(5, 5, white);
    struct Case {
        int width;
        int tiles;
    };
    const Case cases[] = {{15, 0}, {16, 1}, {31, 1}, {32, 2}, {47, 2}, {48, 3}, {0, 0}};
    for (const Case& c : cases) {
        SurfacePtr s = target(80, 24, kBackground);
        drawTabStrip({s.get()}, {nullptr, tabs.middle.get(), nullptr}, 0, c.width, 24, *font, "");
        std::string expected(80, '.');
        for (int x = 4; x < 4 + 16 * c.tiles; ++x) expected[x] = '5';
        EXPECT_EQ(picture(s.get())[0], expected) << c.width;
    }
    // The right cap starts 12 before the right edge, whatever the width.
    SurfacePtr s = target(80, 24, kBackground);
    drawTabStrip({s.get()}, {tabs.left.get(), nullptr, tabs.right.get()}, 10, 40, 24, *font, "");
    EXPECT_EQ(picture(s.get())[0], std::string(10, '.') + "3333" + std::string(24, '.') + std::string(12, '7') +
                                       std::string(30, '.'));
    EXPECT_THROW(drawTabStrip({s.get()}, tabs.selected, 0, -1, 24, *font, ""), Size);
}

TEST(ItemPaintersTest, TabLabelHalvesWidthAndNegatedHeight) {
    // W = 10, tw = 5 (4 + 1): x0 + 5 - 2 = x0 + 3. H = 20, fh = 17: 10 - 9 = 1.
    std::unique_ptr<SDLBitmapFont> font = blockFont(17, 4, white);
    SurfacePtr s = target(30, 20, kBackground);
    drawTabStrip({s.get()}, {}, 10, 10, 20, *font, "A");
    EXPECT_TRUE(textStartsAt(s.get(), 13, 1, 'W'));
}

TEST(ItemPaintersTest, SkippingTilesOffTheSurfaceKeepsTheVisibleOnes) {
    TabSet tabs;
    std::unique_ptr<SDLBitmapFont> font = blockFont(5, 5, white);
    SurfacePtr s = target(40, 24, kBackground);
    drawTabStrip({s.get(), -16 * 1000000, 0}, {nullptr, tabs.middle.get(), nullptr}, 0, 2000000000, 24, *font, "");
    // Tiles start at 4 + 16i - 16,000,000: x = -12, 4, 20, 36 on the surface.
    EXPECT_EQ(picture(s.get())[0], std::string(40, '5'));
}

}  // namespace
}  // namespace zil::testing
