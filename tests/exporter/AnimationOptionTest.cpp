// The animation option bit of DoExport: it turns the animation data on for that run only; every
// other run clears it and writes no animation.

#include "ExportTestSupport.h"

#include "exporter/VNX30MaxExporter.h"
#include "host/PluginInterface.h"
#include "scenefile/SceneFileLoader.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

namespace {

// A part (an instance of its own in single-object mode) moving from frame 0 to frame 30.
constexpr const char* kScene = R"({"format": "varnex-scene", "version": 1,
    "objects": [{"id": "tri", "type": "mesh",
                 "mesh": {"vertices": [[0, 0, 0], [100, 0, 0], [0, 100, 0]], "faces": [[0, 1, 2]]}}],
    "nodes": [{"name": "Door", "object": "tri", "userProperties": "VNXPart Door",
               "animation": {"position": {"type": "linear",
                 "keys": [{"time": 0, "value": [0, 0, 0]}, {"time": 30, "value": [100, 0, 0]}]}}}]})";

TEST(AnimationOption, OptionBitTurnsAnimationOnForOneRun)
{
    vxtest::TempDir dir;
    const std::string scenePath = dir.File("scene.json");
    std::ofstream(scenePath) << kScene;
    vx::SceneLoadResult loaded = vx::LoadSceneFile(scenePath);
    ASSERT_TRUE(loaded.scene);
    vx::VNX30MaxExporter exporter;
    const std::string animated = dir.File("animated.vx");
    const std::string plain = dir.File("plain.vx");

    ASSERT_EQ(exporter.DoExport(animated.c_str(), loaded.scene.get(), true, vx::kExportOptionAnimation),
        vx::kExportResultDone);
    EXPECT_TRUE(exporter.exportAnimationData);
    ASSERT_EQ(exporter.DoExport(plain.c_str(), loaded.scene.get(), true), vx::kExportResultDone);
    EXPECT_FALSE(exporter.exportAnimationData);

    const std::vector<std::string> names
        = vxtest::Database(animated).Column("SELECT filename FROM Files WHERE geometry_luid = 0;");
    ASSERT_EQ(names.size(), 1u);
    EXPECT_EQ(vxtest::Database(animated).Column("SELECT p.value FROM Properties p JOIN PropertyDictionary d "
                                                "ON d.luid = p.propdic_luid WHERE d.name = 'AnimationData';"),
        (std::vector<std::string> {names[0], names[0]})); // the part's instance and its object
    EXPECT_TRUE(
        vxtest::Database(plain).Column("SELECT filename FROM Files WHERE geometry_luid = 0;").empty());
}

} // namespace
