#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "shell/Errors.hpp"
#include "ui/uixml/UIXMLReader.hpp"

namespace zil {
namespace {

using Kind = UIXMLItem::Kind;
namespace R = UIXMLReader;

struct Read {
    std::vector<UIXMLItem> items;
    long stoppedAt = 0;
    std::string rest;  // everything left unread
};

// Reads like the start-up does, with the text cut into pieces of the given
// size so that every piece boundary is crossed somewhere.
Read readAll(std::string_view text, std::size_t pieceSize) {
    Read r;
    CharSource s = R::skipBlanks(CharSource::ofText(text, pieceSize));
    for (;;) {
        R::ItemStep step = R::parseItem(s);
        if (!step.item) break;
        r.items.push_back(*step.item);
        s = step.rest;
    }
    r.stoppedAt = s.position();
    r.rest = s.take(text.size()).first;
    return r;
}

// The same result whatever the piece size.
Read readAll(std::string_view text) {
    Read whole = readAll(text, 4096);
    for (std::size_t size : {1, 2, 3, 7}) {
        Read cut = readAll(text, size);
        EXPECT_EQ(cut.items, whole.items) << "piece size " << size;
        EXPECT_EQ(cut.stoppedAt, whole.stoppedAt) << "piece size " << size;
        EXPECT_EQ(cut.rest, whole.rest) << "piece size " << size;
    }
    return whole;
}

UIXMLItem open(std::vector<UIXMLAttribute> attrs) { return {Kind::Open, std::move(attrs)}; }
const UIXMLItem kComment{Kind::Comment, {}};
const UIXMLItem kClose{Kind::Close, {}};
const UIXMLItem kAlias{Kind::Alias, {}};

TEST(UIXMLReader, WorkedExampleGivesItemsInFileOrder) {
    Read r = readAll(
        "  <!-- main window -->\n"
        "  <control class='\"VuqNoBackgroundWindow\"' name='\"maintabbook\"'\n"
        "           visible='true'>\n"
        "    < control class='\"VuqTabBook\"'name='\"maintab\"' visible='true'>\n"
        "    </control>\n"
        "    <alias name='\"zoombar\"'>\n"
        "  </control>\n");
    std::vector<UIXMLItem> want{
        kComment,
        open({{"class", "\"VuqNoBackgroundWindow\""}, {"name", "\"maintabbook\""}, {"visible", "true"}}),
        open({{"class", "\"VuqTabBook\""}, {"name", "\"maintab\""}, {"visible", "true"}}),
        kClose,
        kAlias,
        kClose,
    };
    EXPECT_EQ(r.items, want);
    EXPECT_EQ(r.rest, "");
}

TEST(UIXMLReader, EmptyOrBlankTextGivesNothing) {
    for (std::string_view text : {"", " \t\r\n "}) {
        Read r = readAll(text);
        EXPECT_TRUE(r.items.empty());
        EXPECT_EQ(r.rest, "");
        EXPECT_EQ(r.stoppedAt, static_cast<long>(text.size()));
    }
}

TEST(UIXMLReader, TagForms) {
    EXPECT_EQ(readAll("<control>< /control >").items, (std::vector{open({}), kClose}));
    // Attributes may follow the keyword directly; duplicates are kept.
    EXPECT_EQ(readAll("<controla='1'a='2'>").items, (std::vector{open({{"a", "1"}, {"a", "2"}})}));
    EXPECT_EQ(readAll("<alias>").items, (std::vector{kAlias}));
    EXPECT_EQ(readAll("<aliasname='x' >").items, (std::vector{kAlias}));
    EXPECT_EQ(readAll("<control\n\tx\n=\n'v'\n>").items.size(), 0u);  // blank before "="

    // Each of these stops the reading at its "<", after the good first item.
    for (std::string_view bad : {"</ control>", "<control/>", "</control/>", "<Control>", "<controlx>", "<?xml?>",
                                 "<control a=\"1\">", "<control 1a='x'>", "<control a_b='x'>", "<control a-b='x'>",
                                 "<control a.b='x'>", "<control a = 'x'>", "<control a='x'", "<control a='x", "<",
                                 "<control a='<'>", "<control a='''>", "<alias a=x>"}) {
        std::string text = "<control>\n" + std::string(bad);
        Read r = readAll(text);
        EXPECT_EQ(r.items, std::vector{open({})}) << bad;
        EXPECT_EQ(r.stoppedAt, 10) << bad;
        EXPECT_EQ(r.rest, bad);
    }
}

TEST(UIXMLReader, TextBetweenItemsEndsTheReading) {
    Read r = readAll("<control a='1'> word </control>");
    EXPECT_EQ(r.items, std::vector{open({{"a", "1"}})});
    EXPECT_EQ(r.rest, "word </control>");
}

TEST(UIXMLReader, Comments) {
    EXPECT_EQ(readAll("<!---->").items, std::vector{kComment});
    EXPECT_EQ(readAll("<  !--\n\tSome text 42   --\r\n>").items, std::vector{kComment});
    for (std::string_view bad : {"<!-- a.b -->", "<!-- a,b -->", "<!-- a-b -->", "<!-- a\tb -->", "<!-- a\nb -->",
                                 "<!- x -->", "<!-- x ->", "<! -- x -->"})
        EXPECT_TRUE(readAll(bad).items.empty()) << bad;
}

TEST(UIXMLReader, ValueTextKeepsWhatTheFormatAllows) {
    std::string value = " \"quoted\" > \t\r\n\x7f\x80\xff end ";
    Read r = readAll("<control v='" + value + "' e=''>");
    EXPECT_EQ(r.items, std::vector{open({{"v", value}, {"e", ""}})});
    // Control characters other than TAB, LF and CR are not value characters.
    EXPECT_TRUE(readAll("<control v='\x01'>").items.empty());
    EXPECT_TRUE(readAll("<control v='\x0b'>").items.empty());
}

TEST(UIXMLReader, EscapesInValues) {
    Read r = readAll("<control v='&38;&60;&39;&9;&x41;&x0041;&0065;&xff;'>");
    EXPECT_EQ(r.items, std::vector{open({{"v", "&<'\tAAA\xff"}})});
    // An invalid escape makes the whole tag fail.
    for (std::string_view bad : {"&1;", "&x1F;", "&X41;", "&amp;", "&65", "a&", "&2147483648;"}) {
        std::string text = "<control v='" + std::string(bad) + "'>";
        EXPECT_TRUE(readAll(text).items.empty()) << bad;
    }
}

TEST(UIXMLReader, EscapeAboveByteRangeEndsTheWholeReading) {
    for (std::string_view big : {"&256;", "&2147483647;", "&x100;", "&x7FFFFFFF;"}) {
        std::string text = "<control v='" + std::string(big) + "'>";
        EXPECT_THROW(R::parseItem(CharSource::ofText(text)), Chr) << big;
        // Also inside an alias tag, whose attributes are otherwise dropped.
        EXPECT_THROW(R::parseItem(CharSource::ofText("<alias v='" + std::string(big) + "'>")), Chr);
    }
}

TEST(UIXMLReader, DecodeEscapesMessages) {
    auto message = [](std::string_view raw) -> std::string {
        try {
            R::decodeEscapes(raw, 17);
        } catch (const SyntaxError& e) {
            EXPECT_EQ(e.position, 17);
            return e.message;
        }
        return "no error";
    };
    EXPECT_EQ(message("abc&"), "Unexpected end of escaped string");
    EXPECT_EQ(message("&12"), "Unexpected end of escaped number");
    EXPECT_EQ(message("&x1"), "Unexpected end of escaped number");
    EXPECT_EQ(message("&99999999999"), "Unexpected end of escaped number");
    EXPECT_EQ(message("&amp;"), "Invalid character in number a");
    EXPECT_EQ(message("&X41;"), "Invalid character in number X");
    EXPECT_EQ(message("&x"), "Invalid character in number x");
    EXPECT_EQ(message("&;"), "Invalid character in number ;");
    EXPECT_EQ(message("&xg1;"), "Invalid character in hex number g");
    EXPECT_EQ(message("&x;"), "Invalid character in hex number ;");
    EXPECT_EQ(message("&1a;"), "Invalid number in escaped string");
    EXPECT_EQ(message("&x1g;"), "Invalid number in escaped string");
    EXPECT_EQ(message("&2147483648;"), "Overflow when converting number");
    EXPECT_EQ(message("&x80000000;"), "Overflow when converting number");
    EXPECT_EQ(message("&x00000000100000000;"), "Overflow when converting number");
    EXPECT_EQ(message("&0;"), "Illegal character in escaped number");
    EXPECT_EQ(message("&x1F;"), "Illegal character in escaped number");
    EXPECT_EQ(message("&31;"), "Illegal character in escaped number");
    EXPECT_EQ(R::decodeEscapes("&32;&x0a;&13;&00000000000000000065;", 0), " \n\rA");
    EXPECT_THROW(R::decodeEscapes("&256;", 0), Chr);
    // The first failing escape decides, left to right.
    EXPECT_THROW(R::decodeEscapes("&300;&1;", 0), Chr);
    EXPECT_EQ(message("&1;&300;"), "Illegal character in escaped number");
}

TEST(UIXMLReader, ItemFailureOfTheAlternativeThatGotFurthest) {
    auto failure = [](std::string_view text) -> std::pair<std::string, long> {
        try {
            R::readItem(CharSource::ofText(text));
        } catch (const SyntaxError& e) {
            return {e.message, e.position};
        }
        return {"no error", -1};
    };
    EXPECT_EQ(failure(""), (std::pair<std::string, long>{"< expected", 0}));
    EXPECT_EQ(failure("x"), (std::pair<std::string, long>{"< expected", 0}));
    EXPECT_EQ(failure("<"), (std::pair<std::string, long>{"alias expected", 1}));
    EXPECT_EQ(failure("<  foo>"), (std::pair<std::string, long>{"alias expected", 3}));
    EXPECT_EQ(failure("<!-- a.b -->"), (std::pair<std::string, long>{"-- expected", 6}));
    EXPECT_EQ(failure("<control a='1' b>"), (std::pair<std::string, long>{"> expected", 15}));
    EXPECT_EQ(failure("</control x>"), (std::pair<std::string, long>{"> expected", 10}));
    EXPECT_EQ(failure("<control v='&1;'>"), (std::pair<std::string, long>{"> expected", 9}));
}

TEST(UIXMLReader, SourceValuesArePersistent) {
    CharSource start = CharSource::ofText("<control a='1'>  <bad", 3);
    R::ItemStep first = R::parseItem(start);
    ASSERT_TRUE(first.item);
    EXPECT_EQ(first.rest.position(), 17);
    R::ItemStep second = R::parseItem(first.rest);
    EXPECT_FALSE(second.item);
    EXPECT_EQ(second.rest.position(), 17);
    // Taking again from an older value gives the same characters.
    EXPECT_EQ(R::readChars(start, 9).first, "<control ");
    EXPECT_EQ(R::readChars(start, 9).first, "<control ");
    auto [rest, end] = R::readChars(second.rest, 64);
    EXPECT_EQ(rest, "<bad");
    EXPECT_EQ(R::readChars(end, 1).first, "");

    // What a value holds without reading: the rest of its own piece.
    EXPECT_EQ(start.heldPiece(), "");
    EXPECT_EQ(start.take(3).second.heldPiece(), "");  // ends with its piece
    EXPECT_EQ(start.take(4).second.heldPiece(), "tr");
}

TEST(UIXMLReader, BlankStepAndDisplayForm) {
    CharSource s = CharSource::ofText("\r\n x");
    std::string seen;
    while (auto step = R::tryReaderStep(s)) {
        seen.push_back(step->first);
        s = step->second;
    }
    EXPECT_EQ(seen, "\r\n ");
    EXPECT_FALSE(R::tryReaderStep(s.take(1).second));  // end of text
    EXPECT_FALSE(R::tryReaderStep(CharSource::ofText("\v")));

    EXPECT_EQ(R::displayForm('\\') + R::displayForm('"') + R::displayForm('a'), "\\\\\\\"a");
    EXPECT_EQ(R::displayForm('\a') + R::displayForm('\r'), "\\a\\r");
    EXPECT_EQ(R::displayForm(0) + R::displayForm(27), "\\^@\\^[");
    EXPECT_EQ(R::displayForm(127) + R::displayForm(255), "\\127\\255");
}

TEST(UIXMLReader, DeepNestingAndLongItems) {
    const int depth = 200000;
    std::string text;
    for (int i = 0; i < depth; ++i) text += "<control>";
    for (int i = 0; i < depth; ++i) text += "</control>";
    Read r = readAll(text, 4096);
    ASSERT_EQ(r.items.size(), 2u * depth);
    EXPECT_EQ(r.items.front(), open({}));
    EXPECT_EQ(r.items.back(), kClose);

    // One value across many pieces, and one tag that fails only at its very
    // end after a long value: the reading stops at its "<".
    std::string big(1 << 20, 'v');
    EXPECT_EQ(readAll("<control v='" + big + "'>", 1).items, std::vector{open({{"v", big}})});
    Read failed = readAll("<control/><control v='" + big + "'", 4096);
    EXPECT_EQ(failed.stoppedAt, 0);
}

TEST(UIXMLReader, LongChainOfPiecesIsFreedWithoutDeepRecursion) {
    const std::size_t n = 300000;
    CharSource s = CharSource::ofText(std::string(n, ' '), 1);
    CharSource end = R::skipBlanks(s);
    EXPECT_EQ(end.position(), static_cast<long>(n));
    // Dropping the first value frees every piece after it in one go.
}

}  // namespace
}  // namespace zil
