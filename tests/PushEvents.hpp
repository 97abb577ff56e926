#pragma once
// Events pushed into SDL's queue the way the drivers put them there, for
// tests that run the real event loop under the dummy video driver.
#include <gtest/gtest.h>

#include <SDL.h>

#include <cstdint>

namespace zil::testing {

inline void push(SDL_Event& e) { ASSERT_EQ(SDL_PushEvent(&e), 0) << "SDL's queue is full"; }

inline void pushMotion(int x, int y, int xrel, int yrel, int which = 0) {
    SDL_Event e{};
    e.motion.type = SDL_MOUSEMOTION;
    e.motion.which = static_cast<Uint8>(which);
    e.motion.x = static_cast<Uint16>(x);
    e.motion.y = static_cast<Uint16>(y);
    e.motion.xrel = static_cast<Sint16>(xrel);
    e.motion.yrel = static_cast<Sint16>(yrel);
    push(e);
}

inline void pushButton(bool down, int x, int y, int button = SDL_BUTTON_LEFT) {
    SDL_Event e{};
    e.button.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    e.button.button = static_cast<Uint8>(button);
    e.button.state = down ? SDL_PRESSED : SDL_RELEASED;
    e.button.x = static_cast<Uint16>(x);
    e.button.y = static_cast<Uint16>(y);
    push(e);
}

// A press and a release at one place.
inline void pushClick(int x, int y) {
    pushButton(true, x, y);
    pushButton(false, x, y);
}

inline void pushKey(bool down, int sym, int unicode = 0, int mod = 0) {
    SDL_Event e{};
    e.key.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    e.key.keysym.sym = static_cast<SDLKey>(sym);
    e.key.keysym.mod = static_cast<SDLMod>(mod);
    e.key.keysym.unicode = static_cast<Uint16>(unicode);
    push(e);
}

// A key pressed and let go.
inline void pushKeyStroke(int sym, int unicode = 0, int mod = 0) {
    pushKey(true, sym, unicode, mod);
    pushKey(false, sym, 0, mod);
}

inline void pushQuit() {
    SDL_Event e{};
    e.type = SDL_QUIT;
    push(e);
}

inline void drainQueue() {
    SDL_Event e;
    while (SDL_PollEvent(&e) != 0) continue;
}

// SDL's video part under the dummy driver for the whole test program.
class SdlVideoEnvironment : public ::testing::Environment {
public:
    void SetUp() override { ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError(); }
    void TearDown() override { SDL_Quit(); }
};

}  // namespace zil::testing
