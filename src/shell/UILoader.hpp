#pragma once
// Reads and parses "ui.uixml" at start-up, writing the system's messages
// when the file cannot be opened or read to its end.
#include <string_view>
#include <vector>

#include "shell/Constants.hpp"
#include "ui/uixml/UIXMLReader.hpp"

namespace zil::UILoader {

// The items of the description in file order, comments dropped, ready for
// the builder. Every failure is reported on standard output and yields the
// items that stay in use (none after a failed open, a read error, an escape
// above 255 or a failed close); nothing is raised.
std::vector<UIXMLItem> load(std::string_view fileName = Constants::uiDescriptionFile);

}  // namespace zil::UILoader
