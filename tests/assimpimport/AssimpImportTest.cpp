// Real 3D files imported into the memory host: hierarchy, pivots, axes and units, sharing, meshes,
// materials and textures, opacity, user properties, cameras and lights. The files are the
// hand-written fixtures in tests/data/import and glTF and COLLADA scenes written by the tests.

#include "assimpimport/AssimpImport.h"
#include "assimpimport/AssimpFolderBound.h"

#include "memoryhost/MemoryNode.h"
#include "memoryhost/MemoryObject.h"

#include "support/GltfFixture.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <future>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace vxtest {
namespace {

using namespace vx;

std::string FixturePath(const std::string& name)
{
    const char* source = std::getenv("VX_SOURCE_DIR");
    return std::string(source ? source : ".") + "/tests/data/import/" + name;
}

std::string ReadFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

void WriteFile(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

MemoryNode& GetNode(MemoryHost& host, const std::string& name)
{
    HostNode* node = host.GetNodeByName(name);
    if (!node)
        throw std::runtime_error("no node " + name);
    return static_cast<MemoryNode&>(*node);
}

void ExpectPoint(const HostPoint3& actual, const HostPoint3& expected)
{
    EXPECT_NEAR(actual.x, expected.x, 1e-4f);
    EXPECT_NEAR(actual.y, expected.y, 1e-4f);
    EXPECT_NEAR(actual.z, expected.z, 1e-4f);
}

MemoryMesh& GetMesh(const MemoryNode& node)
{
    return *static_cast<MemoryObject*>(node.GetObjectRef())->GetMemoryMesh();
}

MemoryMaterial& GetMaterial(const MemoryNode& node)
{
    return *static_cast<MemoryMaterial*>(node.GetMaterial());
}

// text with every '@' replaced by number.
std::string Numbered(std::string text, size_t number)
{
    for (size_t at = text.find('@'); at != std::string::npos; at = text.find('@', at))
        text.replace(at, 1, std::to_string(number));
    return text;
}

// A COLLADA document (metres, z up): per effect body (what a <phong> holds after its diffuse
// colour), a node "N<i>" showing a triangle with a material "M<i>" of its own. extraLibraries and
// extraNodes go after the geometries and the nodes.
std::string MakeDae(const std::vector<std::string>& effects, const std::string& extraLibraries = "",
    const std::string& extraNodes = "")
{
    std::string fx, materials, geometries, nodes;
    for (size_t i = 0; i < effects.size(); ++i) {
        fx += Numbered("<effect id='E@'><profile_COMMON><technique sid='common'><phong>"
                       "<diffuse><color>0.8 0.8 0.8 1</color></diffuse>",
                  i)
            + effects[i] + "</phong></technique></profile_COMMON></effect>";
        materials += Numbered("<material id='M@' name='M@'><instance_effect url='#E@'/></material>", i);
        geometries += Numbered("<geometry id='G@'><mesh><source id='P@'>"
                               "<float_array id='A@' count='9'>0 0 0 1 0 0 0 1 0</float_array>"
                               "<technique_common><accessor source='#A@' count='3' stride='3'>"
                               "<param name='X' type='float'/><param name='Y' type='float'/>"
                               "<param name='Z' type='float'/></accessor></technique_common></source>"
                               "<vertices id='V@'><input semantic='POSITION' source='#P@'/></vertices>"
                               "<triangles material='m' count='1'><input semantic='VERTEX' source='#V@' "
                               "offset='0'/><p>0 1 2</p></triangles></mesh></geometry>",
            i);
        nodes += Numbered("<node id='N@' name='N@'><instance_geometry url='#G@'><bind_material>"
                          "<technique_common><instance_material symbol='m' target='#M@'/>"
                          "</technique_common></bind_material></instance_geometry></node>",
            i);
    }
    if (!effects.empty())
        geometries = "<library_effects>" + fx + "</library_effects><library_materials>" + materials
            + "</library_materials><library_geometries>" + geometries + "</library_geometries>";
    return "<?xml version='1.0' encoding='utf-8'?>"
           "<COLLADA xmlns='http://www.collada.org/2005/11/COLLADASchema' version='1.4.1'>"
           "<asset><unit meter='1' name='meter'/><up_axis>Z_UP</up_axis></asset>"
        + geometries + extraLibraries + "<library_visual_scenes><visual_scene id='S'>" + nodes + extraNodes
        + "</visual_scene></library_visual_scenes><scene><instance_visual_scene url='#S'/></scene></COLLADA>";
}

class AssimpImport : public testing::Test {
protected:
    std::unique_ptr<MemoryHost> Import(const std::string& path, std::optional<HostUnitInfo> unit = {})
    {
        AssimpImportResult result = ImportWithNotes(path, unit);
        EXPECT_TRUE(result.scene) << result.error;
        return std::move(result.scene);
    }
    AssimpImportResult ImportWithNotes(const std::string& path, std::optional<HostUnitInfo> unit = {})
    {
        AssimpImportOptions options;
        options.unit = unit;
        options.imageFolder = dir.File("images");
        return ImportAssimpScene(path, options);
    }

    TempDir dir;
};

TEST_F(AssimpImport, FbxPivotHelpersFoldIntoTransformAndObjectOffset)
{
    auto host = Import(FixturePath("table.fbx"));
    ASSERT_TRUE(host);
    EXPECT_EQ(host->GetMasterUnitInfo().type, kHostUnitInches);
    EXPECT_EQ(host->GetRoot().GetChildren().size(), 2u) << "the helper nodes are folded away";

    // The geometric translation is the table's object offset, not part of its transform...
    MemoryNode& table = GetNode(*host, "Table");
    ExpectPoint(table.GetLocalTM().rows[3], {100, 0, 0});
    ExpectPoint(table.GetObjOffsetPos(), {5, 0, 0});
    // ... and the leg below it does not inherit it.
    MemoryNode& leg = GetNode(*host, "Leg");
    EXPECT_EQ(leg.GetParentNode(), &table);
    ExpectPoint(leg.GetNodeTM(0).rows[3], {100, 0, 7});
    ExpectPoint(leg.GetObjOffsetPos(), {0, 0, 0});
    // Turned by 90 degrees about z around the rotation pivot (1, 2, 3), then moved to (0, 50, 0).
    const HostMatrix3 turned = GetNode(*host, "Table2").GetNodeTM(0);
    ExpectPoint(turned.rows[0], {0, 1, 0});
    ExpectPoint(turned.rows[3], {3, 51, 0});

    // One board mesh shown by three nodes: one object, one material.
    EXPECT_EQ(leg.GetObjectRef(), table.GetObjectRef());
    EXPECT_EQ(GetNode(*host, "Table2").GetObjectRef(), table.GetObjectRef());
    EXPECT_EQ(leg.GetMaterial(), table.GetMaterial());
    EXPECT_EQ(GetMesh(table).GetNumFaces(), 2);
    EXPECT_TRUE(GetMesh(table).GetMapSupport(1));

    EXPECT_STREQ(table.GetUserPropBuffer(), "VNXScalable Table\r\nColour = red");
    EXPECT_STREQ(leg.GetUserPropBuffer(), "");
    const MemoryMaterial& wood = GetMaterial(table);
    EXPECT_STREQ(wood.GetName(), "Wood");
    EXPECT_FLOAT_EQ(wood.diffuse.g, 0.5f);
    ASSERT_NE(wood.GetSubTexmap(1), nullptr);
    const auto* texture = wood.GetSubTexmap(1)->AsBitmapTexture();
    ASSERT_NE(texture, nullptr);
    EXPECT_EQ(std::string(texture->GetMapName()), FixturePath("wood.tga"));
}

// The global settings name the file's axes and unit; the leg stands 7 units above the table's
// pivot at (100, 0, 0) in the file's own axes.
TEST_F(AssimpImport, FbxAxesAndUnitScaleFactor)
{
    struct Case {
        const char* settings;
        int unitType;
        double multiplier;
        HostPoint3 leg;
    } cases[] = {
        {R"(P: "UpAxis", "int", "Integer", "",2
		P: "UpAxisSign", "int", "Integer", "",1
		P: "FrontAxis", "int", "Integer", "",1
		P: "FrontAxisSign", "int", "Integer", "",-1
		P: "UnitScaleFactor", "double", "Number", "",100)",
            kHostUnitMeters, 1.0, {100, 0, 7}},
        // y up, front +z: the file's z is the host's -y.
        {R"(P: "UpAxis", "int", "Integer", "",1
		P: "FrontAxis", "int", "Integer", "",2
		P: "UnitScaleFactor", "double", "Number", "",3)",
            kHostUnitMeters, 0.03, {100, -7, 0}},
    };
    const std::string original = ReadFile(FixturePath("table.fbx"));
    const size_t begin = original.find("Properties70:");
    const size_t end = original.find("}", begin);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.settings);
        const std::string path = dir.File("axes.fbx");
        WriteFile(path,
            original.substr(0, begin) + "Properties70:  {\n\t\t" + c.settings + "\n\t"
                + original.substr(end));
        auto host = Import(path);
        ASSERT_TRUE(host);
        EXPECT_EQ(host->GetMasterUnitInfo().type, c.unitType);
        EXPECT_DOUBLE_EQ(host->GetMasterUnitInfo().multiplier, c.multiplier);
        ExpectPoint(GetNode(*host, "Leg").GetNodeTM(0).rows[3], c.leg);
    }
}

