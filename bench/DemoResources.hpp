#pragma once
// What the benchmarks that draw share: the demo's resource table and a
// screen-like 32-bit surface.
#include <SDL.h>

#include <cstdlib>
#include <filesystem>

#include "shell/AppConfig.hpp"

namespace zil::bench {

inline std::filesystem::path demoDir() {
    const char* src = std::getenv("ZIL_SOURCE_DIR");
    return std::filesystem::path(src ? src : ".") / "demo";
}

// Both resource keys name the demo's folders.
inline AppConfig::Cell demoConfig() {
    AppConfig::Table t;
    AppConfig::insert(t, "ui/lf/vuq/", (demoDir() / "ui/lf/vuq").string() + "/");
    AppConfig::insert(t, "ui/fonts/", (demoDir() / "ui/fonts").string() + "/");
    return t;
}

inline SDL_Surface* screenLike(int w, int h) {
    return SDL_CreateRGBSurface(0, w, h, 32, 0x00FF0000, 0x0000FF00, 0x000000FF, 0);
}

}  // namespace zil::bench
