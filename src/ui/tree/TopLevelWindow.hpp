#pragma once
// Top-level windows and the one screen. Showing a window opens the screen
// anew at the window's size with its caption; the screen shows the window
// activated last, and only that window is drawn.
#include <cstdint>
#include <string>

#include "ui/base/IdCell.hpp"
#include "ui/tree/ControlMessages.hpp"
#include "ui/tree/ControlTree.hpp"

namespace zil {

namespace TopLevelWindow {

// The largest screen side: SDL 1.2 keeps a surface's pitch in 16 bits.
inline constexpr std::int32_t kMaxScreenSide = 16383;

// Opens the screen for the window at its box's width and height, 32 bits
// per pixel, and gives it the caption read after the mode is set; then
// marks the whole window dirty, since a new mode is blank. A side above
// kMaxScreenSide or below 0 is refused without calling SDL, as a mode that
// failed: the screen becomes none and BackendError is raised. Lookup
// failures come before anything else.
void activate(ControlTree& tree, const IdCell& window, const ObservedString& caption);

// Sets the open screen's title and icon title to `caption`.
void showCaption(const std::string& caption);

// Delivers `value` along the control's path, the top-level window first and
// the control last: for each control p, the messages of slot 0 of the
// table, then those of p's slot (slot 0 once when p's ID is 0), each with
// p's ID cell as owner. A slot past the end of the table raises Subscript.
void reactivate(ControlTree& tree, const LinkTable& links, const IdCell& control, std::int32_t value);

// The second entry, through which ReactivateWindowAncestors comes; it does
// what reactivate does.
void reactivateAncestors(ControlTree& tree, const LinkTable& links, const IdCell& control, std::int32_t value);

}  // namespace TopLevelWindow

// The top-level window (kind 0): registers its caption ("Untitled" until
// the description sets one), retitles the open screen when the caption
// changes, activates the window whenever it is made visible, joins the
// window list, and opens the screen at once when it is created visible. It
// draws nothing of its own.
class TopLevelWindowKind : public ControlKind {
public:
    std::int32_t tag() const override { return 0; }
    void setUp(ControlTree& tree, const IdCell& self) const override;
};

}  // namespace zil
