#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "shell/Errors.hpp"
#include "ui/uixml/UIXMLReader.hpp"

namespace zil {
namespace {

using Kind = UIXMLItem::Kind;
using Items = std::vector<UIXMLItem>;
namespace R = UIXMLReader;

struct Read {
    Items items;
    long stoppedAt = 0;
    std::string rest;  // everything left unread
    bool operator==(const Read&) const = default;
};

// Reads like the start-up does, with the text cut into pieces of the given
// size so that every piece boundary is crossed somewhere.
Read readAll(std::string_view text, std::size_t pieceSize) {
    Read r;
    CharSource s = R::skipBlanks(CharSource::ofText(text, pieceSize));
    for (R::ItemStep step = R::parseItem(s); step.item; step = R::parseItem(s)) {
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
    for (std::size_t size : {1, 2, 7}) EXPECT_TRUE(readAll(text, size) == whole) << "piece size " << size;
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
    EXPECT_EQ(r.items, (Items{kComment,
                              open({{"class", "\"VuqNoBackgroundWindow\""}, {"name", "\"maintabbook\""},
                                    {"visible", "true"}}),
                              open({{"class", "\"VuqTabBook\""}, {"name", "\"maintab\""}, {"visible", "true"}}),
                              kClose, kAlias, kClose}));
    EXPECT_EQ(r.rest, "");
    EXPECT_EQ(readAll(" \t\r\n "), (Read{{}, 5, ""}));
}

TEST(UIXMLReader, TagForms) {
    EXPECT_EQ(readAll("<control>< /control >").items, (Items{open({}), kClose}));
    // Attributes may follow the keyword directly; duplicates are kept.
    EXPECT_EQ(readAll("<controla='1'a='2'>").items, (Items{open({{"a", "1"}, {"a", "2"}})}));
    EXPECT_EQ(readAll("<aliasname='x' >").items, (Items{kAlias}));
    EXPECT_EQ(readAll("<control\n\tx\n=\n'v'\n>").items.size(), 0u);  // blank before "="
    EXPECT_EQ(readAll("<control x=\n\t 'v'>").items, (Items{open({{"x", "v"}})}));  // blanks after it
    EXPECT_EQ(readAll("<control a='1'> word </control>").rest, "word </control>");

    // Each of these stops the reading at its "<", after the good first item.
    for (std::string_view bad : {"</ control>", "<control/>", "</control/>", "<Control>", "<controlx>", "<?xml?>",
                                 "<control a=\"1\">", "<control 1a='x'>", "<control a_b='x'>", "<control a-b='x'>",
                                 "<control a.b='x'>", "<control a = 'x'>", "<control a='x'", "<control a='x", "<",
                                 "<control a='<'>", "<control a='''>", "<alias a=x>"})
        EXPECT_EQ(readAll("<control>\n" + std::string(bad)), (Read{{open({})}, 10, std::string(bad)})) << bad;
}

TEST(UIXMLReader, CommentsAndValueCharacters) {
    EXPECT_EQ(readAll("<!----><  !--\n\tSome text 42   --\r\n>").items, (Items{kComment, kComment}));
    for (std::string_view bad : {"<!-- a.b -->", "<!-- a-b -->", "<!-- a\tb -->", "<!- x -->", "<!-- x ->",
                                 "<! -- x -->"})
        EXPECT_TRUE(readAll(bad).items.empty()) << bad;

    std::string value = " \"quoted\" > \t\r\n\x7f\x80\xff end ";
    EXPECT_EQ(readAll("<control v='" + value + "' e=''>").items, (Items{open({{"v", value}, {"e", ""}})}));
    // Control characters other than TAB, LF and CR are not value characters.
    EXPECT_TRUE(readAll("<control v='\x01'>").items.empty());
    EXPECT_TRUE(readAll("<control v='\x0b'>").items.empty());
}

TEST(UIXMLReader, EscapesInValues) {
    EXPECT_EQ(readAll("<control v='&38;&60;&39;&9;&x41;&x0041;&0065;&xff;'>").items,
              (Items{open({{"v", "&<'\tAAA\xff"}})}));
    // Text before, between and after escapes is kept.
    EXPECT_EQ(readAll("<control v='a&66;cd&x45;fg'>").items, (Items{open({{"v", "aBcdEfg"}})}));
    // An invalid escape makes the whole tag fail.
    for (std::string_view bad : {"&1;", "&X41;", "&65", "a&", "&2147483648;"})
        EXPECT_TRUE(readAll("<control v='" + std::string(bad) + "'>").items.empty()) << bad;
    // A code above 255 ends the whole reading, also inside an alias tag.
    for (std::string_view big : {"&256;", "&2147483647;", "&x100;"}) {
        EXPECT_THROW(R::parseItem(CharSource::ofText("<control v='" + std::string(big) + "'>")), Chr) << big;
        EXPECT_THROW(R::parseItem(CharSource::ofText("<alias v='" + std::string(big) + "'>")), Chr) << big;
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
    const std::pair<const char*, const char*> cases[] = {
        {"abc&", "Unexpected end of escaped string"},     {"&x1", "Unexpected end of escaped number"},
        {"&12", "Unexpected end of escaped number"},      {"&31;", "Illegal character in escaped number"},
        {"&amp;", "Invalid character in number a"},       {"&;", "Invalid character in number ;"},
        {"&xg1;", "Invalid character in hex number g"},   {"&1a;", "Invalid number in escaped string"},
        {"&x1g;", "Invalid number in escaped string"},    {"&2147483648;", "Overflow when converting number"},
        {"&x80000000;", "Overflow when converting number"}, {"&x00000000100000000;", "Overflow when converting number"},
        {"&0;", "Illegal character in escaped number"},   {"&x1F;", "Illegal character in escaped number"},
        {"&1;&300;", "Illegal character in escaped number"},  // the first failing escape decides
    };
    for (const auto& [raw, want] : cases) EXPECT_EQ(message(raw), want) << raw;
    EXPECT_EQ(R::decodeEscapes("&32;&x0a;&13;&00000000000000000065;", 0), " \n\rA");
    EXPECT_THROW(R::decodeEscapes("&300;&1;", 0), Chr);
}

TEST(UIXMLReader, ItemFailureOfTheAlternativeThatGotFurthest) {
    const std::tuple<const char*, const char*, long> cases[] = {
        {"", "< expected", 0},          {"x", "< expected", 0},
        {"<", "alias expected", 1},     {"<  foo>", "alias expected", 3},
        {"<!-- a.b -->", "-- expected", 6}, {"<control a='1' b>", "> expected", 15},
        {"</control x>", "> expected", 10}, {"<control v='&1;'>", "> expected", 9},
    };
    for (const auto& [text, message, position] : cases) {
        try {
            R::readItem(CharSource::ofText(text));
            ADD_FAILURE() << "no error for " << text;
        } catch (const SyntaxError& e) {
            EXPECT_EQ(std::make_pair(e.message, e.position), std::make_pair(std::string(message), position)) << text;
        }
    }
}

TEST(UIXMLReader, SourceValuesArePersistent) {
    CharSource start = CharSource::ofText("<control a='1'>  <bad", 3);
    R::ItemStep first = R::parseItem(start);
    ASSERT_TRUE(first.item);
    R::ItemStep second = R::parseItem(first.rest);
    EXPECT_FALSE(second.item);
    EXPECT_EQ(second.rest.position(), 17);
    // Taking again from an older value gives the same characters.
    EXPECT_EQ(R::readChars(start, 9).first, "<control ");
    EXPECT_EQ(R::readChars(start, 9).first, "<control ");
    EXPECT_EQ(R::readChars(second.rest, 64).first, "<bad");
    // What a value holds without reading: the rest of its own piece, or the
    // next one when that has been read already.
    EXPECT_EQ(start.heldPiece(), "<co");
    EXPECT_EQ(start.take(4).second.heldPiece(), "tr");
    EXPECT_EQ(R::displayForm('\\') + R::displayForm('"') + R::displayForm('a') + R::displayForm('\r'), "\\\\\\\"a\\r");
    EXPECT_EQ(R::displayForm(0) + R::displayForm(27) + R::displayForm(127) + R::displayForm(255), "\\^@\\^[\\127\\255");
}

TEST(UIXMLReader, DeepNestingLongItemsAndPieceChainsWithoutRecursion) {
    const int depth = 200000;
    std::string text;
    for (int i = 0; i < depth; ++i) text += "<control>";
    for (int i = 0; i < depth; ++i) text += "</control>";
    Read r = readAll(text, 4096);
    ASSERT_EQ(r.items.size(), 2u * depth);
    EXPECT_EQ(r.items.back(), kClose);

    // One value across many pieces, and one tag that fails only at its very
    // end after a long value: the reading stops at its "<".
    std::string big(1 << 20, 'v');
    EXPECT_EQ(readAll("<control v='" + big + "'>", 1).items, (Items{open({{"v", big}})}));
    EXPECT_EQ(readAll("<control/><control v='" + big + "'", 4096).stoppedAt, 0);

    // Dropping the first value frees a long chain of pieces in one go.
    EXPECT_EQ(R::skipBlanks(CharSource::ofText(std::string(300000, ' '), 1)).position(), 300000);
}

}  // namespace
}  // namespace zil
