#pragma once
// Reads and parses "ui.uixml" at start-up, writing the system's messages
// when the file cannot be opened or read to its end.
#include <string_view>
#include <vector>

#include "shell/Constants.hpp"
#include "ui/uixml/CharSource.hpp"
#include "ui/uixml/UIXMLReader.hpp"

namespace zil::UILoader {

struct Loaded {
    std::vector<UIXMLItem> items;  // in file order, comments dropped
    bool reported = false;         // a message was written
};

// The items of the description in file order, ready for the builder. Every
// failure is reported on standard output and yields the items that stay in
// use (none after a failed open, a read error, an escape above 255 or a
// failed close); nothing is raised. Text that cannot be parsed is shown
// after the items, its bytes other than TAB, LF and printable ASCII written
// as \xHH.
Loaded load(std::string_view fileName = Constants::uiDescriptionFile);

// The same over any character source standing at the start of a text: its
// items up to the first that cannot be read, reported as load reports them.
Loaded read(const CharSource& source);

}  // namespace zil::UILoader
