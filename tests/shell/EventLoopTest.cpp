// The event loop over SDL's real queue (dummy driver), driving a target that
// records what reaches it.
#include "shell/EventLoop.hpp"

#include <gtest/gtest.h>

#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "PushEvents.hpp"

namespace zil {
namespace {

using namespace zil::testing;
using Log = std::vector<std::string>;

[[maybe_unused]] auto* const sdl = ::testing::AddGlobalTestEnvironment(new SdlVideoEnvironment);

struct Recorder final : LoopTarget {
    int handleEvent(const InputEvent& e, int type) override {
        // A stream, not string sums: GCC 12 misreads those as overlapping copies.
        std::ostringstream s;
        s << 't' << type;
        if (const auto* m = std::get_if<MotionRecord>(&e))
            s << ' ' << m->x << ',' << m->y << " by " << m->xrel << ',' << m->yrel << " dev " << m->which;
        else if (const auto* b = std::get_if<MouseButton>(&e))
            s << ' ' << b->x << ',' << b->y;
        else if (const auto* k = std::get_if<KeyEvent>(&e))
            s << " key " << k->sym << ' ' << k->unicode << ' ' << k->modifiers;
        else if (std::holds_alternative<OtherEvent>(e))
            s << " other";
        log.push_back(s.str());
        return type == EventType::quit ? 0 : 1;
    }
    void updateScreen() override { log.push_back("update"); }
    void whenIdle() override { log.push_back("drain"); }
    void shutDown() override { log.push_back("shut down"); }
    Log log;
};

// The idle step pushes `events` first, a quit at the next idle moment.
Log run(const std::function<void()>& events) {
    drainQueue();
    Recorder r;
    int idles = 0;
    DemoApp::mainLoop(r, [&] {
        r.log.push_back("idle");
        idles++ == 0 ? events() : pushQuit();
    });
    return r.log;
}

TEST(EventLoop, MergesQueuedMotionsAndUpdatesOncePerDispatch) {
    struct Case {
        std::function<void()> push;
        Log dispatched;  // between the first idle moment and the last
    } cases[] = {
        // (1, 2) + (3, -1) + (0, 5), at the last position.
        {[] { pushMotion(10, 10, 1, 2), pushMotion(20, 20, 3, -1), pushMotion(30, 31, 0, 5); },
         {"t4 30,31 by 4,6 dev 0", "update"}},
        // The event that ends a run follows it in the same dispatch.
        {[] { pushMotion(5, 6, 1, 1), pushKey(true, SDLK_a, 'a', KMOD_LSHIFT); },
         {"t4 5,6 by 1,1 dev 0", "t2 key 97 97 1", "update"}},
        // Another device's motion ends the run unmerged; the next is a dispatch of its own.
        {[] { pushMotion(1, 1, 1, 1, 0), pushMotion(2, 2, 2, 2, 1), pushMotion(3, 3, 3, 3, 1); },
         {"t4 1,1 by 1,1 dev 0", "t4 2,2 by 2,2 dev 1", "update", "t4 3,3 by 3,3 dev 1", "update"}},
        // 100 motions of (1, -1): SDL 1.2's queue holds 127.
        {[] { for (int i = 0; i < 100; ++i) pushMotion(i, 2 * i, 1, -1); },
         {"t4 99,198 by 100,-100 dev 0", "update"}},
        // Full field ranges; buttons 1 to 3 are a button at the pointer,
        // every other one (the wheel's notches, up, down and sideways, and
        // the side buttons) a button type with nothing to press; key up
        // has the key's fields; other types pass as they are.
        {[] {
             pushMotion(65535, 7, -32768, 32767, 255);
             pushButton(true, 40, 41, SDL_BUTTON_RIGHT);
             pushButton(false, 40, 41, SDL_BUTTON_MIDDLE);
             pushButton(true, 40, 41, SDL_BUTTON_WHEELUP);
             pushButton(false, 40, 41, SDL_BUTTON_WHEELDOWN);
             pushButton(true, 40, 41, 6);
             pushButton(false, 40, 41, 7);
             pushButton(true, 40, 41, 8);
             pushButton(false, 40, 41, 9);
             pushKey(false, SDLK_LEFT, 0, KMOD_LCTRL);
             SDL_Event active{};
             active.type = SDL_ACTIVEEVENT;
             push(active);
         },
         {"t4 65535,7 by -32768,32767 dev 255", "t5 40,41", "update", "t6 40,41", "update", "t5 other", "update",
          "t6 other", "update", "t5 other", "update", "t6 other", "update", "t5 other", "update", "t6 other", "update",
          "t3 key 276 0 64", "update", "t1 other", "update"}},
    };
    for (const Case& c : cases) {
        Log expected{"update", "drain", "idle"};
        expected.insert(expected.end(), c.dispatched.begin(), c.dispatched.end());
        expected.insert(expected.end(), {"update", "drain", "idle", "t12", "shut down"});
        EXPECT_EQ(run(c.push), expected);
    }
}

TEST(EventLoop, AQuitEndsAtOnceAndAFailureSkipsTheShutDown) {
    EXPECT_EQ(run([] { pushKey(true, SDLK_b, 'b'), pushQuit(), pushKey(true, SDLK_c, 'c'); }),
              (Log{"update", "drain", "idle", "t2 key 98 98 0", "update", "t12", "shut down"}));
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
