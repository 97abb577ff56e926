#pragma once
// The written forms of attribute values in the UI description, as the reader
// delivers them (without the enclosing single quotes). Each reader gives
// nothing, or an empty list, for text it cannot convert; none raises.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "shell/IRect2D.hpp"

namespace zil::AttributeText {

// A string value carries one pair of delimiters: the text without its first
// and last character; nothing for a text shorter than two.
std::optional<std::string> stripDelimiters(std::string_view text);

// 1 for exactly "true", 0 for exactly "false".
std::optional<std::int32_t> boolFromText(std::string_view text);

// 10.0 raised to n (n >= 0).
double powerOfTen(std::int32_t n);

// The whole text as [sign] digits ["." digits], sign "+" positive, "-" or "~"
// negative: integer part plus fraction digits over ten to their count, each
// part accumulated as value * 10.0 + digit. Nothing for any other text or a
// result that is not finite.
std::optional<double> realFromText(std::string_view text);

// "{x=X,y=Y,w=W,h=H}" with unsigned decimal numbers; spaces (not tabs or line
// ends) may stand before each piece, and whatever follows the "}" is ignored.
// Nothing for other text or a number beyond 32 bits.
std::optional<IRect2D> parseRectangle(std::string_view text);

// List texts: one enclosing character more at each end than the value's
// quotes, so the pieces lie between the third character and the last two,
// split at every ",". A text shorter than four characters is the empty list.
// Each piece loses its leading spaces; empty pieces are dropped.
// Strings: a piece keeps its inside (first and last character removed) when
// it has at least two characters. Booleans: a piece that is "true" or
// "false" gives 1 or 0; other pieces are skipped.
std::vector<std::string> stringsFromText(std::string_view text);
std::vector<std::int32_t> boolsFromText(std::string_view text);

}  // namespace zil::AttributeText
