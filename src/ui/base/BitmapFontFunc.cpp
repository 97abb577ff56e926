#include "ui/base/BitmapFontFunc.hpp"

#include <algorithm>
#include <string>

#include "shell/Constants.hpp"
#include "shell/Errors.hpp"

namespace zil::BitmapFontFunc {

GlyphTable buildGlyphTable(unsigned char replacement, std::span<const std::int32_t> widths,
                           std::span<const CharacterSpec> specs, std::int32_t height, std::int32_t spacing) {
    if (specs.empty()) throw Constants::errNoCharacterSpecs();
    int firstCode = 255;
    int lastCode = 0;
    for (const CharacterSpec& s : specs) {
        firstCode = std::min<int>(firstCode, s.first);
        lastCode = std::max<int>(lastCode, s.last);
    }
    GlyphTable table;
    table.firstCode = firstCode;
    table.replacementIndex = replacement - firstCode;
    table.spacing = spacing;
    table.glyphs.resize(static_cast<std::size_t>(std::max(lastCode - firstCode + 1, 0)));
    std::size_t next = 0;
    std::int32_t x = 0;
    for (const CharacterSpec& s : specs) {
        for (int code = s.first; code <= s.last && next < widths.size(); ++code) {
            std::int32_t w = widths[next++];
            table.glyphs[static_cast<std::size_t>(code - firstCode)] = Glyph{x, 0, w, height};
            x += w;
        }
    }
    return table;
}

namespace {

const Glyph* slot(const GlyphTable& table, std::int32_t i) noexcept {
    if (i < 0 || static_cast<std::size_t>(i) >= table.glyphs.size()) return nullptr;
    const std::optional<Glyph>& g = table.glyphs[static_cast<std::size_t>(i)];
    return g ? &*g : nullptr;
}

}  // namespace

const Glyph* findGlyph(const GlyphTable& table, unsigned char c) noexcept {
    if (const Glyph* g = slot(table, c - table.firstCode)) return g;
    return slot(table, table.replacementIndex);
}

Glyph getChar(const GlyphTable& table, unsigned char c) {
    if (const Glyph* g = findGlyph(table, c)) return *g;
    throw EGeneric::internal("Invalid character in BitmapFontFunc.getChar: " + std::string(1, static_cast<char>(c)) +
                             " code: " + std::to_string(c));
}

}  // namespace zil::BitmapFontFunc
