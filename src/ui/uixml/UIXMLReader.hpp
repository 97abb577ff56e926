#pragma once
// Reader of the UI description markup: comment, control, close and alias
// tags with quoted attribute values and character escapes. It reads one item
// at a time from a persistent character source and keeps no state.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "ui/uixml/CharSource.hpp"

namespace zil {

struct UIXMLAttribute {
    std::string name;
    std::string value;  // escapes replaced by their characters
    bool operator==(const UIXMLAttribute&) const = default;
};

// One tag of the description. Only Open carries data: its attributes in
// file order. Nesting is given by the order of Open and Close items.
struct UIXMLItem {
    enum class Kind : std::uint8_t { Comment, Open, Close, Alias };
    Kind kind = Kind::Comment;
    std::vector<UIXMLAttribute> attributes;
    bool operator==(const UIXMLItem&) const = default;
};

namespace UIXMLReader {

struct ItemStep {
    std::optional<UIXMLItem> item;  // none: nothing more can be read
    CharSource rest;                // after the item and its blanks; the given source when none
};

// Reads the item at `source` (which must stand at its "<") and the blanks
// after it. A syntax failure gives no item. An escape above 255 raises Chr
// and a failed read Io.
ItemStep parseItem(const CharSource& source);

// As parseItem, but a syntax failure raises SyntaxError with the message of
// the alternative that got furthest and the position where the failing piece
// was expected.
std::pair<UIXMLItem, CharSource> readItem(const CharSource& source);

// At most `count` characters ("" at the end) and the source after them.
std::pair<std::string, CharSource> readChars(const CharSource& source, std::size_t count);

// One blank (space, TAB, CR, LF) and the source after it; none otherwise,
// the source then left where it was.
std::optional<std::pair<char, CharSource>> tryReaderStep(const CharSource& source);

// As tryReaderStep, but where no blank stands raises SyntaxError: the
// character's display form + " unexpected", or "Unexpected end of file".
std::pair<char, CharSource> readerStep(const CharSource& source);

// The source after any run of blanks.
CharSource skipBlanks(const CharSource& source);

// Replaces the escapes of a raw value text. A malformed escape raises
// SyntaxError at `position`; a code above 255 raises Chr.
std::string decodeEscapes(std::string_view raw, long position);

// The escaped display form of one character used in "... unexpected".
std::string displayForm(unsigned char c);

// Codes above 31, and TAB, LF and CR.
bool isTextChar(unsigned char c);

}  // namespace UIXMLReader
}  // namespace zil
