#include "shell/CoreString.hpp"

#include "shell/Errors.hpp"

namespace zil {

std::int32_t checkSlice(std::size_t length, std::int32_t start, std::optional<std::int32_t> count) {
    if (length > static_cast<std::size_t>(INT32_MAX)) throw Size();
    const std::int64_t len = static_cast<std::int64_t>(length);
    if (start < 0 || start > len) throw Subscript();
    if (!count) return static_cast<std::int32_t>(len);
    if (*count < 0 || std::int64_t{start} + *count > len) throw Subscript();
    return start + *count;
}

std::string extractString(std::string_view s, std::int32_t start, std::optional<std::int32_t> count) {
    std::int32_t end = checkSlice(s, start, count);
    return std::string(s.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(end - start)));
}

std::optional<std::int32_t> scanInt(std::string_view text) {
    std::size_t i = 0;
    auto isSpace = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; };
    while (i < text.size() && isSpace(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-' || text[i] == '~')) {
        negative = text[i] != '+';
        ++i;
    }
    if (i >= text.size() || text[i] < '0' || text[i] > '9') return std::nullopt;
    // Accumulate the magnitude; the negative range is one larger.
    const std::int64_t limit = negative ? std::int64_t{INT32_MAX} + 1 : std::int64_t{INT32_MAX};
    std::int64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > limit) throw Overflow();
    }
    return static_cast<std::int32_t>(negative ? -value : value);
}

}  // namespace zil
