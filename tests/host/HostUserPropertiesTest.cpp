#include "host/HostUserProperties.h"

#include <gtest/gtest.h>

namespace vx {
namespace {

TEST(HostUserProperties, FindsTheFirstLineWithTheExactKey)
{
    struct Case {
        const char* text;
        const char* key;
        const char* value; // nullptr: not found
    };
    const Case cases[] = {
        {"OptGeom = true", "OptGeom", "true"},
        {"  LodType=2 \r\nOther = 1", "LodType", "2"},
        {"A = 1\r\nB = 2\r\n", "B", "2"},
        {"Key = first\nKey = second", "Key", "first"},
        {"optgeom = true", "OptGeom", nullptr}, // case matters
        {"MyOptGeom = true", "OptGeom", nullptr}, // the whole key must match
        {"OptGeom true", "OptGeom", nullptr}, // not a key = value line
        {"Path = a = b", "Path", "a = b"}, // split at the first "="
        {"Empty =", "Empty", ""},
        {"", "Key", nullptr},
    };
    for (const Case& c : cases) {
        const auto found = FindUserPropValue(c.text, c.key);
        if (c.value) {
            ASSERT_TRUE(found.has_value()) << c.text;
            EXPECT_EQ(*found, c.value) << c.text;
        } else {
            EXPECT_FALSE(found.has_value()) << c.text;
        }
    }
}

TEST(HostUserProperties, SetReplacesTheLineInPlaceOrAppendsOne)
{
    EXPECT_EQ(
        SetUserPropValue("A = 1\r\nLodType = 0\r\nB = 2", "LodType", "2"), "A = 1\r\nLodType = 2\r\nB = 2");
    EXPECT_EQ(SetUserPropValue("ZRInstance Door", "SingleGeometry", "false"),
        "ZRInstance Door\nSingleGeometry = false\n");
    EXPECT_EQ(SetUserPropValue("A = 1\n", "B", "x"), "A = 1\nB = x\n");
    EXPECT_EQ(SetUserPropValue("", "B", "x"), "B = x\n");
    // A value cannot break the line; the result reads back.
    const std::string text = SetUserPropValue("", "Note", "two\r\nlines");
    EXPECT_EQ(FindUserPropValue(text, "Note"), "two  lines");
}

TEST(HostUserProperties, SetRefusesKeysThatCouldNotBeFoundAgain)
{
    for (const char* key : {"", " Key", "A=B", "Line\nBreak"})
        EXPECT_EQ(SetUserPropValue("X = 1", key, "v"), "X = 1") << key;
}

TEST(HostUserProperties, ParsesBooleansAndIntegers)
{
    bool flag = false;
    EXPECT_TRUE(ParseUserPropBool("TRUE", flag) && flag);
    EXPECT_TRUE(ParseUserPropBool("false", flag) && !flag);
    EXPECT_TRUE(ParseUserPropBool("1", flag) && flag);
    EXPECT_TRUE(ParseUserPropBool("0", flag) && !flag);
    flag = true;
    EXPECT_FALSE(ParseUserPropBool("yes", flag));
    EXPECT_TRUE(flag); // left alone

    int number = 7;
    EXPECT_TRUE(ParseUserPropInt("-12", number));
    EXPECT_EQ(number, -12);
    EXPECT_TRUE(ParseUserPropInt("+3", number));
    EXPECT_EQ(number, 3);
    for (const char* bad : {"", "12x", "1.5", "99999999999", " 4"})
        EXPECT_FALSE(ParseUserPropInt(bad, number)) << bad;
    EXPECT_EQ(number, 3);
}

} // namespace
} // namespace vx
