// Whole designs exported through vxexport in both modes and read back with SQLite: the root
// record, objects, shared geometries, instances, properties, groups, part keys and failed objects.

#include "EndToEndSupport.h"
#include "VxexportProcess.h"
#include "VxinfoCheck.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <regex>
#include <sstream>
#include <string>

namespace vxtest {
namespace {

constexpr int kExported = 0;
constexpr int kExportedWithFailures = 1;

constexpr const char* kObjects = R"("objects": [
  {"id": "tri", "type": "mesh", "mesh": {"vertices": [[0,0,0],[1,0,0],[0,1,0]], "faces": [[0,1,2]]}},
  {"id": "quad", "type": "mesh",
   "mesh": {"vertices": [[0,0,0],[2,0,0],[2,2,0],[0,2,0]], "faces": [[0,1,2],[0,2,3]]}},
  {"id": "huge", "type": "mesh", "mesh": {"vertices": [[0,0,0],[3e38,0,0],[0,1,0]], "faces": [[0,1,2]]}},
  {"id": "grp", "type": "groupHead"}
 ])";

std::string Scene(const std::string& nodes)
{
    return MakeSceneText(std::string(R"("unit": {"type": "meters"}, "sceneFile": "plant.max", )") + kObjects
        + R"(, "nodes": [)" + nodes + "]");
}

class DesignExport : public testing::Test {
protected:
    ProcessResult Export(const std::string& scene, bool single)
    {
        WriteTextFile(dir.File("scene.json"), scene);
        if (single)
            return RunVxexport({"--yes", dir.File("scene.json"), Target()});
        return RunVxexport({"--per-object", dir.File("scene.json"), Target()});
    }
    std::string Target() const { return dir.File("plant.vx"); }
    std::string Log() const { return ReadTextFile(Target() + ".log"); }

    // Every file a model description names is a Files row of its geometry.
    static void ExpectModelFilesPresent(const ExportedDatabase& db)
    {
        std::istringstream luids(db.Text("SELECT group_concat(luid, ' ') FROM Geometries"));
        const std::regex fileAttribute("file='([^']*)'");
        int64_t luid = 0;
        int named = 0;
        while (luids >> luid) {
            const std::string model
                = db.Text("SELECT model FROM Geometries WHERE luid = " + std::to_string(luid));
            for (auto it = std::sregex_iterator(model.begin(), model.end(), fileAttribute);
                 it != std::sregex_iterator(); ++it, ++named) {
                EXPECT_EQ(db.Integer("SELECT count(*) FROM Files WHERE geometry_luid = "
                              + std::to_string(luid) + " AND filename = '" + (*it)[1].str() + "'"),
                    1)
                    << (*it)[1].str();
            }
        }
        EXPECT_GT(named, 0);
    }

    TempDir dir;
};

