#include <gtest/gtest.h>

#include "ReaderTestFiles.hpp"
#include "shell/InStream.hpp"
#include "shell/UILoader.hpp"

namespace zil {
namespace {

using Kind = UIXMLItem::Kind;

struct Loaded {
    std::vector<UIXMLItem> items;
    std::string output;
};

Loaded load(const std::string& path) {
    ::testing::internal::CaptureStdout();
    Loaded l;
    l.items = UILoader::load(path);
    l.output = ::testing::internal::GetCapturedStdout();
    return l;
}

TEST(UILoader, MissingFile) {
    testing::ScratchDir dir;
    std::string path = dir.path("ui.uixml");
    Loaded l = load(path);
    EXPECT_TRUE(l.items.empty());
    EXPECT_EQ(l.output, "Error opening file " + path + "!\n");
}

TEST(UILoader, ItemsInFileOrderWithoutComments) {
    testing::ScratchDir dir;
    Loaded l = load(dir.write("ui.uixml",
                              "\n  <!-- top -->\n<control name='\"w\"'>\n<!--inner-->\n<alias name='\"x\"'>\n"
                              "<control name='\"c\"'></control>\n</control>\n"));
    EXPECT_EQ(l.output, "");
    std::vector<UIXMLItem> want{{Kind::Open, {{"name", "\"w\""}}},
                                {Kind::Alias, {}},
                                {Kind::Open, {{"name", "\"c\""}}},
                                {Kind::Close, {}},
                                {Kind::Close, {}}};
    EXPECT_EQ(l.items, want);

    l = load(dir.write("only-comments", " <!-- a --> <!-- b -->\n"));
    EXPECT_EQ(l.output, "");
    EXPECT_TRUE(l.items.empty());
}

TEST(UILoader, UnparsableTailIsShownAndTheItemsBeforeItStay) {
    testing::ScratchDir dir;
    std::string tail = "<control v='&1;'>\n" + std::string(100, 'z') + "\n";
    Loaded l = load(dir.write("ui.uixml", "<control></control>\n" + tail));
    EXPECT_EQ(l.output, "Error during parsing: Could not parse the last part of UIXML file: " + tail);
    EXPECT_EQ(l.items, (std::vector<UIXMLItem>{{Kind::Open, {}}, {Kind::Close, {}}}));
}

TEST(UILoader, TailAtTheStartOfAFreshPieceShowsAtMost64Characters) {
    testing::ScratchDir dir;
    // The good item fills the first buffer exactly, so the bad one begins
    // where nothing has been read yet.
    std::string first = "<control>" + std::string(InStream::kBufferSize - 9, ' ');
    std::string tail(200, 'q');
    Loaded l = load(dir.write("ui.uixml", first + tail));
    EXPECT_EQ(l.output, "Error during parsing: Could not parse the last part of UIXML file: " + tail.substr(0, 64));
    EXPECT_EQ(l.items.size(), 1u);

    l = load(dir.write("start", "bad"));
    EXPECT_EQ(l.output, "Error during parsing: Could not parse the last part of UIXML file: bad");
}

TEST(UILoader, EscapeAboveByteRangeDropsEveryItem) {
    testing::ScratchDir dir;
    Loaded l = load(dir.write("ui.uixml", "<control></control><control v='&256;'>"));
    EXPECT_EQ(l.output, "Error parsing UIXML file!\n");
    EXPECT_TRUE(l.items.empty());
}

TEST(UILoader, UnreadableFileIsAParseError) {
    testing::ScratchDir dir;
    Loaded l = load(dir.path(""));  // a directory: open works, read fails
    EXPECT_EQ(l.output, "Error parsing UIXML file!\n");
    EXPECT_TRUE(l.items.empty());
}

}  // namespace
}  // namespace zil
