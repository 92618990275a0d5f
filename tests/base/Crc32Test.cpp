#include "base/Crc32.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

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

// The bit-at-a-time definition.
uint32_t BitwiseCrc32(const unsigned char* bytes, std::size_t length)
{
    uint32_t value = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < length; ++i) {
        value ^= bytes[i];
        for (int bit = 0; bit < 8; ++bit)
            value = (value & 1u) ? (value >> 1) ^ 0xEDB88320u : value >> 1;
    }
    return ~value;
}

std::vector<unsigned char> PseudoRandomBytes(std::size_t count)
{
    std::vector<unsigned char> bytes(count);
    uint32_t seed = 12345;
    for (unsigned char& byte : bytes) {
        seed = seed * 1103515245u + 12345u;
        byte = static_cast<unsigned char>(seed >> 24);
    }
    return bytes;
}

TEST(Crc32, EveryLengthAndAlignmentMatchesTheBitwiseDefinition)
{
    // The bit-at-a-time definition, against the fast computation over every length up to several
    // 64-byte blocks (where the folding of whole blocks and the bytewise tail meet) and every
    // starting offset within a word.
    const std::vector<unsigned char> bytes = PseudoRandomBytes(400);
    for (std::size_t offset = 0; offset < 8; ++offset) {
        for (std::size_t length = 0; length + offset <= bytes.size(); ++length) {
            EXPECT_EQ(vx::Crc32(bytes.data() + offset, length), BitwiseCrc32(bytes.data() + offset, length))
                << "offset " << offset << " length " << length;
        }
    }
}

TEST(Crc32, ALargeBufferInUnevenPiecesMatchesTheBitwiseDefinition)
{
    const std::vector<unsigned char> bytes = PseudoRandomBytes(300000);
    const uint32_t expected = BitwiseCrc32(bytes.data(), bytes.size());
    EXPECT_EQ(vx::Crc32(bytes.data(), bytes.size()), expected);
    vx::Crc32Accumulator crc;
    crc.Start();
    std::size_t at = 0;
    for (std::size_t piece = 1; at < bytes.size(); piece = piece * 3 + 7) {
        const std::size_t length = std::min(piece % 70001, bytes.size() - at);
        crc.Update(bytes.data() + at, length);
        at += length;
    }
    EXPECT_EQ(crc.Finish(), expected);
}

} // namespace
