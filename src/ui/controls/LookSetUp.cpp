#include "ui/controls/LookSetUp.hpp"

#include <algorithm>
#include <limits>
#include <utility>

#include "ui/base/FontContext.hpp"
#include "ui/base/LookAndFeel.hpp"
#include "ui/tree/ControlNotify.hpp"
#include "ui/tree/ControlTree.hpp"

namespace zil::LookAndFeel {

namespace {

constexpr std::string_view kLookFont = "lucida-14";

// The steps every set-up is made of, recording what it takes in the result.
class Steps {
public:
    Steps(const LookServices& s, const IdCell& self) : s_(s), self_(self) {}

    UIAttributes& attributes() { return s_.tree.attributes(); }
    const IdCell& self() const { return self_; }

    Font font(const ColorRGB& colour) {
        result.resources.fonts.reserve(result.resources.fonts.size() + 1);
        FontHandle handle = loadFont(s_.fonts, s_.images, s_.config, kLookFont, colour);
        Font f = handle.shared();
        result.resources.fonts.push_back(std::move(handle));
        return f;
    }
    // A font of this control alone, white and unframed.
    Font ownFont() {
        result.resources.ownFonts.reserve(result.resources.ownFonts.size() + 1);
        Font f = buildOutlineFont(s_.images, s_.config, kLookFont);
        result.resources.ownFonts.push_back(f);
        return f;
    }
    SDL_Surface* bitmap(std::string_view fileName) {
        return result.resources.lookBitmaps.take(s_.images, s_.config, fileName);
    }

    // Repaints the control whenever the list delivers.
    template <class List>
    void repaintOn(List& list) {
        list.push(ControlNotify::repaintControl(s_.tree, self_));
    }
    // The same on a boolean's list, whose entries are named by keys.
    void repaintOnKeyed(ObservedInt& flag) { flag.onChanged.pushKeyed(ControlNotify::repaintControl(s_.tree, self_)); }

    IntCell stateCell() {
        ControlTree* tree = &s_.tree;
        return makeControlStateCell(
            s_.pointerActions, [tree](const IdCell& c) { TopLevelControls::invalidate(*tree, c); }, self_);
    }
    void cells(int n) {
        for (int i = 0; i < n; ++i) result.cells.push_back(std::make_shared<std::int32_t>(0));
    }
    void look(LookKind kind, Look::Data data) { result.look = std::make_shared<const ControlLook>(kind, std::move(data)); }