TEST_F(DesignExport, SingleObjectWritesTheDesignRootPartsAndTheRootInstance)
{
    const ProcessResult run = Export(Scene(R"(
  {"name": "A", "object": "tri", "transform": {"position": [1,2,3]}},
  {"name": "Valve1", "object": "quad", "transform": {"position": [1,2,3]}, "userProperties": "VNXPart Valve"},
  {"name": "Door", "object": "tri", "transform": {"position": [4,0,0]}},
  {"name": "Door2", "object": "tri", "transform": {"position": [0,4,0]}, "userProperties": "ZRInstance Door"})"),
        true);
    ASSERT_EQ(run.exitCode, kExported) << run.err;
    EXPECT_NE(Log().find("Export as single object: yes\r\nThe following object can be imported as library "
                         "object:\r\nplant\r\n"),
        std::string::npos)
        << Log();

    ExportedDatabase db(Target());
    ExpectSoundDatabase(Target());
    ASSERT_TRUE(db.IsOpen());
    // The root record with its camera, looking at the design box (0, 0, 0)-(5, 5, 3) from the front:
    // at its centre in x and z, 2.5 + 1.65 / tan(30 degrees) + 0.1 before it in y.
    const int64_t root = db.Integer("SELECT object_luid FROM Roots");
    EXPECT_EQ(db.Text("SELECT name FROM CompositeObjects WHERE luid = " + std::to_string(root)), "plant");
    EXPECT_EQ(
        db.Text("SELECT printf('%.4f %.4f %.4f %d %d', camera_x, camera_y, camera_z, camera_az, camera_el) "
                "FROM Roots"),
        "2.5000 -2.9579 1.5000 0 0");
    // The design root, a library object placed at the origin of the root record.
    const int64_t design = db.Integer(
        "SELECT object_luid FROM ObjectInstances WHERE ownerobject_luid = " + std::to_string(root));
    EXPECT_EQ(db.Text("SELECT name FROM CompositeObjects WHERE luid = " + std::to_string(design)), "plant");
    EXPECT_EQ(
        db.Text("SELECT printf('%s %d %g %g %g %g %g %g', name, flags, pos_x, pos_y, pos_z, rot_az, rot_el, "
                "rot_tw) || ifnull(length, ' NULL') FROM ObjectInstances WHERE ownerobject_luid = "
            + std::to_string(root)),
        "plant 0 0 0 0 0 0 0 NULL");
    EXPECT_EQ(
        db.Text(
            "SELECT d.name || ' ' || d.type || ' ' || p.value FROM Properties p JOIN PropertyDictionary d "
            "ON d.luid = p.propdic_luid WHERE p.luid = "
            + std::to_string(design)),
        "ImportTemplate 257 Release");
    // The part: its own object and geometry, placed in database axes, with its key on the geometry.
    EXPECT_EQ(
        db.Text("SELECT printf('%g %g %g', pos_x, pos_y, pos_z) FROM ObjectInstances WHERE name = 'Valve'"),
        "1 2 3");
    EXPECT_EQ(db.Text("SELECT p.value FROM Properties p JOIN CompositeObjects o ON o.geometry_luid = p.luid "
                      "JOIN PropertyDictionary d ON d.luid = p.propdic_luid WHERE o.name = 'Valve' "
                      "AND d.name = 'VNXPart'"),
        "N[Valve]##P[1 2 3]##R[0 0 0]");
    // The template's instance, and one object for it.
    EXPECT_EQ(
        db.Text("SELECT printf('%g %g %g', pos_x, pos_y, pos_z) FROM ObjectInstances WHERE name = 'Door2'"),
        "0 4 0");
    EXPECT_EQ(db.Integer("SELECT count(*) FROM CompositeObjects"), 4);
    EXPECT_EQ(db.Integer("SELECT count(*) FROM Geometries"),
        db.Integer("SELECT count(DISTINCT model) FROM Geometries"));
    ExpectModelFilesPresent(db);
}

