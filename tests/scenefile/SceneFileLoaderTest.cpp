#include "SceneFileTestSupport.h"
#include "support/TgaImage.h"

#include <gtest/gtest.h>

#include <cmath>

namespace vx {
namespace {

using vxtest::Bytes;
using vxtest::EncodeTga;
using vxtest::MakeScene;
using vxtest::Rgba;
using vxtest::SceneFiles;

void ExpectNear(const HostPoint3& actual, const HostPoint3& expected)
{
    EXPECT_NEAR(actual.x, expected.x, 1e-5f);
    EXPECT_NEAR(actual.y, expected.y, 1e-5f);
    EXPECT_NEAR(actual.z, expected.z, 1e-5f);
}

std::unique_ptr<MemoryHost> LoadOrFail(SceneFiles& files, const std::string& document)
{
    SceneLoadResult result = files.Load(document);
    if (result.error)
        ADD_FAILURE() << result.error->GetText();
    return std::move(result.scene);
}

const char* const kFullScene = R"({
  "format": "varnex-scene",
  "version": 1,
  "sceneFile": "house.max",
  "unit": {"type": "centimeters", "multiplier": 2.5},
  "mapDirectories": ["maps", "/opt/maps", "sub\\textures"],
  "rootUserProperties": ["OptGeom = true", "Note = x"],
  "textures": [
    {"id": "wood", "file": "textures/wood.png", "mapChannel": 2, "filterType": 2},
    {"id": "sky", "type": "cubeMap", "faces": ["px.png", "nx.png", "py.png", "ny.png", "pz.png", "nz.png"]},
    {"id": "noise", "name": "Noise", "type": "other", "classId": [4660, 1], "subTextures": [null, "wood"]}
  ],
  "materials": [
    {"id": "walls", "type": "multi", "subMaterials": ["brick", null, "glass"]},
    {"id": "brick", "name": "Brick", "diffuse": [0.5, 0.25, 0.125], "opacity": 0.5, "twoSided": true,
     "maps": [{"channel": 1, "texture": "wood", "amount": 0.5}, {"channel": 6, "texture": "wood", "enabled": false}],
     "shader": {"classId": [1641373217, 2036687571], "ints": {"9": 1, "15": 2}, "floats": {"4": 30.5},
                "colors": {"3": [1, 0, 0]}}},
    {"id": "glass", "type": "other", "classId": [7, 8]}
  ],
  "objects": [
    {"id": "wall", "type": "mesh", "mesh": {
      "vertices": [[0, 0, 0], [4, 0, 0], [4, 0, 3], [0, 0, 3]],
      "faces": [[0, 1, 2], [0, 2, 3]],
      "smoothingGroups": [1, 2],
      "materialIds": [0, 2],
      "normals": [[0, -1, 0], [0, -1, 0], [0, -1, 0], [0, -1, 0]],
      "mapChannels": [{"channel": 1, "vertices": [[0, 0], [1, 0], [1, 1], [0, 1, 0.5]], "faces": [[0, 1, 2], [0, 2, 3]]}]}},
    {"id": "path", "type": "shape", "splines": [{"closed": true, "knots": [{"point": [0, 0, 0]}, {"point": [1, 0, 0], "in": [0.5, 0, 0]}]}]},
    {"id": "stack", "type": "derived", "base": "wall", "modifiers": 2},
    {"id": "group", "type": "groupHead"},
    {"id": "cam", "type": "camera"}
  ],
  "nodes": [
    {"name": "Rooms", "object": "group", "children": [
      {"name": "Wall01", "object": "wall", "material": "walls", "transform": {"position": [1, 2, 3]},
       "userProperties": "VNXPart Walls\r\nColour = red", "wireColor": [255, 128, 0], "visibility": 0.5},
      "kitchen",
      {"name": "Wall02", "object": "stack", "material": "walls",
       "transform": [[0, 1, 0], [-1, 0, 0], [0, 0, 1], [10, 0, 0]],
       "objectOffset": {"position": [0, 0, 1], "eulerDegrees": [0, 0, 90], "scale": [2, 2, 2]}}
    ]},
    {"name": "Kitchen", "id": "kitchen", "object": "wall", "hidden": true, "worldSpaceModifier": true},
    {"name": "Camera", "object": "cam"},
    {"name": "Path", "object": "path"}
  ]
})";

