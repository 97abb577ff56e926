#pragma once
// Helpers of the image and font tests: the committed bitmaps of demo/, a
// scratch working directory (failed loads write their log files there), a
// resource table pointing at a directory, and pixel access.
#include <gtest/gtest.h>

#include <SDL.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "shell/AppConfig.hpp"
#include "shell/ShellTestSupport.hpp"

namespace zil::testing {

inline std::filesystem::path demoDir() {
    const char* src = std::getenv("ZIL_SOURCE_DIR");
    return std::filesystem::path(src ? src : ".") / "demo";
}
inline std::string lookFile(std::string_view name) { return (demoDir() / "ui/lf/vuq" / name).string(); }
inline std::string fontFile(std::string_view name) { return (demoDir() / "ui/fonts" / name).string(); }

// A table whose two resource keys name `dir` (with its final "/").
inline AppConfig::Cell configFor(const std::filesystem::path& lookDir, const std::filesystem::path& fontDir) {
    AppConfig::Table t;
    AppConfig::insert(t, "ui/lf/vuq/", lookDir.string() + "/");
    AppConfig::insert(t, "ui/fonts/", fontDir.string() + "/");
    return t;
}
inline AppConfig::Cell demoConfig() { return configFor(demoDir() / "ui/lf/vuq", demoDir() / "ui/fonts"); }

// Makes a scratch directory the working directory for the test's lifetime.
class InScratchDir {
public:
    InScratchDir() : old_(std::filesystem::current_path()) { std::filesystem::current_path(root()); }
    ~InScratchDir() { std::filesystem::current_path(old_); }
    std::string path(std::string_view name) const { return dir_.path(name); }
    std::filesystem::path root() const { return std::filesystem::path(dir_.path("x")).parent_path(); }
    std::string write(std::string_view name, std::string_view content) const { return dir_.write(name, content); }

private:
    ScratchDir dir_;
    std::filesystem::path old_;
};

inline Uint32 pixel(SDL_Surface* s, int x, int y) {
    return static_cast<Uint32*>(s->pixels)[static_cast<std::ptrdiff_t>(y) * s->pitch / 4 + x];
}
inline void setPixel(SDL_Surface* s, int x, int y, Uint32 v) {
    static_cast<Uint32*>(s->pixels)[static_cast<std::ptrdiff_t>(y) * s->pitch / 4 + x] = v;
}
// A plain 32-bit surface without alpha, as the screen is.
inline SDL_Surface* screenLike(int w, int h) {
    return SDL_CreateRGBSurface(0, w, h, 32, 0x00FF0000, 0x0000FF00, 0x000000FF, 0);
}

}  // namespace zil::testing
