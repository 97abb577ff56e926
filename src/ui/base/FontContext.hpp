#pragma once
// The program's shared fonts: a font is made by the first request for its
// name and colour, shared by later ones, counted, and recorded in the font
// pool. Every font handed out is an outline font: its glyphs stand one pixel
// apart from their cells' edges, room for the rim a framed font draws.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "render/ColorRGB.hpp"
#include "shell/AppConfig.hpp"
#include "ui/base/AutoreleasePool.hpp"
#include "ui/base/SDLBitmapFont.hpp"

namespace zil {

class ImageManager;

// One reference to a shared font, given back once with release(). Move only.
class FontHandle {
public:
    FontHandle() = default;
    FontHandle(std::shared_ptr<SDLBitmapFont> font, std::shared_ptr<PoolEntry> entry)
        : font_(std::move(font)), entry_(std::move(entry)) {}
    FontHandle(FontHandle&&) noexcept = default;
    FontHandle& operator=(FontHandle&&) noexcept = default;
    FontHandle(const FontHandle&) = delete;
    FontHandle& operator=(const FontHandle&) = delete;

    explicit operator bool() const { return font_ != nullptr; }
    SDLBitmapFont& font() const { return *font_; }
    const std::shared_ptr<SDLBitmapFont>& shared() const { return font_; }
    // The font's reference count.
    std::int32_t count() const { return entry_ ? entry_->count : 0; }

    // Gives the reference back; the font is freed at once when none is left,
    // and neither a drain nor a destroy of the pool frees it again. The
    // handle is empty afterwards; releasing an empty handle does nothing.
    void release();

private:
    std::shared_ptr<SDLBitmapFont> font_;
    std::shared_ptr<PoolEntry> entry_;
};

struct FontListEntry {
    std::string name;
    ColorRGB colour;
    std::shared_ptr<SDLBitmapFont> font;
    std::shared_ptr<PoolEntry> entry;  // holds the count
};

class FontContext {
public:
    FontContext() = default;
    FontContext(const FontContext&) = delete;
    FontContext& operator=(const FontContext&) = delete;

    // The font pool: drained when idle, destroyed at shut-down.
    AutoreleasePool& pool() { return pool_; }
    // The shared fonts, oldest first.
    const std::vector<FontListEntry>& fonts() const { return fonts_; }

    // See loadFont below.
    FontHandle load(ImageManager& images, const AppConfig::Cell& config, std::string_view name,
                    const ColorRGB& colour);

private:
    // Frees the font's surfaces and takes it off the list.
    void releaseFont(SDLBitmapFont& font);

    std::vector<FontListEntry> fonts_;
    AutoreleasePool pool_;  // after the list: its releases edit the list
};

// The shared font `name` in `colour` (colours compared exactly), built on
// first use from the bitmap found under the "ui/fonts/" directory of
// `config`; one more reference. An unknown name raises EGeneric "RESSOURCE"
// "Font " name " not found!\n"; a bitmap that does not load, "Could not open
// font file " path "\n". A failure adds nothing.
inline FontHandle loadFont(FontContext& fonts, ImageManager& images, const AppConfig::Cell& config,
                           std::string_view name, const ColorRGB& colour) {
    return fonts.load(images, config, name, colour);
}

// An outline font of `name` that belongs to its caller alone: white,
// unframed, neither shared nor counted. Failures as loadFont's.
std::unique_ptr<SDLBitmapFont> buildOutlineFont(ImageManager& images, const AppConfig::Cell& config,
                                                std::string_view name);

}  // namespace zil