TEST(SceneFileLoader, LoadsEveryPartOfAScene)
{
    SceneFiles files;
    auto host = LoadOrFail(files, kFullScene);
    ASSERT_TRUE(host);
    const std::string folder = files.Folder();

    EXPECT_EQ(std::string(host->GetCurFilePath()), folder + "/house.max");
    EXPECT_EQ(std::string(host->GetCurFileName()), "house.max");
    EXPECT_EQ(host->GetMasterUnitInfo().type, kHostUnitCentimeters);
    EXPECT_EQ(host->GetMasterUnitInfo().multiplier, 2.5);
    ASSERT_EQ(host->GetMapDirCount(), 3);
    EXPECT_EQ(std::string(host->GetMapDir(0)), folder + "/maps");
    EXPECT_EQ(std::string(host->GetMapDir(1)), "/opt/maps");
    EXPECT_EQ(std::string(host->GetMapDir(2)), folder + "/sub/textures");
    EXPECT_EQ(std::string(host->GetRootNode()->GetUserPropBuffer()), "OptGeom = true\nNote = x");

    // Hierarchy: nested children and the referenced node in the place of its reference.
    HostNode* root = host->GetRootNode();
    ASSERT_EQ(root->NumberOfChildren(), 3);
    HostNode* rooms = root->GetChildNode(0);
    EXPECT_EQ(std::string(rooms->GetName()), "Rooms");
    ASSERT_EQ(rooms->NumberOfChildren(), 3);
    EXPECT_EQ(std::string(rooms->GetChildNode(1)->GetName()), "Kitchen");
    EXPECT_EQ(rooms->GetChildNode(1)->GetParentNode(), rooms);
    EXPECT_EQ(std::string(root->GetChildNode(1)->GetName()), "Camera");
    EXPECT_EQ(rooms->GetObjectRef()->GetClassId(), kClassGroupHead);
    EXPECT_EQ(rooms->GetObjectRef()->GetSuperClassId(), kSuperClassHelper);

    HostNode* wall1 = host->GetNodeByName("Wall01");
    HostNode* wall2 = host->GetNodeByName("Wall02");
    HostNode* kitchen = host->GetNodeByName("Kitchen");
    ASSERT_TRUE(wall1 && wall2 && kitchen);
    EXPECT_EQ(wall1->GetObjectRef(), kitchen->GetObjectRef()); // one object, two nodes
    EXPECT_EQ(wall1->GetMaterial(), wall2->GetMaterial());
    EXPECT_EQ(std::string(wall1->GetUserPropBuffer()), "VNXPart Walls\r\nColour = red");
    EXPECT_EQ(wall1->GetWireColor(), 0x000080FFu);
    EXPECT_EQ(wall1->GetVisibility(0), 0.5f);
    EXPECT_TRUE(kitchen->IsHidden());
    EXPECT_TRUE(AreNearlyEqual(kitchen->GetObjTMAfterWSM(0), HostMatrix3::Identity(), 0));
    EXPECT_EQ(wall2->GetObjectRef()->GetSuperClassId(), kSuperClassDerivedObject);
    EXPECT_EQ(wall2->GetObjectRef()->GetNumModifiers(), 2);
    EXPECT_EQ(wall2->EvalWorldState(0), wall1->GetObjectRef());
    EXPECT_EQ(host->GetNodeByName("Path")->GetObjectRef()->GetShape()->splines[0].knots[1].inVec,
        (HostPoint3 {0.5f, 0, 0}));
    EXPECT_EQ(host->GetNodeByName("Camera")->GetObjectRef()->GetSuperClassId(), kSuperClassCamera);

    // Transforms are relative to the parent; the object offset adds to the node's.
    ExpectNear(wall1->GetNodeTM(0).rows[3], {1, 2, 3});
    ExpectNear(HostPoint3 {1, 0, 0} * wall2->GetNodeTM(0), {10, 1, 0});
    ExpectNear(wall2->GetObjOffsetScale(), {2, 2, 2});
    ExpectNear(HostPoint3 {1, 0, 0} * wall2->GetObjectTM(0), {8, 0, 1}); // scale, turn, lift, then the node
    ExpectNear(MakeRotationMatrix(wall2->GetObjOffsetRot()).rows[0], {0, 1, 0});

    // Mesh.
    HostMesh* mesh = wall1->GetObjectRef()->GetMesh();
    ASSERT_TRUE(mesh);
    EXPECT_EQ(mesh->GetNumVerts(), 4);
    ASSERT_EQ(mesh->GetNumFaces(), 2);
    EXPECT_EQ(mesh->GetFaces()[1].v[2], 3u);
    EXPECT_EQ(mesh->GetFaces()[1].smGroup, 2u);
    EXPECT_EQ(mesh->GetFaces()[1].GetMatId(), 2);
    EXPECT_TRUE(mesh->GetRenderVertex(0).specified);
    EXPECT_EQ(mesh->GetNumMaps(), 2);
    EXPECT_FALSE(mesh->GetMapSupport(0));
    ASSERT_TRUE(mesh->GetMapSupport(1));
    EXPECT_EQ(mesh->GetMapVerts(1)[3], (HostPoint3 {0, 1, 0.5f}));
    EXPECT_EQ(mesh->GetMapVerts(1)[1], (HostPoint3 {1, 0, 0}));
    EXPECT_EQ(mesh->GetMapFaces(1)[1].t[2], 3u);

    // Materials and textures.
    HostMaterial* walls = wall1->GetMaterial();
    EXPECT_EQ(walls->GetClassId(), kClassMultiMaterial);
    EXPECT_EQ(std::string(walls->GetName()), "walls"); // the id when there is no name
    ASSERT_EQ(walls->NumSubMtls(), 3);
    EXPECT_EQ(walls->GetSubMtl(1), nullptr);
    const HostMaterial* brick = walls->GetSubMtl(0);
    EXPECT_EQ(std::string(brick->GetName()), "Brick");
    const HostStandardMaterial* standard = brick->AsStandardMaterial();
    ASSERT_TRUE(standard);
    EXPECT_EQ(standard->GetDiffuse(), (HostColor {0.5f, 0.25f, 0.125f}));
    EXPECT_EQ(standard->GetAmbient(), (HostColor {0.6f, 0.6f, 0.6f}));
    EXPECT_FLOAT_EQ(standard->GetXParency(), 0.5f);
    EXPECT_TRUE(standard->GetTwoSided());
    EXPECT_EQ(standard->NumSubTexmaps(), 12);
    EXPECT_EQ(standard->GetSubTexmap(1), standard->GetSubTexmap(6));
    EXPECT_FLOAT_EQ(standard->GetTexmapAmount(1), 0.5f);
    EXPECT_FALSE(standard->GetMapEnabled(6));
    EXPECT_TRUE(standard->GetMapEnabled(2));
    ASSERT_TRUE(standard->GetShader());
    EXPECT_EQ(standard->GetShader()->GetClassId(), (HostClassId {0x61d55e21, 0x796562d3}));
    EXPECT_EQ(standard->GetShader()->GetParamInt(15), 2);
    EXPECT_EQ(standard->GetShader()->GetParamInt(16), 0);
    EXPECT_FLOAT_EQ(standard->GetShader()->GetParamFloat(4), 30.5f);
    EXPECT_EQ(standard->GetShader()->GetParamColor(3), (HostColor {1, 0, 0}));
    EXPECT_EQ(walls->GetSubMtl(2)->AsStandardMaterial(), nullptr);

    const HostTexture* wood = standard->GetSubTexmap(1);
    ASSERT_TRUE(wood && wood->AsBitmapTexture());
    EXPECT_EQ(wood->AsBitmapTexture()->GetMapName(), folder + "/textures/wood.png");
    EXPECT_EQ(wood->GetMapChannel(), 2);
    EXPECT_EQ(wood->AsBitmapTexture()->GetFilterType(), 2);
    EXPECT_EQ(wood->AsBitmapTexture()->GetBitmap(), nullptr); // no such file
}