TEST_F(AssimpImport, GltfHierarchySharingExtrasCameraAndEmbeddedImage)
{
    const GltfFixture fixture;
    for (const bool binary : {false, true}) {
        SCOPED_TRACE(binary ? "glb" : "gltf");
        const std::string path = dir.File(binary ? "scene.glb" : "scene.gltf");
        WriteFile(path, binary ? fixture.MakeGlb() : fixture.MakeGltf());
        auto host = Import(path, HostUnitInfo {kHostUnitInches, 1.0});
        ASSERT_TRUE(host);
        EXPECT_EQ(host->GetMasterUnitInfo().type, kHostUnitMeters) << "glTF is in metres whatever is asked";
        EXPECT_STREQ(host->GetCurFileName(), binary ? "scene.glb" : "scene.gltf");

        // y up becomes z up: (1, 2, 3) is (1, -3, 2); the parent heads a group of its children.
        MemoryNode& parent = GetNode(*host, "Parent");
        EXPECT_EQ(parent.GetParentNode(), &host->GetRoot());
        ExpectPoint(parent.GetNodeTM(0).rows[3], {1, -3, 2});
        EXPECT_EQ(parent.GetObjectRef()->GetSuperClassId(), kSuperClassHelper);
        EXPECT_EQ(parent.GetObjectRef()->GetClassId(), kClassGroupHead);
        MemoryNode& a = GetNode(*host, "A");
        MemoryNode& b = GetNode(*host, "B");
        EXPECT_EQ(a.GetParentNode(), &parent);
        ExpectPoint(a.GetNodeTM(0).rows[3], {1, -3, 7});
        ExpectPoint(b.GetNodeTM(0).rows[1], {0, 0, 2}); // its y axis, scaled by 2, points up
        EXPECT_EQ(a.GetObjectRef(), b.GetObjectRef());
        EXPECT_EQ(a.GetMaterial(), b.GetMaterial());
        EXPECT_EQ(GetNode(*host, "Cam").GetObjectRef()->GetSuperClassId(), kSuperClassCamera);

        // Extras: the exporter's own keys as "key value", others as "key = value".
        EXPECT_STREQ(a.GetUserPropBuffer(), "VNXPart Windows\ncolour = red\ncount = 3");
        EXPECT_STREQ(b.GetUserPropBuffer(), "");

        const MemoryMaterial& red = GetMaterial(a);
        EXPECT_STREQ(red.GetName(), "Red");
        EXPECT_FLOAT_EQ(red.opacity, 0.5f);
        EXPECT_TRUE(red.twoSided);
        EXPECT_FLOAT_EQ(red.diffuse.r, 1.0f);
        ASSERT_NE(red.GetSubTexmap(1), nullptr);
        const std::string image = red.GetSubTexmap(1)->AsBitmapTexture()->GetMapName();
        EXPECT_EQ(image.rfind(dir.File("images") + "/", 0), 0u) << image;
        EXPECT_EQ(ReadFile(image), MakeTinyPng());
        // The file's normals are kept.
        ASSERT_EQ(GetMesh(a).GetExplicitNormals().size(), 3u);
        ExpectPoint(GetMesh(a).GetExplicitNormals()[0], {0, 0, 1});
    }
}

