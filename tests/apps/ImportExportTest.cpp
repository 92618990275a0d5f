// Real 3D files exported end to end: vxexport imports FBX, glTF and OBJ files in its importer
// process and writes the design, read back here with SQLite; broken files of every format end in
// exit code 6 with the importer's message; --dump-scene writes the scene that was imported.

#include "EndToEndSupport.h"
#include "VxexportProcess.h"
#include "base/AddressSanitizer.h"

#include "support/GltfFixture.h"
#include "support/TempDir.h"
#include "support/TgaImage.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace vxtest {
namespace {

constexpr int kExported = 0;
constexpr int kSceneNotLoaded = 6;

// The bytes of a literal, embedded NULs included.
template <size_t N> std::string Bytes(const char (&literal)[N])
{
    return std::string(literal, N - 1);
}

std::string FixturePath(const std::string& name)
{
    const char* source = std::getenv("VX_SOURCE_DIR");
    return std::string(source ? source : ".") + "/tests/data/import/" + name;
}

class ImportExport : public testing::Test {
protected:
    // Copies a fixture into the test folder; returns its new path.
    std::string CopyFixture(const std::string& name)
    {
        const std::string path = dir.File(name);
        std::filesystem::copy_file(FixturePath(name), path);
        return path;
    }
    std::string Target() const { return dir.File("design.vx"); }
    // The placement of the instance named name, in metres and database axes.
    static std::string Position(const ExportedDatabase& db, const std::string& name)
    {
        return db.Text(
            "SELECT printf('%.4f %.4f %.4f', pos_x, pos_y, pos_z) FROM ObjectInstances WHERE name = '" + name
            + "'");
    }
    static std::string Property(
        const ExportedDatabase& db, const std::string& instance, const std::string& key)
    {
        return db.Text("SELECT p.value FROM Properties p JOIN ObjectInstances i ON i.luid = p.luid "
                       "JOIN PropertyDictionary d ON d.luid = p.propdic_luid WHERE i.name = '"
            + instance + "' AND d.name = '" + key + "'");
    }

