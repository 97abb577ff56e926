#pragma once
// The look set-up of the ten drawn kinds that show text, bitmaps or state:
// run by a kind's set-up once the control is in the table and its first
// attribute is registered. Each registers the attributes the face shows
// (with their defaults, before anything is loaded), takes the kind's fonts
// and look bitmaps in order, subscribes a repaint of the control to every
// attribute the face shows, and builds the control's drawing item.
//
// A failing step stops the set-up: the fonts and bitmaps taken so far are
// given back and the failure passes on; registrations already made stay.
// A look bitmap that does not load is left out (its blit is skipped).
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "render/ColorRGB.hpp"
#include "shell/AppConfig.hpp"
#include "ui/base/ControlResources.hpp"
#include "ui/base/IdCell.hpp"
#include "ui/base/PointerActions.hpp"
#include "ui/base/UIAttributes.hpp"
#include "ui/controls/ControlLook.hpp"

namespace zil {

class ControlTree;
class FontContext;
class ImageManager;

// What every look set-up works with; the UI context owns all of it.
struct LookServices {
    ControlTree& tree;
    FontContext& fonts;
    ImageManager& images;
    const AppConfig::Cell& config;     // where "ui/lf/vuq/" and "ui/fonts/" are
    PointerActionStores& pointerActions;
};

// What goes back to the kind's set-up.
struct LookSetUp {
    std::shared_ptr<const ControlLook> look;  // the control's drawItem
    ControlResources resources;               // release() when the control is destroyed
    // Check boxes, buttons, bars and text edits: 1 while a mouse button is
    // held down on the control (its actions are in the pointer-action
    // stores); shown as the highlight or the pressed thumb.
    IntCell pressed;
    // Further integer cells, each 0, for the kind's input rules: buttons 2;
    // bars 3; text edits 3, the first the text's scroll offset; tab indexes
    // 2, the highlight flag and the highlighted tab.
    std::vector<IntCell> cells;
};

namespace LookAndFeel {

using ObservedStrings = ObservedArray<std::string>;

// Labels: "text" in lucida-14, label colour or accent.
LookSetUp setUpTextLabel(const LookServices& s, const IdCell& self, const std::shared_ptr<ObservedString>& text);
LookSetUp setUpImportantTextLabel(const LookServices& s, const IdCell& self,
                                  const std::shared_ptr<ObservedString>& text);

// "ischecked" (false); fonts label colour, `second`; "CheckBoxChecked.bmp",
// "CheckBoxUnchecked.bmp".
LookSetUp setUpCheckBox(const LookServices& s, const IdCell& self, const std::shared_ptr<ObservedString>& text,
                        const ColorRGB& second);

// "ispressed" (false); fonts accent, `second`; "ButtonIn.bmp", "ButtonOut.bmp".
LookSetUp setUpButton(const LookServices& s, const IdCell& self, const std::shared_ptr<ObservedString>& text,
                      const ColorRGB& second);

// "barpos" (0) and "barrange" (the value "barsize" has now); the thumb is
// "barpos" and "barsize" pixels along the bar.
LookSetUp setUpHorizScrollBar(const LookServices& s, const IdCell& self, const std::shared_ptr<ObservedInt>& barsize);
LookSetUp setUpVertScrollBar(const LookServices& s, const IdCell& self, const std::shared_ptr<ObservedInt>& barsize);

// "selectableitems" (empty); fonts accent (selected rows), white.
LookSetUp setUpSelectionStrings(const LookServices& s, const IdCell& self,
                                const std::shared_ptr<ObservedStrings>& strings);

// "selectedtabindex" (0); fonts accent, `second`, white; the six tab bitmaps.
LookSetUp setUpTabIndex(const LookServices& s, const IdCell& self, const std::shared_ptr<ObservedStrings>& tabs,
                        const ColorRGB& second);

// "ispressed" (false), "imageup" and "imagedown" (""), each image loaded
// into its cell when named; two fonts of its own, accent and white, outside
// the shared font list.
LookSetUp setUpImageButton(const LookServices& s, const IdCell& self, const std::shared_ptr<ObservedString>& text);

// "cursorchar" and "cursorcharextent" (0), kept inside a new text; fonts
// accent, `second`, white.
LookSetUp setUpTextEdit(const LookServices& s, const IdCell& self, const std::shared_ptr<ObservedString>& text,
                        const ColorRGB& second);

}  // namespace LookAndFeel
}  // namespace zil
