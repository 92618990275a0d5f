#include "base/HeapString.h"

#include "support/DebugCapture.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using vx::HeapString;

TEST(HeapString, EmptyTextIsANullPointer)
{
    HeapString s("");
    EXPECT_EQ(s.Get(), nullptr);
    s.Append("");
    s.Append(nullptr);
    EXPECT_EQ(s.Get(), nullptr);

    const char* source = "text";
    s.Append(source);
    ASSERT_NE(s.Get(), nullptr);
    EXPECT_NE(s.Get(), source);
    EXPECT_STREQ(s.Get(), "text");

    s.Assign(nullptr);
    EXPECT_EQ(s.Get(), nullptr);
    EXPECT_STREQ(s.c_str(), "");
    EXPECT_EQ(HeapString(nullptr).Get(), nullptr);
    EXPECT_EQ(HeapString::First("abc", 0).Get(), nullptr);
    EXPECT_EQ(HeapString(nullptr, "", nullptr).Get(), nullptr);
}

TEST(HeapString, Construction)
{
    EXPECT_STREQ(HeapString::First("abcdef", 3).Get(), "abc");
    EXPECT_STREQ(HeapString::First("ab", 10).Get(), "ab");
    EXPECT_STREQ(HeapString("ab", "cd").Get(), "abcd");
    EXPECT_STREQ(HeapString(nullptr, "cd").Get(), "cd");
    EXPECT_STREQ(HeapString("a", nullptr, "c").Get(), "ac");
    const std::string longText(1000, 'q');
    EXPECT_EQ(HeapString(longText.c_str()).Length(), 1000u);
}

TEST(HeapString, AssignAndAppendMayUseTheirOwnText)
{
    HeapString s("prefix-body");
    s.Assign(s.Get() + 7);
    EXPECT_STREQ(s.Get(), "body");
    s.Append(s.Get());
    EXPECT_STREQ(s.Get(), "bodybody");

    HeapString copy(s);
    copy.Append("!");
    EXPECT_STREQ(s.Get(), "bodybody");
    EXPECT_STREQ(copy.Get(), "bodybody!");
}

TEST(HeapString, Substring)
{
    const HeapString s("abcdef");
    const struct {
        long i, n;
        const char* expected; // null: empty
        bool reported;
    } cases[] = {
        {0, 3, "abc", false},
        {2, 2, "cd", false},
        {4, 100, "ef", false},
        {6, 1, nullptr, false},
        {9, 1, nullptr, false},
        {1, 0, nullptr, false},
        {-1, 2, nullptr, true},
    };
    for (const auto& c : cases) {
        vxtest::DebugCapture capture;
        const HeapString part = s.Substring(c.i, c.n);
        if (c.expected)
            EXPECT_STREQ(part.Get(), c.expected) << c.i;
        else
            EXPECT_EQ(part.Get(), nullptr) << c.i;
        EXPECT_EQ(capture.Text().find("Assertion failed: i>=0,") != std::string::npos, c.reported) << c.i;
    }
}

TEST(HeapString, IndexOfFirstAndLast)
{
    const HeapString s("a.b.c");
    EXPECT_EQ(s.IndexOf('.'), 1);
    EXPECT_EQ(s.LastIndexOf('.'), 3);
    EXPECT_EQ(s.IndexOf('x'), -1);
    EXPECT_EQ(s.IndexOf('\0'), -1);
    EXPECT_EQ(HeapString().IndexOf('a'), -1);
    EXPECT_EQ(HeapString().LastIndexOf('a'), -1);
}

} // namespace
