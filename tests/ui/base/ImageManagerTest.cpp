#include <filesystem>
#include <string>
#include <vector>

#include "ImageTestSupport.hpp"
#include "records/Capture.hpp"
#include "ui/base/AutoreleasePool.hpp"
#include "ui/base/ImageManager.hpp"

namespace zil {
namespace {

using testing::failureOf;
using testing::lookFile;

// Pool entries whose release only counts how often it ran.
TEST(AutoreleasePool, DrainFreesOnlyPendingEntriesAtZeroOrBelow) {
    struct Case {
        std::int32_t count;
        int timesPending;
        int freedByDrain;  // release runs
    } cases[] = {
        {0, 1, 1},   // given back once
        {-1, 2, 1},  // given back twice: freed once
        {1, 1, 0},   // taken again before the drain
        {0, 0, 0},   // never queued: only destroy frees it
    };
    for (const Case& c : cases) {
        AutoreleasePool pool;
        int runs = 0;
        auto e = pool.add([&runs] { ++runs; });
        e->count = c.count;
        for (int i = 0; i < c.timesPending; ++i) pool.putPending(e);
        pool.drain();
        EXPECT_EQ(runs, c.freedByDrain) << c.count;
        EXPECT_EQ(pool.pendingCount(), 0u);
        EXPECT_EQ(pool.liveCount(), c.freedByDrain ? 0u : 1u);
        pool.drain();  // a second drain finds nothing more
        EXPECT_EQ(runs, c.freedByDrain);
    }
}

TEST(AutoreleasePool, DestroyReportsEachLiveObjectNewestFirstAndFreesIt) {
    test::Capture out;
    std::vector<std::string> freed;
    {
        AutoreleasePool pool;
        auto a = pool.add([&] { freed.push_back("a"); });
        auto b = pool.add([&] { freed.push_back("b"); });
        auto c = pool.add([&] { freed.push_back("c"); });
        b->count = 3;
        c->count = 0;  // released: the drain frees it without a report
        pool.putPending(c);
        a->free();  // freed elsewhere (a font at count 0): not freed again
        pool.destroy(out.out());
        EXPECT_EQ(pool.liveCount(), 0u);
        EXPECT_EQ(out.text(), "An object in an autorelease pool has 3 references during destroy\n");
        EXPECT_EQ(freed, (std::vector<std::string>{"a", "c", "b"}));
    }
    // The destroyed pool's destructor frees nothing again.
    EXPECT_EQ(freed.size(), 3u);
}

TEST(AutoreleasePool, DestructorFreesWhatWasNeverDestroyed) {
    int runs = 0;
    {
        AutoreleasePool pool;
        pool.add([&runs] { ++runs; });
        pool.add([&runs] { ++runs; })->free();
    }
    EXPECT_EQ(runs, 2);
}

class Images : public ::testing::Test {
protected:
    testing::InScratchDir dir;  // missing files log here
    ImageManager images;
    const std::string checked = lookFile("CheckBoxChecked.bmp");
};

TEST_F(Images, OneLoadIsSharedAndCounted) {
    SDL_Surface* a = images.getImage(checked);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(images.getImage(checked), a);
    EXPECT_EQ(images.count(checked), 2);
    EXPECT_EQ(images.pool().liveCount(), 1u);
    // Another spelling of the same file is another image.
    std::string other = testing::demoDir().string() + "/ui/lf/vuq/./CheckBoxChecked.bmp";
    SDL_Surface* b = images.getImage(other);
    EXPECT_NE(b, a);
    EXPECT_EQ(images.count(checked), 2);
    EXPECT_EQ(images.count(other), 1);
}

TEST_F(Images, MissingFileRecordsNothingAndIsTriedAgain) {
    const std::string path = dir.path("Later.bmp");
    EXPECT_EQ(images.getImage(path), nullptr);
    EXPECT_EQ(images.count(path), std::nullopt);
    EXPECT_EQ(images.pool().liveCount(), 0u);
    EXPECT_TRUE(std::filesystem::exists(dir.path("SDL_LoadBMP.log")));
    // A path with a NUL byte would reach SDL cut short: it loads nothing.
    EXPECT_EQ(images.getImage(checked + std::string(1, '\0') + "x"), nullptr);

    std::filesystem::copy_file(checked, path);
    EXPECT_NE(images.getImage(path), nullptr);
    EXPECT_EQ(images.count(path), 1);
}

TEST_F(Images, GiveBackWaitsForTheDrainWhichFreesImageAndPath) {
    SDL_Surface* s = images.getImage(checked);
    images.autorelease(checked);
    EXPECT_EQ(images.count(checked), 0);
    EXPECT_EQ(images.pool().pendingCount(), 1u);
    EXPECT_EQ(s->w, 13);  // still usable until the drain
    images.pool().drain();
    EXPECT_EQ(images.count(checked), std::nullopt);
    EXPECT_EQ(images.pool().liveCount(), 0u);
    // Absent again: the next get reads the file anew.
    EXPECT_NE(images.getImage(checked), nullptr);
    EXPECT_EQ(images.count(checked), 1);
    EXPECT_EQ(images.pool().liveCount(), 1u);
}

TEST_F(Images, RetakenBeforeTheDrainSurvivesIt) {
    SDL_Surface* s = images.getImage(checked);
    images.autorelease(checked);
    EXPECT_EQ(images.getImage(checked), s);
    images.pool().drain();
    EXPECT_EQ(images.count(checked), 1);
    EXPECT_EQ(images.pool().pendingCount(), 0u);
    EXPECT_EQ(images.pool().liveCount(), 1u);
    // Given back again later, the next drain frees it.
    images.autorelease(checked);
    images.pool().drain();
    EXPECT_EQ(images.count(checked), std::nullopt);
}

TEST_F(Images, TwoGiveBacksOfOneGetAreFreedOnce) {
    images.getImage(checked);
    images.autorelease(checked);
    images.autorelease(checked);
    EXPECT_EQ(images.count(checked), -1);
    EXPECT_EQ(images.pool().pendingCount(), 2u);
    images.pool().drain();  // the second occurrence finds the entry empty
    EXPECT_EQ(images.count(checked), std::nullopt);
    // Now unheld: a third give-back is refused.
    EXPECT_THROW(images.autorelease(checked), EGeneric);
}

TEST_F(Images, GivingBackWhatIsNotHeldIsRefusedAndChangesNothing) {
    images.getImage(checked);
    const std::string never = lookFile("ButtonIn.bmp");
    EXPECT_EQ(failureOf([&] { images.autorelease(never); }),
              "ImageRessource: Image " + never + " has been freed too early in ImageManager.autorelease!");
    EXPECT_EQ(images.count(checked), 1);
    EXPECT_EQ(images.count(never), std::nullopt);
    EXPECT_EQ(images.pool().pendingCount(), 0u);
}

TEST_F(Images, DestroyReportsHeldImagesWithTheirCounts) {
    test::Capture out;
    images.getImage(checked);
    images.getImage(checked);
    const std::string button = lookFile("ButtonOut.bmp");
    images.getImage(button);
    images.getImage(lookFile("ButtonIn.bmp"));
    images.autorelease(lookFile("ButtonIn.bmp"));  // freed by the destroy's drain, unreported
    images.pool().destroy(out.out());
    EXPECT_EQ(out.text(),
              "An object in an autorelease pool has 1 references during destroy\n"
              "An object in an autorelease pool has 2 references during destroy\n");
    EXPECT_EQ(images.count(checked), std::nullopt);
    EXPECT_EQ(images.count(button), std::nullopt);
    EXPECT_EQ(images.pool().liveCount(), 0u);
}

}  // namespace
}  // namespace zil
