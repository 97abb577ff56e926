#pragma once
// Persistent map from byte strings to values: a ternary search tree whose
// insertions and removals return a new tree sharing every unchanged node
// with the old one. Holders keep the current tree in a cell of their own.
// The nodes that a tree makes come from its allocator, which the trees made
// from it inherit.
#include <cstddef>
#include <memory>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

namespace zil {

template <class V, class Alloc = std::allocator<V>>
class StringTree {
    struct Node;
    using Ptr = std::shared_ptr<Node>;

    // A node without split is a leaf; a null pointer is the empty tree.
    struct Node {
        std::optional<V> value;
        bool isNode = false;
        unsigned char split = 0;
        Ptr lower, equal, higher;

        Node() = default;
        Node(const Node&) = default;
        Node& operator=(const Node&) = delete;

        // Long equal chains must not unwind through recursive destructors.
        ~Node() {
            std::vector<Ptr> orphans;
            auto take = [&orphans](Ptr& p) {
                if (p && p.use_count() == 1) orphans.push_back(std::move(p));
                p.reset();
            };
            take(lower);
            take(equal);
            take(higher);
            while (!orphans.empty()) {
                Ptr n = std::move(orphans.back());
                orphans.pop_back();
                take(n->lower);
                take(n->equal);
                take(n->higher);
            }
        }
    };

    StringTree(Ptr root, const Alloc& alloc) : root_(std::move(root)), alloc_(alloc) {}

    Ptr newNode() const { return std::allocate_shared<Node>(alloc_); }
    Ptr copyOf(const Node& n) const { return std::allocate_shared<Node>(alloc_, n); }

    Ptr root_;
    [[no_unique_address]] Alloc alloc_;

public:
    // The empty tree.
    StringTree() = default;
    // The empty tree whose nodes will come from `alloc`.
    explicit StringTree(const Alloc& alloc) : alloc_(alloc) {}

    bool empty() const { return root_ == nullptr; }

    // The value stored under exactly `key`, or null. A key that is only a
    // prefix or an extension of stored keys finds nothing. The pointer stays
    // valid while any tree sharing the node lives.
    const V* lookup(std::string_view key) const {
        const Node* n = root_.get();
        std::size_t i = 0;
        while (n) {
            if (i == key.size()) return n->value ? &*n->value : nullptr;
            if (!n->isNode) return nullptr;
            unsigned char b = static_cast<unsigned char>(key[i]);
            if (b < n->split) {
                n = n->lower.get();
            } else if (b > n->split) {
                n = n->higher.get();
            } else {
                n = n->equal.get();
                ++i;
            }
        }
        return nullptr;
    }

    bool contains(std::string_view key) const { return lookup(key) != nullptr; }

    // A tree that maps `key` to `value` and every other key as this one does.
    // This tree is unchanged; a present key has its value replaced.
    StringTree insert(std::string_view key, V value) const {
        // Walk down, copying each node on the path; then link the copies.
        std::vector<Ptr> path;
        std::vector<Ptr Node::*> links;
        path.reserve(key.size() + 4);
        links.reserve(key.size() + 4);
        const Node* n = root_.get();
        std::size_t i = 0;
        Ptr end;
        for (;;) {
            if (i == key.size()) {
                end = n ? copyOf(*n) : newNode();
                end->value = std::move(value);
                break;
            }
            unsigned char b = static_cast<unsigned char>(key[i]);
            Ptr copy;
            if (n && n->isNode) {
                copy = copyOf(*n);
            } else {
                // Past the end of the tree: a fresh node keeps the leaf's value.
                copy = newNode();
                if (n) copy->value = n->value;
                copy->isNode = true;
                copy->split = b;
            }
            Ptr Node::*link;
            if (b < copy->split) {
                link = &Node::lower;
            } else if (b > copy->split) {
                link = &Node::higher;
            } else {
                link = &Node::equal;
                ++i;
            }
            n = ((*copy).*link).get();
            path.push_back(std::move(copy));
            links.push_back(link);
        }
        for (std::size_t k = path.size(); k-- > 0;) {
            (*path[k]).*links[k] = std::move(end);
            end = std::move(path[k]);
        }
        return StringTree(std::move(end), alloc_);
    }

    // A tree in which `key` has no value; the nodes on its path stay. A key
    // without a value gives a tree equal to this one.
    StringTree remove(std::string_view key) const {
        std::vector<const Node*> path;
        std::vector<Ptr Node::*> links;
        const Node* n = root_.get();
        std::size_t i = 0;
        while (n && i < key.size()) {
            if (!n->isNode) return *this;
            unsigned char b = static_cast<unsigned char>(key[i]);
            Ptr Node::*link;
            if (b < n->split) {
                link = &Node::lower;
            } else if (b > n->split) {
                link = &Node::higher;
            } else {
                link = &Node::equal;
                ++i;
            }
            path.push_back(n);
            links.push_back(link);
            n = (n->*link).get();
        }
        if (!n || !n->value) return *this;
        Ptr end;
        if (n->isNode) {
            end = copyOf(*n);
            end->value.reset();
        }  // a leaf without value is the empty tree
        for (std::size_t k = path.size(); k-- > 0;) {
            Ptr copy = copyOf(*path[k]);
            (*copy).*links[k] = std::move(end);
            end = std::move(copy);
        }
        return StringTree(std::move(end), alloc_);
    }
};

}  // namespace zil
