#pragma once
// The two bitmap fonts the program knows: their files, character lists,
// glyph widths, glyph heights and replacement characters. The font tool in
// tools/ draws the bitmaps from the same tables.
#include <array>
#include <cstdint>
#include <span>
#include <string_view>

#include "ui/base/BitmapFontFunc.hpp"

namespace zil::FontTables {

inline constexpr CharacterSpec lowerCase{'a', 'z'};
inline constexpr CharacterSpec upperCase{'A', 'Z'};
inline constexpr CharacterSpec digits{'0', '9'};

inline constexpr std::array<CharacterSpec, 3> clean14Specs{digits, upperCase, lowerCase};

// One spec per character, codes 32 to 127.
inline constexpr std::array<CharacterSpec, 96> lucida14Specs = [] {
    std::array<CharacterSpec, 96> specs{};
    for (int i = 0; i < 96; ++i) specs[i] = {static_cast<unsigned char>(i + 32), static_cast<unsigned char>(i + 32)};
    return specs;
}();

// '0'-'9', 'A'-'Z', 'a'-'z'.
inline constexpr std::array<std::int32_t, 62> clean14Widths{
    8, 6, 6, 6, 8, 7, 6, 7, 6, 7,                                                        //
    7, 7, 6, 7, 6, 7, 7, 7, 6, 7, 7, 6, 6, 7, 7, 7, 7, 7, 6, 7, 6, 7, 6, 7, 7, 7,        //
    6, 7, 6, 7, 7, 7, 6, 7, 7, 6, 7, 7, 6, 7, 7, 6, 7, 6, 8, 6, 7, 7, 6, 6, 7, 6};

// Codes 32 to 127.
inline constexpr std::array<std::int32_t, 96> lucida14Widths{
    8, 4,  8, 10, 9, 13, 11, 4,  6,  5,  7,  9,  5,  10, 4,  9,   // ' ' to '/'
    10, 9, 10, 9, 11, 9, 10, 10, 9,  10, 5,  5,  9,  10, 9,  9,   // '0' to '?'
    12, 11, 9, 11, 12, 9, 8,  11, 12, 4,  9,  10, 9,  13, 11, 14,  // '@' to 'O'
    8, 13, 10, 8, 12, 10, 11, 14, 9,  11, 10, 5,  9,  6,  8,  8,   // 'P' to '_'
    4, 9,  10, 7, 10, 9,  7,  11, 10, 4,  7,  10, 5,  14, 9,  11,  // '`' to 'o'
    9, 11, 7,  8, 7,  9,  10, 13, 8,  10, 8,  6,  3,  6,  10, 6};  // 'p' to 127

struct FontDefinition {
    std::string_view name;
    std::string_view fileName;
    unsigned char replacement;
    std::span<const std::int32_t> widths;
    std::span<const CharacterSpec> specs;
    std::int32_t glyphHeight;
    std::int32_t spacing;
};

inline constexpr std::array<FontDefinition, 2> fontDefinitions{{
    {"clean-14", "FontClean14.bmp", '/', clean14Widths, clean14Specs, 12, 2},
    {"lucida-14", "FontLucida14ASCII.bmp", '?', lucida14Widths, lucida14Specs, 15, 2},
}};

// The definition of `name`, or null.
constexpr const FontDefinition* findFontDefinition(std::string_view name) {
    for (const FontDefinition& d : fontDefinitions)
        if (d.name == name) return &d;
    return nullptr;
}

}  // namespace zil::FontTables
