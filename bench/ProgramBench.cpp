// The demo as the user meets it, under SDL's dummy video driver.
//
// BM_BarMoveToScreen: the whole UI built from demo/ui.uixml, its start and
// its real event loop. After a press on a bar, each iteration is one motion
// pushed from the loop's idle step: its dispatch (the bar follows the
// pointer, its binding sets its value: the corner sharpness, which the mesh
// takes, or the zoom), the screen update (the preview regenerates the
// surface and renders it, the bar is drawn, both are copied to the screen)
// and the idle moment's pool drains. The motions alternate by one pixel, so
// every one changes the value. Two cases bound the cost: the corner bar
// near 0 (a small surface, the cheapest) and the zoom bar at its far end
// (the largest surface, the dearest).
//
// BM_StartUpToFirstFrame: the program's entry in a fresh process (a fork
// that has run none of it), timed from the call to the first idle moment,
// when the first frame is on the screen; a quit then ends the run.
#include <benchmark/benchmark.h>

#include <SDL.h>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "DemoResources.hpp"
#include "shell/DemoApp.hpp"
#include "shell/Program.hpp"
#include "shell/UILoader.hpp"
#include "ui/controls/UIContext.hpp"
#include "ui/uixml/UIXMLBuild.hpp"

namespace {

using namespace zil;

void push(SDL_Event& e) {
    if (SDL_PushEvent(&e) != 0) std::abort();
}

void pushButton(bool down, int x, int y) {
    SDL_Event e{};
    e.button.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    e.button.button = SDL_BUTTON_LEFT;
    e.button.state = down ? SDL_PRESSED : SDL_RELEASED;
    e.button.x = static_cast<Uint16>(x);
    e.button.y = static_cast<Uint16>(y);
    push(e);
}

void pushMotion(int x, int y, int xrel) {
    SDL_Event e{};
    e.motion.type = SDL_MOUSEMOTION;
    e.motion.x = static_cast<Uint16>(x);
    e.motion.y = static_cast<Uint16>(y);
    e.motion.xrel = static_cast<Sint16>(xrel);
    push(e);
}

void pushQuit() {
    SDL_Event e{};
    e.type = SDL_QUIT;
    push(e);
}

// `atFarEnd`: the bar is first put one step short of its last position, so
// that the motions move it between its last two.
void BM_BarMoveToScreen(benchmark::State& state, const char* barName, bool atFarEnd) {
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        state.SkipWithError(SDL_GetError());
        return;
    }
    {
        UIContext ctx(bench::demoConfig());
        ctx.classes.registerDemoPageClass();
        UILoader::Loaded ui = UILoader::load((bench::demoDir() / "ui.uixml").string());
        const std::vector<IdCell> windows =
            DemoApp::topLevelWindows(ctx.tree, UIXMLBuild::buildControl(ui.items, ctx));
        const IdCell bar = ctx.tree.findControlByName(windows.front(), barName);
        // The bar's place in the window: its own box and its ancestors'.
        IRect2D at = ctx.tree.lookup(bar)->boundingBox.value();
        for (IdCell p = ctx.tree.lookup(bar)->parent; idOf(ctx.tree.lookup(p)->parent) != 0;
             p = ctx.tree.lookup(p)->parent) {
            at.x += ctx.tree.lookup(p)->boundingBox.value().x;
            at.y += ctx.tree.lookup(p)->boundingBox.value().y;
        }
        const int x = at.x + 20, y = at.y + at.h / 2;
        int idles = 0;
        DemoApp::start(ctx, windows, [&] {
            if (idles++ == 0) {
                if (atFarEnd) {
                    const UIAttributes& attributes = ctx.tree.attributes();
                    attributes.get<Attr::NInt>(bar, "barpos")
                        ->set(attributes.get<Attr::NInt>(bar, "barrange")->value() -
                              attributes.get<Attr::NInt>(bar, "barsize")->value() - 1);
                }
                pushButton(true, x, y);
            } else if (state.KeepRunning()) {
                const int dx = idles % 2 == 0 ? 1 : -1;
                pushMotion(x + (dx > 0 ? 1 : 0), y, dx);
            } else {
                pushButton(false, x, y);
                pushQuit();
            }
        });
    }
    SDL_Quit();
}
BENCHMARK_CAPTURE(BM_BarMoveToScreen, cornerNearZero, "cornersharpnessbar", false)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_BarMoveToScreen, zoomAtFarEnd, "zoombar", true)->Unit(benchmark::kMicrosecond);

// A copy of demo/ to run in: the program works in its working directory.
class DemoCopy {
public:
    DemoCopy() {
        char name[] = "/tmp/zilbenchXXXXXX";
        if (::mkdtemp(name) == nullptr) std::abort();
        dir_ = name;
        std::filesystem::copy(bench::demoDir(), dir_, std::filesystem::copy_options::recursive);
    }
    ~DemoCopy() { std::filesystem::remove_all(dir_); }
    const std::filesystem::path& dir() const { return dir_; }

private:
    std::filesystem::path dir_;
};

void BM_StartUpToFirstFrame(benchmark::State& state) {
    DemoCopy demo;
    for (auto _ : state) {
        int fds[2];
        if (::pipe(fds) != 0) std::abort();
        const pid_t pid = ::fork();
        if (pid == 0) {
            const int null = ::open("/dev/null", O_WRONLY);
            if (null < 0 || ::dup2(null, 1) < 0 || ::dup2(null, 2) < 0 || ::chdir(demo.dir().c_str()) != 0)
                ::_exit(120);
            const auto start = std::chrono::steady_clock::now();
            const int status = Program::run([&](UIContext&) {
                const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
                if (::write(fds[1], &seconds, sizeof seconds) != sizeof seconds) ::_exit(121);
                pushQuit();
            });
            ::_exit(status);
        }
        ::close(fds[1]);
        double seconds = 0.0;
        const bool got = ::read(fds[0], &seconds, sizeof seconds) == sizeof seconds;
        ::close(fds[0]);
        int status = 0;
        ::waitpid(pid, &status, 0);
        if (!got || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            state.SkipWithError("the program did not reach its first idle moment and end with 0");
            return;
        }
        state.SetIterationTime(seconds);
    }
}
BENCHMARK(BM_StartUpToFirstFrame)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
