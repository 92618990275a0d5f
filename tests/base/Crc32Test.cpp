#include "base/Crc32.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

TEST(Crc32, KnownValues)
{
    const struct {
        std::string bytes;
        uint32_t crc;
    } cases[] = {
        {"", 0x00000000u},
        {"123456789", 0xCBF43926u},
        {"The quick brown fox jumps over the lazy dog", 0x414FA339u},
        {std::string(1, '\0'), 0xD202EF8Du},
    };
    for (const auto& c : cases)
        EXPECT_EQ(vx::Crc32(c.bytes.data(), c.bytes.size()), c.crc) << c.bytes;
    EXPECT_EQ(vx::Crc32(nullptr, 0), 0u);
}

TEST(Crc32, TextChecksumCountsTheTerminatingZero)
{
    EXPECT_EQ(vx::Crc32OfText(""), 0xD202EF8Du);
    EXPECT_EQ(vx::Crc32OfText("123456789"), vx::Crc32("123456789", 10));
    EXPECT_NE(vx::Crc32OfText("123456789"), 0xCBF43926u);
    EXPECT_EQ(vx::Crc32OfText(nullptr), 0u);
}

TEST(Crc32, AccumulatorOverPiecesEqualsTheWhole)
{
    const char* text = "123456789";
    for (std::size_t split = 0; split <= 9; ++split) {
        vx::Crc32Accumulator crc;
        crc.Start();
        crc.Update(text, split);
        crc.Update(nullptr, 5);
        crc.Update(text + split, 9 - split);
        EXPECT_EQ(crc.Finish(), 0xCBF43926u) << split;
    }
    vx::Crc32Accumulator restarted;
    restarted.Start();
    restarted.Update("junk", 4);
    restarted.Start();
    restarted.Update(text, 9);
    EXPECT_EQ(restarted.Finish(), 0xCBF43926u);
}

} // namespace
