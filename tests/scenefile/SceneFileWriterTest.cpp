// Scenes written as scene files and read back: the writer writes what the loader reads, nothing of
// the scene is lost on the way, long arrays go to the side file, and the text conforms to the
// published schema.

#include "JsonSchemaCheck.h"
#include "SceneFileTestSupport.h"

#include "memoryhost/MemoryObject.h"
#include "scenefile/SceneFileWriter.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <set>

namespace vxtest {
namespace {

using namespace vx;

std::filesystem::path GetSourceDir()
{
    if (const char* dir = std::getenv("VX_SOURCE_DIR"))
        return dir;
    return std::filesystem::path(__FILE__).parent_path().parent_path().parent_path();
}

std::string ReadBytes(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

// Compares what the exporter can ask of two scenes, node by node in depth-first order, and that
// the same nodes share objects and materials in both.
class SceneComparison {
public:
    void Compare(const HostNode& a, const HostNode& b)
    {
        SCOPED_TRACE(a.GetName());
        EXPECT_STREQ(a.GetName(), b.GetName());
        EXPECT_TRUE(AreNearlyEqual(a.GetNodeTM(0), b.GetNodeTM(0), 1e-5f));
        EXPECT_TRUE(AreNearlyEqual(a.GetObjectTM(0), b.GetObjectTM(0), 1e-5f));
        EXPECT_TRUE(AreNearlyEqual(a.GetObjTMAfterWSM(0), b.GetObjTMAfterWSM(0), 1e-5f));
        EXPECT_STREQ(a.GetUserPropBuffer(), b.GetUserPropBuffer());
        EXPECT_EQ(a.GetWireColor(), b.GetWireColor());
        EXPECT_EQ(a.GetVisibility(0), b.GetVisibility(0));
        EXPECT_EQ(a.IsHidden(), b.IsHidden());
        CompareObjects(a.GetObjectRef(), b.GetObjectRef());
        CompareMaterials(a.GetMaterial(), b.GetMaterial());
        ASSERT_EQ(a.NumberOfChildren(), b.NumberOfChildren());
        for (int i = 0; i < a.NumberOfChildren(); ++i)
            Compare(*a.GetChildNode(i), *b.GetChildNode(i));
    }

private:
    // True when a was seen before; then b must be its partner from then.
    template <typename T> bool Pair(const T* a, const T* b)
    {
        const auto [at, added] = pairs_.emplace(a, b);
        EXPECT_EQ(at->second, static_cast<const void*>(b)) << "sharing differs";
        return !added;
    }

    void CompareObjects(const HostObject* a, const HostObject* b)
    {
        ASSERT_EQ(a == nullptr, b == nullptr);
        if (!a || Pair(a, b))
            return;
        EXPECT_EQ(a->GetSuperClassId(), b->GetSuperClassId());
        EXPECT_EQ(a->GetClassId(), b->GetClassId());
        EXPECT_EQ(a->GetNumModifiers(), b->GetNumModifiers());
        CompareObjects(a->GetReferencedObject(), b->GetReferencedObject());
        const HostMesh* meshA = a->GetRenderMesh(0, nullptr);
        const HostMesh* meshB = b->GetRenderMesh(0, nullptr);
        ASSERT_EQ(meshA == nullptr, meshB == nullptr);
        if (meshA) {
            EXPECT_TRUE(std::ranges::equal(meshA->GetVerts(), meshB->GetVerts()));
            ASSERT_EQ(meshA->GetNumFaces(), meshB->GetNumFaces());
            for (int f = 0; f < meshA->GetNumFaces(); ++f) {
                const HostFace fa = meshA->GetFaces()[f], fb = meshB->GetFaces()[f];
                EXPECT_TRUE(std::ranges::equal(fa.v, fb.v) && fa.smGroup == fb.smGroup
                    && fa.GetMatId() == fb.GetMatId());
            }
            ASSERT_EQ(meshA->GetNumMaps(), meshB->GetNumMaps());
            for (int c = 0; c < meshA->GetNumMaps(); ++c) {
                EXPECT_TRUE(std::ranges::equal(meshA->GetMapVerts(c), meshB->GetMapVerts(c)));
                EXPECT_EQ(meshA->GetMapFaces(c).size(), meshB->GetMapFaces(c).size());
            }
            for (int v = 0; v < meshA->GetNumVerts(); ++v)
                EXPECT_EQ(meshA->GetRenderVertex(v).specified, meshB->GetRenderVertex(v).specified);
        }
        const HostShape* shapeA = a->GetShape();
        const HostShape* shapeB = b->GetShape();
        ASSERT_EQ(shapeA == nullptr, shapeB == nullptr);
        if (shapeA) {
            ASSERT_EQ(shapeA->splines.size(), shapeB->splines.size());
            for (size_t s = 0; s < shapeA->splines.size(); ++s) {
                EXPECT_EQ(shapeA->splines[s].closed, shapeB->splines[s].closed);
                EXPECT_EQ(shapeA->splines[s].knots.size(), shapeB->splines[s].knots.size());
            }
        }
    }

    void CompareMaterials(const HostMaterial* a, const HostMaterial* b)
    {
        ASSERT_EQ(a == nullptr, b == nullptr);
        if (!a || Pair(a, b))
            return;
        SCOPED_TRACE(a->GetName());
        EXPECT_STREQ(a->GetName(), b->GetName());
        EXPECT_EQ(a->GetClassId(), b->GetClassId());
        EXPECT_EQ(a->GetDiffuse(), b->GetDiffuse());
        EXPECT_EQ(a->GetSpecular(), b->GetSpecular());
        EXPECT_EQ(a->GetShininess(), b->GetShininess());
        EXPECT_EQ(a->GetXParency(), b->GetXParency());
        EXPECT_EQ(a->GetSelfIllumColor(), b->GetSelfIllumColor());
        const auto* standardA = a->AsStandardMaterial();
        const auto* standardB = b->AsStandardMaterial();
        ASSERT_EQ(standardA == nullptr, standardB == nullptr);
        if (standardA) {
            EXPECT_EQ(standardA->GetTwoSided(), standardB->GetTwoSided());
            EXPECT_EQ(standardA->GetShading(), standardB->GetShading());
            EXPECT_EQ(standardA->GetShader() == nullptr, standardB->GetShader() == nullptr);
        }
        ASSERT_EQ(a->NumSubMtls(), b->NumSubMtls());
        for (int i = 0; i < a->NumSubMtls(); ++i)
            CompareMaterials(a->GetSubMtl(i), b->GetSubMtl(i));
        ASSERT_EQ(a->NumSubTexmaps(), b->NumSubTexmaps());
        for (int i = 0; i < a->NumSubTexmaps(); ++i)
            CompareTextures(a->GetSubTexmap(i), b->GetSubTexmap(i));
    }

    void CompareTextures(const HostTexture* a, const HostTexture* b)
    {
        ASSERT_EQ(a == nullptr, b == nullptr);
        if (!a || Pair(a, b))
            return;
        SCOPED_TRACE(a->GetName());
        EXPECT_STREQ(a->GetName(), b->GetName());
        EXPECT_EQ(a->GetClassId(), b->GetClassId());
        EXPECT_EQ(a->GetMapChannel(), b->GetMapChannel());
        EXPECT_EQ(a->GetUVWSource(), b->GetUVWSource());
        for (int face = 0; face < 6; ++face)
            EXPECT_STREQ(a->GetParamText(10, face), b->GetParamText(10, face));
        const auto* bitmapA = a->AsBitmapTexture();
        const auto* bitmapB = b->AsBitmapTexture();
        ASSERT_EQ(bitmapA == nullptr, bitmapB == nullptr);
        if (bitmapA) {
            EXPECT_STREQ(bitmapA->GetMapName(), bitmapB->GetMapName());
            const HostBitmap* imageA = bitmapA->GetBitmap();
            const HostBitmap* imageB = bitmapB->GetBitmap();
            ASSERT_EQ(imageA == nullptr, imageB == nullptr);
            if (imageA) {
                EXPECT_TRUE(std::ranges::equal(imageA->pixels, imageB->pixels));
            }
        }
        const HostBitmap* renderedA = a->RenderBitmap(4, 4);
        const HostBitmap* renderedB = b->RenderBitmap(4, 4);
        ASSERT_EQ(renderedA == nullptr, renderedB == nullptr);
        if (renderedA) {
            EXPECT_TRUE(std::ranges::equal(renderedA->pixels, renderedB->pixels));
        }
        ASSERT_EQ(a->NumSubTexmaps(), b->NumSubTexmaps());
        for (int i = 0; i < a->NumSubTexmaps(); ++i)
            CompareTextures(a->GetSubTexmap(i), b->GetSubTexmap(i));
    }

    std::map<const void*, const void*> pairs_;
};

// Every kind of declaration the format has, with names that collide as ids would.
constexpr const char* kRichScene = R"({"format": "varnex-scene", "version": 1,
  "sceneFile": "rich.max", "unit": {"type": 9, "multiplier": 2.5}, "mapDirectories": ["maps"],
  "timeline": {"ticksPerFrame": 80, "start": 5, "end": 50},
  "rootUserProperties": "OptGeom = true",
  "textures": [
    {"id": "px", "name": "same", "file": "c:\\maps\\px.tga", "filterType": 2, "alphaSource": 3, "mapChannel": 2,
     "bitmap": {"width": 2, "height": 1, "hasAlpha": true, "pixels": [[1, 2, 3, 4], [250, 251, 252, 253]]}},
    {"id": "cube", "type": "cubeMap", "faces": ["a.png", "", "c.png", "d.png", "e.png", "f.png"]},
    {"id": "check", "name": "same", "type": "checker", "colors": [[1, 0, 0], [0, 0, 1]], "tiles": 4},
    {"id": "grad", "type": "gradient", "subTextures": ["check", null]},
    {"id": "odd", "type": "other", "classId": [7, 8], "uvwSource": 3}],
  "materials": [
    {"id": "m1", "name": "same", "diffuse": [0.1, 0.2, 0.3], "opacity": 0.25, "twoSided": true, "shading": 0,
     "selfIllumColorOn": true, "selfIllumColor": [1, 1, 0], "wire": true, "wireSize": 3, "faceted": true,
     "maps": [{"channel": 1, "texture": "px", "amount": 0.5}, {"channel": 8, "texture": "cube", "enabled": false},
              {"channel": 20, "texture": "grad"}, {"channel": 21, "texture": "odd"}],
     "shader": {"classId": [56, 0], "diffuse": [0, 1, 0], "ints": {"9": 1}, "floats": {"3": 0.5}, "colors": {"4": [1, 0, 1]}}},
    {"id": "m2", "name": "same", "type": "multi", "subMaterials": ["m1", null, "m3"]},
    {"id": "m3", "type": "doubleSided", "subMaterials": ["m1"]}],
  "objects": [
    {"id": "tri", "type": "editableMesh", "mesh": {"vertices": [[0, 0, 0], [1, 0, 0], [0, 1, 0], [1, 1, 1]],
      "faces": [[0, 1, 2], [1, 3, 2]], "smoothingGroups": [1, 3], "materialIds": [0, 2],
      "normals": [[0, 0, 1], [0, 0, 1], [0, 0, 1], [0, 1, 0]],
      "mapChannels": [{"channel": 1, "vertices": [[0, 0], [1, 0], [0, 1, 0.5]], "faces": [[0, 1, 2], [1, 1, 2]]},
                      {"channel": 3, "vertices": [[0.25, 0.75, 0]], "faces": [[0, 0, 0], [0, 0, 0]]}]}},
    {"id": "box", "type": "geometry", "classId": [16, 32], "mesh": {"vertices": [[0, 0, 0], [2, 0, 0], [0, 2, 0]], "faces": [[0, 1, 2]]}},
    {"id": "line", "type": "shape", "splines": [{"closed": true, "knots": [{"point": [0, 0, 0]}, {"point": [1, 0, 0], "in": [0.5, 0, 0]}]}]},
    {"id": "stack", "type": "derived", "base": "tri", "modifiers": 3},
    {"id": "cam", "type": "camera"}, {"id": "lamp", "type": "light"}, {"id": "point", "type": "helper"},
    {"id": "group", "type": "groupHead"}],
  "nodes": [
    {"name": "Group", "object": "group", "transform": {"position": [1, 2, 3], "eulerDegrees": [10, 20, 30]},
     "children": [
       {"name": "Tri", "object": "tri", "material": "m2", "objectOffset": {"position": [0, 0, 1], "scale": [1, 2, 1]},
        "userProperties": ["VNXPart Windows", "Colour = red"], "wireColor": [1, 2, 3], "visibility": 0.5},
       {"name": "Tri", "object": "tri", "material": "m2", "hidden": true, "worldSpaceModifier": true},
       {"name": "Stack", "object": "stack", "material": "m3"}]},
    {"name": "Box", "object": "box", "material": "m1", "transform": [[2, 0, 0], [0, 1, 0], [0, 0, 1], [5, 5, 5]]},
    {"name": "Line", "object": "line"}, {"name": "Cam", "object": "cam"}, {"name": "Lamp", "object": "lamp"},
    {"name": "Point", "object": "point"}, {"name": "Empty"}]})";

class SceneFileWriter : public testing::Test {
protected:
    // Writes host as name in the test folder and loads it again.
    std::unique_ptr<MemoryHost> WriteAndLoad(
        const MemoryHost& host, const std::string& name, size_t maxInline)
    {
        const auto error = WriteSceneFile(host, files.Folder() + "/" + name, SceneWriteOptions {maxInline});
        EXPECT_FALSE(error) << error->file << ": " << error->message;
        SceneLoadResult loaded = LoadSceneFile(files.Folder() + "/" + name);
        EXPECT_TRUE(loaded.scene) << (loaded.error ? loaded.error->GetText() : "");
        return std::move(loaded.scene);
    }

