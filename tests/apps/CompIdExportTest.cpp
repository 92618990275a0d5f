// Shared composite objects end to end: vxexport runs the composite-identifier passes over the scene
// before the export, in both modes.

#include "EndToEndSupport.h"
#include "VxexportProcess.h"
#include "VxinfoCheck.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <string>

namespace vxtest {
namespace {

constexpr int kExported = 0;

// Two boxes sharing one object and material, two groups holding copies of the same leaves at the
// same relative transforms, and a box of its own.
const std::string kScene = MakeSceneText(R"("unit": {"type": "meters"}, "sceneFile": "yard.max",
 "materials": [{"id": "grey", "name": "Grey", "diffuse": [0.5, 0.5, 0.5]}],
 "objects": [
  {"id": "box", "type": "mesh", "mesh": {"vertices": [[0,0,0],[1,0,0],[0,1,0]], "faces": [[0,1,2]]}},
  {"id": "leg", "type": "mesh", "mesh": {"vertices": [[0,0,0],[0.2,0,0],[0,0,2]], "faces": [[0,1,2]]}},
  {"id": "top", "type": "mesh", "mesh": {"vertices": [[0,0,0],[3,0,0],[0,2,0]], "faces": [[0,1,2]]}},
  {"id": "lone", "type": "mesh", "mesh": {"vertices": [[0,0,0],[5,0,0],[0,5,0]], "faces": [[0,1,2]]}},
  {"id": "grp", "type": "groupHead"}
 ],
 "nodes": [
  {"name": "BoxA", "object": "box", "material": "grey"},
  {"name": "BoxB", "object": "box", "material": "grey", "transform": {"position": [10,0,0]}},
  {"name": "G1", "object": "grp", "transform": {"position": [0,20,0]}, "children": [
    {"name": "Leg", "object": "leg", "transform": {"position": [1,0,0]}},
    {"name": "Top", "object": "top", "transform": {"position": [0,0,2]}}]},
  {"name": "G2", "object": "grp", "transform": {"position": [10,20,0]}, "children": [
    {"name": "Leg", "object": "leg", "transform": {"position": [1,0,0]}},
    {"name": "Top", "object": "top", "transform": {"position": [0,0,2]}}]},
  {"name": "Unique", "object": "lone", "transform": {"position": [0,0,30]}}
 ])");

class CompIdExport : public testing::Test {
protected:
    ProcessResult Export(bool single)
    {
        WriteTextFile(dir.File("yard.json"), kScene);
        return RunVxexport({single ? "--yes" : "--per-object", dir.File("yard.json"), Target()});
    }
    std::string Target() const { return dir.File("yard.vx"); }

    TempDir dir;
};

TEST_F(CompIdExport, PerObjectPlacesSharedObjectsByInstances)
{
    const ProcessResult run = Export(false);
    ASSERT_EQ(run.exitCode, kExported) << run.err;
    const std::string log = ReadTextFile(Target() + ".log");
    EXPECT_NE(
        log.find("The following objects can be imported as library object:\r\nBoxA\r\nG1\r\nUnique\r\n"),
        std::string::npos)
        << log;

    ExportedDatabase db(Target());
    ExpectSoundDatabase(Target());
    ASSERT_TRUE(db.IsOpen());
    const std::string root = std::to_string(db.Integer("SELECT object_luid FROM Roots"));
    EXPECT_EQ(
        db.Text(
            "SELECT group_concat(name, ' ') FROM (SELECT name FROM ObjectInstances WHERE ownerobject_luid = "
            + root + " ORDER BY luid)"),
        "BoxA BoxB G1 G2 Unique");
    // One object for both boxes, one for both groups, with the leaves inside its own geometry.
    EXPECT_EQ(
        db.Integer("SELECT count(DISTINCT object_luid) FROM ObjectInstances WHERE name IN ('BoxA', 'BoxB')"),
        1);
    EXPECT_EQ(
        db.Integer("SELECT count(DISTINCT object_luid) FROM ObjectInstances WHERE name IN ('G1', 'G2')"), 1);
    EXPECT_EQ(db.Integer("SELECT count(*) FROM ObjectInstances WHERE name IN ('Leg', 'Top')"), 0);
    EXPECT_EQ(
        db.Text("SELECT printf('%g %g %g', pos_x, pos_y, pos_z) FROM ObjectInstances WHERE name = 'G2'"),
        "10 20 0");
    // The unique box lost its identifier and is still exported with its geometry.
    EXPECT_EQ(
        db.Integer("SELECT count(*) FROM ObjectInstances i JOIN CompositeObjects o ON o.luid = i.object_luid "
                   "WHERE i.name = 'Unique' AND o.geometry_luid IS NOT NULL"),
        1);
    EXPECT_EQ(db.Integer("SELECT count(*) FROM CompositeObjects"), 4);
}

TEST_F(CompIdExport, SingleObjectMergesEverythingIntoTheDesign)
{
    const ProcessResult run = Export(true);
    ASSERT_EQ(run.exitCode, kExported) << run.err;
    ExportedDatabase db(Target());
    ExpectSoundDatabase(Target());
    ASSERT_TRUE(db.IsOpen());
    // The root record and the design root it places, which holds every geometry of the scene: the
    // identifiers only matter for objects of their own.
    EXPECT_EQ(db.Integer("SELECT count(*) FROM CompositeObjects"), 2);
    EXPECT_EQ(db.Integer("SELECT count(*) FROM ObjectInstances"), 1);
    EXPECT_EQ(
        db.Integer("SELECT count(*) FROM ObjectInstances i JOIN CompositeObjects o ON o.luid = i.object_luid "
                   "WHERE o.name = 'yard' AND o.geometry_luid IS NOT NULL"),
        1);
    EXPECT_EQ(db.Integer("SELECT count(*) FROM Geometries"), 1);
}

} // namespace
} // namespace vxtest
