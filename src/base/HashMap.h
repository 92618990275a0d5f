#pragma once
// HashMap: a map from keys to values in 2^log2 buckets (64 at first), each bucket the root of a
// binary tree ordered by (key hash, key). Keys are spread over the buckets by Fibonacci hashing:
// bucket = (hash x 0x9E3779B9 modulo 2^32) >> (32 - log2). When an insertion makes the map hold more
// than 4 entries per bucket, the bucket count grows eightfold. The bucket array is allocated on the
// first insertion: a large design holds tens of thousands of maps that stay empty.
//
// Every node is allocated by itself and never moves: a pointer to a value stays valid until the
// map is cleared, also across a rehash. Iteration visits the buckets in increasing index and each
// tree in ascending (hash, key) order; this is the order in which the exporter writes what a map
// holds. The key kinds and their hashes and orders are in HashKeys.h.

#include "base/Array.h"
#include "base/Assert.h"
#include "base/HashKeys.h"

#include <cstddef>
#include <cstdint>
#include <new>
#include <utility>

namespace vx {

template <class K, class V, class Traits = HashKeyTraits<K>> class HashMap {
public:
    static constexpr uint32_t INIT_SIZE_LOG2 = 6;
    static constexpr uint32_t FIBONACCI_32 = 0x9E3779B9u;

    struct Node {
        Node* lower = nullptr;
        Node* higher = nullptr;
        uint32_t hash = 0;
        K key;
        V value;
    };

    struct InsertResult {
        V* value; // the value stored under the key
        bool isNew; // false when the key was present already
    };

    class Iterator;
    struct IteratorEnd { };

    HashMap() = default;
    HashMap(const HashMap&) = delete;
    HashMap& operator=(const HashMap&) = delete;
    // Moving takes the nodes along; the moved-from map is empty with 64 buckets.
    HashMap(HashMap&& other) { TakeFrom(other); }
    HashMap& operator=(HashMap&& other)
    {
        if (this != &other) {
            Clear();
            TakeFrom(other);
        }
        return *this;
    }
    ~HashMap() { FreeNodes(); }

    // Entries held.
    uint32_t Count() const { return numitems_; }
    bool IsEmpty() const { return numitems_ == 0; }
    uint32_t BucketCount() const { return pairs_.IsEmpty() ? uint32_t(1) << (32 - shift_) : pairs_.Count(); }
    // The bucket a key belongs in.
    uint32_t BucketOf(const K& key) const { return BucketIndex(Traits::Hash(key)); }

    // The node holding key, or null.
    Node* Find(const K& key) { return pairs_.IsEmpty() ? nullptr : *FindPlace(Traits::Hash(key), key); }
    const Node* Find(const K& key) const { return const_cast<HashMap*>(this)->Find(key); }

    // The value stored under key, or null.
    V* GetPtr(const K& key)
    {
        Node* node = Find(key);
        return node ? &node->value : nullptr;
    }
    const V* GetPtr(const K& key) const { return const_cast<HashMap*>(this)->GetPtr(key); }

    // The value under key, inserting a value-initialised one when the key is new. An insertion
    // that leaves more than 4 entries per bucket rehashes to eight times the buckets (up to 2^31).
    InsertResult Insert(const K& key)
    {
        const uint32_t hash = Traits::Hash(key);
        if (pairs_.IsEmpty())
            pairs_.SetCount(std::size_t(1) << (32 - shift_));
        Node** place = FindPlace(hash, key);
        if (*place)
            return {&(*place)->value, false};
        if (numitems_ == UINT32_MAX)
            throw std::bad_alloc();
        Node* node = new Node {nullptr, nullptr, hash, key, V()};
        *place = node;
        ++numitems_;
        if (std::size_t(4) * pairs_.Count() < numitems_) {
            const uint32_t log2 = 32 - shift_;
            if (log2 < 31)
                Rehash(log2 + 3 < 31 ? log2 + 3 : 31);
        }
        return {&node->value, true};
    }

    // Redistributes the nodes over 2^log2 buckets. log2 must lie in INIT_SIZE_LOG2 .. 31 and
    // differ from the current size; a violation is reported and changes nothing.
    void Rehash(uint32_t log2)
    {
        if (!VX_ASSERT_TEXT(log2 >= INIT_SIZE_LOG2 && log2 < 32, "log2>=INIT_SIZE_LOG2 && log2<32"))
            return;
        if (!VX_ASSERT_TEXT((std::size_t(1) << log2) != BucketCount(), "(1<<log2) != pairs.Count()"))
            return;
        Array<Node*> fresh;
        fresh.SetCount(std::size_t(1) << log2);
        Array<Node*> old = std::exchange(pairs_, std::move(fresh));
        shift_ = 32 - log2;
        // Each old tree: the node first, then its lower subtree, then its higher subtree.
        Array<Node*> stack;
        for (Node* root : old) {
            if (root)
                stack.Append(root);
            while (!stack.IsEmpty()) {
                Node* node = stack.Pop();
                Node* lower = std::exchange(node->lower, nullptr);
                Node* higher = std::exchange(node->higher, nullptr);
                *FindPlace(node->hash, node->key) = node;
                if (higher)
                    stack.Append(higher);
                if (lower)
                    stack.Append(lower);
            }
        }
    }

    // Frees every node; the bucket count stays. A node count that differs from Count() is
    // reported as "assert_empty==numitems".
    void Clear()
    {
        const std::size_t freed = FreeNodes();
        VX_ASSERT_TEXT(freed == numitems_, "assert_empty==numitems");
        for (Node*& root : pairs_)
            root = nullptr;
        numitems_ = 0;
    }

    Iterator begin() const { return Iterator(*this); }
    IteratorEnd end() const { return {}; }

private:
    uint32_t BucketIndex(uint32_t hash) const { return (hash * FIBONACCI_32) >> shift_; }

    // The link that holds key's node, or the empty link where it belongs. A node whose hash is
    // lower, or equal with a lower key, leads to the higher child; everything else to the lower.
    Node** FindPlace(uint32_t hash, const K& key)
    {
        Node** place = &pairs_[BucketIndex(hash)];
        while (Node* node = *place) {
            int order = 0;
            if (node->hash == hash) {
                order = Traits::Compare(node->key, key);
                if (order == 0)
                    return place;
            }
            place = (node->hash < hash || (node->hash == hash && order < 0)) ? &node->higher : &node->lower;
        }
        return place;
    }

    // Deletes every node (without recursion: equal-hash keys can make deep trees) and returns
    // how many there were. Leaves the bucket links dangling.
    std::size_t FreeNodes()
    {
        std::size_t freed = 0;
        Array<Node*> stack;
        for (Node* root : pairs_) {
            if (root)
                stack.Append(root);
            while (!stack.IsEmpty()) {
                Node* node = stack.Pop();
                if (node->lower)
                    stack.Append(node->lower);
                if (node->higher)
                    stack.Append(node->higher);
                delete node;
                ++freed;
            }
        }
        return freed;
    }

    void TakeFrom(HashMap& other)
    {
        pairs_ = std::exchange(other.pairs_, Array<Node*>());
        numitems_ = std::exchange(other.numitems_, 0);
        shift_ = std::exchange(other.shift_, 32 - INIT_SIZE_LOG2);
    }

    uint32_t numitems_ = 0;
    uint32_t shift_ = 32 - INIT_SIZE_LOG2;
    Array<Node*> pairs_;
};

// Walks a HashMap in bucket order and, within a bucket, in ascending (hash, key) order, keeping
// the path to the current node on an explicit stack. The map must not change during the walk.
template <class K, class V, class Traits> class HashMap<K, V, Traits>::Iterator {
public:
    explicit Iterator(const HashMap& map)
        : map_(&map)
    {
        FillFromNextBuckets();
    }

    // Whether the iterator stands on a node.
    bool IsValid() const { return !stack_.IsEmpty(); }
    explicit operator bool() const { return IsValid(); }

    Node& operator*() const { return *Current(); }
    Node* operator->() const { return Current(); }
    const K& Key() const { return Current()->key; }
    V& Value() const { return Current()->value; }

    // Moves to the next node; past the last one IsValid becomes false.
    void Next()
    {
        if (stack_.IsEmpty())
            return;
        Node* done = stack_.Pop();
        PushLowerPath(done->higher);
        FillFromNextBuckets();
    }
    Iterator& operator++()
    {
        Next();
        return *this;
    }

    friend bool operator==(const Iterator& it, IteratorEnd) { return !it.IsValid(); }

private:
    // The node on top of the path; an iterator past the end reports and throws std::out_of_range.
    Node* Current() const { return stack_.GetNo(stack_.Count() - 1); }

    void PushLowerPath(Node* node)
    {
        for (; node; node = node->lower)
            stack_.Append(node);
    }

    void FillFromNextBuckets()
    {
        while (stack_.IsEmpty() && bucket_ < map_->pairs_.Count())
            PushLowerPath(map_->pairs_[bucket_++]);
    }

    const HashMap* map_;
    uint32_t bucket_ = 0;
    Array<Node*> stack_;
};

} // namespace vx
