// The shipped example scene: it loads, conforms to the published schema, and shows every feature
// that it is there to demonstrate.

#include "JsonSchemaCheck.h"

#include "host/HostUserProperties.h"
#include "scenefile/SceneFileLoader.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>

namespace vx {
namespace {

std::filesystem::path GetSourceDir()
{
    if (const char* dir = std::getenv("VX_SOURCE_DIR"))
        return dir;
    return std::filesystem::path(__FILE__).parent_path().parent_path().parent_path();
}

nlohmann::json ReadJson(const std::filesystem::path& path)
{
    std::ifstream file(path);
    return nlohmann::json::parse(file);
}

std::vector<const HostNode*> CollectNodes(const HostNode* root)
{
    std::vector<const HostNode*> nodes;
    std::vector<const HostNode*> pending {root};
    while (!pending.empty()) {
        const HostNode* node = pending.back();
        pending.pop_back();
        if (node != root)
            nodes.push_back(node);
        for (int i = 0; i < node->NumberOfChildren(); ++i)
            pending.push_back(node->GetChildNode(i));
    }
    return nodes;
}

bool HasLineStartingWith(const HostNode* node, const std::string& start, std::string* rest = nullptr)
{
    const std::string text = node->GetUserPropBuffer();
    size_t begin = 0;
    while (begin <= text.size()) {
        size_t end = text.find('\n', begin);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(begin, end - begin);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.rfind(start, 0) == 0) {
            if (rest)
                *rest = line.substr(start.size());
            return true;
        }
        begin = end + 1;
    }
    return false;
}

class HouseExample : public testing::Test {
protected:
    void SetUp() override
    {
        folder_ = GetSourceDir() / "examples" / "house";
        SceneLoadResult result = LoadSceneFile((folder_ / "house.json").string());
        ASSERT_FALSE(result.error) << result.error->GetText();
        host_ = std::move(result.scene);
        nodes_ = CollectNodes(host_->GetRootNode());
    }

