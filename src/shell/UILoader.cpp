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
        if (!tail.empty()) report(loaded, "Error during parsing: Could not parse the last part of UIXML file: " + tail);
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