TEST_F(DesignExport, PerObjectWritesEveryTopLevelInstanceIntoTheRootRecord)
{
    // The scene passes rewrite these COMPID lines: G1 and G2 are equal and share one identifier; G3 is
    // alone with its contents, loses its identifier and is dissolved, so its leg is placed at the top
    // level and shares A's object.
    const ProcessResult run = Export(Scene(R"(
  {"name": "A", "object": "tri", "transform": {"position": [1,2,3]}, "userProperties": "Colour = red"},
  {"name": "B", "object": "tri", "transform": {"eulerDegrees": [0,0,30]}, "userProperties": "Colour = red"},
  {"name": "G1", "object": "grp", "userProperties": "COMPID = 0a1b2c3d-0000-1111-2222-333344445555",
   "children": [{"name": "Leg", "object": "quad"}]},
  {"name": "G2", "object": "grp", "userProperties": "COMPID = 0a1b2c3d-0000-1111-2222-333344445555",
   "transform": {"position": [5,0,0]}, "children": [{"name": "Leg", "object": "quad"}]},
  {"name": "G3", "object": "grp", "userProperties": "COMPID = 0a1b2c3d-0000-1111-2222-333344445556",
   "children": [{"name": "Leg", "object": "tri"}]},
  {"name": "Table", "object": "quad", "userProperties": "VNXScalable Table"},
  {"name": "Huge", "object": "huge", "transform": {"scale": [10,1,1]}})"),
        false);
    ASSERT_EQ(run.exitCode, kExportedWithFailures) << run.err;
    EXPECT_NE(run.err.find("Warning: 1 objects could not be converted."), std::string::npos) << run.err;
    const std::string log = Log();
    EXPECT_NE(log.find("Export as single object: no\r\n"), std::string::npos) << log;
    EXPECT_NE(log.find("The following objects can be imported as library "
                       "object:\r\nA\r\nG1\r\nTable\r\nHuge\r\n"),
        std::string::npos)
        << log;
    // The rejected box is named once, however often the object's box is computed.
    const std::string rejected = "Bounding box of object \"Huge\": a vertex position is not finite\r\n";
    ASSERT_NE(log.find(rejected), std::string::npos) << log;
    EXPECT_EQ(log.find(rejected, log.find(rejected) + 1), std::string::npos) << log;
    EXPECT_EQ(log.substr(log.find("Failed objects:")), "Failed objects:\r\nHuge\r\n");

    ExportedDatabase db(Target());
    ExpectSoundDatabase(Target());
    ASSERT_TRUE(db.IsOpen());
    const std::string root = std::to_string(db.Integer("SELECT object_luid FROM Roots"));
    EXPECT_EQ(
        db.Text(
            "SELECT group_concat(name, ' ') FROM (SELECT name FROM ObjectInstances WHERE ownerobject_luid = "
            + root + " ORDER BY luid)"),
        "A B G1 G2 Leg Table");
    EXPECT_EQ(db.Integer("SELECT count(*) FROM ObjectInstances WHERE ownerobject_luid <> " + root), 0);
    // Equal objects are written once (G3's triangle leg shares A's object); each geometry once per
    // model text.
    EXPECT_EQ(
        db.Integer("SELECT count(DISTINCT object_luid) FROM ObjectInstances WHERE name IN ('A', 'B', 'Leg')"),
        1);
    EXPECT_EQ(
        db.Integer("SELECT count(DISTINCT object_luid) FROM ObjectInstances WHERE name IN ('G1', 'G2')"), 1);
    EXPECT_EQ(db.Integer("SELECT count(*) FROM CompositeObjects"), 4);
    EXPECT_EQ(db.Integer("SELECT count(*) FROM Geometries"), 3);
    EXPECT_EQ(db.Integer("SELECT count(DISTINCT model) FROM Geometries"), 3);
    ExpectModelFilesPresent(db);
    // Placements in database axes, angles in tenths of degrees.
    EXPECT_EQ(db.Text("SELECT printf('%g %g %g %g %g %g', pos_x, pos_y, pos_z, rot_az, rot_el, rot_tw) "
                      "FROM ObjectInstances WHERE name = 'A'"),
        "1 2 3 0 0 0");
    EXPECT_EQ(
        db.Text("SELECT printf('%g %g %g', rot_az, rot_el, rot_tw) FROM ObjectInstances WHERE name = 'B'"),
        "0 0 -30");
    EXPECT_EQ(
        db.Text("SELECT printf('%g %g %g', pos_x, pos_y, pos_z) FROM ObjectInstances WHERE name = 'G2'"),
        "5 0 0");
    // Copied user properties: one dictionary row, a text row per instance.
    EXPECT_EQ(db.Integer("SELECT count(*) FROM PropertyDictionary WHERE name = 'Colour' AND type = 513"), 1);
    EXPECT_EQ(
        db.Text("SELECT group_concat(i.name || '=' || p.value, ' ') FROM Properties p JOIN ObjectInstances i "
                "ON i.luid = p.luid JOIN PropertyDictionary d ON d.luid = p.propdic_luid "
                "WHERE d.name = 'Colour'"),
        "A=red B=red");
    // Group membership: one entry of type "System", a row without value per member.
    EXPECT_EQ(
        db.Text("SELECT name || ' ' || type FROM PropertyDictionary WHERE type = 641"), "plant.max 641");
    EXPECT_EQ(db.Text("SELECT group_concat(i.name || ' ' || ifnull(p.value, 'NULL') || ' ' || "
                      "ifnull(p.binarydata, 'NULL'), ', ') FROM Properties p "
                      "JOIN ObjectInstances i ON i.luid = p.luid JOIN PropertyDictionary d "
                      "ON d.luid = p.propdic_luid WHERE d.type = 641"),
        "G1 NULL NULL, G2 NULL NULL");
    // Library objects, and the scalable table's stretch limits.
    EXPECT_EQ(
        db.Integer("SELECT count(*) FROM Properties p JOIN PropertyDictionary d ON d.luid = p.propdic_luid "
                   "WHERE d.name = 'ImportTemplate' AND p.value = 'Release'"),
        3);
    EXPECT_EQ(
        db.Text("SELECT printf('%s %g %g %d %d', o.name, s.min_size, s.max_size, s.template_size, s.type) "
                "FROM StretchableInfo s JOIN CompositeObjects o ON o.luid = s.object_luid"),
        "Table 0.001 1000 1 2");
    EXPECT_EQ(db.Integer("SELECT count(*) FROM CompositeObjects WHERE name = 'Huge'"), 0);
}

