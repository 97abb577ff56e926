#include "shell/Program.hpp"

#include <unistd.h>

#include <exception>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "glue/SDLFuncs.hpp"
#include "render/RiState.hpp"
#include "shell/AppConfig.hpp"
#include "shell/Constants.hpp"
#include "shell/DemoApp.hpp"
#include "shell/Errors.hpp"
#include "shell/OutStream.hpp"
#include "shell/UILoader.hpp"
#include "ui/controls/UIContext.hpp"
#include "ui/uixml/UIXMLBuild.hpp"

namespace zil::Program {

namespace {

template <class T, std::size_t N>
T bitwiseOr(const std::array<T, N>& flags) {
    T all = 0;
    for (T f : flags) all |= f;
    return all;
}

// Straight to the descriptor: the streams may be what failed.
void writeToStandardError(std::string_view text) {
    while (!text.empty()) {
        const ssize_t n = ::write(2, text.data(), text.size());
        if (n <= 0) return;
        text.remove_prefix(static_cast<std::size_t>(n));
    }
}

// Steps 10 to 13 of the start-up; true when the description loader
// reported something.
bool runApplication(UIContext& ctx, const IdleHook& idle) {
    mltSDL_EnableUNICODE(Constants::unicodeKeys);
    mltSDL_EnableKeyRepeat(Constants::keyRepeatDelay, Constants::keyRepeatInterval);
    AppConfig::load(ctx.config);
    UILoader::Loaded ui = UILoader::load();
    const std::vector<IdCell> made = UIXMLBuild::buildControl(ui.items, ctx);
    IdleStep step;
    if (idle) step = [&ctx, &idle] { idle(ctx); };
    DemoApp::start(ctx, DemoApp::topLevelWindows(ctx.tree, made), step);
    return ui.reported;
}

}  // namespace

int run(const IdleHook& idle) {
    Constants::initGlobals();
    try {
        // Output first: the exit steps close the streams in this order, and
        // a failure there is written to standard error.
        stdOut();
        stdErr();
        // The toolkit's stores, then its class registry; then the Ri layer
        // made anew, and the demo's own page class.
        std::optional<UIContext> ctx(std::in_place);
        ctx->ri = RiState();
        ctx->classes.registerDemoPageClass();

        if (mltSDL_Init(bitwiseOr(Constants::sdlInitFlags)) < 0) {
            outputString(stdErr(), Constants::sdlInitFailure + std::string(mltSDL_GetError()) + "\n");
            ctx.reset();
            closeAllStreams();
            return 1;
        }

        bool failed = true;
        try {
            failed = runApplication(*ctx, idle);
        } catch (...) {
            // A failure while reporting is the top-level handler's.
            reportException(std::current_exception(), stdErr());
        }
        // What the loop's shut-down left goes while SDL still runs.
        ctx.reset();
        mltSDL_Quit();
        closeAllStreams();
        return failed ? 1 : 0;
    } catch (...) {
        writeToStandardError("unhandled exception ");
        writeToStandardError(exnName(std::current_exception()));
        writeToStandardError("\n");
        return 1;
    }
}

}  // namespace zil::Program
