#include "base/TextHelpers.h"

#include "support/DebugCapture.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using vx::FixedString;

TEST(TextHelpers, SplitAtFirstOccurrence)
{
    const struct {
        const char* text;
        char c;
        const char* prefix;
        const char* rest; // null: not found
    } cases[] = {
        {"key=value=x", '=', "key", "value=x"},
        {"=value", '=', "", "value"},
        {"key=", '=', "key", ""},
        {"no separator", '=', "no separator", nullptr},
        {"", '=', "", nullptr},
        {nullptr, '=', "", nullptr},
    };
    for (const auto& c : cases) {
        FixedString prefix("old");
        const char* rest = vx::SplitAt(c.text, c.c, &prefix);
        EXPECT_STREQ(prefix.c_str(), c.prefix) << (c.text ? c.text : "(null)");
        if (c.rest)
            EXPECT_STREQ(rest, c.rest);
        else
            EXPECT_EQ(rest, nullptr);
        EXPECT_EQ(vx::SplitAt(c.text, c.c, nullptr), rest);
    }
}

TEST(TextHelpers, TakeFirstWordRemovesTheWordAndTheSpacesAfterIt)
{
    const struct {
        const char* text;
        const char* word;
        const char* rest;
        int taken;
    } cases[] = {
        {"ZRInstance  name", "ZRInstance", "name", 10},
        {"  lead two", "lead", "two", 6},
        {"\tword\tnext", "word", "\tnext", 5},
        {"single", "single", "", 6},
        {"   ", "", "", 3},
        {"", "", "", 0},
    };
    for (const auto& c : cases) {
        FixedString text(c.text);
        FixedString word("old");
        EXPECT_EQ(vx::TakeFirstWord(text, word), c.taken) << c.text;
        EXPECT_STREQ(word.c_str(), c.word) << c.text;
        EXPECT_STREQ(text.c_str(), c.rest) << c.text;
    }
}

TEST(TextHelpers, StartsWithAndStripPrefix)
{
    const struct {
        const char* text;
        const char* prefix;
        bool starts;
        const char* stripped;
    } cases[] = {
        {"VNXPart x", "VNXPart", true, " x"},
        {"VNXPart", "VNXPart", true, ""},
        {"VNX", "VNXPart", false, "VNX"},
        {"vnxpart", "VNXPart", false, "vnxpart"},
        {"abc", "", true, "abc"},
        {"abc", nullptr, true, "abc"},
        {"", "a", false, ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(vx::StartsWith(c.text, c.prefix), c.starts) << c.text;
        FixedString text(c.text);
        EXPECT_EQ(vx::StripPrefix(text, c.prefix), c.starts) << c.text;
        EXPECT_STREQ(text.c_str(), c.stripped) << c.text;
    }
    EXPECT_FALSE(vx::StartsWith(nullptr, "a"));
    EXPECT_TRUE(vx::StartsWith(nullptr, ""));
}

TEST(TextHelpers, EraseShiftsTheRestLeft)
{
    const struct {
        int position, count;
        const char* expected;
        bool reported;
    } cases[] = {
        {0, 2, "cdef", false},
        {2, 2, "abef", false},
        {4, 10, "abcd", false},
        {6, 1, "abcdef", false},
        {100, 1, "abcdef", false},
        {1, 0, "abcdef", false},
        {-1, 1, "abcdef", true},
        {1, -1, "abcdef", true},
    };
    for (const auto& c : cases) {
        vxtest::DebugCapture capture;
        FixedString text("abcdef");
        vx::Erase(text, c.position, c.count);
        EXPECT_STREQ(text.c_str(), c.expected) << c.position << "," << c.count;
        EXPECT_EQ(!capture.Text().empty(), c.reported) << c.position << "," << c.count;
    }
}

} // namespace