    std::filesystem::path folder_;
    std::unique_ptr<MemoryHost> host_;
    std::vector<const HostNode*> nodes_;
};

TEST_F(HouseExample, ConformsToTheSchema)
{
    const nlohmann::json schema = ReadJson(GetSourceDir() / "docs" / "scene-format.schema.json");
    const std::vector<std::string> errors
        = vxtest::CheckAgainstSchema(schema, ReadJson(folder_ / "house.json"));
    EXPECT_TRUE(errors.empty()) << errors.front();
}

TEST_F(HouseExample, UsesAUnitOtherThanMetresAndKnowsItsFile)
{
    EXPECT_EQ(host_->GetMasterUnitInfo().type, kHostUnitCentimeters);
    EXPECT_EQ(std::string(host_->GetCurFileName()), "house.max");
    EXPECT_EQ(std::string(std::filesystem::path(host_->GetCurFilePath()).parent_path()),
        folder_.lexically_normal());
}

TEST_F(HouseExample, HasGroupsAndNodesThatShareObjects)
{
    int groups = 0;
    std::map<const HostObject*, int> users;
    for (const HostNode* node : nodes_) {
        const HostObject* object = node->GetObjectRef();
        ASSERT_TRUE(object) << node->GetName();
        if (object->GetClassId() == kClassGroupHead && node->NumberOfChildren() > 0)
            ++groups;
        ++users[object];
    }
    EXPECT_GE(groups, 2);
    int shared = 0;
    for (const auto& [object, count] : users)
        if (object->GetSuperClassId() == kSuperClassGeometry && count >= 2)
            ++shared;
    EXPECT_GE(shared, 2);
}

TEST_F(HouseExample, HasAMultiSubObjectMaterialWhoseIdsAreUsed)
{
    bool found = false;
    for (const HostNode* node : nodes_) {
        const HostMaterial* material = node->GetMaterial();
        if (!material || material->GetClassId() != kClassMultiMaterial || material->NumSubMtls() < 2)
            continue;
        const HostMesh* mesh = node->EvalWorldState(0)->GetRenderMesh(0, node);
        ASSERT_TRUE(mesh);
        for (const HostFace& face : mesh->GetFaces())
            found = found || face.GetMatId() > 0;
    }
    EXPECT_TRUE(found);
}

TEST_F(HouseExample, HasTheDesignUserProperties)
{
    int instances = 0, parts = 0, scalables = 0, plain = 0;
    for (const HostNode* node : nodes_) {
        std::string rest;
        if (HasLineStartingWith(node, "ZRInstance ", &rest)) {
            ++instances;
            EXPECT_NE(host_->GetNodeByName(rest), nullptr) << "template " << rest;
        }
        parts += HasLineStartingWith(node, "VNXPart") ? 1 : 0;
        scalables += HasLineStartingWith(node, "VNXScalable") ? 1 : 0;
        plain += FindUserPropValue(node->GetUserPropBuffer(), "Manufacturer").has_value() ? 1 : 0;
    }
    EXPECT_GE(instances, 2);
    EXPECT_GE(parts, 1);
    EXPECT_GE(scalables, 1);
    EXPECT_GE(plain, 1);
}

TEST_F(HouseExample, ShipsItsTextureImageAndSideFile)
{
    bool textured = false;
    for (const HostNode* node : nodes_) {
        const HostMaterial* material = node->GetMaterial();
        const HostTexture* texture = material ? material->GetSubTexmap(1) : nullptr;
        if (!texture || !texture->AsBitmapTexture())
            continue;
        const std::filesystem::path file = texture->AsBitmapTexture()->GetMapName();
        EXPECT_EQ(file.parent_path(), folder_.lexically_normal());
        EXPECT_TRUE(std::filesystem::exists(file)) << file;
        const HostBitmap* bitmap = texture->AsBitmapTexture()->GetBitmap();
        ASSERT_TRUE(bitmap) << file;
        EXPECT_EQ(bitmap->width, 16);
        EXPECT_EQ(bitmap->height, 16);
        // The floor slab comes from the side file, with its texture coordinates.
        const HostMesh* mesh = node->GetObjectRef()->GetMesh();
        ASSERT_TRUE(mesh);
        EXPECT_EQ(mesh->GetNumFaces(), 12);
        EXPECT_TRUE(mesh->GetMapSupport(1));
        textured = true;
    }
    EXPECT_TRUE(textured);
}

TEST(SceneSchema, EveryTestSceneLoadsAndConforms)
{
    const nlohmann::json schema = ReadJson(GetSourceDir() / "docs" / "scene-format.schema.json");
    int scenes = 0;
    for (const auto& entry :
        std::filesystem::directory_iterator(GetSourceDir() / "tests" / "data" / "scenes")) {
        if (entry.path().extension() != ".json")
            continue;
        ++scenes;
        const SceneLoadResult result = LoadSceneFile(entry.path().string());
        EXPECT_FALSE(result.error) << result.error->GetText();
        const std::vector<std::string> errors = vxtest::CheckAgainstSchema(schema, ReadJson(entry.path()));
        EXPECT_TRUE(errors.empty()) << entry.path() << ": " << errors.front();
    }
    EXPECT_GE(scenes, 1);
}

TEST(SceneSchema, RejectsWhatTheLoaderRejects)
{
    const nlohmann::json schema = ReadJson(GetSourceDir() / "docs" / "scene-format.schema.json");
    const char* const broken[] = {
        R"({"format": "varnex-scene", "version": 2})",
        R"({"format": "varnex-scene", "version": 1, "nodes": [{"object": "box"}]})",
        R"({"format": "varnex-scene", "version": 1, "nodes": [{"name": 5}]})",
        R"({"format": "varnex-scene", "version": 1, "node": []})",
        R"({"format": "varnex-scene", "version": 1, "unit": {"type": "parsecs"}})",
        R"({"format": "varnex-scene", "version": 1, "objects": [{"id": "m", "type": "mesh", "mesh": {
            "vertices": [[0, 0, 0]], "smoothingGroup": [1]}}]})",
        R"({"format": "varnex-scene", "version": 1, "objects": [{"id": "m", "type": "mesh", "mesh": {
            "vertices": {"buffer": 0, "count": 3, "type": "f64x3"}}}]})",
    };
    for (const char* document : broken)
        EXPECT_FALSE(vxtest::CheckAgainstSchema(schema, nlohmann::json::parse(document)).empty()) << document;
    EXPECT_TRUE(vxtest::CheckAgainstSchema(
        schema, nlohmann::json::parse(R"({"format": "varnex-scene", "version": 1})"))
                    .empty());
}

} // namespace
} // namespace vx
