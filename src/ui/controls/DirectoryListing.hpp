#pragma once
// The entries of a directory for the file-browse list box.
#include <string>
#include <string_view>
#include <vector>

#include "ui/base/IdCell.hpp"

namespace zil {

class UIAttributes;

// The entry names of `dir` but "." and "..", in ascending byte order
// (compareStrings). A directory that cannot be opened, a name with a NUL
// byte, or any failure while listing gives the one line "Could not open
// directory " + dir. A read error ends the listing with the names read so
// far. Never raises; the directory is closed on every path.
std::vector<std::string> listDirectory(std::string_view dir);

// The "strings" (NStrings) of the selection strings `strings` become the
// listing of `dir`: emptied, then each name appended, with the list's
// deliveries. A missing or mistyped "strings" fails as UIAttributes::get
// does, before anything changes.
void fillWithDirectoryListing(const UIAttributes& attributes, const IdCell& strings, std::string_view dir);

}  // namespace zil
