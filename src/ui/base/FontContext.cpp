#include "ui/base/FontContext.hpp"

#include <algorithm>
#include <vector>

#include "glue/SDLFuncs.hpp"
#include "shell/Errors.hpp"
#include "ui/base/ImageManager.hpp"

namespace zil {

void FontHandle::release() {
    if (!entry_) return;
    std::shared_ptr<PoolEntry> entry = std::move(entry_);
    entry_.reset();
    font_.reset();
    if (--entry->count <= 0) entry->free();
}

void FontContext::releaseFont(SDLBitmapFont& font) {
    font.freeSurfaces();
    std::erase_if(fonts_, [&font](const FontListEntry& e) { return e.font.get() == &font; });
}

std::unique_ptr<SDLBitmapFont> buildOutlineFont(ImageManager& images, const AppConfig::Cell& config,
                                                std::string_view name) {
    const Constants::FontDefinition* def = Constants::findFontDefinition(name);
    if (def == nullptr) throw EGeneric::named("RESSOURCE", "Font " + std::string(name) + " not found!\n");
    GlyphTable plain =
        BitmapFontFunc::buildGlyphTable(def->replacement, def->widths, def->specs, def->glyphHeight, def->spacing);
    std::string path = lookupResourcePath(config, "ui/fonts/") + std::string(def->fileName);
    SDL_Surface* image = images.getImage(path);
    if (image == nullptr) throw EGeneric::named("RESSOURCE", "Could not open font file " + path + "\n");

    // Each cell of the outline font is two pixels wider and higher than the
    // plain glyph, which sits one pixel in from its top-left corner.
    std::vector<std::int32_t> widths(def->widths.begin(), def->widths.end());
    for (std::int32_t& w : widths) w += 2;
    GlyphTable outline =
        BitmapFontFunc::buildGlyphTable(def->replacement, widths, def->specs, def->glyphHeight + 2, -2);

    std::unique_ptr<SDLBitmapFont> font;
    try {
        std::int32_t n = 0;
        for (const CharacterSpec& s : def->specs) n += s.last - s.first + 1;
        SDL_Surface* bitmap =
            createFontSurface(mltSDLSurface_GetWidth(image) + 2 * n, mltSDLSurface_GetHeight(image) + 2);
        try {
            font = std::make_unique<SDLBitmapFont>(bitmap, std::move(outline), ColorRGB::of(Constants::whiteColour), false);
        } catch (...) {
            mltSDL_FreeSurface(bitmap);
            throw;
        }
        // The glyphs are copied as they are, without blending, so the outline
        // bitmap keeps the file's intensities exactly.
        std::int32_t k = 0;
        for (const CharacterSpec& s : def->specs) {
            for (int code = s.first; code <= s.last; ++code, ++k) {
                const std::optional<Glyph>& g = plain.glyphs[static_cast<std::size_t>(code - plain.firstCode)];
                if (g) mltSDL_BlitSurface(image, g->x, g->y, g->w, g->h, bitmap, g->x + 2 * k + 1, 1, g->w, g->h);
            }
        }
    } catch (...) {
        images.autorelease(path);
        throw;
    }
    images.autorelease(path);
    return font;
}

FontHandle FontContext::load(ImageManager& images, const AppConfig::Cell& config, std::string_view name,
                             const ColorRGB& colour) {
    for (auto it = fonts_.rbegin(); it != fonts_.rend(); ++it) {
        if (it->name == name && it->colour == colour) {
            ++it->entry->count;
            return FontHandle(it->font, it->entry);
        }
    }
    std::shared_ptr<SDLBitmapFont> font = buildOutlineFont(images, config, name);
    font->setColour(colour);
    font->setFramed(true);
    std::shared_ptr<PoolEntry> entry = pool_.add([this, font] { releaseFont(*font); });
    try {
        fonts_.push_back(FontListEntry{std::string(name), colour, font, entry});
    } catch (...) {
        entry->free();
        throw;
    }
    return FontHandle(std::move(font), std::move(entry));
}

}  // namespace zil