TEST(SceneFileLoader, ReadsTexturesAndTheirImages)
{
    SceneFiles files;
    // The host decodes the image file: a 3 x 2 TGA whose top-left pixel is red and half transparent.
    std::vector<Rgba> pixels(6, Rgba {0, 0, 255, 255});
    pixels[0] = {255, 0, 0, 128};
    files.Write("wood.tga", EncodeTga(3, 2, pixels));
    // A PNG whose header is fine but whose image data is missing cannot be decoded: no bitmap.
    std::string png = "\x89PNG\r\n\x1a\n";
    png += std::string("\0\0\0\x0dIHDR\0\0\0\x03\0\0\0\x02\x08\x06", 18);
    png += std::string(20, '\0');
    files.Write("broken.png", png);
    auto host = LoadOrFail(files, MakeScene(R"(
      "textures": [
        {"id": "wood", "file": "wood.tga"},
        {"id": "sky", "type": "cubeMap", "faces": ["px.png", "nx.png", "py.png", "ny.png", "pz.png", "/nz.png"]},
        {"id": "gone", "file": "/nowhere/gone.tga",
         "bitmap": {"width": 2, "height": 1, "hasAlpha": true, "pixels": [[255, 0, 0, 255], [0, 0, 1, 0]]}},
        {"id": "noise", "type": "other", "classId": [4660, 1], "subTextures": [null, "wood"]},
        {"id": "broken", "file": "broken.png"},
        {"id": "checker", "type": "checker", "colors": [[1, 0, 0], [0, 0, 1]], "tiles": 2},
        {"id": "gradient", "type": "gradient", "colors": [[1, 1, 1], [0.5, 0.5, 0.5], [0, 0, 0]]},
        {"id": "windows", "file": "c:\\maps\\Wood.TGA"}
      ],
      "materials": [{"id": "m", "maps": [{"channel": 0, "texture": "wood"}, {"channel": 1, "texture": "sky"},
                                         {"channel": 2, "texture": "gone"}, {"channel": 3, "texture": "noise"},
                                         {"channel": 4, "texture": "broken"}, {"channel": 5, "texture": "checker"},
                                         {"channel": 6, "texture": "gradient"}, {"channel": 7, "texture": "windows"}]}],
      "objects": [{"id": "o", "type": "helper"}],
      "nodes": [{"name": "N", "object": "o", "material": "m"}])"));
    ASSERT_TRUE(host);
    const HostMaterial* material = host->GetNodeByName("N")->GetMaterial();
    const HostBitmap* image = material->GetSubTexmap(0)->AsBitmapTexture()->GetBitmap();
    ASSERT_TRUE(image && image->HasPixels());
    EXPECT_EQ(image->width, 3);
    EXPECT_EQ(image->height, 2);
    EXPECT_TRUE(image->hasAlpha);
    EXPECT_EQ(image->GetRow(0)[0], (HostPixel64 {65535, 0, 0, 128 * 257}));
    EXPECT_EQ(image->GetRow(1)[2], (HostPixel64 {0, 0, 65535, 65535}));
    EXPECT_EQ(material->GetSubTexmap(4)->AsBitmapTexture()->GetBitmap(), nullptr);

    const HostTexture* sky = material->GetSubTexmap(1);
    EXPECT_EQ(sky->GetClassId(), kClassCubeMapTexture);
    EXPECT_EQ(sky->AsBitmapTexture(), nullptr);
    EXPECT_EQ(sky->GetParamText(10, 0), files.Folder() + "/px.png");
    EXPECT_STREQ(sky->GetParamText(10, 5), "/nz.png");
    EXPECT_STREQ(sky->GetParamText(10, 6), "");

    const HostBitmap* declared = material->GetSubTexmap(2)->AsBitmapTexture()->GetBitmap();
    ASSERT_TRUE(declared && declared->HasPixels());
    EXPECT_EQ(declared->GetRow(0)[0], (HostPixel64 {65535, 0, 0, 65535}));
    EXPECT_EQ(declared->GetRow(0)[1], (HostPixel64 {0, 0, 257, 0}));

    const HostTexture* noise = material->GetSubTexmap(3);
    EXPECT_EQ(noise->GetSubTexmap(1), material->GetSubTexmap(0));
    EXPECT_EQ(noise->RenderBitmap(256, 256), nullptr);

    // Checker and gradient render into the requested size; the other texture renders nothing.
    const HostBitmap* checker = material->GetSubTexmap(5)->RenderBitmap(4, 4);
    ASSERT_TRUE(checker && checker->HasPixels());
    EXPECT_EQ(material->GetSubTexmap(5)->GetClassId(), (HostClassId {0x200, 0}));
    EXPECT_EQ(checker->GetRow(0)[0], (HostPixel64 {65535, 0, 0, 65535}));
    EXPECT_EQ(checker->GetRow(0)[2], (HostPixel64 {0, 0, 65535, 65535}));
    EXPECT_EQ(checker->GetRow(3)[3], (HostPixel64 {65535, 0, 0, 65535}));
    const HostBitmap* gradient = material->GetSubTexmap(6)->RenderBitmap(2, 3);
    ASSERT_TRUE(gradient && gradient->HasPixels());
    EXPECT_EQ(gradient->GetRow(0)[1], (HostPixel64 {65535, 65535, 65535, 65535}));
    EXPECT_EQ(gradient->GetRow(1)[0].r, 32768);
    EXPECT_EQ(gradient->GetRow(2)[0], (HostPixel64 {0, 0, 0, 65535}));
    EXPECT_EQ(material->GetSubTexmap(6)->RenderBitmap(0, 256), nullptr);

    // A Windows path stays as written; the file is not here, so there is no bitmap.
    const HostBitmapTexture* windows = material->GetSubTexmap(7)->AsBitmapTexture();
    EXPECT_STREQ(windows->GetMapName(), "c:\\maps\\Wood.TGA");
    EXPECT_EQ(windows->GetBitmap(), nullptr);
}

TEST(SceneFileLoader, ReadsLargeArraysFromASideFile)
{
    SceneFiles files;
    Bytes bin;
    bin.Add<std::uint32_t>({0xDEADBEEF}); // something before the arrays
    const size_t vertices = bin.Size();
    bin.Add<float>({0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1, 0});
    const size_t faces = bin.Size();
    bin.Add<std::uint16_t>({0, 1, 2, 0, 2, 3});
    const size_t groups = bin.Size();
    bin.Add<std::uint32_t>({1, 0x80000000u});
    const size_t ids = bin.Size();
    bin.Add<std::uint16_t>({7, 65535});
    const size_t uvs = bin.Size();
    bin.Add<float>({0, 0, 1, 0, 1, 1, 0, 1});
    const size_t mapFaces = bin.Size();
    bin.Add<std::uint32_t>({0, 1, 2, 0, 2, 3});
    files.Write("mesh.bin", bin.Data());
    const auto ref = [](size_t offset, int count, const char* type) {
        return R"({"buffer": 0, "offset": )" + std::to_string(offset) + R"(, "count": )"
            + std::to_string(count) + R"(, "type": ")" + type + "\"}";
    };
    auto host = LoadOrFail(files,
        MakeScene(R"("buffers": [{"uri": "mesh.bin", "byteLength": )" + std::to_string(bin.Size()) + R"(}],
      "objects": [{"id": "quad", "type": "mesh", "mesh": {
        "vertices": )"
            + ref(vertices, 4, "f32x3") + R"(, "faces": )" + ref(faces, 2, "u16x3")
            + R"(, "smoothingGroups": )" + ref(groups, 2, "u32") + R"(, "materialIds": )" + ref(ids, 2, "u16")
            + R"(,
        "mapChannels": [{"channel": 1, "vertices": )"
            + ref(uvs, 4, "f32x2") + R"(, "faces": )" + ref(mapFaces, 2, "u32x3") + R"(}]}},
      {"id": "again", "type": "mesh", "mesh": {"vertices": )"
            + ref(vertices + 12, 3, "f32x3") + R"(, "faces": )" + ref(faces, 1, "u16x3") + R"(}}],
      "nodes": [{"name": "Quad", "object": "quad"}, {"name": "Again", "object": "again"}])"));
    ASSERT_TRUE(host);
    const HostMesh* mesh = host->GetNodeByName("Quad")->GetObjectRef()->GetMesh();
    ASSERT_TRUE(mesh);
    ASSERT_EQ(mesh->GetNumVerts(), 4);
    EXPECT_EQ(mesh->GetVerts()[2], (HostPoint3 {1, 1, 0}));
    ASSERT_EQ(mesh->GetNumFaces(), 2);
    EXPECT_EQ(mesh->GetFaces()[1].v[1], 2u);
    EXPECT_EQ(mesh->GetFaces()[1].smGroup, 0x80000000u);
    EXPECT_EQ(mesh->GetFaces()[1].GetMatId(), 65535);
    EXPECT_EQ(mesh->GetMapVerts(1)[2], (HostPoint3 {1, 1, 0}));
    EXPECT_EQ(mesh->GetMapFaces(1)[1].t[2], 3u);
    // A later object may read earlier parts of the file again.
    const HostMesh* again = host->GetNodeByName("Again")->GetObjectRef()->GetMesh();
    ASSERT_TRUE(again);
    ASSERT_EQ(again->GetNumVerts(), 3);
    EXPECT_EQ(again->GetVerts()[0], (HostPoint3 {1, 0, 0}));
    EXPECT_EQ(again->GetVerts()[2], (HostPoint3 {0, 1, 0}));
    ASSERT_EQ(again->GetNumFaces(), 1);
    EXPECT_EQ(again->GetFaces()[0].v[2], 2u);
}

// The loader reads a side file a few megabytes at a time. Arrays inside the piece read last,
// arrays larger than a piece, arrays that start in one piece and end in the next, and arrays read
// again after later ones must all arrive whole.
TEST(SceneFileLoader, ReadsSideFileArraysAcrossItsReadPieces)
{
    const auto point = [](std::uint32_t i) {
        return HostPoint3 {static_cast<float>(i), static_cast<float>(i % 1000), -static_cast<float>(i)};
    };
    constexpr std::uint32_t kBig = 500000; // 6 MB of vertices
    constexpr std::uint32_t kSmall = 300000; // 3.6 MB, starting 3 MB into the file
    std::string bin(3 << 20, '\x7f');
    const size_t small = bin.size();
    const auto addPoints = [&bin, &point](std::uint32_t count) {
        for (std::uint32_t i = 0; i < count; ++i) {
            const HostPoint3 p = point(i);
            const float xyz[3] = {p.x, p.y, p.z};
            bin.append(reinterpret_cast<const char*>(xyz), sizeof xyz);
        }
    };
    addPoints(kSmall);
    const size_t big = bin.size();
    addPoints(kBig);
    SceneFiles files;
    files.Write("big.bin", bin);
    const auto ref = [](size_t offset, std::uint32_t count) {
        return R"({"buffer": 0, "offset": )" + std::to_string(offset) + R"(, "count": )"
            + std::to_string(count) + R"(, "type": "f32x3"})";
    };
    const auto mesh = [](const std::string& id, const std::string& vertices) {
        return R"({"id": ")" + id + R"(", "type": "mesh", "mesh": {"vertices": )" + vertices
            + R"(, "faces": [[0, 1, 2]]}})";
    };
    auto host = LoadOrFail(files,
        MakeScene(R"("buffers": [{"uri": "big.bin"}], "objects": [)" + mesh("small", ref(small, kSmall))
            + ", " + mesh("inside", ref(small + 12 * 1000, 5)) + ", " + mesh("big", ref(big, kBig)) + ", "
            + mesh("back", ref(small + 12 * 2000, 7)) + R"(],
      "nodes": [{"name": "Small", "object": "small"}, {"name": "Inside", "object": "inside"},
        {"name": "Big", "object": "big"}, {"name": "Back", "object": "back"}])"));
    ASSERT_TRUE(host);
    const auto check = [&](const char* name, std::uint32_t count, std::uint32_t first) {
        SCOPED_TRACE(name);
        const HostMesh* read = host->GetNodeByName(name)->GetObjectRef()->GetMesh();
        ASSERT_TRUE(read);
        ASSERT_EQ(read->GetNumVerts(), static_cast<int>(count));
        const HostArray<HostPoint3> verts = read->GetVerts();
        for (std::uint32_t i = 0; i < count; ++i)
            if (!(verts[i] == point(first + i)))
                return ADD_FAILURE() << "vertex " << i << " differs";
    };
    check("Small", kSmall, 0);
    check("Inside", 5, 1000); // within the piece read for Small
    check("Big", kBig, 0);
    check("Back", 7, 2000); // before the piece read last
}

TEST(SceneFileLoader, BuildsTheTreeFromNestingAndReferences)
{
    SceneFiles files;
    // A flat list: every node top-level, children by reference; the order of the references wins.
    auto host = LoadOrFail(files, MakeScene(R"("nodes": [
        {"name": "C", "id": "c"},
        {"name": "House", "children": ["b", "a"]},
        {"name": "A", "id": "a", "children": ["c", {"name": "Inline"}]},
        {"name": "B", "id": "b"}])"));
    ASSERT_TRUE(host);
    const HostNode* root = host->GetRootNode();
    ASSERT_EQ(root->NumberOfChildren(), 1);
    const HostNode* house = root->GetChildNode(0);
    ASSERT_EQ(house->NumberOfChildren(), 2);
    EXPECT_EQ(std::string(house->GetChildNode(0)->GetName()), "B");
    const HostNode* a = house->GetChildNode(1);
    EXPECT_EQ(std::string(a->GetName()), "A");
    ASSERT_EQ(a->NumberOfChildren(), 2);
    EXPECT_EQ(std::string(a->GetChildNode(0)->GetName()), "C");
    EXPECT_EQ(std::string(a->GetChildNode(1)->GetName()), "Inline");
    EXPECT_EQ(host->GetNodeCount(), 6u); // with the root
}

TEST(SceneFileLoader, AnEmptySceneIsAnUnsavedSceneInMetres)
{
    SceneFiles files;
    auto host = LoadOrFail(files, MakeScene(""));
    ASSERT_TRUE(host);
    EXPECT_EQ(host->GetRootNode()->NumberOfChildren(), 0);
    EXPECT_EQ(std::string(host->GetCurFileName()), "");
    EXPECT_EQ(host->GetMasterUnitInfo().type, kHostUnitMeters);
    EXPECT_EQ(host->GetMasterUnitInfo().multiplier, 1.0);
    EXPECT_EQ(host->GetMapDirCount(), 0);
}

} // namespace
} // namespace vx