    LookSetUp result;

private:
    const LookServices& s_;
    const IdCell& self_;
};

// Runs the steps; on a failure gives back what they took.
template <class F>
LookSetUp run(const LookServices& s, const IdCell& self, F steps) {
    Steps st(s, self);
    try {
        steps(st);
    } catch (...) {
        try {
            st.result.resources.release();
        } catch (...) {
            // The set-up's own failure is the one to report.
        }
        throw;
    }
    return std::move(st.result);
}

LookSetUp setUpLabel(const LookServices& s, const IdCell& self, const std::shared_ptr<ObservedString>& text,
                     LookKind kind, const ColorRGB& colour) {
    return run(s, self, [&](Steps& st) {
        Font font = st.font(colour);
        st.repaintOn(text->onChanged);
        st.look(kind, Look::Text{viewOf(text), font});
    });
}

LookSetUp setUpBar(const LookServices& s, const IdCell& self, const std::shared_ptr<ObservedInt>& barsize,
                   LookKind kind) {
    return run(s, self, [&](Steps& st) {
        auto barpos = st.attributes().registerInt(self, "barpos", 0);
        auto barrange = st.attributes().registerInt(self, "barrange", barsize->value());
        st.repaintOn(barsize->onChanged);
        st.repaintOn(barpos->onChanged);
        st.repaintOn(barrange->onChanged);
        st.cells(3);
        st.result.pressed = st.stateCell();
        st.look(kind, Look::Bar{viewOf(barpos), viewOf(barsize), st.result.pressed});
    });
}

}  // namespace

LookSetUp setUpTextLabel(const LookServices& s, const IdCell& self, const std::shared_ptr<ObservedString>& text) {
    return setUpLabel(s, self, text, LookKind::TextLabel, labelColour);
}

LookSetUp setUpImportantTextLabel(const LookServices& s, const IdCell& self,
                                  const std::shared_ptr<ObservedString>& text) {
    return setUpLabel(s, self, text, LookKind::ImportantTextLabel, accent);
}

LookSetUp setUpCheckBox(const LookServices& s, const IdCell& self, const std::shared_ptr<ObservedString>& text,
                        const ColorRGB& second) {
    return run(s, self, [&](Steps& st) {
        auto checked = st.attributes().registerBool(self, "ischecked", false);
        std::array<Font, 2> fonts{st.font(labelColour), st.font(second)};
        std::array<SDL_Surface*, 2> boxes{st.bitmap("CheckBoxChecked.bmp"), st.bitmap("CheckBoxUnchecked.bmp")};
        st.repaintOn(text->onChanged);
        st.repaintOnKeyed(*checked);
        st.result.pressed = st.stateCell();
        st.look(LookKind::CheckBox, Look::CheckBox{viewOf(checked), st.result.pressed, boxes, viewOf(text), fonts});
    });
}

LookSetUp setUpButton(const LookServices& s, const IdCell& self, const std::shared_ptr<ObservedString>& text,
                      const ColorRGB& second) {
    return run(s, self, [&](Steps& st) {
        auto pressed = st.attributes().registerBool(self, "ispressed", false);
        std::array<Font, 2> fonts{st.font(accent), st.font(second)};
        std::array<SDL_Surface*, 2> bitmaps{st.bitmap("ButtonIn.bmp"), st.bitmap("ButtonOut.bmp")};
        st.repaintOn(text->onChanged);
        st.repaintOnKeyed(*pressed);
        st.cells(2);
        st.result.pressed = st.stateCell();
        st.look(LookKind::Button, Look::Button{viewOf(pressed), st.result.pressed, bitmaps, viewOf(text), fonts});
    });
}

LookSetUp setUpHorizScrollBar(const LookServices& s, const IdCell& self, const std::shared_ptr<ObservedInt>& barsize) {
    return setUpBar(s, self, barsize, LookKind::HorizBar);
}

LookSetUp setUpVertScrollBar(const LookServices& s, const IdCell& self, const std::shared_ptr<ObservedInt>& barsize) {
    return setUpBar(s, self, barsize, LookKind::VertBar);
}

LookSetUp setUpSelectionStrings(const LookServices& s, const IdCell& self,
                                const std::shared_ptr<ObservedStrings>& strings) {
    return run(s, self, [&](Steps& st) {
        auto selectable = st.attributes().registerSelectableItems(self);
        std::array<Font, 2> fonts{st.font(accent), st.font(white)};
        st.repaintOn(strings->onChanged);
        st.repaintOn(selectable->onChanged);
        st.look(LookKind::SelectionStrings, Look::List{viewOf(strings), viewOf(selectable), fonts});
    });
}

LookSetUp setUpTabIndex(const LookServices& s, const IdCell& self, const std::shared_ptr<ObservedStrings>& tabs,
                        const ColorRGB& second) {
    return run(s, self, [&](Steps& st) {
        auto selected = st.attributes().registerInt(self, "selectedtabindex", 0);
        std::array<Font, 3> fonts{st.font(accent), st.font(second), st.font(white)};
        ItemPainters::TabBitmaps on, off;
        on.left = st.bitmap("TabIndexSelectedLeft.bmp");
        on.right = st.bitmap("TabIndexSelectedRight.bmp");
        on.middle = st.bitmap("TabIndexSelectedMiddle.bmp");
        off.left = st.bitmap("TabIndexUnselectedLeft.bmp");
        off.right = st.bitmap("TabIndexUnselectedRight.bmp");
        off.middle = st.bitmap("TabIndexUnselectedMiddle.bmp");
        st.repaintOn(tabs->onChanged);
        st.repaintOn(selected->onChanged);
        st.cells(2);
        st.look(LookKind::TabIndex, Look::TabIndex{viewOf(tabs), viewOf(selected), st.result.cells[0],
                                                   st.result.cells[1], on, off, fonts});
    });
}

LookSetUp setUpImageButton(const LookServices& s, const IdCell& self, const std::shared_ptr<ObservedString>& text) {
    return run(s, self, [&](Steps& st) {
        UIAttributes& a = st.attributes();
        auto pressed = a.registerBool(self, "ispressed", false);
        auto up = a.registerString(self, "imageup", "");
        auto down = a.registerString(self, "imagedown", "");
        Font font = st.ownFont();
        font->setColour(accent);
        st.ownFont();  // the second, white, for the input rules
        auto upImage = std::make_shared<ImageCell>();
        auto downImage = std::make_shared<ImageCell>();
        up->onChanged.push(ControlNotify::reloadImage(upImage));
        down->onChanged.push(ControlNotify::reloadImage(downImage));
        for (ObservedString* shown : {text.get(), up.get(), down.get()}) st.repaintOn(shown->onChanged);
        st.repaintOnKeyed(*pressed);
        st.look(LookKind::ImageButton, Look::ImageButton{viewOf(pressed), {downImage, upImage}, viewOf(text), font});
    });
}

LookSetUp setUpTextEdit(const LookServices& s, const IdCell& self, const std::shared_ptr<ObservedString>& text,
                        const ColorRGB& second) {
    return run(s, self, [&](Steps& st) {
        auto cursor = st.attributes().registerInt(self, "cursorchar", 0);
        auto extent = st.attributes().registerInt(self, "cursorcharextent", 0);
        std::array<Font, 3> fonts{st.font(accent), st.font(second), st.font(white)};
        st.repaintOn(text->onChanged);
        st.repaintOn(cursor->onChanged);
        st.repaintOn(extent->onChanged);
        // A new text keeps the cursor and the selection inside it. The list
        // belongs to the text, so the callback need not keep it alive.
        PlainList::Callback clamp = ControlNotify::clampRangeToLength(
            [t = text.get()] {
                return static_cast<std::int32_t>(
                    std::min<std::size_t>(t->value().size(), std::numeric_limits<std::int32_t>::max()));
            },
            cursor, extent);
        text->onChanged.push([clamp = std::move(clamp)](const IdCell& owner, const std::string&) { clamp(owner); });
        st.cells(3);
        st.result.pressed = st.stateCell();
        st.look(LookKind::TextEdit, Look::TextEdit{viewOf(text), viewOf(cursor), viewOf(extent), st.result.cells[0],
                                                   st.result.pressed, fonts});
    });
}

}  // namespace zil::LookAndFeel
