// Builds arbitrary UI descriptions into a fresh UI context and tears it
// down again. Failures may only be the system's own exceptions; crashes and
// leaks are the sanitizers' to find. Run it in a copy of demo/: the look
// bitmaps and fonts are found through its "app.config", and loads that fail
// write their logs there.
#include <SDL.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "shell/AppConfig.hpp"
#include "shell/Errors.hpp"
#include "shell/UILoader.hpp"
#include "ui/base/AttributeText.hpp"
#include "ui/controls/UIContext.hpp"
#include "ui/uixml/UIXMLBuild.hpp"

namespace {

using namespace zil;

// A window's screen is allocated at its box's size.
bool tooLarge(const std::vector<UIXMLItem>& items) {
    for (const UIXMLItem& item : items)
        for (const UIXMLAttribute& a : item.attributes) {
            if (a.name != "boundingbox") continue;
            std::optional<IRect2D> box = AttributeText::parseRectangle(a.value);
            if (box && (box->w > 2048 || box->h > 2048)) return true;
        }
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    if (SDL_Init(SDL_INIT_VIDEO) != 0) std::abort();
    AppConfig::load();
    // The loader's and the tree's reports would only slow the run down.
    int null = ::open("/dev/null", O_WRONLY);
    if (null < 0 || ::dup2(null, STDOUT_FILENO) < 0) std::abort();
    ::close(null);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    UILoader::Loaded loaded = UILoader::read(CharSource::ofText(text));
    if (tooLarge(loaded.items)) return 0;
    try {
        UIContext ctx(AppConfig::cell());
        ctx.classes.registerDemoPageClass();
        UIXMLBuild::buildControl(loaded.items, ctx);
    } catch (const Exn&) {
    }
    return 0;
}
