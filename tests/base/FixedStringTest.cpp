#include "base/FixedString.h"

#include "support/DebugCapture.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

namespace {

using vx::FixedString;

std::string Repeat(const std::string& piece, int times)
{
    std::string text;
    for (int i = 0; i < times; ++i)
        text += piece;
    return text;
}

TEST(FixedString, CopyKeepsAtMost255BytesAndNeverSplitsAUtf8Character)
{
    const std::string a300(300, 'a');
    const struct {
        const char* name;
        std::string text;
        std::string expected;
    } cases[] = {
        {"300 ASCII characters", a300, std::string(255, 'a')},
        {"exactly 255", std::string(255, 'x'), std::string(255, 'x')},
        {"two-byte character ends at 255", std::string(253, 'a') + "\xC3\xA9",
            std::string(253, 'a') + "\xC3\xA9"},
        {"two-byte character across the cut", std::string(254, 'a') + "\xC3\xA9", std::string(254, 'a')},
        {"three-byte character across the cut", std::string(253, 'a') + "\xE2\x82\xAC",
            std::string(253, 'a')},
        {"four-byte character across the cut", std::string(252, 'a') + "\xF0\x9F\x98\x80",
            std::string(252, 'a')},
        {"single-byte code page text is cut at 255", std::string(300, '\xE9'), std::string(255, '\xE9')},
        {"stray continuation bytes are cut at 255", std::string(300, '\x80'), std::string(255, '\x80')},
        {"empty", "", ""},
    };
    for (const auto& c : cases) {
        const FixedString s(c.text.c_str());
        EXPECT_EQ(std::string(s.c_str()), c.expected) << c.name;
        EXPECT_EQ(s.Length(), static_cast<int>(c.expected.size())) << c.name;
    }
    EXPECT_TRUE(FixedString(nullptr).IsEmpty());
}

TEST(FixedString, ConcatenationIsCutOnACharacterBoundary)
{
    const std::string a200(200, 'a');
    const std::string b100(100, 'b');
    const std::string euro = "\xE2\x82\xAC";
    const struct {
        std::string a, b, expected;
    } cases[] = {
        {"ab", "cd", "abcd"},
        {a200, b100, a200 + std::string(55, 'b')},
        {std::string(300, 'a'), "tail", std::string(255, 'a')},
        {std::string(253, 'a'), euro + "x", std::string(253, 'a')},
        {std::string(252, 'a'), euro + "x", std::string(252, 'a') + euro},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(std::string(FixedString::Concat(c.a.c_str(), c.b.c_str()).c_str()), c.expected);
        FixedString appended(c.a.c_str());
        appended.Append(c.b.c_str());
        EXPECT_EQ(std::string(appended.c_str()), c.expected);
    }
    EXPECT_STREQ(FixedString::Concat(nullptr, "b").c_str(), "b");
    EXPECT_STREQ(FixedString::Concat("a", nullptr).c_str(), "a");

    FixedString self("abc");
    self.Append(self.c_str());
    EXPECT_STREQ(self.c_str(), "abcabc");
}

TEST(FixedString, FirstNCharacters)
{
    const std::string long300(300, 'z');
    const struct {
        const char* text;
        int n;
        std::string expected;
    } cases[] = {
        {"abcdef", 3, "abc"},
        {"abcdef", 0, ""},
        {"abcdef", -1, ""},
        {nullptr, 3, ""},
        {"ab", 10, "ab"},
        {"ab", 2, "ab"},
        {long300.c_str(), 1000, std::string(255, 'z')},
    };
    for (const auto& c : cases)
        EXPECT_EQ(std::string(FixedString::First(c.text, c.n).c_str()), c.expected) << c.n;
}

TEST(FixedString, CopyFromPositionChecksTheBound)
{
    const FixedString source("hello world");
    const struct {
        int i;
        const char* expected;
        bool reported;
    } cases[] = {
        {0, "hello world", false},
        {6, "world", false},
        {11, "", false},
        {200, "", false},
        {255, "", false},
        {256, "", true},
        {-1, "", true},
        {100000, "", true},
    };
    for (const auto& c : cases) {
        vxtest::DebugCapture capture;
        FixedString target("previous");
        target.AssignFrom(source, c.i);
        EXPECT_STREQ(target.c_str(), c.expected) << c.i;
        EXPECT_EQ(capture.Text().find("Assertion failed: _smaller(i,STRING_SIZE),") != std::string::npos,
            c.reported)
            << c.i;
    }

    FixedString self("prefix:rest");
    self.AssignFrom(self, 7);
    EXPECT_STREQ(self.c_str(), "rest");
}

TEST(FixedString, NumbersAre32BitTexts)
{
    EXPECT_STREQ(FixedString::FromInt32(-5).c_str(), "-5");
    EXPECT_STREQ(FixedString::FromInt32(std::numeric_limits<int32_t>::min()).c_str(), "-2147483648");
    EXPECT_STREQ(FixedString::FromHex32(513).c_str(), "0x00000201");
    EXPECT_STREQ(FixedString::FromHex32(0xDEADBEEFu).c_str(), "0xDEADBEEF");
    EXPECT_STREQ(FixedString::FromHex32(static_cast<uint32_t>(-1)).c_str(), "0xFFFFFFFF");
}

TEST(FixedString, FormatIsCutTo255Bytes)
{
    const std::string body = Repeat("\xC3\xA9", 200);
    const FixedString s = FixedString::Formatted("%s%d", body.c_str(), 7);
    EXPECT_EQ(s.Length(), 254);
    EXPECT_EQ(std::string(s.c_str()), Repeat("\xC3\xA9", 127));
    EXPECT_STREQ(FixedString::Formatted("%s-%d", "a", 1).c_str(), "a-1");
}

TEST(FixedString, ComparesByteWise)
{
    EXPECT_TRUE(FixedString("abc").Equals("abc"));
    EXPECT_FALSE(FixedString("abc").Equals("abd"));
    EXPECT_TRUE(FixedString("").Equals(nullptr));
    EXPECT_TRUE(FixedString("a") == FixedString("a"));
    EXPECT_TRUE(FixedString("\x7F") < FixedString("\x80"));
}

} // namespace
