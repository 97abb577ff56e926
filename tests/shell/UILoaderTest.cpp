#include "ShellTestSupport.hpp"
#include "shell/InStream.hpp"
#include "shell/UILoader.hpp"

namespace zil {
namespace {

using Kind = UIXMLItem::Kind;
using Items = std::vector<UIXMLItem>;
const std::string kTailMessage = "Error during parsing: Could not parse the last part of UIXML file: ";

// The items and what was written; the loader says it reported exactly when
// it wrote something.
std::pair<Items, std::string> load(const std::string& path) {
    UILoader::Loaded loaded;
    std::string out = testing::stdoutOf([&] { loaded = UILoader::load(path); });
    EXPECT_EQ(loaded.reported, !out.empty()) << path;
    return {loaded.items, out};
}

TEST(UILoader, ItemsInFileOrderWithoutComments) {
    testing::ScratchDir dir;
    auto [items, out] = load(dir.write("ui.uixml",
                                       "\n  <!-- top -->\n<control name='\"w\"'>\n<!--inner-->\n<alias name='\"x\"'>\n"
                                       "<control name='\"c\"'></control>\n</control>\n"));
    EXPECT_EQ(out, "");
    EXPECT_EQ(items, (Items{{Kind::Open, {{"name", "\"w\""}}}, {Kind::Alias, {}}, {Kind::Open, {{"name", "\"c\""}}},
                            {Kind::Close, {}}, {Kind::Close, {}}}));
    EXPECT_EQ(load(dir.write("only-comments", " <!-- a --> <!-- b -->\n")), (std::pair<Items, std::string>{}));
}

TEST(UILoader, FailuresThatDropEveryItem) {
    testing::ScratchDir dir;
    const std::string missing = dir.path("ui.uixml");
    const std::pair<std::string, std::string> cases[] = {
        {missing, "Error opening file " + missing + "!\n"},
        {dir.write("big", "<control></control><control v='&256;'>"), "Error parsing UIXML file!\n"},
        {dir.path(""), "Error parsing UIXML file!\n"},  // a directory: open works, read fails
    };
    for (const auto& [path, message] : cases) EXPECT_EQ(load(path), (std::pair<Items, std::string>{{}, message}));
}

TEST(UILoader, UnparsableTailIsShownAndTheItemsBeforeItStay) {
    testing::ScratchDir dir;
    std::string tail = "<control v='&1;'>\n" + std::string(100, 'z') + "\n";
    EXPECT_EQ(load(dir.write("a", "<control></control>\n" + tail)),
              (std::pair<Items, std::string>{{{Kind::Open, {}}, {Kind::Close, {}}}, kTailMessage + tail}));
    EXPECT_EQ(load(dir.write("b", "bad")).second, kTailMessage + "bad");
    // The rest of a buffer already read is shown whole, even when the bad
    // text begins right at a buffer's start.
    std::string z = "bad" + std::string(5000, 'z');
    EXPECT_EQ(load(dir.write("c", z)).second, kTailMessage + z.substr(0, InStream::kBufferSize));
    // Bytes that could drive the terminal are shown escaped; TAB and LF
    // stay as they are.
    const std::string damaged("<x \x1b[2J\0\x7f\x80\xff\t\r\n", 14);
    EXPECT_EQ(load(dir.write("e", "<control></control>" + damaged)),
              (std::pair<Items, std::string>{{{Kind::Open, {}}, {Kind::Close, {}}},
                                             kTailMessage + "<x \\x1b[2J\\x00\\x7f\\x80\\xff\t\\x0d\n"}));
    std::string first = "<control>" + std::string(InStream::kBufferSize - 9, ' ');
    std::string q(200, 'q');
    EXPECT_EQ(load(dir.write("d", first + q)), (std::pair<Items, std::string>{{{Kind::Open, {}}}, kTailMessage + q}));
}

}  // namespace
}  // namespace zil
