// The event loop over SDL's real queue (dummy driver), driving a target that
// records what reaches it.
#include "shell/EventLoop.hpp"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "PushEvents.hpp"

namespace zil {
namespace {

using namespace zil::testing;

[[maybe_unused]] auto* const sdl = ::testing::AddGlobalTestEnvironment(new SdlVideoEnvironment);

class Recorder final : public LoopTarget {
public:
    int handleEvent(const InputEvent& e, int type) override {
        std::string s = "t" + std::to_string(type);
        if (const auto* m = std::get_if<MotionRecord>(&e))
            s += " at " + xy(m->x, m->y) + " by " + xy(m->xrel, m->yrel) + " dev " + std::to_string(m->which);
        else if (const auto* b = std::get_if<MouseButton>(&e))
            s += " button at " + xy(b->x, b->y);
        else if (const auto* k = std::get_if<KeyEvent>(&e))
            s += " key " + std::to_string(k->sym) + " char " + std::to_string(k->unicode) + " mod " +
                 std::to_string(k->modifiers);
        else if (std::holds_alternative<OtherEvent>(e))
            s += " other";
        log.push_back(s);
        return std::holds_alternative<QuitEvent>(e) ? 0 : 1;
    }
    void updateScreen() override { log.push_back("update"); }
    void whenIdle() override { log.push_back("drain"); }
    void shutDown() override { log.push_back("shut down"); }

    std::vector<std::string> log;

private:
    static std::string xy(int x, int y) { return std::to_string(x) + "," + std::to_string(y); }
};

// Runs the loop; the idle step pushes `events`, then a quit at the next idle.
std::vector<std::string> run(const std::function<void()>& events) {
    drainQueue();
    Recorder r;
    int idles = 0;
    DemoApp::mainLoop(r, [&] {
        r.log.push_back("idle");
        if (idles++ == 0)
            events();
        else
            pushQuit();
    });
    return r.log;
}

// What every run starts with before its events, and ends with after them.
std::vector<std::string> framed(std::vector<std::string> middle) {
    std::vector<std::string> all{"update", "drain", "idle"};
    all.insert(all.end(), middle.begin(), middle.end());
    all.insert(all.end(), {"update", "drain", "idle", "t12", "shut down"});
    return all;
}

TEST(EventLoop, MergesQueuedMotionsOfOneDeviceAndUpdatesOnce) {
    // (1, 2) + (3, -1) + (0, 5) = (4, 6), at the last position.
    EXPECT_EQ(run([] {
                  pushMotion(10, 10, 1, 2);
                  pushMotion(20, 20, 3, -1);
                  pushMotion(30, 31, 0, 5);
              }),
              framed({"t4 at 30,31 by 4,6 dev 0", "update"}));
}

TEST(EventLoop, DeliversWhatEndsAMotionRunAfterIt) {
    EXPECT_EQ(run([] {
                  pushMotion(5, 6, 1, 1);
                  pushKey(true, SDLK_a, 'a', KMOD_LSHIFT);
              }),
              framed({"t4 at 5,6 by 1,1 dev 0", "t2 key 97 char 97 mod 1", "update"}));
    // A motion of another device ends the run and is delivered unmerged:
    // the third motion is a dispatch of its own.
    EXPECT_EQ(run([] {
                  pushMotion(1, 1, 1, 1, 0);
                  pushMotion(2, 2, 2, 2, 1);
                  pushMotion(3, 3, 3, 3, 1);
              }),
              framed({"t4 at 1,1 by 1,1 dev 0", "t4 at 2,2 by 2,2 dev 1", "update", "t4 at 3,3 by 3,3 dev 1",
                      "update"}));
}

TEST(EventLoop, TranslatesEachEventType) {
    EXPECT_EQ(run([] {
                  pushMotion(65535, 7, -32768, 32767, 255);  // the full ranges
                  pushButton(true, 40, 41, 4);                // a wheel step is a button at the pointer
                  pushButton(false, 40, 41, 5);
                  pushKey(false, SDLK_LEFT, 0, KMOD_LCTRL);
                  SDL_Event active{};
                  active.active.type = SDL_ACTIVEEVENT;
                  push(active);
              }),
              framed({"t4 at 65535,7 by -32768,32767 dev 255", "t5 button at 40,41", "update",
                      "t6 button at 40,41", "update", "t3 key 276 char 0 mod 64", "update", "t1 other",
                      "update"}));
}

TEST(EventLoop, AQuitEndsWithoutAnUpdateEvenWithEventsBehindIt) {
    drainQueue();
    Recorder r;
    DemoApp::mainLoop(r, [&] {
        pushKey(true, SDLK_b, 'b');
        pushQuit();
        pushKey(true, SDLK_c, 'c');
    });
    EXPECT_EQ(r.log, (std::vector<std::string>{"update", "drain", "t2 key 98 char 98 mod 0", "update", "t12",
                                               "shut down"}));
    drainQueue();
}

TEST(EventLoop, AFullQueueOfMotionsIsOneDeliveryAndOneUpdate) {
    // SDL 1.2's queue holds 127 events; 100 motions by (1, -1) each.
    const auto log = run([] {
        for (int i = 0; i < 100; ++i) pushMotion(i, 2 * i, 1, -1);
    });
    EXPECT_EQ(log, framed({"t4 at 99,198 by 100,-100 dev 0", "update"}));
}

TEST(EventLoop, ExceptionsOfTheTargetLeaveTheLoopWithoutShutDown) {
    struct Failing final : LoopTarget {
        int handleEvent(const InputEvent&, int) override { throw std::runtime_error("handler"); }
        void updateScreen() override {}
        void whenIdle() override {}
        void shutDown() override { shut = true; }
        bool shut = false;
    } target;
    drainQueue();
    EXPECT_THROW(DemoApp::mainLoop(target, [] { pushQuit(); }), std::runtime_error);
    EXPECT_FALSE(target.shut);
}

}  // namespace
}  // namespace zil
