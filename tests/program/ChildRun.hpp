#pragma once
// Runs the program's entry in a child process, in a scratch copy of demo/,
// with standard output and error caught in files; and the screen pictures
// and control boxes that an idle hook in the child leaves for the parent.
#include <gtest/gtest.h>

#include <SDL.h>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "shell/IRect2D.hpp"
#include "shell/ShellTestSupport.hpp"
#include "shell/Program.hpp"
#include "ui/controls/UIContext.hpp"

namespace zil::testing {

namespace fs = std::filesystem;

inline fs::path sourceDemoDir() {
    const char* src = std::getenv("ZIL_SOURCE_DIR");
    return fs::path(src ? src : ".") / "demo";
}

// A scratch directory holding a copy of demo/.
class DemoCopy {
public:
    DemoCopy() { fs::copy(sourceDemoDir(), dir(), fs::copy_options::recursive); }
    fs::path dir() const { return scratch_.path("demo"); }
    fs::path file(std::string_view name) const { return dir() / name; }
    std::string read(std::string_view name) const {
        std::ifstream in(file(name), std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }
    void write(std::string_view name, std::string_view text) const {
        std::ofstream(file(name), std::ios::binary) << text;
    }
    // Replaces the first `from` in the description; fails when absent.
    void edit(std::string_view from, std::string_view to) const {
        std::string text = read("ui.uixml");
        const auto at = text.find(from);
        ASSERT_NE(at, std::string::npos) << from;
        text.replace(at, from.size(), to);
        write("ui.uixml", text);
    }

private:
    ScratchDir scratch_;
};

struct Outcome {
    int status = -1;  // exit status, or -1 when the child did not exit
    std::string out, err;
};

// A child still running after this long is killed, and the test fails: a
// program that never quits must not hang the suite.
inline constexpr int kChildSeconds = 120;
// The idle hook runs at most this many times; a child that gets that far
// without quitting ends with kIdleCapStatus, so that hooks that save the
// screen at every idle moment cannot fill the disk.
inline constexpr int kIdleCap = 20;
inline constexpr int kIdleCapStatus = 125;

inline std::string slurp(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// Waits for the child, or kills it once `seconds` have passed; false then.
inline bool waitOrKill(pid_t pid, int& status, int seconds) {
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline = Clock::now() + std::chrono::seconds(seconds);
    std::chrono::microseconds pause(100);
    for (;;) {
        const pid_t done = ::waitpid(pid, &status, WNOHANG);
        if (done == pid || (done < 0 && errno != EINTR)) return true;
        if (Clock::now() >= deadline) break;
        std::this_thread::sleep_for(pause);
        pause = std::min(pause * 2, std::chrono::microseconds(20000));
    }
    ::kill(pid, SIGKILL);
    ::waitpid(pid, &status, 0);
    return false;
}

// Forks; the child works in `dir` with descriptors 1 and 2 on files (or 1
// on `stdoutPath` when given), runs `body` and exits with its result.
template <class Body>
Outcome inChild(const fs::path& dir, Body body, const char* stdoutPath = nullptr, int seconds = kChildSeconds) {
    const fs::path out = dir / ".out", err = dir / ".err";
    std::fflush(nullptr);
    const pid_t pid = ::fork();
    if (pid == 0) {
        const int o = ::open(stdoutPath ? stdoutPath : out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int e = ::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (o < 0 || e < 0 || ::dup2(o, 1) < 0 || ::dup2(e, 2) < 0 || ::chdir(dir.c_str()) != 0) ::_exit(120);
        ::close(o);
        ::close(e);
        ::_exit(body());
    }
    int status = 0;
    if (!waitOrKill(pid, status, seconds))
        ADD_FAILURE() << "The child was still running after " << seconds << " s and was killed";
    Outcome o;
    o.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    o.out = slurp(out);
    o.err = slurp(err);
    fs::remove(out);
    fs::remove(err);
    return o;
}

// The program's entry in the child; `idle` runs at each idle moment with
// its count from 0, up to the cap.
inline Outcome runProgram(const fs::path& dir, std::function<void(UIContext&, int)> idle,
                          const char* stdoutPath = nullptr) {
    const Outcome o = inChild(
        dir,
        [&] {
            int n = 0;
            return Program::run([&](UIContext& ctx) {
                if (n == kIdleCap) ::_exit(kIdleCapStatus);
                idle(ctx, n++);
            });
        },
        stdoutPath);
    if (o.status == kIdleCapStatus)
        ADD_FAILURE() << "The program had not quit after " << kIdleCap << " idle moments and was ended";
    return o;
}

// Pushes a quit at the first idle moment.
inline void quitAtOnce(UIContext&, int) {
    SDL_Event e{};
    e.type = SDL_QUIT;
    SDL_PushEvent(&e);
}

// --- What the child leaves: screen pictures and boxes. ---

struct Picture {
    int w = 0, h = 0;
    std::vector<std::uint32_t> px;
    std::uint32_t at(int x, int y) const { return px[static_cast<std::size_t>(y) * w + x]; }
};

// The screen's pixels into `file` (width, height, then the rows).
inline void saveScreen(const fs::path& file) {
    SDL_Surface* s = SDL_GetVideoSurface();
    std::ofstream o(file, std::ios::binary);
    const std::int32_t size[2] = {s->w, s->h};
    o.write(reinterpret_cast<const char*>(size), sizeof size);
    SDL_LockSurface(s);
    for (int y = 0; y < s->h; ++y)
        o.write(static_cast<const char*>(s->pixels) + static_cast<std::ptrdiff_t>(y) * s->pitch, s->w * 4);
    SDL_UnlockSurface(s);
}

inline Picture loadPicture(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::int32_t size[2] = {0, 0};
    in.read(reinterpret_cast<char*>(size), sizeof size);
    Picture p{size[0], size[1], {}};
    p.px.resize(static_cast<std::size_t>(p.w) * p.h);
    in.read(reinterpret_cast<char*>(p.px.data()), static_cast<std::streamsize>(p.px.size() * 4));
    return p;
}

// The control's box in window coordinates: its own and its ancestors'
// offsets, the top-level window's excepted.
inline IRect2D windowBox(const ControlTree& tree, IdCell id) {
    IRect2D box = tree.lookup(id)->boundingBox.value();
    for (IdCell p = tree.lookup(id)->parent; idOf(p) != 0 && idOf(tree.lookup(p)->parent) != 0;
         p = tree.lookup(p)->parent) {
        box.x += tree.lookup(p)->boundingBox.value().x;
        box.y += tree.lookup(p)->boundingBox.value().y;
    }
    return box;
}

inline bool inside(const IRect2D& r, int x, int y) { return x >= r.x && x < r.x + r.w && y >= r.y && y < r.y + r.h; }

}  // namespace zil::testing
