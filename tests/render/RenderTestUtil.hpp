#pragma once
// Helpers shared by the renderer tests: captured output and owned surfaces.
#include <gtest/gtest.h>

#include <SDL.h>

#include <functional>
#include <string>

namespace zil::test {

// Everything `f` writes to standard output.
inline std::string captured(const std::function<void()>& f) {
    testing::internal::CaptureStdout();
    f();
    return testing::internal::GetCapturedStdout();
}

struct Surface {
    SDL_Surface* s;
    Surface(int w, int h)
        : s(SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 32, 0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000)) {}
    ~Surface() { SDL_FreeSurface(s); }
    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;
    Uint32& at(int x, int y) { return static_cast<Uint32*>(s->pixels)[y * (s->pitch / 4) + x]; }
};

}  // namespace zil::test