TEST_F(DesignExport, TemplateCopiesCarryTheirOwnNamesAndLines)
{
    // The example house: two doors made from one template, one of them with a line of its own.
    const char* source = std::getenv("VX_SOURCE_DIR");
    const std::string scene = std::string(source ? source : ".") + "/examples/house/house.json";
    const ProcessResult run = RunVxexport({"--per-object", scene, Target()});
    ASSERT_EQ(run.exitCode, kExported) << run.err;
    ExportedDatabase db(Target());
    const auto lines = [&](const std::string& instance) {
        return db.Text(
            "SELECT group_concat(line, ' ') FROM (SELECT d.name || '=' || p.value AS line FROM Properties "
            "p JOIN ObjectInstances i ON i.luid = p.luid JOIN PropertyDictionary d ON d.luid = "
            "p.propdic_luid WHERE i.name = '"
            + instance + "' ORDER BY line)");
    };
    EXPECT_EQ(lines("Kitchen_Door"), "ZRInstance=DoorTemplate");
    EXPECT_EQ(lines("LivingRoom_Door"), "Colour=white ZRInstance=DoorTemplate");
    EXPECT_EQ(lines("DoorTemplate"), "Finish=oiled") << "only the template itself carries its lines";
    EXPECT_EQ(
        db.Integer("SELECT count(DISTINCT object_luid) FROM ObjectInstances WHERE name IN ('Kitchen_Door', "
                   "'LivingRoom_Door', 'DoorTemplate')"),
        1);
}

TEST_F(DesignExport, TheExampleHouseReportsNothingToDevelopers)
{
    // No assertion report, SQL error or suspicious value in a sound export, in either mode.
    const char* source = std::getenv("VX_SOURCE_DIR");
    const std::string scene = std::string(source ? source : ".") + "/examples/house/house.json";
    for (const char* mode : {"--single-object", "--per-object"}) {
        const std::string diagnostics = dir.File(std::string("debug") + mode + ".txt");
        const ProcessResult run = RunVxexport({mode, "--debug-output", diagnostics, scene, Target()});
        ASSERT_EQ(run.exitCode, kExported) << run.err;
        EXPECT_EQ(ReadTextFile(diagnostics), "") << mode;
    }
}

TEST_F(DesignExport, SingleObjectLeavesOutOnlyTheNodeThatCannotBePlaced)
{
    // Huge's vertices overflow once scaled: the merged design loses that node alone, named.
    const ProcessResult run = Export(Scene(R"(
  {"name": "A", "object": "tri", "transform": {"position": [1,2,3]}},
  {"name": "Huge", "object": "huge", "transform": {"scale": [10,1,1]}})"),
        true);
    ASSERT_EQ(run.exitCode, kExportedWithFailures) << run.err;
    const std::string log = Log();
    EXPECT_NE(
        log.find("Bounding box of object \"Huge\": a vertex position is not finite\r\n"), std::string::npos)
        << log;
    EXPECT_EQ(log.substr(log.find("Failed objects:")), "Failed objects:\r\nHuge\r\n");
    ExportedDatabase db(Target());
    ExpectSoundDatabase(Target());
    // A's triangle is the design: the root box holds it and nothing else.
    EXPECT_EQ(
        db.Text("SELECT printf('%g %g %g %g %g %g', aabb_min_x, aabb_min_y, aabb_min_z, aabb_max_x, "
                "aabb_max_y, aabb_max_z) FROM CompositeObjects WHERE luid = (SELECT object_luid FROM Roots)"),
        "1 2 3 2 3 3");
}

TEST_F(DesignExport, NodesAtTheEndsOfTheFloatRangeGiveAFiniteCamera)
{
    // The root box spans more than the largest float: its camera is still a finite number.
    for (const bool single : {true, false}) {
        SCOPED_TRACE(single ? "single object" : "per object");
        const ProcessResult run = Export(Scene(R"(
  {"name": "North", "object": "tri", "transform": {"position": [0,3e38,0]}},
  {"name": "South", "object": "tri", "transform": {"position": [0,-3e38,0]}})"),
            single);
        ASSERT_EQ(run.exitCode, kExported) << run.err;
        ExpectSoundDatabase(Target());
        ExportedDatabase db(Target());
        EXPECT_EQ(db.Text("SELECT printf('%g %g', camera_x, camera_z) FROM Roots"), "0.5 0");
        EXPECT_EQ(db.Integer("SELECT camera_y < -3e38 FROM Roots"), 1);
    }
}

TEST_F(DesignExport, ANameWithALineBreakIsOneLineOfTheLog)
{
    // A failed object whose name holds CR LF reads back as one name, not as two failed objects.
    const ProcessResult run = Export(Scene(R"(
  {"name": "A", "object": "tri"},
  {"name": "Huge\r\nPart", "object": "huge", "transform": {"scale": [10,1,1]}})"),
        false);
    ASSERT_EQ(run.exitCode, kExportedWithFailures) << run.err;
    const std::string log = Log();
    EXPECT_EQ(log.substr(log.find("Failed objects:")), "Failed objects:\r\nHuge\\r\\nPart\r\n");
    const ProcessResult summary = RunProgram(VxinfoPath(), {"summary", "--json", Target()});
    EXPECT_NE(summary.out.find("Huge\\\\r\\\\nPart"), std::string::npos) << summary.out;
}

} // namespace
} // namespace vxtest