    TempDir dir;
};

TEST_F(ImportExport, FbxArrivesWithUnitsPivotsSharingUserPropertiesAndTexture)
{
    const std::string wood = EncodeTga(2, 2, Rgba {200, 120, 40, 255});
    WriteTextFile(dir.File("wood.tga"), wood);
    const ProcessResult run = RunVxexport({"--per-object", CopyFixture("table.fbx"), Target()});
    ASSERT_EQ(run.exitCode, kExported) << run.err;

    ExportedDatabase db(Target());
    ASSERT_TRUE(db.IsOpen());
    const std::string root = std::to_string(db.Integer("SELECT object_luid FROM Roots"));
    EXPECT_EQ(db.Text("SELECT group_concat(name, ' ') FROM (SELECT name FROM ObjectInstances WHERE "
                      "ownerobject_luid = "
                  + root + " ORDER BY name)"),
        "Table Table2");
    // Inches: the table's pivot at 100 in = 2.54 m; its object offset of 5 in is in its vertices.
    // The leg, 7 in above the pivot, is placed in the table's object, whose frame is the pivot.
    EXPECT_EQ(Position(db, "Table"), "2.5400 0.0000 0.0000");
    EXPECT_EQ(
        db.Text("SELECT o.name FROM ObjectInstances i JOIN CompositeObjects o ON o.luid = i.ownerobject_luid "
                "WHERE i.name = 'Leg'"),
        "Table");
    EXPECT_EQ(Position(db, "Leg"), "0.0000 0.0000 0.1778");
    // The second table is turned about its pivot (1, 2, 3) and moved to (0, 50, 0).
    EXPECT_EQ(Position(db, "Table2"), "0.0762 1.2954 0.0000");
    // The leg and the second table show the board mesh without offset: one object.
    EXPECT_EQ(
        db.Integer("SELECT count(DISTINCT object_luid) FROM ObjectInstances WHERE name IN ('Leg', 'Table2')"),
        1);
    EXPECT_EQ(Property(db, "Table", "Colour"), "red");
    EXPECT_EQ(db.Integer("SELECT count(*) FROM StretchableInfo"), 1) << "VNXScalable Table";
    EXPECT_EQ(db.Text("SELECT name FROM Textures"), "wood");
    EXPECT_EQ(db.Text("SELECT data FROM Textures"), wood);
}

TEST_F(ImportExport, GltfAndGlbArriveWithSharingExtrasAndEmbeddedImage)
{
    const GltfFixture fixture;
    for (const bool binary : {false, true}) {
        SCOPED_TRACE(binary ? "glb" : "gltf");
        const std::string scene = dir.File(binary ? "scene.glb" : "scene.gltf");
        WriteTextFile(scene, binary ? fixture.MakeGlb() : fixture.MakeGltf());
        const ProcessResult run = RunVxexport({"--per-object", scene, Target()});
        ASSERT_EQ(run.exitCode, kExported) << run.err;

        ExportedDatabase db(Target());
        ASSERT_TRUE(db.IsOpen());
        // Metres, y up: A at (1, 7, 3) in the file, stored in the host's axes, those of the file
        // turned to z up.
        EXPECT_EQ(Position(db, "A"), "1.0000 -3.0000 7.0000");
        // B shows A's mesh at twice the size: an object of its own with that scale, sharing the
        // stored geometry.
        EXPECT_EQ(db.Integer(
                      "SELECT count(DISTINCT o.geometry_luid) FROM ObjectInstances i JOIN CompositeObjects o "
                      "ON o.luid = i.object_luid WHERE i.name IN ('A', 'B')"),
            1);
        EXPECT_EQ(
            db.Text("SELECT printf('%g %g %g', geometry_scale_x, geometry_scale_y, geometry_scale_z) FROM "
                    "CompositeObjects o JOIN ObjectInstances i ON o.luid = i.object_luid WHERE i.name = 'B'"),
            "2 2 2");
        EXPECT_EQ(Property(db, "A", "colour"), "red");
        EXPECT_EQ(Property(db, "A", "count"), "3");
        EXPECT_EQ(db.Integer("SELECT count(*) FROM Textures"), 1);
        EXPECT_EQ(db.Text("SELECT data FROM Textures"), MakeTinyPng());
        // The embedded image was found where the import wrote it: no warning names it.
        EXPECT_EQ(run.err.find("vxexport-import-"), std::string::npos) << run.err;
    }
}

TEST_F(ImportExport, ObjArrivesInTheUnitAskedForWithItsMaterials)
{
    WriteTextFile(dir.File("wood.tga"), EncodeTga(1, 1, Rgba {255, 0, 0, 255}));
    WriteTextFile(dir.File("bumps.tga"), EncodeTga(1, 1, Rgba {9, 9, 9, 255}));
    const std::string scene = CopyFixture("room.obj");
    CopyFixture("room.mtl");
    for (const auto& [unit, stool] : {std::pair<std::string, std::string> {"centimeters", "2 0 0 2.1 0.1 0"},
             std::pair<std::string, std::string> {"meters", "200 0 0 210 10 0"}}) {
        SCOPED_TRACE(unit);
        const ProcessResult run = RunVxexport({"--per-object", "--unit", unit, scene, Target()});
        ASSERT_EQ(run.exitCode, kExported) << run.err;
        ExportedDatabase db(Target());
        ASSERT_TRUE(db.IsOpen());
        EXPECT_EQ(
            db.Text("SELECT printf('%g %g %g %g %g %g', aabb_min_x, aabb_min_y, aabb_min_z, aabb_max_x, "
                    "aabb_max_y, aabb_max_z) FROM CompositeObjects WHERE name = 'Stool'"),
            stool);
        // The box is one object whose geometry has both materials, the textured one transparent.
        const std::string model = db.Text("SELECT g.model FROM Geometries g JOIN CompositeObjects o "
                                          "ON o.geometry_luid = g.luid WHERE o.name = 'Box'");
        EXPECT_NE(model.find("<Material effect='TransparentObjects'>"), std::string::npos) << model;
        EXPECT_NE(model.find("<Material effect='Diffuse'>"), std::string::npos) << model;
        EXPECT_EQ(db.Text("SELECT group_concat(name, ' ') FROM (SELECT name FROM Textures ORDER BY name)"),
            "bumps wood");
    }
}

TEST_F(ImportExport, BrokenFilesOfEveryFormatAreReportedAsNotLoaded)
{
    const struct {
        const char* name;
        std::string bytes;
    } files[] = {
        {"cut.fbx",
            "; FBX 7.4.0 project file\nObjects:  {\n\tGeometry: 1, \"Geometry::x\", \"Mesh\" "
            "{\n\t\tVertices: *9 {\n\t\t\ta: 1,2"},
        {"binary.fbx", Bytes("Kaydara FBX Binary  \0\x1a\0\xe8\x1c\0\0\xff\xff\xff\x7f\0\0")},
        {"cut.gltf", R"({"asset": {"version": "2.0"}, "nodes": [{"mesh": 7}])"},
        {"reference.gltf",
            R"({"asset": {"version": "2.0"}, "scene": 0, "scenes": [{"nodes": [0]}], "nodes": [{"mesh": 7}]})"},
        {"cut.glb", Bytes("glTF\x02\0\0\0\xff\xff\xff\x7f\x10\0\0\0JSON{}")},
        {"index.obj", "v 1 2 3\nf 1 2 99\n"},
        {"cut.dae",
            "<?xml version=\"1.0\"?>\n<COLLADA "
            "version=\"1.4.1\"><library_geometries><geometry><mesh><source>"},
        {"cut.3ds", Bytes("MM\xff\xff\0\0\x02\0\x0a\0\0\0")},
        {"missing.obj", ""},
    };
    for (const auto& file : files) {
        SCOPED_TRACE(file.name);
        const std::string scene = dir.File(file.name);
        if (!file.bytes.empty())
            WriteTextFile(scene, file.bytes);
        const ProcessResult run = RunVxexport({"--yes", scene, Target()});
        EXPECT_EQ(run.exitCode, kSceneNotLoaded) << run.err;
        EXPECT_EQ(run.err.rfind("vxexport: the scene could not be loaded: " + scene + ": ", 0), 0u)
            << run.err;
        EXPECT_FALSE(std::filesystem::exists(Target()));
    }
}

TEST_F(ImportExport, DumpSceneWritesTheImportedSceneForEditing)
{
    const std::string scene = dir.File("scene.glb");
    WriteTextFile(scene, GltfFixture().MakeGlb());
    const std::string dump = dir.File("edit.json");
    const ProcessResult dumped = RunVxexport({"--dump-scene", dump, scene});
    ASSERT_EQ(dumped.exitCode, kExported) << dumped.err;
    EXPECT_FALSE(std::filesystem::exists(Target()));
    const std::string text = ReadTextFile(dump);
    EXPECT_NE(
        text.find("\"userProperties\": \"VNXPart Windows\\ncolour = red\\ncount = 3\""), std::string::npos)
        << text;
    // The embedded image is kept beside the dump, where the dumped scene refers to it.
    EXPECT_NE(text.find(dir.File("edit-images") + "/"), std::string::npos) << text;

    // The dump exports as the file itself does.
    ASSERT_EQ(RunVxexport({"--per-object", dump, Target()}).exitCode, kExported);
    ExportedDatabase db(Target());
    EXPECT_EQ(Position(db, "A"), "1.0000 -3.0000 7.0000");
    EXPECT_EQ(Property(db, "A", "colour"), "red");
    EXPECT_EQ(db.Text("SELECT data FROM Textures"), MakeTinyPng());

    // Any scene can be dumped, a scene file too, and exported in the same run.
    const std::string again = dir.File("again.json");
    const ProcessResult both = RunVxexport({"--yes", "--dump-scene", again, dump, dir.File("both.vx")});
    ASSERT_EQ(both.exitCode, kExported) << both.err;
    EXPECT_EQ(ReadTextFile(again), text);
    EXPECT_TRUE(std::filesystem::exists(dir.File("both.vx")));
}

TEST_F(ImportExport, AFileCannotReachOutsideItsFolderUnlessTrusted)
{
    // A model whose material names an image one folder up, and another by an absolute path: a
    // hostile file would copy any readable file into the design this way.
    const std::string secret = EncodeTga(1, 1, Rgba {1, 2, 3, 255});
    WriteTextFile(dir.File("secret.tga"), secret);
    std::filesystem::create_directories(dir.Path() / "model");
    WriteTextFile(dir.File("model/room.obj"),
        "mtllib room.mtl\nv 0 0 0\nv 1 0 0\nv 0 1 0\nvt 0 0\nvt 1 0\n"
        "vt 0 1\nusemtl up\nf 1/1 2/2 3/3\nusemtl abs\nf 1/1 3/3 2/2\n");
    WriteTextFile(dir.File("model/room.mtl"),
        "newmtl up\nKd 1 1 1\nmap_Kd ../secret.tga\nnewmtl abs\nKd 1 1 1\nmap_Kd " + dir.File("secret.tga")
            + "\n");
    for (const bool trusted : {false, true}) {
        SCOPED_TRACE(trusted ? "trusted" : "not trusted");
        std::vector<std::string> args {"--per-object", dir.File("model/room.obj"), Target()};
        if (trusted)
            args.insert(args.begin(), "--allow-outside-references");
        const ProcessResult run = RunVxexport(args);
        ASSERT_EQ(run.exitCode, kExported) << run.err;
        ExportedDatabase db(Target());
        EXPECT_EQ(db.Integer("SELECT count(*) FROM Textures"), trusted ? 1 : 0);
        for (const std::string& reference : {std::string("../secret.tga"), dir.File("secret.tga")})
            EXPECT_EQ(run.err.find(
                          "the reference '" + reference + "' was not read: it lies outside the file's folder")
                    != std::string::npos,
                !trusted)
                << run.err;
    }
}

// A glTF of 700 bytes whose sparse accessor declares 300 million positions (3.6 GB), all but one
// zero: without a bound the importer takes whatever memory it asks for. Under a limit it runs out,
// and says so; a file within the limit imports as before.
TEST_F(ImportExport, AFileThatClaimsMoreMemoryThanTheImporterMayTakeRunsOutAndSaysSo)
{
#if VX_ADDRESS_SANITIZER
    GTEST_SKIP() << "an AddressSanitizer build runs the importer without an address-space limit";
#endif
    nlohmann::json document = GltfFixture().MakeDocument(false);
    nlohmann::json& positions = document["accessors"][0];
    positions.erase("bufferView");
    positions["count"] = 300000000;
    positions["sparse"] = {{"count", 1}, {"indices", {{"bufferView", 4}, {"componentType", 5123}}},
        {"values", {{"bufferView", 0}}}};
    const std::string hostile = dir.File("sparse.gltf");
    WriteTextFile(hostile, document.dump());
    const std::string normal = dir.File("normal.gltf");
    WriteTextFile(normal, GltfFixture().MakeGltf());
    WriteTextFile(Target(), "previous design");
    const ProcessResult run = RunVxexport({"--yes", "--import-memory", "256M", hostile, Target()});
    EXPECT_EQ(run.exitCode, kSceneNotLoaded) << run.err;
    EXPECT_NE(run.err.find(hostile
                  + ": the importer ran out of memory (it may use 256 MiB; --import-memory SIZE "
                    "changes that)"),
        std::string::npos)
        << run.err;
    EXPECT_EQ(ReadTextFile(Target()), "previous design");
    const ProcessResult within = RunVxexport({"--yes", "--import-memory", "256M", normal, Target()});
    EXPECT_EQ(within.exitCode, kExported) << within.err;
}

} // namespace
} // namespace vxtest
