#include <filesystem>
#include <string>

#include "ImageTestSupport.hpp"
#include "records/Capture.hpp"
#include "ui/base/ImageManager.hpp"

namespace zil {
namespace {

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

class Images : public ::testing::Test {
protected:
    testing::InScratchDir dir;  // failed loads log here
    ImageManager images;
    const std::string checked = testing::lookFile("CheckBoxChecked.bmp");
};

TEST_F(Images, MissingFilesAreTriedAgainAndNeverRecorded) {
    const std::string path = dir.path("Later.bmp");
    EXPECT_EQ(images.getImage(path), nullptr);
    EXPECT_EQ(images.count(path), std::nullopt);
    // A NUL byte would cut the path short on its way to SDL.
    EXPECT_EQ(images.getImage(checked + std::string(1, '\0')), nullptr);
    std::filesystem::copy_file(checked, path);
    EXPECT_NE(images.getImage(path), nullptr);
    EXPECT_EQ(images.count(path), 1);
    EXPECT_EQ(testing::failureOf([&] { images.autorelease(checked); }),
              "ImageRessource: Image " + checked + " has been freed too early in ImageManager.autorelease!");
    EXPECT_EQ(images.pool().liveCount(), 1u);
}

TEST_F(Images, GivenBackImagesLiveUntilTheDrainUnlessTakenAgain) {
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

TEST_F(Images, DestroyReportsHeldImagesNewestFirstAndFreesAll) {
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

}  // namespace
}  // namespace zil
