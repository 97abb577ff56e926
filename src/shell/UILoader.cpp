#include "shell/UILoader.hpp"

#include <algorithm>
#include <string>

#include "shell/Errors.hpp"
#include "shell/InStream.hpp"
#include "shell/OutStream.hpp"

namespace zil::UILoader {

std::vector<UIXMLItem> load(std::string_view fileName) {
    const std::string openError = "Error opening file " + std::string(fileName) + "!\n";
    std::unique_ptr<InStream> in = InStream::open(fileName);
    if (!in) {
        printMessage(openError);
        return {};
    }

    std::vector<UIXMLItem> items;
    try {
        CharSource source = UIXMLReader::skipBlanks(CharSource::over(*in));
        for (;;) {
            UIXMLReader::ItemStep step = UIXMLReader::parseItem(source);
            if (!step.item) break;
            items.push_back(std::move(*step.item));
            source = std::move(step.rest);
        }
        // Show what was left: the rest of the piece already read, or else
        // the next few characters of the file.
        std::string tail(source.heldPiece());
        if (tail.empty()) tail = UIXMLReader::readChars(source, Constants::unparsedTailChars).first;
        if (!tail.empty()) printMessage("Error during parsing: Could not parse the last part of UIXML file: " + tail);
    } catch (const SyntaxError& e) {
        printMessage("Syntax error while parsing UIXML file:\n" + e.message + "\n");
        items.clear();
    } catch (...) {
        printMessage("Error parsing UIXML file!\n");
        items.clear();
    }

    try {
        in->close();
    } catch (const SysErr&) {
        printMessage(openError);
        items.clear();
    }

    std::erase_if(items, [](const UIXMLItem& i) { return i.kind == UIXMLItem::Kind::Comment; });
    return items;
}

}  // namespace zil::UILoader
