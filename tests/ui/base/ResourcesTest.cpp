// The shared images and fonts, their pools, and what a control gives back.
#include <filesystem>

#include "ImageTestSupport.hpp"
#include "render/RiState.hpp"
#include "ui/base/ControlResources.hpp"
#include "ui/base/ImageManager.hpp"

namespace zil {
namespace {

using testing::failureOf;
using testing::pixel;

constexpr ColorRGB accent{1.0, 0.81, 0.51};
constexpr ColorRGB label{0.5, 0.63, 0.75};

TEST(AutoreleasePool, DrainFreesOnlyPendingEntriesAtZeroOrBelowOnce) {
    // {count, times queued, runs of the release}; a count of 1 was taken again.
    for (auto [count, queued, runs] : {std::tuple{0, 1, 1}, {-1, 2, 1}, {1, 1, 0}, {0, 0, 0}}) {
        AutoreleasePool pool;
        int ran = 0;
        auto e = pool.add([&ran] { ++ran; });
        e->count = count;
        for (int i = 0; i < queued; ++i) pool.putPending(e);
        pool.drain();
        pool.drain();
        EXPECT_EQ(ran, runs) << count;
        EXPECT_EQ(pool.liveCount(), 1u - runs);
    }
}

class Resources : public ::testing::Test {
protected:
    testing::InScratchDir dir;  // failed loads log here
    ImageManager images;
    FontContext fonts;
    AppConfig::Cell config = testing::demoConfig();
    const std::string checked = testing::lookFile("CheckBoxChecked.bmp");
    const std::string lucidaPath = testing::fontFile("FontLucida14ASCII.bmp");