// The mesh has two coordinate sets; only the one the texture names becomes map channel 1.
TEST_F(AssimpImport, TextureCoordinatesAreTheSetsTheMaterialsUse)
{
    for (const int set : {0, 1}) {
        SCOPED_TRACE(set);
        GltfFixture fixture;
        fixture.textureSet = set;
        const std::string path = dir.File("sets.gltf");
        WriteFile(path, fixture.MakeGltf());
        auto host = Import(path);
        ASSERT_TRUE(host);
        const MemoryMesh& mesh = GetMesh(GetNode(*host, "A"));
        ASSERT_TRUE(mesh.GetMapSupport(1));
        EXPECT_FALSE(mesh.GetMapSupport(2));
        // glTF's v runs down the image, the host's up: (0.5, 0) of set 1 is (0.5, 1).
        ExpectPoint(mesh.GetMapVerts(1)[0], {set == 1 ? 0.5f : 0.0f, 1, 0});
        EXPECT_EQ(GetMaterial(GetNode(*host, "A")).GetSubTexmap(1)->GetMapChannel(), 1);
    }
}

TEST_F(AssimpImport, ObjMaterialsMakeOneObjectWithAMultiMaterial)
{
    auto host = Import(FixturePath("room.obj"), HostUnitInfo {kHostUnitCentimeters, 1.0});
    ASSERT_TRUE(host);
    EXPECT_EQ(host->GetMasterUnitInfo().type, kHostUnitCentimeters);

    MemoryNode& box = GetNode(*host, "Box");
    const MemoryMesh& mesh = GetMesh(box);
    ASSERT_EQ(mesh.GetNumFaces(), 3);
    EXPECT_EQ(mesh.GetFaces()[0].GetMatId(), 0);
    EXPECT_EQ(mesh.GetFaces()[1].GetMatId(), 0);
    EXPECT_EQ(mesh.GetFaces()[2].GetMatId(), 1);
    // Without normals in the file, the importer makes them.
    EXPECT_EQ(mesh.GetExplicitNormals().size(), size_t(mesh.GetNumVerts()));

    const MemoryMaterial& multi = GetMaterial(box);
    EXPECT_EQ(multi.GetClassId(), kClassMultiMaterial);
    ASSERT_EQ(multi.NumSubMtls(), 2);
    EXPECT_STREQ(multi.GetSubMtl(0)->GetName(), "Red");
    EXPECT_EQ(multi.GetSubMtl(1), GetNode(*host, "Stool").GetMaterial()) << "Blue is shared";

    const auto& red = static_cast<const MemoryMaterial&>(*multi.GetSubMtl(0));
    EXPECT_FLOAT_EQ(red.shininess, 0.5f) << "exponent 32";
    EXPECT_FLOAT_EQ(red.opacity, 0.5f);
    ASSERT_NE(red.GetSubTexmap(1), nullptr);
    ASSERT_NE(red.GetSubTexmap(8), nullptr);
    EXPECT_EQ(std::string(red.GetSubTexmap(1)->AsBitmapTexture()->GetMapName()), FixturePath("wood.tga"));
    EXPECT_EQ(std::string(red.GetSubTexmap(8)->AsBitmapTexture()->GetMapName()), FixturePath("bumps.tga"));

    auto metres = Import(FixturePath("room.obj"));
    ASSERT_TRUE(metres);
    EXPECT_EQ(metres->GetMasterUnitInfo().type, kHostUnitMeters);
}

