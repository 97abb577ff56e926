#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>

#include "shell/StringTree.hpp"

namespace zil {
namespace {

using Tree = StringTree<int>;

std::optional<int> find(const Tree& t, std::string_view key) {
    const int* v = t.lookup(key);
    return v ? std::optional<int>(*v) : std::nullopt;
}

TEST(StringTree, ExactKeysOnlyNoPrefixesOrExtensions) {
    const std::string keys[] = {"VuqTextEdit", "VuqTextLabel", "Vuq", "m", "c", "ca", "a", "abc", "zz", "",
                                "barpos", "barsize", "\xC3\xA9", "\x01", std::string("a\0b", 3)};
    Tree t;
    int i = 0;
    for (const std::string& k : keys) t = t.insert(k, i++);
    i = 0;
    for (const std::string& k : keys) EXPECT_EQ(find(t, k), i++) << k;
    for (const char* k : {"VuqText", "VuqTextEditX", "VuqTextEdi", "Vu", "vuqTextEdit", "bar", "abcd", "ab", "y", "\xC3"})
        EXPECT_EQ(find(t, k), std::nullopt) << k;
    EXPECT_EQ(find(Tree(), ""), std::nullopt);
}

TEST(StringTree, InsertLeavesTheOldTreeUnchanged) {
    Tree empty;
    Tree t1 = empty.insert("zoom", 1).insert("ab", 5).insert("abc", 6).insert("", 7);
    Tree t2 = t1.insert("zoom", 2).insert("a", 3);
    EXPECT_EQ(find(empty, "zoom"), std::nullopt);
    EXPECT_EQ(find(t1, "zoom"), 1);
    EXPECT_EQ(find(t1, "a"), std::nullopt);
    EXPECT_EQ(find(t2, "zoom"), 2);
    EXPECT_EQ(find(t2, "a"), 3);
    EXPECT_EQ(find(t2, "ab"), 5);
    EXPECT_EQ(find(t2, ""), 7);
}

TEST(StringTree, VeryLongKeyNeitherOverflowsTheStackNorLeaks) {
    using PTree = StringTree<std::shared_ptr<int>>;
    auto v = std::make_shared<int>(1);
    std::string longKey(200000, 'k');
    {
        PTree big = PTree().insert("a", v).insert(longKey, v);
        EXPECT_EQ(*big.lookup(longKey), v);
        EXPECT_EQ(big.lookup(longKey.substr(1)), nullptr);
    }
    EXPECT_EQ(v.use_count(), 1);
}

}  // namespace
}  // namespace zil