    FontHandle load(std::string_view name, ColorRGB colour) { return loadFont(fonts, images, config, name, colour); }
};

TEST_F(Resources, MissingFilesAreTriedAgainAndNeverRecorded) {
    const std::string path = dir.path("Later.bmp");
    EXPECT_EQ(images.getImage(path), nullptr);
    EXPECT_EQ(images.count(path), std::nullopt);
    // A NUL byte would cut the path short on its way to SDL.
    EXPECT_EQ(images.getImage(checked + std::string(1, '\0')), nullptr);
    std::filesystem::copy_file(checked, path);
    EXPECT_NE(images.getImage(path), nullptr);
    EXPECT_EQ(images.count(path), 1);
    EXPECT_EQ(failureOf([&] { images.autorelease(checked); }),
              "ImageRessource: Image " + checked + " has been freed too early in ImageManager.autorelease!");
    EXPECT_EQ(images.pool().liveCount(), 1u);
}

TEST_F(Resources, GivenBackImagesLiveUntilTheDrainUnlessTakenAgain) {
    SDL_Surface* s = images.getImage(checked);
    EXPECT_EQ(images.getImage(checked), s);  // one load, shared and counted
    images.autorelease(checked);
    images.autorelease(checked);
    EXPECT_EQ(images.count(checked), 0);
    EXPECT_EQ(s->w, 13);  // still usable
    EXPECT_EQ(images.getImage(checked), s);
    images.pool().drain();  // retaken: survives
    EXPECT_EQ(images.count(checked), 1);
    images.autorelease(checked);
    images.autorelease(checked);  // once too often: pending twice, freed once
    images.pool().drain();
    EXPECT_EQ(images.count(checked), std::nullopt);  // surface and path gone
    EXPECT_EQ(images.pool().liveCount(), 0u);
    EXPECT_NE(images.getImage(checked), nullptr);  // read anew
}

TEST_F(Resources, DestroyReportsHeldImagesNewestFirstAndFreesAll) {
    test::Capture out;
    const std::string in = testing::lookFile("ButtonIn.bmp"), out2 = testing::lookFile("ButtonOut.bmp");
    for (const std::string* p : {&checked, &checked, &out2, &in}) images.getImage(*p);
    images.autorelease(in);  // freed by the destroy's drain, unreported
    images.pool().destroy(out.out());
    EXPECT_EQ(out.text(),
              "An object in an autorelease pool has 1 references during destroy\n"
              "An object in an autorelease pool has 2 references during destroy\n");
    EXPECT_EQ(images.count(checked), std::nullopt);
    EXPECT_EQ(images.pool().liveCount(), 0u);
}

TEST_F(Resources, SharedByNameAndExactColourAsOutlineFonts) {
    FontHandle a = load("lucida-14", accent), b = load("lucida-14", ColorRGB{1.0, 0.81, 0.51});
    FontHandle c = load("lucida-14", ColorRGB{1.0, 0.81, 0.5100001}), d = load("clean-14", accent);
    EXPECT_EQ(a.shared(), b.shared());
    EXPECT_EQ(a.count(), 2);
    EXPECT_NE(c.shared(), a.shared());
    EXPECT_NE(d.shared(), a.shared());
    EXPECT_EQ(fonts.fonts().size(), 3u);
    EXPECT_EQ(images.count(lucidaPath), 0);  // the file was only borrowed
    // Every cell 2 wider, 2 higher; spacing -2; framed; cache on first drawing.
    for (auto [h, w, fh] : {std::tuple{&a, 851 + 2 * 96, 17}, {&d, 413 + 2 * 62, 14}}) {
        const SDLBitmapFont& f = h->font();
        EXPECT_EQ(std::tuple(f.bitmap()->w, f.height(), f.glyphTable().spacing, f.framed(), f.cache()),
                  std::tuple(w, fh, -2, true, nullptr));
        EXPECT_EQ(f.colour(), accent);
    }
    // 'A' is glyph k = 33: plain x 278, outline cell at 278 + 2 x 33 = 344,
    // 11 + 2 wide; the file's glyph stands one pixel inside it.
    EXPECT_EQ(BitmapFontFunc::getChar(a.font().glyphTable(), 'A'), (Glyph{344, 0, 13, 17}));
    SDL_Surface* file = SDL_LoadBMP(lucidaPath.c_str());
    ASSERT_NE(file, nullptr);
    int inked = 0;
    for (int y = 0; y < 17; ++y) {
        for (int x = 0; x < 13; ++x) {
            Uint32 got = pixel(a.font().bitmap(), 344 + x, y) & 0xFFFFFF;
            bool inside = x >= 1 && x <= 11 && y >= 1 && y <= 15;
            EXPECT_EQ(got, inside ? pixel(file, 277 + x, y - 1) & 0xFFFFFF : 0) << x << "," << y;
            inked += got != 0;
        }
    }
    EXPECT_GT(inked, 10);
    SDL_FreeSurface(file);
}

TEST_F(Resources, FailuresAddNothing) {
    EXPECT_EQ(failureOf([&] { load("helvetica-12", accent); }), "RESSOURCE: Font helvetica-12 not found!\n");
    dir.write("FontLucida14ASCII.bmp", "BM not a bitmap");
    config = testing::configFor(testing::demoDir(), dir.root());
    EXPECT_EQ(failureOf([&] { load("lucida-14", accent); }),
              "RESSOURCE: Could not open font file " + dir.path("FontLucida14ASCII.bmp") + "\n");
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

TEST_F(Resources, LastReleaseFreesAtOnceAndThePoolNeverAgain) {
    test::Capture out;
    FontHandle a = load("lucida-14", accent), b = load("lucida-14", accent), keep = load("lucida-14", label);
    std::shared_ptr<SDLBitmapFont> font = a.shared();
    a.font().copyToAlphaSurface();
    a.release();
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
    keep.release();  // after the destroy: nothing freed twice
}

TEST_F(Resources, SharedResourcesGoBackOnceAndOnlyThoseThatLoaded) {
    ControlResources a, b;
    for (ControlResources* r : {&a, &b}) {
        r->fonts.push_back(load("lucida-14", accent));
        EXPECT_NE(r->lookBitmaps.take(images, config, "ButtonIn.bmp"), nullptr);
    }
    EXPECT_EQ(a.lookBitmaps.take(images, config, "Missing.bmp"), nullptr);  // not held
    std::shared_ptr<SDLBitmapFont> font = a.fonts[0].shared(), own = buildOutlineFont(images, config, "clean-14");
    EXPECT_FALSE(own->framed());  // white, unframed, neither shared nor listed
    EXPECT_EQ(fonts.fonts().size(), 1u);
    own->copyToAlphaSurface();
    a.ownFonts.push_back(own);
    a.release();
    a.release();  // a second run gives nothing back
    EXPECT_EQ(own->cache(), nullptr);
    EXPECT_EQ(own->bitmap(), nullptr);
    EXPECT_EQ(b.fonts[0].count(), 1);
    EXPECT_EQ(images.count(testing::lookFile("ButtonIn.bmp")), 1);
    b.release();
    EXPECT_EQ(font->bitmap(), nullptr);
    EXPECT_TRUE(fonts.fonts().empty());
    EXPECT_EQ(images.count(testing::lookFile("ButtonIn.bmp")), 0);
}

TEST_F(Resources, AnOpenRenderingBlockIsReportedOnce) {
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
