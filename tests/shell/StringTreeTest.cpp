#include <gtest/gtest.h>

#include <memory>
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
    Tree t = Tree().insert("VuqTextEdit", 1).insert("VuqTextLabel", 2).insert("Vuq", 3);
    EXPECT_EQ(find(t, "VuqTextEdit"), 1);
    EXPECT_EQ(find(t, "VuqTextLabel"), 2);
    EXPECT_EQ(find(t, "Vuq"), 3);
    EXPECT_EQ(find(t, "VuqText"), std::nullopt);       // shared prefix
    EXPECT_EQ(find(t, "VuqTextEditX"), std::nullopt);  // extension of a key
    EXPECT_EQ(find(t, "VuqTextEdi"), std::nullopt);
    EXPECT_EQ(find(t, "Vu"), std::nullopt);
    EXPECT_EQ(find(t, ""), std::nullopt);
    EXPECT_EQ(find(t, "VuqTextEdiT"), std::nullopt);
    EXPECT_EQ(find(t, "vuqTextEdit"), std::nullopt);
    EXPECT_EQ(find(Tree(), "a"), std::nullopt);
    EXPECT_EQ(find(Tree(), ""), std::nullopt);
}

TEST(StringTree, ManyKeysAllFoundAfterAnyOrder) {
    Tree t;
    const char* keys[] = {"m", "c", "x", "ca", "cb", "a", "ab", "abc", "zz", "z", "", "barpos", "barrange", "barsize"};
    int i = 0;
    for (const char* k : keys) t = t.insert(k, i++);
    i = 0;
    for (const char* k : keys) EXPECT_EQ(find(t, k), i++) << k;
    EXPECT_EQ(find(t, "bar"), std::nullopt);
    EXPECT_EQ(find(t, "abcd"), std::nullopt);
    EXPECT_EQ(find(t, "y"), std::nullopt);
}

TEST(StringTree, InsertIsPersistentAndReplaces) {
    Tree empty;
    Tree t1 = empty.insert("zoom", 1);
    Tree t2 = t1.insert("zoom", 2);
    Tree t3 = t2.insert("zoombar", 3);
    EXPECT_TRUE(empty.empty());
    EXPECT_EQ(find(empty, "zoom"), std::nullopt);
    EXPECT_EQ(find(t1, "zoom"), 1);
    EXPECT_EQ(find(t2, "zoom"), 2);
    EXPECT_EQ(find(t2, "zoombar"), std::nullopt);
    EXPECT_EQ(find(t3, "zoombar"), 3);
    EXPECT_EQ(find(t3, "zoom"), 2);
}

TEST(StringTree, EmptyKeyAtRootAndBytesCompareUnsigned) {
    Tree t = Tree().insert("", 7).insert("\xC3\xA9", 1).insert("z", 2).insert("\x01", 3);
    EXPECT_EQ(find(t, ""), 7);
    EXPECT_EQ(find(t, "\xC3\xA9"), 1);
    EXPECT_EQ(find(t, "\xC3"), std::nullopt);
    EXPECT_EQ(find(t, "z"), 2);
    EXPECT_EQ(find(t, "\x01"), 3);
    std::string withNul("a\0b", 3);
    Tree n = t.insert(withNul, 9);
    EXPECT_EQ(find(n, withNul), 9);
    EXPECT_EQ(find(n, "a"), std::nullopt);
}

TEST(StringTree, RemoveEmptiesOnlyThatKeyAndKeepsOldTree) {
    Tree t = Tree().insert("ab", 1).insert("abc", 2).insert("b", 3).insert("", 4);
    Tree r = t.remove("ab");
    EXPECT_EQ(find(r, "ab"), std::nullopt);
    EXPECT_EQ(find(r, "abc"), 2);
    EXPECT_EQ(find(r, "b"), 3);
    EXPECT_EQ(find(r, ""), 4);
    EXPECT_EQ(find(t, "ab"), 1);  // the old tree is unchanged

    Tree r2 = r.remove("abc").remove("").remove("b");
    EXPECT_EQ(find(r2, "abc"), std::nullopt);
    EXPECT_EQ(find(r2, ""), std::nullopt);
    EXPECT_EQ(find(r2, "b"), std::nullopt);
    // Absent keys, prefixes and extensions leave the tree as it was.
    for (const char* k : {"a", "abcd", "x", "ab"}) {
        Tree same = r.remove(k);
        EXPECT_EQ(find(same, "abc"), 2);
        EXPECT_EQ(find(same, "b"), 3);
    }
    // A removed key can be inserted again.
    EXPECT_EQ(find(r.insert("ab", 5), "ab"), 5);
}

TEST(StringTree, SharesUnchangedValuesAndFreesLongKeys) {
    using PTree = StringTree<std::shared_ptr<int>>;
    auto v = std::make_shared<int>(1);
    PTree t = PTree().insert("a", v);
    PTree u = t.insert("b", std::make_shared<int>(2));
    EXPECT_EQ(*t.lookup("a"), v);
    EXPECT_EQ(u.lookup("a")->get(), v.get());
    // A very long key must neither overflow the stack on insert nor on release.
    std::string longKey(200000, 'k');
    {
        PTree big = u.insert(longKey, v);
        EXPECT_EQ(*big.lookup(longKey), v);
        EXPECT_EQ(big.lookup(longKey.substr(1)), nullptr);
    }
    EXPECT_EQ(v.use_count(), 2);  // v and the one leaf that t and u share
}

}  // namespace
}  // namespace zil