    SceneFiles files;
};

TEST_F(SceneFileWriter, WrittenScenesLoadBackEqualInlineAndWithSideFile)
{
    const std::string examples = (GetSourceDir() / "examples" / "house" / "house.json").string();
    const std::string rich = files.Write("rich.json", kRichScene);
    for (const std::string& source : {examples, rich}) {
        SceneLoadResult original = LoadSceneFile(source);
        ASSERT_TRUE(original.scene) << original.error->GetText();
        for (const size_t maxInline : {size_t(1024), size_t(2)}) {
            SCOPED_TRACE(source + " inline up to " + std::to_string(maxInline));
            auto first = WriteAndLoad(*original.scene, "first.json", maxInline);
            ASSERT_TRUE(first);
            SceneComparison().Compare(*original.scene->GetRootNode(), *first->GetRootNode());
            EXPECT_EQ(std::string(first->GetCurFilePath()), original.scene->GetCurFilePath());
            EXPECT_EQ(first->GetMasterUnitInfo().type, original.scene->GetMasterUnitInfo().type);
            EXPECT_EQ(first->GetMasterUnitInfo().multiplier, original.scene->GetMasterUnitInfo().multiplier);
            EXPECT_EQ(first->GetMapDirCount(), original.scene->GetMapDirCount());
            EXPECT_EQ(first->GetAnimRange(), original.scene->GetAnimRange());
            EXPECT_EQ(first->GetTicksPerFrame(), original.scene->GetTicksPerFrame());
            EXPECT_STREQ(first->GetRootNode()->GetUserPropBuffer(),
                original.scene->GetRootNode()->GetUserPropBuffer());
            EXPECT_EQ(std::filesystem::exists(files.Folder() + "/first.bin"), maxInline == 2);
            // Written again, the scene gives the same text: nothing drifts from one pass to the next.
            auto second = WriteAndLoad(*first, "second.json", maxInline);
            ASSERT_TRUE(second);
            std::string firstText = ReadBytes(files.Folder() + "/first.json");
            std::string secondText = ReadBytes(files.Folder() + "/second.json");
            if (maxInline == 2) {
                EXPECT_EQ(
                    ReadBytes(files.Folder() + "/first.bin"), ReadBytes(files.Folder() + "/second.bin"));
                secondText.replace(secondText.find("second.bin"), 10, "first.bin");
            }
            EXPECT_EQ(firstText, secondText);
            std::filesystem::remove(files.Folder() + "/first.bin");
            std::filesystem::remove(files.Folder() + "/second.bin");
        }
    }
}

TEST_F(SceneFileWriter, WrittenTextConformsToTheSchema)
{
    SceneLoadResult original = LoadSceneFile(files.Write("rich.json", kRichScene));
    ASSERT_TRUE(original.scene);
    for (const size_t maxInline : {size_t(1024), size_t(2)}) {
        ASSERT_FALSE(
            WriteSceneFile(*original.scene, files.Folder() + "/out.json", SceneWriteOptions {maxInline}));
        std::ifstream schemaFile(GetSourceDir() / "docs" / "scene-format.schema.json");
        const nlohmann::json schema = nlohmann::json::parse(schemaFile);
        const nlohmann::json document = nlohmann::json::parse(ReadBytes(files.Folder() + "/out.json"));
        const std::vector<std::string> errors = CheckAgainstSchema(schema, document);
        EXPECT_TRUE(errors.empty()) << errors.front();
        // Declarations have distinct ids even where names are equal.
        std::set<std::string> ids;
        for (const auto& material : document["materials"])
            ids.insert(material["id"].get<std::string>());
        EXPECT_EQ(ids, (std::set<std::string> {"same", "same#2", "m3"}));
    }
}

TEST_F(SceneFileWriter, UnwritableFileIsReportedWithItsName)
{
    MemoryHost host;
    const std::string path = files.Folder() + "/missing-folder/scene.json";
    const auto error = WriteSceneFile(host, path);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->file, path);
    EXPECT_FALSE(error->message.empty());
}

} // namespace
} // namespace vxtest
