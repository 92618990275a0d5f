#include "base/BulkArena.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <thread>
#include <vector>

namespace {

using vx::BulkArena;

constexpr std::size_t MiB = std::size_t(1) << 20;

TEST(BulkArena, RoundsRequestsUpToTheirClass)
{
    const struct {
        std::size_t request;
        std::size_t size;
    } cases[] = {
        {0, 64},
        {1, 64},
        {64, 64},
        {65, 128},
        {960, 960},
        {961, 1024},
        {1024, 1024},
        {1025, 1152},
        {1152, 1152},
        {2047, 2048},
        {9000, 9216},
        {7 * MiB, 7 * MiB},
        {7 * MiB + 1, 7 * MiB + MiB / 2},
        {8 * MiB, 8 * MiB},
    };
    for (const auto& c : cases)
        EXPECT_EQ(BulkArena::ClassSize(c.request), c.size) << c.request;
}

TEST(BulkArena, BlocksAreAlignedWritableAndApart)
{
    BulkArena arena;
    const std::size_t sizes[] = {1, 100, 1000, 5000, 70000, 3 * MiB, 9 * MiB, 200};
    struct Held {
        uint8_t* bytes;
        std::size_t size;
    };
    std::vector<Held> held;
    for (int round = 0; round < 3; ++round) {
        for (const std::size_t size : sizes) {
            auto* bytes = static_cast<uint8_t*>(arena.Allocate(size));
            ASSERT_NE(bytes, nullptr);
            EXPECT_EQ(reinterpret_cast<std::uintptr_t>(bytes) % 64, 0u) << size;
            std::memset(bytes, static_cast<int>(held.size() & 0xFF), size);
            held.push_back({bytes, size});
        }
    }
    EXPECT_EQ(arena.LiveBlocks(), held.size());
    // Every block still holds its own pattern: no two overlap.
    for (std::size_t i = 0; i < held.size(); ++i) {
        const uint8_t expected = static_cast<uint8_t>(i & 0xFF);
        EXPECT_EQ(held[i].bytes[0], expected) << i;
        EXPECT_EQ(held[i].bytes[held[i].size - 1], expected) << i;
    }
    for (const Held& h : held)
        arena.Free(h.bytes, h.size);
    EXPECT_EQ(arena.LiveBlocks(), 0u);
}

TEST(BulkArena, AFreedBlockServesTheNextRequestOfItsClass)
{
    BulkArena arena;
    void* keep = arena.Allocate(4000);
    void* first = arena.Allocate(5000);
    arena.Free(first, 5000);
    EXPECT_EQ(arena.Allocate(4900), first); // same class of 5120 bytes
    EXPECT_NE(arena.Allocate(5000), first);
    (void)keep;
}

TEST(BulkArena, TheRestOfARegionIsUsedForSmallerRequests)
{
    BulkArena arena;
    auto* large = static_cast<char*>(arena.Allocate(7 * MiB));
    // Does not fit into the first region's last megabyte: a new region.
    arena.Allocate(2 * MiB);
    // Fits into that last megabyte, right after the first block.
    EXPECT_EQ(arena.Allocate(MiB), large + 7 * MiB);
}

TEST(BulkArena, FreeingTheLastBlockGivesTheMemoryBack)
{
    BulkArena arena;
    void* small = arena.Allocate(2000);
    void* huge = arena.Allocate(20 * MiB);
    const std::size_t both = arena.RegionBytes();
    EXPECT_GE(both, 20 * MiB + 2000);
    // A block above the largest class has a region of its own, given back when it is freed.
    arena.Free(huge, 20 * MiB);
    EXPECT_EQ(arena.RegionBytes(), both - 20 * MiB);
    arena.Free(small, 2000);
    EXPECT_EQ(arena.RegionBytes(), 0u);
    EXPECT_EQ(arena.LiveBlocks(), 0u);
    // And it starts over when asked again.
    void* again = arena.Allocate(2000);
    EXPECT_GT(arena.RegionBytes(), 0u);
    arena.Free(again, 2000);
    EXPECT_EQ(arena.RegionBytes(), 0u);
}

TEST(BulkArena, ThreadsMayShareIt)
{
    BulkArena arena;
    auto work = [&arena](uint8_t mark) {
        for (int i = 0; i < 2000; ++i) {
            const std::size_t size = 64 + static_cast<std::size_t>(i % 50) * 300;
            auto* bytes = static_cast<uint8_t*>(arena.Allocate(size));
            std::memset(bytes, mark, size);
            const bool intact = bytes[0] == mark && bytes[size - 1] == mark;
            arena.Free(bytes, size);
            if (!intact)
                return false;
        }
        return true;
    };
    bool first = false;
    std::thread other([&] { first = work(1); });
    const bool second = work(2);
    other.join();
    EXPECT_TRUE(first);
    EXPECT_TRUE(second);
    EXPECT_EQ(arena.LiveBlocks(), 0u);
}

TEST(BulkVector, GrowsAndKeepsItsContent)
{
    vx::BulkVector<uint32_t> values;
    for (uint32_t i = 0; i < 300000; ++i)
        values.push_back(i * 7u);
    for (uint32_t i = 0; i < 300000; i += 997)
        ASSERT_EQ(values[i], i * 7u);
    vx::BulkVector<uint32_t> copy = values;
    values.clear();
    values.shrink_to_fit();
    EXPECT_EQ(copy.size(), 300000u);
    EXPECT_EQ(copy.back(), 299999u * 7u);
}

} // namespace
