#include "ShellTestSupport.hpp"
#include "shell/AppConfig.hpp"
#include "shell/InStream.hpp"

namespace zil {
namespace {

TEST(AppConfig, BytewiseUnsignedOrderAndNoKeyTwice) {
    EXPECT_EQ(compareStrings("ab", "abc"), Order::Less);
    EXPECT_EQ(compareStrings("\x80", "a"), Order::Greater);
    EXPECT_EQ(compareStrings(std::string_view("a\0b", 3), std::string_view("a\0c", 3)), Order::Less);
    AppConfig::Table t;
    AppConfig::insert(t, "k", "1");
    EXPECT_THROW(AppConfig::insert(t, "k", "2"), Insert);
    EXPECT_EQ(t.at("k"), "1");
}

TEST(AppConfig, LinesGiveKeysAndValuesAsWritten) {
    testing::ScratchDir dir;
    AppConfig::Cell cell;
    std::string longValue(InStream::kBufferSize + 100, 'd');
    AppConfig::load(cell, dir.write("app.config",
                                    "ui/lf/vuq/=/usr/share/zil/lf/\n"
                                    " spaced key = a=b=c \r\n"
                                    "=empty key\n"
                                    "long=" + longValue + "\n"
                                    "ui/fonts/=fonts/"));  // no final newline
    ASSERT_TRUE(cell);
    EXPECT_EQ(cell->size(), 5u);
    for (const auto& [key, value] : {std::pair<std::string, std::string>{"ui/lf/vuq/", "/usr/share/zil/lf/"},
                                     {"ui/fonts/", "fonts/"}, {" spaced key ", " a=b=c \r"}, {"", "empty key"},
                                     {"long", longValue}, {"ui/lf/", "./"}})
        EXPECT_EQ(lookupResourcePath(cell, key), value) << key;

    AppConfig::load(cell, dir.write("empty", ""));
    ASSERT_TRUE(cell);
    EXPECT_TRUE(cell->empty());
}

TEST(AppConfig, BadOrMissingFileKeepsThePreviousTableSilently) {
    testing::ScratchDir dir;
    AppConfig::Cell absent;
    AppConfig::load(absent, dir.path("missing"));
    EXPECT_EQ(lookupResourcePath(absent, "ui/fonts/"), "./");

    AppConfig::Cell cell;
    AppConfig::load(cell, dir.write("good", "ui/fonts/=f/\n"));
    for (std::string_view bad : {"ui/fonts/=x/\n\nui/lf/vuq/=y/\n",                  // blank line
                                 "ui/fonts/=x/\nno equals sign\n",                   // line without "="
                                 "ui/fonts/=x/\nui/lf/vuq/=y/\nui/fonts/=z/\n", ""}) {  // key twice; missing
        std::string path = bad.empty() ? dir.path("missing") : dir.write("bad", bad);
        EXPECT_EQ(testing::stdoutOf([&] { AppConfig::load(cell, path); }), "");
        ASSERT_TRUE(cell);
        EXPECT_EQ(cell->size(), 1u) << bad;
        EXPECT_EQ(lookupResourcePath(cell, "ui/fonts/"), "f/");
    }
}

}  // namespace
}  // namespace zil
