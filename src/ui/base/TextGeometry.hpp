#pragma once
// Where a text field's pointer and cursor fall, measured with the widths of
// its font's characters: the character boundary under the pointer, the
// selection a drag from an anchor makes, and how far the text must scroll
// so that the cursor stays inside the field.
#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>

namespace zil::TextGeometry {

// The width the font gives one character.
using CharWidth = std::function<std::int32_t(unsigned char)>;

// The boundary (0 .. n) nearest the pointer, x pixels right of the first
// character's left edge, among the first n characters of `text`: a pointer
// on a character's left part gives the boundary before it, on its right
// part (the middle included) the one after it; x <= 0 gives 0, a pointer
// past the n characters n. n < 0 or beyond the text raises Subscript.
std::int32_t characterBoundary(std::string_view text, std::int32_t n, std::int32_t x, const CharWidth& width);

struct Selection {
    std::int32_t start = 0;
    std::int32_t length = 0;
    friend bool operator==(const Selection&, const Selection&) = default;
};

// A drag from the boundary `anchor` to the boundary `q`.
inline Selection dragSelection(std::int32_t anchor, std::int32_t q) {
    return anchor <= q ? Selection{anchor, q - anchor} : Selection{q, anchor - q};
}

// The cursor at p in a field W wide is inside when 4 <= p <= W - 5. Outside,
// the text must move by the delta returned (positive: the text moves left),
// computed with a step c >= 0:
// - measured: a cursor just past the left margin moves in by c, one far
//   past it back to 3 + c; likewise at the right margin (W - 5 - c);
// - half: by c either way, c being half the field.
// None when the cursor is inside. Overflow when a delta leaves 32 bits.
std::optional<std::int32_t> measuredScrollDelta(std::int32_t p, std::int32_t w, std::int32_t c);
std::optional<std::int32_t> halfScrollDelta(std::int32_t p, std::int32_t w, std::int32_t c);

}  // namespace zil::TextGeometry