// Assimp scales and turns the COLLADA root into metres and y up; the unit and the file's own
// lengths and axes come back.
TEST_F(AssimpImport, ColladaKeepsItsUnitAndAxes)
{
    auto host = Import(FixturePath("pair.dae"));
    ASSERT_TRUE(host);
    EXPECT_EQ(host->GetMasterUnitInfo().type, kHostUnitCentimeters);
    const MemoryNode& a = GetNode(*host, "A");
    EXPECT_TRUE(AreNearlyEqual(a.GetNodeTM(0), MakeTranslationMatrix({100, 0, 50}), 1e-4f));
    EXPECT_EQ(a.GetObjectRef(), GetNode(*host, "B").GetObjectRef());
    ExpectPoint(GetMesh(a).GetVerts()[1], {10, 0, 0});
}

// COLLADA's transparent colour and transparency combine by the file's opaque mode; a file in which
// a material would be invisible writes the transparency inverted, which a note names.
TEST_F(AssimpImport, ColladaOpacityFollowsTheFilesConvention)
{
    const auto effect = [](const char* opaque, const char* colour, const char* transparency) {
        return std::string("<transparent") + (*opaque ? std::string(" opaque='") + opaque + "'" : "")
            + "><color>" + colour + "</color></transparent><transparency><float>" + transparency
            + "</float></transparency>";
    };
    const std::string onlyZero = "<transparency><float>0</float></transparency>";
    struct Case {
        const char* name;
        std::vector<std::string> effects;
        std::vector<float> opacities;
        bool inverted;
    } cases[] = {
        {"no transparency", {""}, {1.0f}, false},
        {"A_ONE by default", {effect("", "1 1 1 1", "1")}, {1.0f}, false},
        {"A_ONE", {effect("A_ONE", "1 1 1 0.3", "1")}, {0.3f}, false},
        {"A_ONE, half", {effect("A_ONE", "1 1 1 1", "0.5")}, {0.5f}, false},
        {"RGB_ZERO", {effect("RGB_ZERO", "0.7 0.7 0.7 1", "1")}, {0.3f}, false},
        {"A_ZERO", {effect("A_ZERO", "0 0 0 0.7", "1")}, {0.3f}, false},
        {"RGB_ONE", {effect("RGB_ONE", "0.3 0.3 0.3 1", "1")}, {0.3f}, false},
        {"transparency 0 for opaque", {effect("", "1 1 1 1", "0")}, {1.0f}, true},
        {"transparency 0 without a colour", {onlyZero}, {1.0f}, true},
        // The whole file is read inverted: its glass is 60 % opaque; a stated 1 stays opaque.
        {"inverted with glass", {effect("A_ONE", "1 1 1 1", "0"), effect("A_ONE", "1 1 1 1", "0.4"), ""},
            {1.0f, 0.6f, 1.0f}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = dir.File("glass.dae");
        WriteFile(path, MakeDae(c.effects));
        const AssimpImportResult result = ImportWithNotes(path);
        ASSERT_TRUE(result.scene) << result.error;
        for (size_t i = 0; i < c.opacities.size(); ++i)
            EXPECT_NEAR(
                GetMaterial(GetNode(*result.scene, "N" + std::to_string(i))).opacity, c.opacities[i], 1e-4f)
                << "M" << i;
        if (c.inverted) {
            ASSERT_EQ(result.notes.size(), 1u);
            EXPECT_EQ(result.notes[0].rfind(path + ": opacity 0 read as opaque: ", 0), 0u) << result.notes[0];
            EXPECT_NE(result.notes[0].find("\"M0\""), std::string::npos) << result.notes[0];
        } else {
            EXPECT_TRUE(result.notes.empty()) << result.notes[0];
        }
    }
}

// glTF's alpha counts in BLEND mode only, and is never read inverted: alpha 0 there is meant.
TEST_F(AssimpImport, GltfAlphaCountsWhenBlended)
{
    struct Case {
        const char* mode;
        float alpha;
        float opacity;
    } cases[] = {{"OPAQUE", 0.5f, 1.0f}, {"MASK", 0.5f, 1.0f}, {"BLEND", 0.0f, 0.0f}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        nlohmann::json document = GltfFixture().MakeDocument(false);
        document["materials"][0]["alphaMode"] = c.mode;
        document["materials"][0]["pbrMetallicRoughness"]["baseColorFactor"][3] = c.alpha;
        const std::string path = dir.File("alpha.gltf");
        WriteFile(path, document.dump());
        const AssimpImportResult result = ImportWithNotes(path);
        ASSERT_TRUE(result.scene) << result.error;
        EXPECT_FLOAT_EQ(GetMaterial(GetNode(*result.scene, "A")).opacity, c.opacity);
        EXPECT_TRUE(result.notes.empty());
    }
}

// Without a mesh the file is still a scene: its camera and light, and no made-up geometry.
TEST_F(AssimpImport, CamerasAndLightsWithoutMeshesAreAScene)
{
    const std::string path = dir.File("lights.dae");
    WriteFile(path,
        MakeDae({},
            "<library_cameras><camera id='C'><optics><technique_common><perspective><yfov>45</yfov>"
            "<aspect_ratio>1</aspect_ratio><znear>0.1</znear><zfar>100</zfar></perspective>"
            "</technique_common></optics></camera></library_cameras><library_lights><light id='L'>"
            "<technique_common><point><color>1 1 1</color></point></technique_common></light>"
            "</library_lights>",
            "<node id='Cam' name='Cam'><instance_camera url='#C'/></node>"
            "<node id='Lamp' name='Lamp'><instance_light url='#L'/></node>"));
    auto host = Import(path);
    ASSERT_TRUE(host);
    ASSERT_EQ(host->GetRoot().GetChildren().size(), 2u);
    EXPECT_EQ(GetNode(*host, "Cam").GetObjectRef()->GetSuperClassId(), kSuperClassCamera);
    EXPECT_EQ(GetNode(*host, "Lamp").GetObjectRef()->GetSuperClassId(), kSuperClassLight);
    EXPECT_EQ(host->GetObjectCount(), 2u);
}

TEST_F(AssimpImport, UnreadableFileGivesAnErrorNamingIt)
{
    const std::string path = dir.File("missing.fbx");
    const AssimpImportResult result = ImportAssimpScene(path, {});
    EXPECT_FALSE(result.scene);
    EXPECT_EQ(result.error.rfind(path + ": ", 0), 0u) << result.error;
}

// A FIFO named by the file, or given as the file, is refused at once: opening it would wait for
// a writer for ever. With and without trusting the file's references.
TEST_F(AssimpImport, SpecialFilesAreNotOpened)
{
    const std::string fifo = dir.File("buffer.bin");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    nlohmann::json document = GltfFixture().MakeDocument(false);
    document["buffers"][0]["uri"] = "buffer.bin";
    const std::string named = dir.File("named.gltf");
    WriteFile(named, document.dump());
    const struct {
        std::string path;
        bool trusted;
        std::string refused; // the reference the error names
    } cases[]
        = {{named, false, "buffer.bin"}, {named, true, "buffer.bin"}, {fifo + ".obj", false, fifo + ".obj"}};
    ASSERT_EQ(mkfifo((fifo + ".obj").c_str(), 0600), 0);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path + (c.trusted ? " trusted" : ""));
        AssimpImportOptions options;
        options.imageFolder = dir.File("images");
        options.allowOutsideReferences = c.trusted;
        auto running = std::async(std::launch::async, [&] { return ImportAssimpScene(c.path, options); });
        if (running.wait_for(std::chrono::seconds(20)) != std::future_status::ready) {
            ADD_FAILURE() << "the import waits on the FIFO";
            for (const std::string& end : {fifo, fifo + ".obj"}) // let a blocked open go on
                close(open(end.c_str(), O_WRONLY | O_NONBLOCK));
        }
        const AssimpImportResult result = running.get();
        EXPECT_FALSE(result.scene);
        EXPECT_NE(result.error.find("the reference '" + (c.path == named ? dir.File(c.refused) : c.refused)),
            std::string::npos)
            << result.error;
        EXPECT_NE(result.error.find("' was not read: it is not a regular file"), std::string::npos)
            << result.error;
    }
}

} // namespace
TEST(AssimpFolderBound, OnlyFilesInsideTheFolderAfterLinksAreResolved)
{
    vxtest::TempDir dir;
    std::filesystem::create_directories(dir.Path() / "model" / "maps");
    std::filesystem::create_directories(dir.Path() / "elsewhere");
    std::filesystem::create_directory_symlink(dir.Path() / "elsewhere", dir.Path() / "model" / "escape");
    const std::string folder = dir.File("model");
    const struct {
        std::string path;
        bool inside;
    } cases[] = {
        {dir.File("model/maps/wood.png"), true}, {dir.File("model/../model/wood.png"), true},
        {dir.File("model/../secret.png"), false},
        {dir.File("model/escape/secret.png"), false}, // a link out of the folder
        {"/etc/passwd", false}, {folder, false}, // the folder itself is no file in it
    };
    for (const auto& c : cases)
        EXPECT_EQ(vx::IsInsideFolder(c.path, folder), c.inside) << c.path;
}

} // namespace vxtest
