// The export node tree: the node factory's classification, building, counting, reference counts
// and the live node count.

#include "SceneFixture.h"

#include "scene/MyGeomNode.h"
#include "scene/MyInstanceNode.h"
#include "scene/MyNullNode.h"
#include "scene/NodeFactory.h"

#include "design/CompositeObject.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using vxtest::SceneFixture;

enum class Kind { None, Null, Geometry, Group, Instance };

Kind KindOf(const vx::BaseNode* node)
{
    if (!node)
        return Kind::None;
    if (dynamic_cast<const vx::MyNullNode*>(node))
        return Kind::Null;
    if (dynamic_cast<const vx::MyInstanceNode*>(node))
        return Kind::Instance;
    if (dynamic_cast<const vx::MyGroupNode*>(node))
        return Kind::Group;
    if (dynamic_cast<const vx::MyGeomNode*>(node))
        return Kind::Geometry;
    return Kind::None;
}

using ExportTreeTest = SceneFixture;

TEST_F(ExportTreeTest, EmptySceneIsTheRootAloneAndReleasingItLeavesNoNode)
{
    vx::MyGroupNode& root = BuildTree();
    EXPECT_EQ(root.NumChildren(), 0u);
    EXPECT_EQ(vx::CountNodes(&root), 1);
    EXPECT_EQ(root.GetHostNode(), host.GetRootNode());
    EXPECT_EQ(context.liveNodeCount, 1);
    ReleaseTree();
    EXPECT_EQ(context.liveNodeCount, 0);
}

TEST_F(ExportTreeTest, FactoryClassifiesByObjectClassAndProperties)
{
    const struct {
        const char* name;
        uint32_t superClass;
        vx::HostClassId classId;
        const char* properties;
        Kind kind;
    } cases[] = {
        {"camera", vx::kSuperClassCamera, {1, 0}, "", Kind::Null},
        {"light", vx::kSuperClassLight, {1, 0}, "ZRInstance Box", Kind::Null},
        {"mesh", vx::kSuperClassGeometry, vx::kClassTriangleMesh, "", Kind::Geometry},
        {"shape", vx::kSuperClassShape, {0x10, 0}, "", Kind::Geometry},
        {"group", vx::kSuperClassHelper, vx::kClassGroupHead, "", Kind::Group},
        {"other helper", vx::kSuperClassHelper, {0x1234, 0}, "", Kind::None},
        {"space", vx::kSuperClassGeometry, vx::kClassTriangleMesh, "ZRSpace Kitchen", Kind::Null},
        {"inside a word", vx::kSuperClassGeometry, vx::kClassTriangleMesh, "MyZRIsFloorFlag", Kind::Null},
        {"lod", vx::kSuperClassHelper, vx::kClassGroupHead, "ZRIsLOD", Kind::Null},
        {"block", vx::kSuperClassShape, {0x10, 0}, "ZRGlobalBlock", Kind::Null},
        {"box", vx::kSuperClassGeometry, vx::kClassTriangleMesh, "ZRdbBox\nZRdbArea", Kind::Null},
        {"instance", vx::kSuperClassGeometry, vx::kClassTriangleMesh, "ZRInstance Template", Kind::Instance},
        {"missing template", vx::kSuperClassGeometry, vx::kClassTriangleMesh, "ZRInstance Nowhere",
            Kind::None},
    };
    AddGeometry(host.GetRoot(), "Template");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        vx::MemoryNode& node = host.AddNode(host.GetRoot(), c.name);
        node.SetObjectRef(&host.AddObject(c.superClass, c.classId));
        node.SetUserPropBuffer(c.properties);
        vx::BaseNode* made = vx::CreateExportNode(&node);
        EXPECT_EQ(KindOf(made), c.kind);
        if (made) {
            made->Retain();
            made->Release();
        }
    }
    EXPECT_EQ(context.liveNodeCount, 0);
    EXPECT_EQ(context.referencedNodes.size(), 1u);
    EXPECT_EQ(context.referencedNodes.count(host.GetNodeByName("Template")), 1u);
}

