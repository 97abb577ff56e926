#include "ui/base/AttributeText.hpp"

#include <algorithm>
#include <cmath>

#include "shell/Constants.hpp"

namespace zil::AttributeText {
namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The run of digits at `pos`, accumulated as value * 10.0 + digit; moves pos
// past it and gives the count in `digits`.
double scanRealDigits(std::string_view text, std::size_t& pos, std::size_t& digits) {
    double value = 0.0;
    std::size_t start = pos;
    while (pos < text.size() && isDigit(text[pos])) value = value * 10.0 + (text[pos++] - '0');
    digits = pos - start;
    return value;
}

// The pieces of a list text, leading blanks dropped, empty ones skipped.
std::vector<std::string_view> listPieces(std::string_view text) {
    std::vector<std::string_view> pieces;
    if (text.size() < 4) return pieces;
    std::string_view inner = text.substr(2, text.size() - 4);
    while (true) {
        std::size_t comma = inner.find(',');
        std::string_view piece = inner.substr(0, comma);
        std::size_t first = piece.find_first_not_of(Constants::blanks);
        if (first != std::string_view::npos) pieces.push_back(piece.substr(first));
        if (comma == std::string_view::npos) break;
        inner.remove_prefix(comma + 1);
    }
    return pieces;
}

}  // namespace

std::optional<std::string> stripDelimiters(std::string_view text) {
    if (text.size() < 2) return std::nullopt;
    return std::string(text.substr(1, text.size() - 2));
}

std::optional<std::int32_t> boolFromText(std::string_view text) {
    if (text == Constants::trueText) return 1;
    if (text == Constants::falseText) return 0;
    return std::nullopt;
}

double powerOfTen(std::int32_t n) { return std::pow(10.0, n); }

std::optional<double> realFromText(std::string_view text) {
    std::size_t pos = 0;
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-' || text[pos] == '~')) {
        negative = text[pos] != '+';
        ++pos;
    }
    std::size_t digits = 0;
    double value = scanRealDigits(text, pos, digits);
    if (digits == 0) return std::nullopt;
    if (pos < text.size() && text[pos] == '.') {
        ++pos;
        double fraction = scanRealDigits(text, pos, digits);
        if (digits == 0) return std::nullopt;
        value += fraction / powerOfTen(static_cast<std::int32_t>(std::min<std::size_t>(digits, 400)));
    }
    if (pos != text.size() || !std::isfinite(value)) return std::nullopt;
    return negative ? -value : value;
}

std::optional<IRect2D> parseRectangle(std::string_view text) {
    std::size_t pos = 0;
    auto literal = [&](char c) {
        while (pos < text.size() && text[pos] == ' ') ++pos;
        if (pos == text.size() || text[pos] != c) return false;
        ++pos;
        return true;
    };
    auto number = [&](std::int32_t& out) {
        while (pos < text.size() && text[pos] == ' ') ++pos;
        if (pos == text.size() || !isDigit(text[pos])) return false;
        std::int64_t value = 0;
        while (pos < text.size() && isDigit(text[pos])) {
            value = value * 10 + (text[pos++] - '0');
            if (value > INT32_MAX) return false;
        }
        out = static_cast<std::int32_t>(value);
        return true;
    };
    IRect2D r;
    auto field = [&](char name, std::int32_t& out, char after) {
        return literal(name) && literal('=') && number(out) && literal(after);
    };
    if (literal('{') && field('x', r.x, ',') && field('y', r.y, ',') && field('w', r.w, ',') && field('h', r.h, '}'))
        return r;
    return std::nullopt;
}

std::vector<std::string> stringsFromText(std::string_view text) {
    std::vector<std::string> out;
    for (std::string_view piece : listPieces(text))
        if (auto inside = stripDelimiters(piece)) out.push_back(std::move(*inside));
    return out;
}

std::vector<std::int32_t> boolsFromText(std::string_view text) {
    std::vector<std::int32_t> out;
    for (std::string_view piece : listPieces(text))
        if (auto b = boolFromText(piece)) out.push_back(*b);
    return out;
}

}  // namespace zil::AttributeText
