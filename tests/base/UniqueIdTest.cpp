#include "base/UniqueId.h"

#include "base/Crc32.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using vx::DUniqueID;

DUniqueID Counting()
{
    uint8_t bytes[16];
    for (int i = 0; i < 16; ++i)
        bytes[i] = static_cast<uint8_t>(i);
    return DUniqueID::FromBytes(bytes);
}

std::string Text(const DUniqueID& id)
{
    return id.ToString().c_str();
}

TEST(DUniqueID, NullTextRoundTrip)
{
    EXPECT_TRUE(DUniqueID().Equals(DUniqueID::Null));
    EXPECT_EQ(Text(DUniqueID::Null), "00000000-0000-0000-0000-000000000000");
    DUniqueID parsed = Counting();
    EXPECT_TRUE(parsed.FromString("00000000-0000-0000-0000-000000000000"));
    EXPECT_FALSE(parsed.IsValid());
    EXPECT_EQ(DUniqueID::GetDataSize(), 16u);
}

TEST(DUniqueID, TextFormShowsTheGroupsMostSignificantFirst)
{
    const DUniqueID id = Counting();
    EXPECT_EQ(Text(id), "03020100-0504-0706-0809-0a0b0c0d0e0f");
    EXPECT_EQ(id.GetData1(), 0x03020100u);
    EXPECT_EQ(id.GetData2(), 0x0504u);
    EXPECT_EQ(id.GetData3(), 0x0706u);

    DUniqueID parsed;
    EXPECT_TRUE(parsed.FromString("03020100-0504-0706-0809-0A0B0C0D0E0F"));
    EXPECT_TRUE(parsed.Equals(id));
    EXPECT_TRUE(parsed.FromString("03020100-0504-0706-0809-0a0b0c0d0e0f} trailing text"));
    EXPECT_TRUE(parsed.Equals(id));

    for (int i = 0; i < 50; ++i) {
        const DUniqueID x = DUniqueID::NewSequential();
        DUniqueID back;
        ASSERT_TRUE(back.FromString(x.ToString().c_str()));
        ASSERT_TRUE(back.Equals(x));
    }
}

TEST(DUniqueID, MalformedTextGivesNull)
{
    const char* cases[] = {
        "",
        "03020100",
        "03020100-0504-0706-0809-0a0b0c0d0e0",
        "03020100 0504-0706-0809-0a0b0c0d0e0f",
        "03020100-0504-0706-0809+0a0b0c0d0e0f",
        "0302010-00504-0706-0809-0a0b0c0d0e0f",
        "0302g100-0504-0706-0809-0a0b0c0d0e0f",
        "03020100-0504-0706-0809-0a0b0c0d0e0x",
        "{03020100-0504-0706-0809-0a0b0c0d0e0f}",
        " 3020100-0504-0706-0809-0a0b0c0d0e0f",
    };
    for (const char* text : cases) {
        DUniqueID id = Counting();
        EXPECT_FALSE(id.FromString(text)) << text;
        EXPECT_TRUE(id.Equals(DUniqueID::Null)) << text;
    }
    DUniqueID id = Counting();
    EXPECT_FALSE(id.FromString(nullptr));
    EXPECT_FALSE(id.IsValid());
}

TEST(DUniqueID, FromNameHoldsTheCrcAndTheFirstTwelveCharacters)
{
    const struct {
        const char* text;
        uint32_t crc;
        const char* kept;
    } cases[] = {
        {"", 0xD202EF8Du, ""},
        {"abc", vx::Crc32OfText("abc"), "abc"},
        {"ABCDEFGHIJKLMNOPQRST", vx::Crc32OfText("ABCDEFGHIJKLMNOPQRST"), "ABCDEFGHIJKL"},
    };
    for (const auto& c : cases) {
        const DUniqueID id = DUniqueID::FromName(c.text);
        const uint8_t* bytes = id.GetData();
        EXPECT_EQ(id.GetData1(), c.crc) << c.text;
        uint8_t rest[12] = {};
        std::memcpy(rest, c.kept, std::strlen(c.kept));
        EXPECT_EQ(std::memcmp(bytes + 4, rest, 12), 0) << c.text;
        EXPECT_TRUE(id.Equals(DUniqueID::FromName(c.text)));
    }
}

TEST(DUniqueID, CompareGoesByTheBytesInMemoryOrder)
{
    // b's text form is larger, but a's first byte (the lowest byte of the first group) is larger.
    uint8_t aBytes[16] = {0x02};
    uint8_t bBytes[16] = {0x01, 0, 0, 0xFF};
    const DUniqueID a = DUniqueID::FromBytes(aBytes);
    const DUniqueID b = DUniqueID::FromBytes(bBytes);
    EXPECT_GT(Text(b), Text(a));
    EXPECT_EQ(a.Compare(b), 1);
    EXPECT_EQ(b.Compare(a), -1);
    EXPECT_EQ(a.Compare(a), 0);

    uint8_t high[16] = {0x80};
    uint8_t low[16] = {0x7F, 0xFF};
    EXPECT_EQ(DUniqueID::FromBytes(high).Compare(DUniqueID::FromBytes(low)), 1);
}

TEST(DUniqueID, HashIsTheExclusiveOrOfTheFourWords)
{
    EXPECT_EQ(Counting().Hash(), 0x03020100u ^ 0x07060504u ^ 0x0B0A0908u ^ 0x0F0E0D0Cu);
}

TEST(DUniqueID, CreateSequentialMakesUniqueTimeOrderedIdentifiers)
{
    std::set<std::string> seen;
    std::string previous;
    for (int i = 0; i < 5000; ++i) {
        DUniqueID id;
        id.CreateSequential();
        ASSERT_TRUE(id.IsValid());
        const std::string text = Text(id);
        ASSERT_EQ(text[14], '7') << text;
        ASSERT_NE(std::string("89ab").find(text[19]), std::string::npos) << text;
        ASSERT_GT(text, previous);
        ASSERT_TRUE(seen.insert(text).second);
        previous = text;
    }
}

// The random bits come in batches; a forked child must not hand out the rest of its parent's.
TEST(DUniqueID, ForkedChildDoesNotRepeatItsParentsRandomBits)
{
    DUniqueID::NewSequential(); // the parent now holds a batch
    int channel[2];
    ASSERT_EQ(pipe(channel), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const DUniqueID id = DUniqueID::NewSequential();
        const ssize_t written = write(channel[1], id.GetData(), DUniqueID::GetDataSize());
        _exit(written == static_cast<ssize_t>(DUniqueID::GetDataSize()) ? 0 : 1);
    }
    close(channel[1]);
    uint8_t childBytes[16] {};
    const ssize_t got = read(channel[0], childBytes, sizeof childBytes);
    close(channel[0]);
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_EQ(got, 16);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    const DUniqueID parentId = DUniqueID::NewSequential();
    // Bytes 9 to 15 are random only.
    EXPECT_NE(std::memcmp(parentId.GetData() + 9, childBytes + 9, 7), 0);
}

} // namespace
