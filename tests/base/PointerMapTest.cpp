#include "base/PointerMap.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

using vx::PointerMap;

int g_values[200];

int* ValueNo(int i)
{
    return &g_values[i];
}

// Keys spread like heap addresses: 16-byte aligned, above 4 GiB.
uintptr_t KeyNo(int i)
{
    return (uintptr_t(0x7F12) << 32) + uintptr_t(i) * 48;
}

TEST(PointerMap, StartsWith64SlotsAndDoublesAtTheInsertionThatFinds32Used)
{
    PointerMap<int*> map;
    EXPECT_EQ(map.Capacity(), 0u);
    EXPECT_EQ(map.Find(KeyNo(0)), nullptr);
    for (int i = 0; i < 32; ++i)
        EXPECT_EQ(map.Set(KeyNo(i), ValueNo(i)), nullptr);
    EXPECT_EQ(map.Capacity(), 64u);
    EXPECT_EQ(map.Used(), 32u);
    map.Set(KeyNo(32), ValueNo(32));
    EXPECT_EQ(map.Capacity(), 128u);
    EXPECT_EQ(map.Used(), 33u);
    for (int i = 0; i <= 32; ++i)
        ASSERT_EQ(map.Find(KeyNo(i)), ValueNo(i)) << i;
    for (int i = 33; i < 64; ++i)
        map.Set(KeyNo(i), ValueNo(i));
    EXPECT_EQ(map.Capacity(), 128u);
    map.Set(KeyNo(64), ValueNo(64));
    EXPECT_EQ(map.Capacity(), 256u);
}

TEST(PointerMap, EveryEntryLiesWithinTheLongestProbeOfItsHomeSlot)
{
    PointerMap<int*> map;
    for (int i = 0; i < 200; ++i)
        map.Set(KeyNo(i), ValueNo(i));
    ASSERT_GE(map.LongestProbe(), 1u);
    for (int i = 0; i < 200; ++i) {
        const std::ptrdiff_t slot = map.SlotOf(KeyNo(i));
        ASSERT_GE(slot, 0) << i;
        const std::size_t distance
            = (static_cast<std::size_t>(slot) - map.HomeSlot(KeyNo(i))) & (map.Capacity() - 1);
        EXPECT_LT(distance, map.LongestProbe()) << i;
    }
}

TEST(PointerMap, ClearKeepsCapacityAndTheNextInsertionLandsInItsHomeSlot)
{
    PointerMap<int*> map;
    for (int i = 0; i < 100; ++i)
        map.Set(KeyNo(i), ValueNo(i));
    const std::size_t capacity = map.Capacity();
    for (const uintptr_t key : {KeyNo(5), KeyNo(150), uintptr_t(1), ~uintptr_t(0)}) {
        map.Clear();
        EXPECT_EQ(map.Capacity(), capacity);
        EXPECT_EQ(map.Used(), 0u);
        EXPECT_EQ(map.LongestProbe(), 0u);
        EXPECT_EQ(map.Find(KeyNo(5)), nullptr);
        map.Set(key, ValueNo(0));
        EXPECT_EQ(map.SlotOf(key), static_cast<std::ptrdiff_t>(map.HomeSlot(key)));
        EXPECT_EQ(map.LongestProbe(), 1u);
    }
}

TEST(PointerMap, SetReplacesAndReturnsTheOldValue)
{
    PointerMap<int*> map;
    EXPECT_EQ(map.Set(KeyNo(1), ValueNo(1)), nullptr);
    EXPECT_EQ(map.Set(KeyNo(1), ValueNo(2)), ValueNo(1));
    EXPECT_EQ(map.Find(KeyNo(1)), ValueNo(2));
    EXPECT_EQ(map.Used(), 1u);
}

TEST(PointerMap, KeysAreComparedAtFullPointerWidth)
{
    PointerMap<int*> map;
    const uintptr_t low = 0x1000;
    const uintptr_t high = (uintptr_t(1) << 32) + 0x1000;
    map.Set(low, ValueNo(1));
    map.Set(high, ValueNo(2));
    EXPECT_EQ(map.Find(low), ValueNo(1));
    EXPECT_EQ(map.Find(high), ValueNo(2));
    EXPECT_EQ(map.Used(), 2u);

    int object = 0;
    map.Set(&object, ValueNo(3));
    EXPECT_EQ(map.Find(&object), ValueNo(3));
}

TEST(PointerMap, ForEachVisitsTheLiveSlotsInSlotOrder)
{
    PointerMap<int*> map;
    for (int i = 0; i < 10; ++i)
        map.Set(KeyNo(i), ValueNo(i));
    std::vector<std::ptrdiff_t> slots;
    map.ForEach([&](uintptr_t key, int* value) {
        EXPECT_EQ(map.Find(key), value);
        slots.push_back(map.SlotOf(key));
    });
    ASSERT_EQ(slots.size(), 10u);
    for (std::size_t i = 1; i < slots.size(); ++i)
        EXPECT_LT(slots[i - 1], slots[i]);
}

TEST(PointerMap, AChosenEmptyValueMarksFreeSlots)
{
    int* const none = ValueNo(199);
    PointerMap<int*> map(none);
    EXPECT_EQ(map.Find(KeyNo(1)), none);
    EXPECT_EQ(map.Set(KeyNo(1), nullptr), none);
    EXPECT_EQ(map.Find(KeyNo(1)), nullptr);
}

} // namespace
