#pragma once
// The callback kinds that the toolkit puts into the notification lists of
// observed values. Each function makes one callback; push it onto the list
// it belongs to (ObservedValue::onChanging or onChanged, or an array's
// lists). A list delivers head first, reads itself once per walk, and a
// callback's failure leaves the walk at once and reaches whoever set the
// value, skipping the store when it came from onChanging.
//
// A new kind is just another function returning a callable of the list's
// signature: (owner's ID cell) for plain lists, (owner, value) for the
// typed ones. Callbacks that refer to the tree keep a pointer to it; the
// tree must outlive the lists (it owns the controls that hold them).
#include <SDL.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "ui/base/IdCell.hpp"
#include "ui/tree/TopLevelControls.hpp"
#include "ui/tree/UIControl.hpp"

namespace zil {

class ControlTree;

// A cell that owns an optional image surface, freed when replaced and when
// the cell goes.
class ImageCell {
public:
    ImageCell() = default;
    ~ImageCell() { reset(); }
    ImageCell(const ImageCell&) = delete;
    ImageCell& operator=(const ImageCell&) = delete;

    SDL_Surface* get() const { return surface_; }
    void reset(SDL_Surface* surface = nullptr);

private:
    SDL_Surface* surface_ = nullptr;
};

namespace ControlNotify {

// Repaints the whole control whatever the list delivers (any list).
inline auto repaintControl(ControlTree& tree, IdCell control) {
    return [t = &tree, control = std::move(control)](const IdCell&, const auto&...) {
        TopLevelControls::invalidate(*t, control);
    };
}

// Int list: sets `target` to the delivered value (an int attribute
// forwarded to another, as the main tab index's selection to its tab book).
IntList::Callback setIntValue(std::shared_ptr<ObservedInt> target);

// Int list, a bar's position p: sets `target` to r * p / (U - L), with U and
// L the bar's range ends read at delivery ("barrange" and "barsize"); 0.0
// when they are equal. This is the binding of a demo bar to its value.
IntList::Callback setScaledReal(double r, std::shared_ptr<ObservedInt> upper, std::shared_ptr<ObservedInt> lower,
                                std::shared_ptr<ObservedReal> target);

// Int list, the selected tab index v: makes exactly the book's pages whose
// "tabindex" is v visible, the others hidden, in page order; pages already
// right are left alone. A page without "tabindex" counts as -1; one of
// another type than NInt raises TYPECAST.
IntList::Callback selectPageByTabIndex(ControlTree& tree, IdCell book);

// Plain list: every page of the book gets the book's size at (0, 0).
PlainList::Callback fitTabPages(ControlTree& tree, IdCell book);

// Plain list: keeps the range (position P, extent X) inside a sequence of
// length L: nothing when P + X <= L; else X = L - P when P <= L, else P = L
// and X = 0.
PlainList::Callback clampRangeToLength(std::function<std::int32_t()> length, std::shared_ptr<ObservedInt> position,
                                       std::shared_ptr<ObservedInt> extent);

// String list: loads the named BMP file (as written, no directory) into the
// cell, freeing what it held; a file that does not load leaves the cell
// empty, silently. "" changes nothing.
StringList::Callback reloadImage(std::shared_ptr<ImageCell> image);

// String list: retitles the screen while it shows this window.
StringList::Callback setWindowCaption(ControlTree& tree, IdCell window);

}  // namespace ControlNotify
}  // namespace zil
