#include "ui/controls/TextFieldEdits.hpp"

#include <algorithm>
#include <limits>

#include "shell/Errors.hpp"
#include "ui/base/TextGeometry.hpp"
#include "ui/tree/ControlTree.hpp"
#include "ui/tree/TopLevelControls.hpp"

namespace zil::TextFieldEdits {

namespace {

constexpr std::int64_t kTextLeft = 4;  // where the text starts at scroll 0

std::int32_t length(const TextField& f) {
    return static_cast<std::int32_t>(
        std::min<std::size_t>(f.text->value().size(), std::numeric_limits<std::int32_t>::max()));
}

std::int32_t clampInto(std::int64_t v, std::int32_t n) { return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, 0, n)); }

std::int32_t cursorAt(const TextField& f) { return clampInto(f.cursor->value(), length(f)); }

std::int32_t charWidth(const TextField& f, unsigned char c) {
    const char ch = static_cast<char>(c);
    return f.measure(std::string_view(&ch, 1));
}

// Where the boundary `at` is drawn, in the field's coordinates.
std::int64_t boundaryX(const TextField& f, std::int32_t at) {
    return kTextLeft + *f.scroll + f.measure(std::string_view(f.text->value()).substr(0, static_cast<std::size_t>(at)));
}

std::int32_t boundaryUnder(const TextField& f, Point p) {
    const std::int64_t x = std::clamp<std::int64_t>(std::int64_t{p.x} - kTextLeft - *f.scroll,
                                                    std::numeric_limits<std::int32_t>::min(),
                                                    std::numeric_limits<std::int32_t>::max());
    return TextGeometry::characterBoundary(f.text->value(), length(f), static_cast<std::int32_t>(x),
                                           [&f](unsigned char c) { return charWidth(f, c); });
}

// Moves the text left by `delta`, no further than its end needs, and
// repaints the field when it moved.
void scrollBy(ControlTree& tree, const TextField& f, std::int32_t width, std::int32_t delta) {
    const std::int64_t end = std::int64_t{width} - 9 - f.measure(f.text->value());
    const std::int64_t next = std::clamp<std::int64_t>(std::int64_t{*f.scroll} - delta, std::min<std::int64_t>(end, 0), 0);
    if (next == *f.scroll) return;
    *f.scroll = static_cast<std::int32_t>(next);
    TopLevelControls::invalidate(tree, f.self);
}

void keepInView(ControlTree& tree, const TextField& f, std::int32_t at, bool halfStep) {
    if (idOf(f.self) == 0) return;
    const std::int32_t width = tree.lookup(f.self)->boundingBox.value().w;
    const auto p = static_cast<std::int32_t>(std::clamp<std::int64_t>(boundaryX(f, at), std::numeric_limits<std::int32_t>::min(),
                                                                       std::numeric_limits<std::int32_t>::max()));
    const std::optional<std::int32_t> delta =
        halfStep ? TextGeometry::halfScrollDelta(p, width, tree.halfWidthStep(f.self))
                 : TextGeometry::measuredScrollDelta(
                       p, width, at > 0 ? charWidth(f, static_cast<unsigned char>(f.text->value()[at - 1])) : 0);
    if (delta) scrollBy(tree, f, width, *delta);
}

}  // namespace

Range selection(const TextField& f) {
    const std::int32_t n = length(f);
    const std::int32_t c = clampInto(f.cursor->value(), n);
    const std::int32_t e = clampInto(std::int64_t{f.cursor->value()} + f.extent->value(), n);
    return {std::min(c, e), std::max(c, e)};
}

std::string copy(const TextField& f) {
    const Range r = selection(f);
    return f.text->value().substr(static_cast<std::size_t>(r.from), static_cast<std::size_t>(r.to - r.from));
}

bool deleteSelection(const TextField& f) {
    const Range r = selection(f);
    f.extent->set(0);
    if (r.from == r.to) return false;
    f.cursor->set(r.from);
    std::string t = f.text->value();
    t.erase(static_cast<std::size_t>(r.from), static_cast<std::size_t>(r.to - r.from));
    f.text->set(std::move(t));
    return true;
}

void backspace(ControlTree& tree, const TextField& f) {
    if (!deleteSelection(f)) {
        const std::int32_t c = cursorAt(f);
        if (c > 0) {
            f.cursor->set(c - 1);
            std::string t = f.text->value();
            t.erase(static_cast<std::size_t>(c - 1), 1);
            f.text->set(std::move(t));
        }
    }
    keepCursorInView(tree, f);
}

void insert(ControlTree& tree, const TextField& f, std::string_view s, bool replace) {
    if (replace) deleteSelection(f);
    const std::int32_t c = cursorAt(f);
    if (std::int64_t{length(f)} + static_cast<std::int64_t>(s.size()) > std::numeric_limits<std::int32_t>::max())
        throw Size();
    std::string t = f.text->value();
    t.insert(static_cast<std::size_t>(c), s);
    f.text->set(std::move(t));
    f.cursor->set(c + static_cast<std::int32_t>(s.size()));
    keepCursorInView(tree, f);
}

void moveCursor(ControlTree& tree, const TextField& f, std::int64_t to) {
    f.extent->set(0);
    f.cursor->set(clampInto(to, length(f)));
    keepCursorInView(tree, f);
}

void keepCursorInView(ControlTree& tree, const TextField& f) { keepInView(tree, f, cursorAt(f), false); }

void placeCursor(const TextField& f, Point p) {
    const std::int32_t at = boundaryUnder(f, p);
    *f.anchor = at;
    f.extent->set(0);
    f.cursor->set(at);
}

void dragSelect(ControlTree& tree, const TextField& f, Point p) {
    const std::int32_t q = boundaryUnder(f, p);
    const TextGeometry::Selection s = TextGeometry::dragSelection(clampInto(*f.anchor, length(f)), q);
    f.cursor->set(s.start);
    f.extent->set(s.length);
    keepInView(tree, f, q, true);
}

}  // namespace zil::TextFieldEdits
