// The composite-identifier passes in the export run: their places in the module manager, their
// messages, and two exports of one scene in one process.

#include "ExportTestSupport.h"

#include "exporter/ModuleManager.h"
#include "exporter/OptionsDialog.h"
#include "exporter/VNX30MaxExporter.h"

#include "memoryhost/DialogSession.h"
#include "memoryhost/MemoryHost.h"
#include "memoryhost/MemoryMesh.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

class IdlePass final : public vx::IModule {
public:
    bool Run() override
    {
        Log("idle;", true);
        return true;
    }
};

// Unticks "Export as single object" and confirms the dialog.
class PerObjectDriver final : public vx::UiDriver {
public:
    void PlayDialog(vx::DialogSession& dialog) override
    {
        dialog.Click(vx::kOptionsSingleObjectId);
        dialog.Click(vx::kOptionsOkId);
    }
    void OnMessageBox(vx::HostWindow, std::string_view, std::string_view) override { }
};

vx::HostMatrix3 At(float x, float y, float z)
{
    return vx::MakeTranslationMatrix({x, y, z});
}

class CompIdRunTest : public ::testing::Test {
protected:
    vx::MemoryObject& Box(float size)
    {
        vx::MemoryObject& object = host.AddObject(vx::kSuperClassGeometry, vx::kClassTriangleMesh);
        auto mesh = std::make_unique<vx::MemoryMesh>();
        mesh->SetVerts({{0, 0, 0}, {size, 0, 0}, {0, size, 0}});
        mesh->SetFaces({vx::HostFace {{0, 1, 2}}});
        object.SetMesh(std::move(mesh));
        return object;
    }
    vx::MemoryNode& Node(
        vx::MemoryNode& parent, const std::string& name, vx::HostObject& object, const vx::HostMatrix3& local)
    {
        vx::MemoryNode& node = host.AddNode(parent, name);
        node.SetObjectRef(&object);
        node.SetLocalTM(local);
        return node;
    }
    // Two equal heads P0 and P1, each holding a group and a leaf, two boxes sharing one object, a
    // unique box and a node of a class the export does not take.
    void BuildScene()
    {
        vx::MemoryNode& root = host.GetRoot();
        for (int index = 0; index < 2; ++index) {
            vx::MemoryNode& head
                = Node(root, "P" + std::to_string(index), groupHead, At(10.0f * index, 0, 0));
            vx::MemoryNode& inner = Node(head, "Inner", groupHead, At(0, 1, 0));
            Node(inner, "Leg", leg, At(1, 0, 0));
            Node(head, "Top", top, At(0, 0, 2));
        }
        Node(root, "BoxA", shared, At(0, 5, 0));
        Node(root, "BoxB", shared, At(0, 9, 0));
        Node(root, "Unique", Box(4), At(0, 0, 9));
        Node(root, "Bone", host.AddObject(vx::kSuperClassHelper, {0x1234, 0}), At(0, 0, 0));
    }
    void ExpectNoPassKeys()
    {
        std::vector<vx::HostNode*> open {&host.GetRoot()};
        while (!open.empty()) {
            vx::HostNode* node = open.back();
            open.pop_back();
            EXPECT_EQ(std::string(node->GetUserPropBuffer()).find("COMPID"), std::string::npos)
                << node->GetName();
            EXPECT_EQ(std::string(node->GetUserPropBuffer()).find("GEOMID"), std::string::npos)
                << node->GetName();
            for (int index = 0; index < node->NumberOfChildren(); ++index)
                open.push_back(node->GetChildNode(index));
        }
    }

    vxtest::TempDir dir;
    vx::MemoryHost host;
    vx::MemoryObject& groupHead = host.AddObject(vx::kSuperClassHelper, vx::kClassGroupHead);
    vx::MemoryObject& leg = Box(1);
    vx::MemoryObject& top = Box(2);
    vx::MemoryObject& shared = Box(3);
};

