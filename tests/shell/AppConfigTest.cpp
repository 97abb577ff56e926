#include <gtest/gtest.h>

#include "ReaderTestFiles.hpp"
#include "shell/AppConfig.hpp"
#include "shell/Errors.hpp"
#include "shell/InStream.hpp"

namespace zil {
namespace {

TEST(AppConfig, CompareStringsIsBytewiseUnsigned) {
    EXPECT_EQ(compareStrings("abc", "abc"), Order::Equal);
    EXPECT_EQ(compareStrings("ab", "abc"), Order::Less);
    EXPECT_EQ(compareStrings("abc", "ab"), Order::Greater);
    EXPECT_EQ(compareStrings("B", "a"), Order::Less);
    EXPECT_EQ(compareStrings("\x80", "a"), Order::Greater);
    EXPECT_EQ(compareStrings(std::string_view("a\0b", 3), std::string_view("a\0c", 3)), Order::Less);
}

TEST(AppConfig, InsertRefusesAKeyTwice) {
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
    EXPECT_EQ(lookupResourcePath(cell, "ui/lf/vuq/"), "/usr/share/zil/lf/");
    EXPECT_EQ(lookupResourcePath(cell, "ui/fonts/"), "fonts/");
    EXPECT_EQ(lookupResourcePath(cell, " spaced key "), " a=b=c \r");
    EXPECT_EQ(lookupResourcePath(cell, ""), "empty key");
    EXPECT_EQ(lookupResourcePath(cell, "long"), longValue);
    EXPECT_EQ(lookupResourcePath(cell, "ui/lf/"), "./");
}

TEST(AppConfig, EmptyFileStoresAnEmptyTable) {
    testing::ScratchDir dir;
    AppConfig::Cell cell;
    AppConfig::load(cell, dir.write("app.config", ""));
    ASSERT_TRUE(cell);
    EXPECT_TRUE(cell->empty());
    EXPECT_EQ(lookupResourcePath(cell, "ui/fonts/"), "./");
}

TEST(AppConfig, BadOrMissingFileKeepsThePreviousTableSilently) {
    testing::ScratchDir dir;
    AppConfig::Cell absent;
    EXPECT_EQ(lookupResourcePath(absent, "ui/fonts/"), "./");

    AppConfig::Cell cell;
    AppConfig::load(cell, dir.write("good", "ui/fonts/=f/\n"));
    ASSERT_TRUE(cell);
    for (std::string_view bad : {"ui/fonts/=x/\n\nui/lf/vuq/=y/\n",       // blank line
                                 "ui/fonts/=x/\nno equals sign\n",        // line without "="
                                 "ui/fonts/=x/\nui/lf/vuq/=y/\nui/fonts/=z/\n"}) {  // key twice
        ::testing::internal::CaptureStdout();
        AppConfig::load(cell, dir.write("bad", bad));
        EXPECT_EQ(::testing::internal::GetCapturedStdout(), "");
        EXPECT_EQ(cell->size(), 1u) << bad;
        EXPECT_EQ(lookupResourcePath(cell, "ui/fonts/"), "f/");
    }
    AppConfig::load(cell, dir.path("missing"));
    EXPECT_EQ(lookupResourcePath(cell, "ui/fonts/"), "f/");
    AppConfig::load(absent, dir.path("missing"));
    EXPECT_FALSE(absent);
}

}  // namespace
}  // namespace zil
