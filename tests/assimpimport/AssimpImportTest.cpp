// Real 3D files imported into the memory host: hierarchy, pivots, axes and units, sharing, meshes,
// materials and textures, user properties, cameras. The files are the hand-written fixtures in
// tests/data/import and glTF scenes written by the tests.

#include "assimpimport/AssimpImport.h"

#include "memoryhost/MemoryNode.h"
#include "memoryhost/MemoryObject.h"

#include "support/GltfFixture.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

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

class AssimpImport : public testing::Test {
protected:
    std::unique_ptr<MemoryHost> Import(const std::string& path, std::optional<HostUnitInfo> unit = {})
    {
        AssimpImportOptions options;
        options.unit = unit;
        options.imageFolder = dir.File("images");
        AssimpImportResult result = ImportAssimpScene(path, options);
        EXPECT_TRUE(result.scene) << result.error;
        return std::move(result.scene);
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
        WriteFile(path, original.substr(0, begin) + "Properties70:  {\n\t\t" + c.settings + "\n\t" + original.substr(end));
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

TEST_F(AssimpImport, UnreadableFileGivesAnErrorNamingIt)
{
    const std::string path = dir.File("missing.fbx");
    const AssimpImportResult result = ImportAssimpScene(path, {});
    EXPECT_FALSE(result.scene);
    EXPECT_EQ(result.error.rfind(path + ": ", 0), 0u) << result.error;
}

} // namespace
} // namespace vxtest