TEST_F(ExportTreeTest, DerivedObjectsAreClassifiedByTheirBaseObject)
{
    vx::MemoryObject& modified = host.AddObject(vx::kSuperClassDerivedObject, {0, 0});
    modified.SetDerivedFrom(sharedObject, 1);
    vx::MemoryNode& node = host.AddNode(host.GetRoot(), "modified");
    node.SetObjectRef(&modified);
    vx::MemoryObject& overHelper = host.AddObject(vx::kSuperClassDerivedObject, {0, 0});
    overHelper.SetDerivedFrom(&host.AddObject(vx::kSuperClassHelper, vx::kClassGroupHead), 2);
    host.AddNode(host.GetRoot(), "group").SetObjectRef(&overHelper);

    vx::MyGroupNode& root = BuildTree();
    ASSERT_EQ(root.NumChildren(), 2u);
    EXPECT_EQ(KindOf(root.GetChild(0)), Kind::Geometry);
    EXPECT_EQ(KindOf(root.GetChild(1)), Kind::Group);
}

TEST_F(ExportTreeTest, CompIdIsTakenAndBothPassKeysLeaveTheHostScene)
{
    const std::string id = "0a1b2c3d-0000-1111-2222-333344445555";
    vx::MemoryNode& valid = AddGeometry(host.GetRoot(), "valid");
    valid.SetUserPropBuffer("Color = red\r\nCOMPID = " + id + "\r\nGEOMID = " + id + "\r\n");
    vx::MemoryNode& broken = AddGeometry(host.GetRoot(), "broken");
    broken.SetUserPropBuffer("COMPID = not-an-identifier\nGEOMID = x\n");
    vx::MemoryNode& left = host.AddNode(host.GetRoot(), "unknown class");
    left.SetObjectRef(&host.AddObject(vx::kSuperClassHelper, {7, 0}));
    left.SetUserPropBuffer("COMPID = " + id + "\n");

    vx::MyGroupNode& root = BuildTree();
    ASSERT_EQ(root.NumChildren(), 2u);
    auto* first = dynamic_cast<vx::StrongNode*>(root.GetChild(0));
    auto* second = dynamic_cast<vx::StrongNode*>(root.GetChild(1));
    ASSERT_TRUE(first && second);
    EXPECT_TRUE(first->HasCompId());
    EXPECT_EQ(first->GetCompId().ToString(), id.c_str());
    EXPECT_FALSE(second->HasCompId());

    EXPECT_EQ(std::string(valid.GetUserPropBuffer()), "Color = red\r\n");
    EXPECT_EQ(std::string(broken.GetUserPropBuffer()), "");
    // A node the factory leaves out keeps its properties.
    EXPECT_EQ(std::string(left.GetUserPropBuffer()), "COMPID = " + id + "\n");
}

TEST_F(ExportTreeTest, NullNodesBuildTheirChildrenAndLiveNodesAreCountedToTheEnd)
{
    vx::MemoryNode& camera = host.AddNode(host.GetRoot(), "camera");
    camera.SetObjectRef(&host.AddObject(vx::kSuperClassCamera, {1, 0}));
    vx::MemoryNode& child = AddGeometry(camera, "under camera");
    AddGeometry(child, "grandchild");
    host.AddNode(host.GetRoot(), "no object");

    vx::MyGroupNode& root = BuildTree();
    EXPECT_EQ(vx::CountNodes(&root), 4);
    EXPECT_EQ(context.liveNodeCount, 4);
    auto* cameraNode = dynamic_cast<vx::StrongNode*>(root.GetChild(0));
    ASSERT_NE(cameraNode, nullptr);
    EXPECT_EQ(cameraNode->GetChild(0)->GetRefCount(), 1);

    // A retained child outlives the tree until its last reference goes.
    vx::BaseNode* kept = cameraNode->GetChild(0);
    kept->Retain();
    ReleaseTree();
    EXPECT_EQ(context.liveNodeCount, 2);
    kept->Release();
    EXPECT_EQ(context.liveNodeCount, 0);
}

TEST_F(ExportTreeTest, ChildrenOfNullNodesAreNeverConverted)
{
    vx::MemoryNode& camera = host.AddNode(host.GetRoot(), "camera");
    camera.SetObjectRef(&host.AddObject(vx::kSuperClassCamera, {1, 0}));
    AddGeometry(camera, "under camera");
    vx::MemoryNode& lod = AddGeometry(host.GetRoot(), "lod");
    lod.SetUserPropBuffer("ZRIsLOD");
    AddGeometry(lod, "under lod");

    for (const bool single : {false, true}) {
        Convert(single);
        EXPECT_TRUE(designRoot->data.Components.IsEmpty());
        EXPECT_EQ(context.design.objects.Count(), 1u);
    }
}

} // namespace
