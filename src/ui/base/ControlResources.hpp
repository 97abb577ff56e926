#pragma once
// What a control gives back when it is destroyed: the shared fonts and look
// bitmaps its look set-up took, the fonts it owns alone, and its rendering
// context's check for unmatched Begin/End calls. The per-kind set-up fills
// one of these; control destruction runs release().
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include <SDL.h>

#include "shell/AppConfig.hpp"
#include "ui/base/FontContext.hpp"

namespace zil {

class ImageManager;
struct RiState;

// The look-and-feel bitmaps one control took from the image manager.
class LookBitmaps {
public:
    LookBitmaps() = default;
    LookBitmaps(LookBitmaps&&) noexcept = default;
    LookBitmaps& operator=(LookBitmaps&&) noexcept = default;

    // The bitmap `fileName` from the "ui/lf/vuq/" directory of `config`, or
    // null when it does not load. Only a bitmap that loaded is remembered,
    // so only those are given back. `images` must outlive the give-back.
    SDL_Surface* take(ImageManager& images, const AppConfig::Cell& config, std::string_view fileName);

    // Gives back every bitmap taken, in the order taken; once.
    void giveBack();

private:
    ImageManager* images_ = nullptr;
    std::vector<std::string> paths_;
};

struct ControlResources {
    std::vector<FontHandle> fonts;                         // shared fonts
    LookBitmaps lookBitmaps;                               // shared bitmaps
    std::vector<std::shared_ptr<SDLBitmapFont>> ownFonts;  // fonts of this control alone
    RiState* riContext = nullptr;                          // a control that renders

    // Releases the font handles in order, gives the look bitmaps back, frees
    // the own fonts' surfaces (cache first), and writes "Unmatched calls to
    // Ri*Begin / Ri*End functions!\n" when the rendering context has a block
    // open. Runs once: later calls do nothing. A failing step does not keep
    // the later ones from running; the first failure is raised at the end.
    void release();
};

}  // namespace zil
