#include "shell/UILoader.hpp"

#include <algorithm>
#include <string>

#include "shell/Errors.hpp"
#include "shell/InStream.hpp"
#include "shell/OutStream.hpp"

namespace zil::UILoader {
namespace {

void report(Loaded& loaded, std::string_view message) {
    printMessage(message);
    loaded.reported = true;
}

// The unparsed rest as the terminal may safely show it: TAB, LF and the
// printable ASCII characters stay, every other byte becomes \xHH, so that
// a damaged or binary file cannot send control sequences to the terminal.
std::string visibleText(std::string_view text) {
    static constexpr char hex[] = "0123456789abcdef";
    std::string out;
    out.reserve(text.size());
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (c == '\t' || c == '\n' || (c >= 32 && c < 127)) {
            out += ch;
        } else {
            out += "\\x";
            out += hex[c >> 4];
            out += hex[c & 15];
        }
    }
    return out;
}

}  // namespace

Loaded read(const CharSource& start) {
    Loaded loaded;
    try {
        CharSource source = UIXMLReader::skipBlanks(start);
        for (;;) {
            UIXMLReader::ItemStep step = UIXMLReader::parseItem(source);
            if (!step.item) break;
            if (step.item->kind != UIXMLItem::Kind::Comment) loaded.items.push_back(std::move(*step.item));
            source = std::move(step.rest);
        }
        // Show what was left: the rest of the piece already read, or else
        // the next few characters of the text.
        std::string tail(source.heldPiece());
        if (tail.empty()) tail = UIXMLReader::readChars(source, Constants::unparsedTailChars).first;
        if (!tail.empty())
            report(loaded, "Error during parsing: Could not parse the last part of UIXML file: " + visibleText(tail));
    } catch (const SyntaxError& e) {
        loaded.items.clear();
        report(loaded, "Syntax error while parsing UIXML file:\n" + e.message + "\n");
    } catch (...) {
        loaded.items.clear();
        report(loaded, "Error parsing UIXML file!\n");
    }
    return loaded;
}

Loaded load(std::string_view fileName) {
    const std::string openError = "Error opening file " + std::string(fileName) + "!\n";
    Loaded loaded;
    std::unique_ptr<InStream> in = InStream::open(fileName);
    if (!in) {
        report(loaded, openError);
        return loaded;
    }
    loaded = read(CharSource::over(*in));
    try {
        in->close();
    } catch (const SysErr&) {
        loaded.items.clear();
        report(loaded, openError);
    }
    return loaded;
}

}  // namespace zil::UILoader