TEST(ModuleManagerPasses, RunPassesKeepTheirIndicesAndTheOptimiserRunsOnlyWhenAskedFor)
{
    vx::MemoryHost host;
    vx::ModuleManager manager;
    vx::AddRunPasses(manager, &host, &host.GetRoot());
    EXPECT_EQ(manager.PassCount(), 3);
    EXPECT_TRUE(manager.HasPass(vx::ModuleManager::GEOMETRY_OPTIMIZER_INDEX));
    EXPECT_EQ(manager.RunEnableBits(false), 0b110u);
    EXPECT_EQ(manager.RunEnableBits(true), 0b111u);

    // Held indices refuse another pass; a pass appended goes after the highest held index.
    EXPECT_FALSE(manager.SetPass(vx::ModuleManager::COMP_ID_GENERATOR_INDEX, std::make_unique<IdlePass>()));
    EXPECT_FALSE(manager.SetPass(vx::ModuleManager::GEOMETRY_OPTIMIZER_INDEX, std::make_unique<IdlePass>()));
    EXPECT_FALSE(manager.SetPass(vx::ModuleManager::MAX_PASSES, std::make_unique<IdlePass>()));
    EXPECT_TRUE(manager.AddPass(std::make_unique<IdlePass>()));
    EXPECT_TRUE(manager.HasPass(3));

    manager.Run(manager.RunEnableBits(false));
    EXPECT_EQ(manager.GetMessages().GetText(),
        "CompIdGenerator Start...\r\nCompIdGenerator FindInstanceObjectsInScene()\r\n"
        "CompIdGenerator MakeCompositeID()\r\nThere are 0 composite id(s) to be generated\r\n"
        "CompIdGenerator Finished!\r\nCompIdOptimizer Start...\r\nCompIdOptimizer OptimizeCompsiteID()\r\n"
        "0 composite id(s) are reserved after optimizing\r\nCompIdOptimizer Finished!\r\nidle;");
}

TEST_F(CompIdRunTest, PassesCountTheSceneIdentifiers)
{
    BuildScene();
    vx::ModuleManager manager;
    vx::AddRunPasses(manager, &host, &host.GetRoot());
    manager.Run(manager.RunEnableBits(false));
    // Leaves: leg, top, the shared box, the unique box, the bone; heads: the inner groups, P0 and
    // P1. Kept: those shared by two or more nodes.
    const std::string& text = manager.GetMessages().GetText();
    EXPECT_NE(text.find("\r\nThere are 7 composite id(s) to be generated\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\r\n5 composite id(s) are reserved after optimizing\r\n"), std::string::npos)
        << text;
}

TEST_F(CompIdRunTest, TwoExportsOfOneSceneInOneProcessShareTheSameObjects)
{
    BuildScene();
    PerObjectDriver driver;
    host.SetUiDriver(&driver);
    vx::VNX30MaxExporter exporter;
    for (const char* name : {"first.vx", "second.vx"}) {
        SCOPED_TRACE(name);
        const std::string target = dir.File(name);
        ASSERT_EQ(exporter.DoExport(target.c_str(), &host, false), 1);
        ExpectNoPassKeys();

        vxtest::Database db(target);
        EXPECT_EQ(
            db.Integer("SELECT count(DISTINCT object_luid) FROM ObjectInstances WHERE name IN ('P0', 'P1')"),
            1);
        EXPECT_EQ(
            db.Integer(
                "SELECT count(DISTINCT object_luid) FROM ObjectInstances WHERE name IN ('BoxA', 'BoxB')"),
            1);
        EXPECT_EQ(db.Integer("SELECT count(*) FROM ObjectInstances WHERE name = 'Unique'"), 1);
        // The design root, the heads' object, the boxes' object and the unique box's.
        EXPECT_EQ(db.Integer("SELECT count(*) FROM CompositeObjects"), 4);
    }
}

} // namespace
