#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "shell/BlockPool.hpp"
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

TEST(StringTree, NodesComeFromItsAllocatorAndGoBackWithTheLastTreeHoldingThem) {
    BlockPool pool(128, 2);  // two blocks a slab: the trees need several
    using PTree = StringTree<int, PoolAllocator<int>>;
    {
        // "ab" in an empty tree: nodes on 'a' and 'b' and the leaf holding 1.
        const PTree t1 = PTree(PoolAllocator<int>(&pool)).insert("ab", 1);
        EXPECT_EQ(pool.blocksInUse(), 3u);
        // "ac": copies of 'a' and 'b', a node on 'c' above 'b' and its leaf.
        std::optional<PTree> t2 = t1.insert("ac", 2);
        EXPECT_EQ(pool.blocksInUse(), 7u);
        t2 = t2->insert("ac", 3).insert("", 4);  // the tree made from t2 takes its nodes from the pool too
        EXPECT_EQ(*t2->lookup("ac"), 3);
        EXPECT_EQ(*t2->lookup("ab"), 1);
        t2.reset();
        EXPECT_EQ(pool.blocksInUse(), 3u);
    }
    EXPECT_EQ(pool.blocksInUse(), 0u);
    // A freed block is the next one handed out; more than one object, or a
    // larger one, comes from the heap.
    void* a = pool.allocate();
    pool.deallocate(a);
    EXPECT_EQ(pool.allocate(), a);
    PoolAllocator<int> ints(&pool);
    int* three = ints.allocate(3);
    PoolAllocator<std::array<char, 129>> big(&pool);
    auto* large = big.allocate(1);
    EXPECT_EQ(pool.blocksInUse(), 1u);
    big.deallocate(large, 1);
    ints.deallocate(three, 3);
    // Blocks of an odd size are rounded up, so that every block is aligned
    // for any object.
    BlockPool odd(20, 3);
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(reinterpret_cast<std::uintptr_t>(odd.allocate()) % alignof(std::max_align_t), 0u) << i;
}

}  // namespace
}  // namespace zil
