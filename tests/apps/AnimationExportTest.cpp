// Animation end to end: vxexport --animation writes an animation blob per instance of an animated
// node as a Files row named by the instance's "AnimationData" property; without the option nothing
// of it is written. Read back with SQLite.

#include "EndToEndSupport.h"
#include "VxexportProcess.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

namespace vxtest {
namespace {

std::string AnimatedExample()
{
    const char* dir = std::getenv("VX_SOURCE_DIR");
    return (std::filesystem::path(dir ? dir : ".") / "examples" / "animated" / "animated.json").string();
}

// The name of every instance with an "AnimationData" property and that property's value, joined.
const char* kNamedInstances = "SELECT group_concat(i.name || '=' || p.value, ' ') FROM ObjectInstances i "
                              "JOIN Properties p ON p.luid = i.luid JOIN PropertyDictionary d ON "
                              "d.luid = p.propdic_luid WHERE d.name = 'AnimationData' AND d.type = 4096 "
                              "ORDER BY i.luid";

int32_t Int32At(const std::string& bytes, size_t offset)
{
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = (value << 8) | static_cast<unsigned char>(bytes.at(offset + static_cast<size_t>(i)));
    return static_cast<int32_t>(value);
}

TEST(AnimationExport, AnimationOptionWritesBlobsAndTheirProperties)
{
    TempDir dir;
    const std::string target = dir.File("animated.vx");
    const ProcessResult result
        = RunVxexport({"--per-object", "--animation", "--quiet", AnimatedExample(), target});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    ExportedDatabase db(target);
    ASSERT_TRUE(db.IsOpen());

    // Slider, Twin (the same keys), Turner, Pulser and Rider are animated; Ring and Still are not.
    EXPECT_EQ(db.Integer("SELECT count(*) FROM Files WHERE geometry_luid = 0"), 5);
    EXPECT_EQ(db.Integer("SELECT count(DISTINCT filename) FROM Files WHERE geometry_luid = 0"), 4);
    EXPECT_EQ(db.Integer("SELECT count(*) FROM Files WHERE geometry_luid = 0 AND filename GLOB "
                         "'0x[0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F].keys'"),
        4);
    const std::string slider
        = db.Text("SELECT p.value FROM ObjectInstances i JOIN Properties p ON p.luid = i.luid "
                  "WHERE i.name = 'Slider' AND p.value LIKE '%.keys'");
    const std::string named = db.Text(kNamedInstances);
    EXPECT_NE(named.find("Slider=" + slider), std::string::npos) << named;
    EXPECT_NE(named.find("Twin=" + slider), std::string::npos) << named;
    EXPECT_EQ(named.find("Still="), std::string::npos) << named;
    EXPECT_EQ(named.find("Ring="), std::string::npos) << named;
    // Every named file exists as a row.
    EXPECT_EQ(
        db.Integer("SELECT count(*) FROM Properties p JOIN PropertyDictionary d ON d.luid = p.propdic_luid "
                   "WHERE d.name = 'AnimationData' AND p.value NOT IN (SELECT filename FROM Files)"),
        0);

    // The rider follows the closed ring: version 1, kind -2, the range of frames 0 to 60 in ticks,
    // and five path keys (four knots and the first again).
    const std::string path = db.Text("SELECT data FROM Files WHERE filename LIKE '%.path'");
    ASSERT_GE(path.size(), 20u);
    EXPECT_EQ(Int32At(path, 0), 1);
    EXPECT_EQ(Int32At(path, 4), -2);
    EXPECT_EQ(Int32At(path, 8), 0);
    EXPECT_EQ(Int32At(path, 12), 9600);
    EXPECT_EQ(Int32At(path, 16), 5);
    EXPECT_NE(named.find("Rider=0x"), std::string::npos) << named;
}

TEST(AnimationExport, DefaultRunWritesNoAnimation)
{
    TempDir dir;
    const std::string target = dir.File("animated.vx");
    const ProcessResult result = RunVxexport({"--per-object", "--quiet", AnimatedExample(), target});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    ExportedDatabase db(target);
    ASSERT_TRUE(db.IsOpen());
    EXPECT_EQ(db.Integer("SELECT count(*) FROM Files WHERE geometry_luid = 0"), 0);
    EXPECT_EQ(db.Integer("SELECT count(*) FROM PropertyDictionary WHERE name = 'AnimationData'"), 0);
    EXPECT_GE(db.Integer("SELECT count(*) FROM ObjectInstances"), 7);
}

} // namespace
} // namespace vxtest
