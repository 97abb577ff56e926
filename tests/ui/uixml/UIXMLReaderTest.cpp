#include <gtest/gtest.h>

#include <string>
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
Items itemsOf(std::string_view text) { return readAll(text).items; }

UIXMLItem open(std::vector<UIXMLAttribute> attrs) { return {Kind::Open, std::move(attrs)}; }
const UIXMLItem kComment{Kind::Comment, {}}, kClose{Kind::Close, {}}, kAlias{Kind::Alias, {}};

TEST(UIXMLReader, ItemsInFileOrder) {
    const std::string text =
        "  <!-- main window -->\n"
        "  <control class='\"Window\"' name='\"book\"'\n"
        "           visible='true'>\n"
        "    < control class='\"TabBook\"'name='\"tab\"'>< /control >\n"
        "    <aliasname='\"zoombar\"' >\n"
        "  </control>\n";
    EXPECT_EQ(readAll(text), (Read{{kComment, open({{"class", "\"Window\""}, {"name", "\"book\""}, {"visible", "true"}}),
                        open({{"class", "\"TabBook\""}, {"name", "\"tab\""}}), kClose, kAlias, kClose},
                       long(text.size()), ""}));
    EXPECT_EQ(itemsOf("<controla='1'a='2'>"), (Items{open({{"a", "1"}, {"a", "2"}})}));  // duplicates kept
    EXPECT_EQ(itemsOf("<control x=\n\t 'v'>"), (Items{open({{"x", "v"}})}));  // blanks after "="
    EXPECT_EQ(readAll("<control a='1'> word </control>").rest, "word </control>");
    // Each of these stops the reading at its "<", after the good first item.
    for (std::string_view bad : {"</ control>", "<control/>", "<Control>", "<controlx>", "<?xml?>",
                                 "<control a=\"1\">", "<control 1a='x'>", "<control a_b='x'>", "<control a ='x'>",
                                 "<control a='x'", "<", "<control a='<'>", "<control a='''>", "<alias a=x>"})
        EXPECT_EQ(readAll("<control>\n" + std::string(bad)), (Read{{open({})}, 10, std::string(bad)})) << bad;
}

TEST(UIXMLReader, CommentsValuesAndEscapes) {
    EXPECT_EQ(itemsOf("<!----><  !--\n\tSome text 42   --\r\n>"), (Items{kComment, kComment}));
    for (std::string_view bad : {"<!-- a.b -->", "<!-- a\tb -->", "<!- x -->", "<! -- x -->"})
        EXPECT_TRUE(itemsOf(bad).empty()) << bad;
    std::string value = " \"quoted\" > \t\r\n\x7f\x80\xff end ";
    EXPECT_EQ(itemsOf("<control v='" + value + "' e=''>"), (Items{open({{"v", value}, {"e", ""}})}));
    EXPECT_TRUE(itemsOf("<control v='\x01'>").empty());  // only TAB, LF and CR below 32
    EXPECT_EQ(itemsOf("<control v='a&38;&60;&39;&9;&x41;&x0041;&0065;&xff;z'>"), (Items{open({{"v", "a&<'\tAAA\xffz"}})}));
    // An invalid escape fails the tag; a code above 255 ends the whole reading.
    for (std::string_view bad : {"&1;", "&X41;", "&65", "&2147483648;"})
        EXPECT_TRUE(itemsOf("<control v='" + std::string(bad) + "'>").empty()) << bad;
    EXPECT_THROW(R::parseItem(CharSource::ofText("<control v='&256;'>")), Chr);
    EXPECT_THROW(R::parseItem(CharSource::ofText("<alias v='&x100;'>")), Chr);
}

TEST(UIXMLReader, FailureMessages) {
    auto failure = [](auto f) -> std::string {
        try {
            f();
        } catch (const SyntaxError& e) {
            return e.message + " @" + std::to_string(e.position);
        }
        return "no error";
    };
    const std::pair<const char*, const char*> escapes[] = {
        {"abc&", "Unexpected end of escaped string"},   {"&x1", "Unexpected end of escaped number"},
        {"&31;", "Illegal character in escaped number"}, {"&amp;", "Invalid character in number a"},
        {"&xg1;", "Invalid character in hex number g"},  {"&1a;", "Invalid number in escaped string"},
        {"&2147483648;", "Overflow when converting number"}, {"&x80000000;", "Overflow when converting number"},
        {"&1;&300;", "Illegal character in escaped number"},  // the first failing escape decides
    };
    for (const auto& [raw, want] : escapes)
        EXPECT_EQ(failure([raw = raw] { R::decodeEscapes(raw, 17); }), std::string(want) + " @17") << raw;
    EXPECT_EQ(R::decodeEscapes("&32;&x0a;&00000000000000000065;", 0), " \nA");
    // The failure of the alternative that got furthest, where its piece was expected.
    const std::pair<const char*, const char*> items[] = {
        {"x", "< expected @0"},         {"<  foo>", "alias expected @3"},
        {"<!-- a.b -->", "-- expected @6"}, {"<control a='1' b>", "> expected @15"},
        {"</control x>", "> expected @10"},
    };
    for (const auto& [text, want] : items)
        EXPECT_EQ(failure([text = text] { R::readItem(CharSource::ofText(text)); }), want) << text;
    EXPECT_EQ(R::displayForm('\\') + R::displayForm('"') + R::displayForm('a') + R::displayForm('\r'), "\\\\\\\"a\\r");
    EXPECT_EQ(R::displayForm(0) + R::displayForm(27) + R::displayForm(127) + R::displayForm(255), "\\^@\\^[\\127\\255");
}

TEST(UIXMLReader, SourcesArePersistentAndLongChainsNeedNoRecursion) {
    CharSource start = CharSource::ofText("<control a='1'>  <bad", 3);
    R::ItemStep second = R::parseItem(R::parseItem(start).rest);
    EXPECT_FALSE(second.item);
    EXPECT_EQ(second.rest.position(), 17);
    EXPECT_EQ(R::readChars(start, 9).first, "<control ");  // an older value reads the same again
    EXPECT_EQ(R::readChars(second.rest, 64).first, "<bad");
    // Held without reading: the rest of its piece, or the next one once read.
    EXPECT_EQ(start.heldPiece(), "<co");
    EXPECT_EQ(start.take(4).second.heldPiece(), "tr");

    // One value across many pieces; a tag failing at its end after it.
    std::string big(1 << 20, 'v');
    EXPECT_EQ(readAll("<control v='" + big + "'>", 1).items, (Items{open({{"v", big}})}));
    EXPECT_EQ(readAll("<control/><control v='" + big + "'", 4096).stoppedAt, 0);
    // Dropping the first value frees a long chain of pieces in one go.
    EXPECT_EQ(R::skipBlanks(CharSource::ofText(std::string(300000, ' '), 1)).position(), 300000);
}

}  // namespace
}  // namespace zil
