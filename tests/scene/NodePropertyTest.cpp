// User-defined node properties: reading lines, keys, key/value splitting, rewriting the host text
// and the level-of-detail rule.

#include "scene/NodeProperty.h"
#include "scene/LodType.h"

#include "memoryhost/MemoryHost.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

using KeyValues = std::vector<std::pair<std::string, std::string>>;

class NodePropertyTest : public ::testing::Test {
protected:
    vx::NodeProperty Read(const std::string& text)
    {
        node.SetUserPropBuffer(text);
        return vx::NodeProperty(&node);
    }
    std::vector<std::pair<std::string, std::string>> Pairs(const vx::NodeProperty& properties)
    {
        std::vector<std::pair<std::string, std::string>> pairs;
        std::string key;
        std::string value;
        for (int32_t i = 0; i < properties.NumLines(); ++i) {
            EXPECT_TRUE(properties.GetKeyValue(i, key, value));
            pairs.emplace_back(key, value);
        }
        return pairs;
    }

    vx::MemoryHost host;
    vx::MemoryNode& node = host.AddNode(host.GetRoot(), "Box");
};

TEST_F(NodePropertyTest, LinesDropCrBlankLinesAndSurroundingBlanks)
{
    const vx::NodeProperty properties = Read("A = 1\r\n\r\n  B=2  \n");
    ASSERT_EQ(properties.NumLines(), 2);
    EXPECT_EQ(properties.GetLine(0), "A = 1");
    EXPECT_EQ(properties.GetLine(1), "B=2");
    EXPECT_EQ(Pairs(properties), (KeyValues {{"A", "1"}, {"B", "2"}}));
    // The piece after the last LF is a line too.
    EXPECT_EQ(Read("X\nlast").GetLine(1), "last");
}

TEST_F(NodePropertyTest, LinesAreKeptWholeAndBytesAbove127AreNotBlanks)
{
    const std::string longValue(400, 'v');
    const vx::NodeProperty properties
        = Read("Note = " + longValue + "\nName = Caf\xC3\xA9\n\xC3\xA9t\xC3\xA9");
    EXPECT_EQ(Pairs(properties),
        (KeyValues {{"Note", longValue}, {"Name", "Caf\xC3\xA9"}, {"\xC3\xA9t\xC3\xA9", ""}}));
}

TEST_F(NodePropertyTest, KeyValueSplitsAtEqualsThenAtTheFirstBlank)
{
    const vx::NodeProperty properties
        = Read("zrSpace Kitchen\nColor red\nZRTRIGGER door open\nkey = a = b\nFlag\nWord\tnext\n");
    EXPECT_EQ(Pairs(properties),
        (KeyValues {{"zrSpace Kitchen", ""}, {"Color", "red"}, {"ZRTRIGGER door open", ""}, {"key", "a = b"},
            {"Flag", ""}, {"Word", "next"}}));
    std::string key = "x";
    std::string value = "y";
    EXPECT_FALSE(properties.GetKeyValue(6, key, value));
    EXPECT_FALSE(Read("").GetKeyValue(0, key, value));
}

TEST_F(NodePropertyTest, KeysMatchAsSubstringsAndTheRestDropsOnlyALeadingKey)
{
    const vx::NodeProperty properties = Read("MyZRSpaceFlag\nZRInstance Door01\nx ZRInstance y\n");
    std::string rest;
    EXPECT_TRUE(properties.HasKey("ZRSpace", rest));
    EXPECT_EQ(rest, "MyZRSpaceFlag");
    EXPECT_TRUE(properties.HasKey("ZRInstance", rest));
    EXPECT_EQ(rest, "Door01");
    EXPECT_EQ(properties.FindKey("ZRInstance"), 1);
    EXPECT_FALSE(properties.HasKey("zrinstance", rest));
    EXPECT_TRUE(rest.empty());
    EXPECT_EQ(properties.FindKey("COMPID"), -1);

    EXPECT_TRUE(Read("ZRInstance = Door01").HasKey("ZRInstance", rest));
    EXPECT_EQ(rest, "= Door01");
}

TEST_F(NodePropertyTest, SetKeyValueAppendsOrReplacesKeepingTheRestOfTheText)
{
    Read("Foo").SetKeyValue("COMPID", "x");
    EXPECT_EQ(std::string(node.GetUserPropBuffer()), "Foo\nCOMPID = x\n");

    const std::string indented = "  Indented line\r\n\r\nCOMPID = old\r\n\tTabbed = 1";
    vx::NodeProperty properties = Read(indented);
    properties.SetKeyValue("COMPID", "new");
    EXPECT_EQ(std::string(node.GetUserPropBuffer()), "  Indented line\r\n\r\nCOMPID = new\r\n\tTabbed = 1");
    // The lines are read again after the write.
    EXPECT_EQ(properties.GetLine(1), "COMPID = new");

    Read("").SetKeyValue("GEOMID", "g");
    EXPECT_EQ(std::string(node.GetUserPropBuffer()), "GEOMID = g\n");
}

TEST_F(NodePropertyTest, RemoveKeyDropsEveryMatchingLineAndNothingElse)
{
    const std::string longLine = "Long = " + std::string(300, 'L');
    vx::NodeProperty properties
        = Read("  Keep = 1\r\nOLDGEOMID = 5\r\n\r\n" + longLine + "\r\nGEOMID = 7\r\nCOMPID = 3\r\n");
    properties.RemoveKey("GEOMID");
    EXPECT_EQ(std::string(node.GetUserPropBuffer()), "  Keep = 1\r\n\r\n" + longLine + "\r\nCOMPID = 3\r\n");
    EXPECT_EQ(properties.NumLines(), 3);

    // Nothing to remove: the text stays byte for byte, blank lines and indentation included.
    const std::string untouched = "\r\n   A = 1 \r\n\r\n";
    Read(untouched).RemoveKey("COMPID");
    EXPECT_EQ(std::string(node.GetUserPropBuffer()), untouched);
}

TEST(LodType, OptionThenZrLodTypeThenBox)
{
    vx::MemoryHost host;
    vx::MemoryNode& node = host.AddNode(host.GetRoot(), "n");
    const auto lodOf = [&](int32_t option, const char* text, ZR::Aabb box) {
        node.SetUserPropBuffer(text);
        const vx::NodeProperty properties(&node);
        return vx::GetLodType(option, &properties, box);
    };
    const ZR::Aabb none;
    const ZR::Aabb big {{0, 0, 0}, {10, 10, 10}, true};
    const ZR::Aabb medium {{0, 0, 0}, {2, 2, 2}, true};
    const ZR::Aabb thin {{0, 0, 0}, {100, 0.05f, 0.05f}, true};
    EXPECT_EQ(lodOf(2, "ZRLODType background", big), 2);
    EXPECT_EQ(lodOf(0, "", none), 0);
    EXPECT_EQ(lodOf(3, "ZRLODType background", none), 0);
    EXPECT_EQ(lodOf(3, "ZRLODType OCCLUDER", none), 1);
    EXPECT_EQ(lodOf(3, "ZRLODType detail", none), 2);
    EXPECT_EQ(lodOf(3, "ZRLODType invalid", big), -1);
    EXPECT_EQ(lodOf(3, "ZRLODType=background", none), 2);
    EXPECT_EQ(lodOf(3, "", big), 0);
    EXPECT_EQ(lodOf(3, "", medium), 1);
    EXPECT_EQ(lodOf(3, "", thin), 2);
    EXPECT_EQ(lodOf(3, "", none), 0);
    EXPECT_EQ(vx::GetLodType(-5, nullptr, medium), 1);
}

} // namespace
