#pragma once
// String services: slices and the integer scanner.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zil {

// End index of the slice [start, start + count) of a sequence of `length`
// elements; without a count the slice runs to the end. A slice that does not
// fit raises Subscript.
std::int32_t checkSlice(std::size_t length, std::int32_t start, std::optional<std::int32_t> count = std::nullopt);
inline std::int32_t checkSlice(std::string_view s, std::int32_t start,
                               std::optional<std::int32_t> count = std::nullopt) {
    return checkSlice(s.size(), start, count);
}

// A new string holding the slice checked as by checkSlice.
std::string extractString(std::string_view s, std::int32_t start, std::optional<std::int32_t> count = std::nullopt);

// The decimal integer at the start of the text, after leading white space,
// with an optional sign "+", "-" or "~". Characters after the digits are
// ignored. No digits gives nothing; a number outside 32 bits raises Overflow.
std::optional<std::int32_t> scanInt(std::string_view text);

}  // namespace zil
