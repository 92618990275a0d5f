#include "base/HashMap.h"

#include "base/Crc32.h"
#include "support/DebugCapture.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <tuple>
#include <vector>

namespace {

using vx::FixedString;
using vx::HashMap;

template <class K, class V> std::vector<K> KeysInOrder(const HashMap<K, V>& map)
{
    std::vector<K> keys;
    for (auto it = map.begin(); it.IsValid(); it.Next())
        keys.push_back(it.Key());
    return keys;
}

TEST(HashMap, IteratesBucketsInIndexOrder)
{
    // Buckets of 64: (k x 0x9E3779B9) >> 26 is 39, 15, 54, 30 for the keys 1, 2, 3, 4.
    HashMap<int32_t, int> map;
    for (int32_t key : {1, 2, 3, 4})
        *map.Insert(key).value = key * 10;
    EXPECT_EQ(map.BucketOf(1), 39u);
    EXPECT_EQ(KeysInOrder(map), (std::vector<int32_t> {2, 4, 1, 3}));

    std::vector<int> values;
    for (auto& node : map)
        values.push_back(node.value);
    EXPECT_EQ(values, (std::vector<int> {20, 40, 10, 30}));
}

TEST(HashMap, IterationIsOrderedByBucketThenHashThenKey)
{
    // "Aa" and "BB" have the same text hash, so all four of these texts collide.
    EXPECT_EQ(vx::TextHash("Aa"), vx::TextHash("BB"));
    HashMap<FixedString, int> map;
    const char* texts[] = {"BBAa", "x", "AaBB", "BBBB", "y", "AaAa", "z"};
    for (const char* t : texts)
        map.Insert(t);
    for (int i = 0; i < 300; ++i)
        map.Insert(FixedString::FromInt32(i));

    const std::vector<FixedString> keys = KeysInOrder(map);
    ASSERT_EQ(keys.size(), map.Count());
    for (std::size_t i = 1; i < keys.size(); ++i) {
        const auto before = std::make_tuple(map.BucketOf(keys[i - 1]), vx::TextHash(keys[i - 1].c_str()));
        const auto after = std::make_tuple(map.BucketOf(keys[i]), vx::TextHash(keys[i].c_str()));
        ASSERT_TRUE(before < after || (before == after && keys[i - 1] < keys[i])) << i;
    }
    std::vector<std::string> colliding;
    for (const FixedString& k : keys) {
        if (k.Length() == 4)
            colliding.push_back(k.c_str());
    }
    EXPECT_EQ(colliding, (std::vector<std::string> {"AaAa", "AaBB", "BBAa", "BBBB"}));
}

TEST(HashMap, RehashesEightfoldAtThe257thEntryOf64Buckets)
{
    HashMap<int32_t, int> map;
    std::vector<int*> places;
    for (int32_t key = 0; key < 256; ++key) {
        const auto inserted = map.Insert(key * 7919);
        ASSERT_TRUE(inserted.isNew);
        *inserted.value = key;
        places.push_back(inserted.value);
    }
    EXPECT_EQ(map.BucketCount(), 64u);
    map.Insert(-1);
    EXPECT_EQ(map.BucketCount(), 512u);
    EXPECT_EQ(map.Count(), 257u);
    for (int32_t key = 0; key < 256; ++key) {
        ASSERT_EQ(map.GetPtr(key * 7919), places[static_cast<std::size_t>(key)]) << key;
        ASSERT_EQ(*places[static_cast<std::size_t>(key)], key);
    }
    // 4 x 512 = 2048 entries fit; the next one grows to 4096 buckets.
    for (int32_t key = 1; map.Count() < 2048; ++key)
        map.Insert(-1 - key);
    EXPECT_EQ(map.BucketCount(), 512u);
    map.Insert(std::numeric_limits<int32_t>::min());
    EXPECT_EQ(map.BucketCount(), 4096u);
}

TEST(HashMap, InsertReportsAPresentKey)
{
    HashMap<vx::TextIntKey, long> map;
    const auto first = map.Insert({"Slope", 513});
    EXPECT_TRUE(first.isNew);
    EXPECT_EQ(*first.value, 0);
    *first.value = 42;
    const auto again = map.Insert({"Slope", 513});
    EXPECT_FALSE(again.isNew);
    EXPECT_EQ(again.value, first.value);
    EXPECT_TRUE(map.Insert({"Slope", 514}).isNew);
    EXPECT_EQ(map.Count(), 2u);
    EXPECT_EQ(map.GetPtr({"Slope", 1}), nullptr);
}

TEST(HashMap, RehashPreconditionsAreReportedAndChangeNothing)
{
    const struct {
        uint32_t log2;
        const char* text;
    } cases[] = {
        {5, "log2>=INIT_SIZE_LOG2 && log2<32"},
        {32, "log2>=INIT_SIZE_LOG2 && log2<32"},
        {6, "(1<<log2) != pairs.Count()"},
    };
    for (const auto& c : cases) {
        vxtest::DebugCapture capture;
        HashMap<int32_t, int> map;
        *map.Insert(5).value = 55;
        map.Rehash(c.log2);
        EXPECT_NE(capture.Text().find(std::string("Assertion failed: ") + c.text + ","), std::string::npos)
            << c.log2;
        EXPECT_EQ(map.BucketCount(), 64u);
        EXPECT_EQ(*map.GetPtr(5), 55);
    }
}

TEST(HashMap, ClearKeepsTheBuckets)
{
    vxtest::DebugCapture capture;
    HashMap<std::string, std::string> map;
    for (int i = 0; i < 1000; ++i)
        *map.Insert(std::to_string(i)).value = std::string(50, 'v');
    const uint32_t buckets = map.BucketCount();
    map.Clear();
    EXPECT_EQ(capture.Text(), "");
    EXPECT_EQ(map.Count(), 0u);
    EXPECT_EQ(map.BucketCount(), buckets);
    EXPECT_FALSE(map.begin().IsValid());
    EXPECT_EQ(map.GetPtr("1"), nullptr);
    EXPECT_TRUE(map.Insert("1").isNew);
}

TEST(HashMap, AMapThatNeverHeldAnEntryBehavesAsAnEmptyOne)
{
    vxtest::DebugCapture capture;
    HashMap<std::string, int> empty;
    EXPECT_EQ(empty.BucketCount(), 64u);
    EXPECT_EQ(empty.Find("a"), nullptr);
    EXPECT_FALSE(empty.begin().IsValid());
    empty.Clear();

    // Moved-from and rehashed-before-use maps take entries as usual.
    HashMap<std::string, int> moved(std::move(empty));
    EXPECT_EQ(moved.GetPtr("a"), nullptr);
    *empty.Insert("a").value = 1;
    EXPECT_EQ(*empty.GetPtr("a"), 1);
    EXPECT_EQ(empty.BucketCount(), 64u);

    HashMap<std::string, int> presized;
    presized.Rehash(9);
    EXPECT_EQ(presized.BucketCount(), 512u);
    *presized.Insert("b").value = 2;
    *moved.Insert("c").value = 3;
    EXPECT_EQ(*presized.GetPtr("b"), 2);
    EXPECT_EQ(*moved.GetPtr("c"), 3);
    EXPECT_EQ(capture.Text(), "");
}

TEST(HashMapKeys, HashesOfTheKeyKinds)
{
    EXPECT_EQ(vx::TextHash(nullptr), 7u);
    EXPECT_EQ(vx::TextHash(""), 7u);
    EXPECT_EQ(vx::TextHash("a"), 7u * 31 + 97);
    // Bytes count as signed 8-bit values.
    EXPECT_EQ(vx::TextHash("\xFF"), 7u * 31 - 1);

    using Traits = vx::HashKeyTraits<vx::TextIntKey>;
    EXPECT_EQ(Traits::Hash({"ab", 5}), vx::Crc32OfText("ab") + 5u);
    EXPECT_EQ(Traits::Hash({"ab", -1}), vx::Crc32OfText("ab") - 1u);
    const int32_t low = std::numeric_limits<int32_t>::min();
    const int32_t high = std::numeric_limits<int32_t>::max();
    EXPECT_LT(Traits::Compare({"a", low}, {"a", high}), 0);
    EXPECT_GT(Traits::Compare({"a", high}, {"a", low}), 0);
    EXPECT_LT(Traits::Compare({"a", high}, {"b", low}), 0);

    uint8_t bytes[16] = {1, 0, 0, 0, 2, 0, 0, 0, 4, 0, 0, 0, 8, 0, 0, 0};
    EXPECT_EQ(vx::HashKeyTraits<vx::DUniqueID>::Hash(vx::DUniqueID::FromBytes(bytes)), 15u);
}

TEST(HashMap, IdentifierKeysHoldTheirValuesInTheirNodes)
{
    HashMap<vx::DUniqueID, int> map;
    std::vector<vx::DUniqueID> ids;
    for (int i = 0; i < 600; ++i) {
        ids.push_back(vx::DUniqueID::NewSequential());
        *map.Insert(ids.back()).value = i;
    }
    EXPECT_EQ(map.BucketCount(), 512u);
    for (int i = 0; i < 600; ++i) {
        const auto* node = map.Find(ids[static_cast<std::size_t>(i)]);
        ASSERT_NE(node, nullptr);
        EXPECT_EQ(node->value, i);
        EXPECT_EQ(node->hash, ids[static_cast<std::size_t>(i)].Hash());
    }
}

} // namespace
