// The geometry optimiser pass on a memory scene: which nodes end up sharing an object, which are
// left alone, and the refusal when the scene is locked.

#include "scene/passes/CMGemoOptimizer.h"

#include "memoryhost/MemoryHost.h"
#include "memoryhost/MemoryMesh.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

class GeometryOptimizerTest : public ::testing::Test {
protected:
    // A new object holding a box-like mesh; shift moves its vertices, flip changes its faces.
    vx::MemoryObject& Box(float shift = 0.0f, bool flip = false)
    {
        vx::MemoryObject& object = host.AddObject(vx::kSuperClassGeometry, vx::kClassTriangleMesh);
        auto mesh = std::make_unique<vx::MemoryMesh>();
        mesh->SetVerts({{shift, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 1, 1}});
        mesh->SetFaces(
            {vx::HostFace {{0, 1, 2}}, flip ? vx::HostFace {{3, 2, 1}} : vx::HostFace {{1, 2, 3}}});
        object.SetMesh(std::move(mesh));
        return object;
    }
    vx::MemoryNode& Node(const char* name, vx::HostObject* object, vx::HostMaterial* material = nullptr,
        vx::MemoryNode* parent = nullptr)
    {
        vx::MemoryNode& node = host.AddNode(parent ? *parent : host.GetRoot(), name);
        node.SetObjectRef(object);
        node.SetMaterial(material);
        return node;
    }
    bool Run()
    {
        vx::ModuleMessageSink sink;
        vx::CMGemoOptimizer pass(&host);
        pass.Attach(&sink);
        const bool ran = pass.Run();
        log = sink.GetText();
        return ran;
    }

    vx::MemoryHost host;
    vx::MemoryMaterial& wood = host.AddMaterial(vx::kClassStandardMaterial, "Wood");
    vx::MemoryMaterial& steel = host.AddMaterial(vx::kClassStandardMaterial, "Steel");
    std::string log;
};

TEST_F(GeometryOptimizerTest, EqualMeshesWithOneMaterialShareOneCopy)
{
    vx::MemoryObject& first = Box();
    vx::MemoryObject& second = Box();
    vx::MemoryNode& a = Node("A", &first, &wood);
    vx::MemoryNode& b = Node("B", &second, &wood);
    vx::MemoryNode& c = Node("C", &Box(), &steel);
    vx::MemoryNode& d = Node("D", &Box(0.0f, true), &wood);
    vx::MemoryNode& e = Node("E", &Box(0.5f), &wood);

    ASSERT_TRUE(Run());
    EXPECT_EQ(log, "CMGemoOptimizer Start...\r\nCMGemoOptimizer End\r\n");
    // A and B share one object: a copy, so the scene's original objects stay as they were.
    EXPECT_EQ(a.GetObjectRef(), b.GetObjectRef());
    EXPECT_NE(a.GetObjectRef(), &first);
    EXPECT_NE(a.GetObjectRef(), &second);
    // Another material, other faces over the same vertices, other vertices: objects of their own.
    EXPECT_NE(c.GetObjectRef(), a.GetObjectRef());
    EXPECT_NE(d.GetObjectRef(), a.GetObjectRef());
    EXPECT_NE(e.GetObjectRef(), a.GetObjectRef());
    EXPECT_NE(c.GetObjectRef(), d.GetObjectRef());
}

TEST_F(GeometryOptimizerTest, HiddenInvisibleAndNonGeometricNodesAreLeftAlone)
{
    vx::MemoryObject& shown = Box();
    Node("Shown", &shown, &wood);
    vx::MemoryObject& hiddenBox = Box();
    vx::MemoryNode& hidden = Node("Hidden", &hiddenBox, &wood);
    hidden.SetHidden(true);
    vx::MemoryObject& belowBox = Box();
    vx::MemoryNode& below = Node("BelowHidden", &belowBox, &wood, &hidden);
    vx::MemoryObject& ghostBox = Box();
    vx::MemoryNode& ghost = Node("Invisible", &ghostBox, &wood);
    ghost.SetVisibility(0.0f);
    vx::MemoryObject& light = host.AddObject(vx::kSuperClassLight, {0x1011, 0});
    vx::MemoryNode& lamp = Node("Lamp", &light, &wood);
    vx::MemoryNode& empty = Node("Empty", nullptr, &wood);

    ASSERT_TRUE(Run());
    EXPECT_EQ(hidden.GetObjectRef(), &hiddenBox);
    EXPECT_EQ(below.GetObjectRef(), &belowBox);
    EXPECT_EQ(ghost.GetObjectRef(), &ghostBox);
    EXPECT_EQ(lamp.GetObjectRef(), &light);
    EXPECT_EQ(empty.GetObjectRef(), nullptr);
}

TEST_F(GeometryOptimizerTest, ALockedSceneIsRefusedAfterTheStartLine)
{
    vx::MemoryObject& first = Box();
    vx::MemoryObject& second = Box();
    vx::MemoryNode& a = Node("A", &first, &wood);
    vx::MemoryNode& b = Node("B", &second, &wood);
    host.SetSceneLocked(true);

    EXPECT_FALSE(Run());
    EXPECT_EQ(log, "CMGemoOptimizer Start...\r\n");
    EXPECT_EQ(a.GetObjectRef(), &first);
    EXPECT_EQ(b.GetObjectRef(), &second);
}

} // namespace
