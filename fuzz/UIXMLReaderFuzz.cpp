// Feeds arbitrary text to the UI description reader. The first byte picks
// the size of the pieces the text is handed out in. Beyond not crashing, it
// checks that the pieces do not change the result, that a failed item leaves
// the source where it was, and that every attribute read can be written back
// and read again to the same value.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "shell/Errors.hpp"
#include "ui/uixml/UIXMLReader.hpp"

namespace {

using namespace zil;

void check(bool ok) {
    if (!ok) std::abort();
}

struct Outcome {
    std::vector<UIXMLItem> items;
    long stoppedAt = -1;
    std::string tail;
    bool chr = false;
};

Outcome readAll(const std::string& text, std::size_t pieceSize) {
    Outcome o;
    try {
        CharSource s = UIXMLReader::skipBlanks(CharSource::ofText(text, pieceSize));
        for (;;) {
            long before = s.position();
            UIXMLReader::ItemStep step = UIXMLReader::parseItem(s);
            if (!step.item) {
                check(step.rest.position() == before);
                break;
            }
            check(step.rest.position() > before);
            o.items.push_back(std::move(*step.item));
            s = std::move(step.rest);
        }
        o.stoppedAt = s.position();
        o.tail = UIXMLReader::readChars(s, 64).first;
        check(o.stoppedAt + static_cast<long>(o.tail.size()) <= static_cast<long>(text.size()));
        try {
            UIXMLReader::readItem(s);
            check(false);  // parseItem gave none, so this must fail too
        } catch (const SyntaxError& e) {
            check(e.position >= o.stoppedAt && e.position <= static_cast<long>(text.size()));
        }
    } catch (const Chr&) {
        o.chr = true;
    }
    return o;
}

std::string writeBack(const std::vector<UIXMLAttribute>& attrs) {
    std::string out = "<control";
    for (const UIXMLAttribute& a : attrs) {
        out += " " + a.name + "='";
        for (char c : a.value) {
            unsigned char u = static_cast<unsigned char>(c);
            if (c == '\'' || c == '<' || c == '&' || !UIXMLReader::isTextChar(u))
                out += "&" + std::to_string(u) + ";";
            else
                out += c;
        }
        out += "'";
    }
    return out + ">";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    std::size_t pieceSize = 1 + data[0] % 16;
    std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);

    Outcome cut = readAll(text, pieceSize);
    Outcome whole = readAll(text, 4096);
    check(cut.chr == whole.chr);
    if (!whole.chr) {
        check(cut.items == whole.items);
        check(cut.stoppedAt == whole.stoppedAt);
        check(cut.tail == whole.tail);
    }
    for (const UIXMLItem& item : whole.items) {
        if (item.kind != UIXMLItem::Kind::Open) continue;
        UIXMLReader::ItemStep again = UIXMLReader::parseItem(CharSource::ofText(writeBack(item.attributes)));
        check(again.item && *again.item == item);
    }

    try {
        // Each escape stands for one character and takes at least three.
        check(UIXMLReader::decodeEscapes(text, 0).size() <= text.size());
    } catch (const SyntaxError&) {
    } catch (const Chr&) {
    }
    return 0;
}
