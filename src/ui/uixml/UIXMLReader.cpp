#include "ui/uixml/UIXMLReader.hpp"

#include <array>
#include <climits>
#include <cstring>

#include "shell/Constants.hpp"
#include "shell/Errors.hpp"

namespace zil::UIXMLReader {

namespace {

// Character classes, one bit each.
enum : std::uint8_t {
    kBlank = 1,
    kLetter = 2,
    kDigit = 4,
    kHex = 8,
    kText = 16,
    kValue = 32,
    kComment = 64,
};

constexpr std::array<std::uint8_t, 256> makeClasses() {
    std::array<std::uint8_t, 256> t{};
    for (int c = 0; c < 256; ++c) {
        std::uint8_t k = 0;
        if (Constants::blanks.find(static_cast<char>(c)) != std::string_view::npos) k |= kBlank;
        if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) k |= kLetter;
        if (c >= '0' && c <= '9') k |= kDigit | kHex;
        if ((c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F')) k |= kHex;
        if (c > 31 || c == '\t' || c == '\n' || c == '\r') k |= kText;
        if ((k & kText) && c != '\'' && c != '<') k |= kValue;
        if ((k & (kLetter | kDigit)) || c == ' ') k |= kComment;
        t[static_cast<std::size_t>(c)] = k;
    }
    return t;
}
constexpr std::array<std::uint8_t, 256> kClasses = makeClasses();

// peek() gives -1 at the end, which is in no class.
inline bool is(int c, std::uint8_t cls) { return c >= 0 && (kClasses[static_cast<std::size_t>(c)] & cls) != 0; }

// A syntax failure, kept cheap to make: most are dropped unread, so the
// message text is only put together when someone asks for it.
struct Failure {
    enum class Form : std::uint8_t { Expected, EndOfFile, Unexpected, Fixed, FixedWithChar };
    Form form = Form::Fixed;
    std::string_view text;  // the literal, or a fixed message
    unsigned char ch = 0;
    long position = -1;

    std::string message() const {
        switch (form) {
            case Form::Expected: return std::string(text) + " expected";
            case Form::EndOfFile: return "Unexpected end of file";
            case Form::Unexpected: return displayForm(ch) + " unexpected";
            case Form::Fixed: return std::string(text);
            case Form::FixedWithChar: return std::string(text) + static_cast<char>(ch);
        }
        return {};
    }
    [[noreturn]] void raise() const { throw SyntaxError(message(), position); }
};

bool fail(Failure& f, Failure::Form form, std::string_view text, long position, unsigned char ch = 0) {
    f.form = form;
    f.text = text;
    f.ch = ch;
    f.position = position;
    return false;
}

bool expect(CharCursor& at, std::string_view literal, Failure& f) {
    CharCursor k = at;
    for (char want : literal) {
        if (k.peek() != static_cast<unsigned char>(want))
            return fail(f, Failure::Form::Expected, literal, at.position());
        k.advance();
    }
    at = k;
    return true;
}

// Steps over the characters of a class, a piece at a time; appends them to
// `keep` when given.
void skipWhile(CharCursor& at, std::uint8_t cls, std::string* keep = nullptr) {
    for (;;) {
        std::string_view r = at.run();
        std::size_t k = 0;
        while (k < r.size() && (kClasses[static_cast<unsigned char>(r[k])] & cls)) ++k;
        if (k > 0) {
            if (keep) keep->append(r.data(), k);
            at.skip(k);
        }
        if (k < r.size() || r.empty()) return;
    }
}

// One character of a class, taken; at the end "Unexpected end of file",
// and a character outside the class is "unexpected". The cursor stays put
// on a failure.
inline bool oneOf(CharCursor& at, std::uint8_t cls, int& taken, Failure& f) {
    const int c = at.peek();
    if (c < 0) return fail(f, Failure::Form::EndOfFile, {}, at.position());
    if (!is(c, cls)) return fail(f, Failure::Form::Unexpected, {}, at.position(), static_cast<unsigned char>(c));
    at.advance();
    taken = c;
    return true;
}

// The blank step on a cursor; tryReaderStep is this on a source.
inline bool blankStep(CharCursor& at, int& taken, Failure& f) { return oneOf(at, kBlank, taken, f); }

// Blank steps until one finds no blank. The failure that ends the run is
// dropped unread, so it costs nothing to make.
inline void blanks(CharCursor& at) {
    Failure dropped;
    int c;
    while (blankStep(at, c, dropped)) {
    }
}

// The digits of an escape are all checked before they are converted.
int digitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return c - 'A' + 10;
}

bool decode(std::string_view raw, long position, std::string& out, Failure& f) {
    using F = Failure::Form;
    out.clear();
    out.reserve(raw.size());
    std::size_t i = 0;
    const std::size_t n = raw.size();
    while (i < n) {
        std::size_t amp = raw.find('&', i);
        if (amp == std::string_view::npos) {
            out.append(raw.substr(i));
            break;
        }
        out.append(raw.substr(i, amp - i));
        std::size_t first = amp + 1;
        if (first == n) return fail(f, F::Fixed, "Unexpected end of escaped string", position);
        int base = 10;
        std::uint8_t digitClass = kDigit;
        if (raw[first] == 'x' && first + 1 < n) {
            base = 16;
            digitClass = kHex;
            ++first;
            if (!is(static_cast<unsigned char>(raw[first]), kHex))
                return fail(f, F::FixedWithChar, "Invalid character in hex number ", position,
                            static_cast<unsigned char>(raw[first]));
        } else if (!is(static_cast<unsigned char>(raw[first]), kDigit)) {
            return fail(f, F::FixedWithChar, "Invalid character in number ", position,
                        static_cast<unsigned char>(raw[first]));
        }
        std::size_t semi = first;
        for (;; ++semi) {
            if (semi == n) return fail(f, F::Fixed, "Unexpected end of escaped number", position);
            if (raw[semi] == ';') break;
            if (!is(static_cast<unsigned char>(raw[semi]), digitClass))
                return fail(f, F::Fixed, "Invalid number in escaped string", position);
        }
        std::int32_t code = 0;
        for (std::size_t d = first; d < semi; ++d) {
            int v = digitValue(raw[d]);
            if (code > (INT32_MAX - v) / base) return fail(f, F::Fixed, "Overflow when converting number", position);
            code = code * base + v;
        }
        if (code > 255) throw Chr();
        if (!isTextChar(static_cast<unsigned char>(code)))
            return fail(f, F::Fixed, "Illegal character in escaped number", position);
        out.push_back(static_cast<char>(code));
        i = semi + 1;
    }
    return true;
}

bool attribute(CharCursor& at, UIXMLAttribute& out, Failure& f) {
    int first;
    if (!oneOf(at, kLetter, first, f)) return false;
    out.name.assign(1, static_cast<char>(first));
    skipWhile(at, kLetter | kDigit, &out.name);
    if (!expect(at, "=", f)) return false;
    blanks(at);
    const long quote = at.position();
    if (!expect(at, "'", f)) return false;

    // The value text is collected whole and decoded once.
    std::string raw;
    skipWhile(at, kValue, &raw);
    if (raw.find('&') == std::string::npos) {
        out.value = std::move(raw);
    } else if (!decode(raw, quote, out.value, f)) {
        return false;
    }
    if (!expect(at, "'", f)) return false;
    blanks(at);
    return true;
}

// Attributes up to the first that does not read; that one is left unread.
void attributes(CharCursor& at, std::vector<UIXMLAttribute>* keep) {
    UIXMLAttribute a;
    Failure dropped;
    for (;;) {
        CharCursor k = at;
        if (!attribute(k, a, dropped)) return;
        at = k;
        if (keep) keep->push_back(std::move(a));
    }
}

// Keeps the failure that began further on; the later one on a tie.
void keepFurther(Failure& best, const Failure& next) {
    if (next.position >= best.position) best = next;
}

bool item(CharCursor& at, UIXMLItem& out, Failure& f) {
    using Kind = UIXMLItem::Kind;
    CharCursor k = at;
    if (!expect(k, "<", f)) return false;
    blanks(k);
    const CharCursor start = k;
    Failure best;
    Failure g;

    bool found = false;
    if (expect(k, "!--", g)) {
        blanks(k);
        skipWhile(k, kComment);
        if (expect(k, "--", g)) {
            blanks(k);
            out.kind = Kind::Comment;
            found = true;
        }
    }
    if (!found) {
        keepFurther(best, g);
        k = start;
        if (expect(k, "control", g)) {
            blanks(k);
            out.kind = Kind::Open;
            attributes(k, &out.attributes);
            found = true;
        }
    }
    if (!found) {
        keepFurther(best, g);
        k = start;
        if (expect(k, "/control", g)) {
            blanks(k);
            out.kind = Kind::Close;
            found = true;
        }
    }
    if (!found) {
        keepFurther(best, g);
        k = start;
        if (expect(k, "alias", g)) {
            blanks(k);
            attributes(k, nullptr);
            out.kind = Kind::Alias;
            found = true;
        }
    }
    if (!found) {
        keepFurther(best, g);
        f = best;
        return false;
    }
    if (!expect(k, ">", f)) return false;
    blanks(k);
    at = k;
    return true;
}

}  // namespace

bool isTextChar(unsigned char c) { return (kClasses[c] & kText) != 0; }

std::string displayForm(unsigned char c) {
    static constexpr char kControlLetters[] = "abtnvfr";  // codes 7 to 13
    if (c == '\\') return "\\\\";
    if (c == '"') return "\\\"";
    if (c >= 32 && c <= 126) return std::string(1, static_cast<char>(c));
    if (c >= 7 && c <= 13) return {'\\', kControlLetters[c - 7]};
    if (c < 32) return {'\\', '^', static_cast<char>(c + 64)};
    return {'\\', static_cast<char>('0' + c / 100), static_cast<char>('0' + c / 10 % 10), static_cast<char>('0' + c % 10)};
}

ItemStep parseItem(const CharSource& source) {
    CharCursor at(source);
    UIXMLItem it;
    Failure f;
    if (!item(at, it, f)) return {std::nullopt, source};
    return {std::move(it), at.source()};
}

std::pair<UIXMLItem, CharSource> readItem(const CharSource& source) {
    CharCursor at(source);
    UIXMLItem it;
    Failure f;
    if (!item(at, it, f)) f.raise();
    return {std::move(it), at.source()};
}

std::pair<std::string, CharSource> readChars(const CharSource& source, std::size_t count) {
    return source.take(count);
}

std::optional<std::pair<char, CharSource>> tryReaderStep(const CharSource& source) {
    CharCursor at(source);
    int c;
    Failure f;
    if (!blankStep(at, c, f)) return std::nullopt;
    return std::pair{static_cast<char>(c), at.source()};
}

std::pair<char, CharSource> readerStep(const CharSource& source) {
    CharCursor at(source);
    int c;
    Failure f;
    if (!blankStep(at, c, f)) f.raise();
    return {static_cast<char>(c), at.source()};
}

CharSource skipBlanks(const CharSource& source) {
    CharCursor at(source);
    blanks(at);
    return at.source();
}

std::string decodeEscapes(std::string_view raw, long position) {
    std::string out;
    Failure f;
    if (!decode(raw, position, out, f)) f.raise();
    return out;
}

}  // namespace zil::UIXMLReader
