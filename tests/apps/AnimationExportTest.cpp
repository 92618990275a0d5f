// Animation end to end: vxexport --animation writes an animation blob per instance of an animated
// node as a Files row named by the instance's "AnimationData" property; without the option nothing
// of it is written. Read back with SQLite.

#include "EndToEndSupport.h"
#include "VxexportProcess.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <numbers>
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

float FloatAt(const std::string& bytes, size_t offset)
{
    const uint32_t bits = static_cast<uint32_t>(Int32At(bytes, offset));
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

TEST(AnimationExport, WheelTurningAWholeTurnInTcbKeysIsStoredTurningForwards)
{
    // Relative TCB keys of 120 degrees each about the host's z axis: the stored quaternions of
    // neighbouring keys must lie 120 degrees apart on one hemisphere, or a reader interpolating
    // between them turns the wheel 240 degrees backwards once it is past half a turn.
    TempDir dir;
    const std::string scene = dir.File("wheel.json");
    std::ofstream(scene) << R"({"format": "varnex-scene", "version": 1, "timeline": {"end": 30},
        "objects": [{"id": "tri", "type": "mesh",
                     "mesh": {"vertices": [[0, 0, 0], [100, 0, 0], [0, 100, 0]], "faces": [[0, 1, 2]]}}],
        "nodes": [{"name": "Wheel", "object": "tri", "animation": {"rotation": {"type": "tcb", "keys": [
            {"time": 0, "axis": [0, 0, 1], "angle": 0}, {"time": 10, "axis": [0, 0, 1], "angle": 120},
            {"time": 20, "axis": [0, 0, 1], "angle": 120},
            {"time": 30, "axis": [0, 0, 1], "angle": 120}]}}}]})";
    const std::string target = dir.File("wheel.vx");
    const ProcessResult result = RunVxexport({"--per-object", "--animation", "--quiet", scene, target});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    ExportedDatabase db(target);
    ASSERT_TRUE(db.IsOpen());
    const std::string blob = db.Text("SELECT data FROM Files WHERE filename LIKE '%.keys'");
    // Header, no position keys, then rotation interpolation 3 (TCB) and four keys.
    ASSERT_EQ(blob.size(), 16u + 8u + 8u + 4u * 20u + 4u);
    EXPECT_EQ(Int32At(blob, 20), 0);
    EXPECT_EQ(Int32At(blob, 24), 3);
    ASSERT_EQ(Int32At(blob, 28), 4);
    const int32_t milliseconds[4] = {0, 333, 666, 1000};
    float previous[4] = {0, 0, 0, 0};
    for (size_t k = 0; k < 4; ++k) {
        const size_t at = 32 + 20 * k;
        EXPECT_EQ(Int32At(blob, at), milliseconds[k]);
        const float q[4]
            = {FloatAt(blob, at + 4), FloatAt(blob, at + 8), FloatAt(blob, at + 12), FloatAt(blob, at + 16)};
        // The design frame has the host's z axis as y, turning the other way round: the key of the
        // angle a is (0, -sin(a/2), 0, cos(a/2)).
        const double half = k * 60.0 * std::numbers::pi / 180.0;
        EXPECT_NEAR(q[0], 0.0f, 1e-5f) << "key " << k;
        EXPECT_NEAR(q[1], -std::sin(half), 1e-5f) << "key " << k;
        EXPECT_NEAR(q[2], 0.0f, 1e-5f) << "key " << k;
        EXPECT_NEAR(q[3], std::cos(half), 1e-5f) << "key " << k;
        if (k > 0) {
            const float dot
                = q[0] * previous[0] + q[1] * previous[1] + q[2] * previous[2] + q[3] * previous[3];
            EXPECT_NEAR(dot, 0.5f, 1e-5f) << "keys " << k - 1 << ", " << k; // cos(120 degrees / 2)
        }
        std::copy(q, q + 4, previous);
    }
}

TEST(AnimationExport, NodeFollowingItsOwnShapeIsRefusedWithItsPlace)
{
    // Its transform would depend on itself: the loader names the constraint instead of the export
    // recursing without end.
    TempDir dir;
    const std::string scene = dir.File("wheel.json");
    std::ofstream(scene) << R"({"format": "varnex-scene", "version": 1,
        "objects": [{"id": "rim", "type": "shape",
                     "splines": [{"knots": [{"point": [0, 0, 0]}, {"point": [9, 0, 0]}]}]}],
        "nodes": [{"name": "Wheel", "id": "wheel", "object": "rim",
                   "animation": {"position": {"type": "path", "path": "wheel"}}}]})";
    const ProcessResult result = RunVxexport({"--animation", "--quiet", scene, dir.File("wheel.vx")});
    EXPECT_EQ(result.signal, 0);
    EXPECT_EQ(result.exitCode, 6) << result.err; // the scene did not load
    const std::string expected = scene + ": at /nodes/0/animation/position/path: the path node 'Wheel'";
    EXPECT_NE(result.err.find(expected), std::string::npos) << result.err;
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
