#pragma once
// Glyph tables of the bitmap fonts: which rectangle of a font bitmap, one
// row of glyphs side by side, belongs to which character.
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "shell/Constants.hpp"

namespace zil {

struct Glyph {
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t w = 0;
    std::int32_t h = 0;
    bool operator==(const Glyph&) const = default;
};

struct GlyphTable {
    std::int32_t firstCode = 0;
    // The replacement character's code minus firstCode; may lie outside
    // `glyphs`, and then the font has no replacement glyph.
    std::int32_t replacementIndex = 0;
    std::int32_t spacing = 0;  // added after every glyph's width
    std::vector<std::optional<Glyph>> glyphs;  // by code minus firstCode
};

namespace BitmapFontFunc {

// Lays the characters of `specs` side by side from x = 0, in spec order and
// code order within a spec, each as wide as the next entry of `widths`.
// Characters left when the widths run out get no glyph; surplus widths are
// ignored. An empty spec list raises the internal error "No character specs
// in BitmapFontFunc!".
GlyphTable buildGlyphTable(unsigned char replacement, std::span<const std::int32_t> widths,
                           std::span<const CharacterSpec> specs, std::int32_t height, std::int32_t spacing);

// The glyph of `c`, else the replacement glyph, else null.
const Glyph* findGlyph(const GlyphTable& table, unsigned char c) noexcept;

// As findGlyph; where it finds none, raises the internal error "Invalid
// character in BitmapFontFunc.getChar: " c " code: " n.
Glyph getChar(const GlyphTable& table, unsigned char c);

}  // namespace BitmapFontFunc
}  // namespace zil
