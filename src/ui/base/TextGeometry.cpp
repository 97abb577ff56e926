#include "ui/base/TextGeometry.hpp"

#include <limits>

#include "shell/Errors.hpp"

namespace zil::TextGeometry {

namespace {

std::int32_t checked(std::int64_t v) {
    if (v < std::numeric_limits<std::int32_t>::min() || v > std::numeric_limits<std::int32_t>::max())
        throw Overflow();
    return static_cast<std::int32_t>(v);
}

bool leftOf(std::int32_t p) { return p <= 3; }
bool rightOf(std::int32_t p, std::int32_t w) { return std::int64_t{p} > std::int64_t{w} - 5; }

}  // namespace

std::int32_t characterBoundary(std::string_view text, std::int32_t n, std::int32_t x, const CharWidth& width) {
    if (n < 0 || static_cast<std::size_t>(n) > text.size()) throw Subscript();
    if (x <= 0) return 0;
    std::int64_t rest = x;
    for (std::int32_t i = 0; i < n; ++i) {
        const std::int64_t w = width(static_cast<unsigned char>(text[static_cast<std::size_t>(i)]));
        if (rest - w >= 0) {
            rest -= w;
            continue;
        }
        // On this character: its left part gives the boundary before it.
        return rest < w - rest ? i : i + 1;
    }
    return n;
}

std::optional<std::int32_t> measuredScrollDelta(std::int32_t p, std::int32_t w, std::int32_t c) {
    const std::int64_t step = c;
    const std::int64_t at = p;
    if (leftOf(p)) return checked(at + step <= 3 ? at - 3 - step : -step);
    if (rightOf(p, w)) return checked(at - step > std::int64_t{w} - 5 ? step + at - w + 5 : step);
    return std::nullopt;
}

std::optional<std::int32_t> halfScrollDelta(std::int32_t p, std::int32_t w, std::int32_t c) {
    if (leftOf(p)) return checked(-std::int64_t{c});
    if (rightOf(p, w)) return c;
    return std::nullopt;
}

}  // namespace zil::TextGeometry
