#include "design/Design.h"
#include "design/CompositeObject.h"
#include "design/Group.h"
#include "design/ObjectInstance.h"
#include "toolkit/VMRef.h"
#include "toolkit/VMRenderState.h"
#include "toolkit/VMVertexData.h"

#include "ReportedConditions.h"
#include "support/DebugCapture.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

using Conditions = std::vector<std::string>;

TEST(CompositeObject, NewObjectHasTheDefaultsTheWritersRelyOn)
{
    ZR::CompositeObject co;
    EXPECT_EQ(co.data.Lod, ZR::CompositeObjectData::lInvalid);
    EXPECT_EQ(co.data.chain, 2);
    EXPECT_EQ(co.data.stretchType, -1);
    EXPECT_FALSE(co.data.explode);
    EXPECT_FALSE(co.data.traceableFlag);
    EXPECT_FALSE(co.data.Aabb.valid);
    EXPECT_EQ(co.data.Model.geomid, -1);
    EXPECT_TRUE(co.data.Model.pairs.IsEmpty());
    EXPECT_TRUE(co.data.Model.customeffect.IsEmpty());
    EXPECT_TRUE(co.data.Components.IsEmpty());
    EXPECT_GE(co.data.Components.MaxItems(), 8u);
    EXPECT_TRUE(co.data.placement == ZR::Placement {});
    EXPECT_FALSE(co.fromGeometryNode);
}

TEST(Design, FindOrCreateByNameTwiceGivesTheSameObjectAndReportsItExisting)
{
    ZR::Design design;
    const auto first = design.FindOrCreateByName("Wall");
    ASSERT_NE(first.record, nullptr);
    EXPECT_TRUE(first.created);
    EXPECT_STREQ(first.record->name.c_str(), "Wall");
    EXPECT_TRUE(first.record->guid.Equals(vx::DUniqueID::FromName("Wallstruct ZR::CompositeObject")));

    first.record->name.Assign("Renamed");
    const auto second = design.FindOrCreateByName("Wall");
    EXPECT_EQ(second.record, first.record);
    EXPECT_FALSE(second.created);
    EXPECT_STREQ(second.record->name.c_str(), "Renamed"); // an existing object keeps its name
    EXPECT_EQ(design.objects.Count(), 1u);
}

TEST(Design, FindOrCreateByNameReportsAMissingNameAndGoesOnWithTheEmptyName)
{
    struct Case {
        const char* name;
        Conditions reported;
    };
    const Case cases[] = {{nullptr, {"name", "*name"}}, {"", {"*name"}}};
    for (const Case& c : cases) {
        vxtest::DebugCapture capture;
        ZR::Design design;
        const auto made = design.FindOrCreateByName(c.name);
        EXPECT_EQ(vxtest::ReportedConditions(capture.Text()), c.reported);
        ASSERT_NE(made.record, nullptr);
        EXPECT_TRUE(made.record->name.IsEmpty());
        EXPECT_TRUE(made.record->guid.Equals(vx::DUniqueID::FromName("struct ZR::CompositeObject")));
    }
}

TEST(Design, LongNamesAreStoredCutButIdentifiedWhole)
{
    ZR::Design design;
    const std::string stem(300, 'n');
    auto* a = design.FindOrCreateByName((stem + "A").c_str()).record;
    auto* b = design.FindOrCreateByName((stem + "B").c_str()).record;
    EXPECT_NE(a, b);
    EXPECT_EQ(a->name.Length(), 255);
    EXPECT_TRUE(a->name.Equals(b->name.c_str()));
}

TEST(Design, SetRootAcceptsOnlyObjectsOfTheDesign)
{
    vxtest::DebugCapture capture;
    ZR::Design design;
    ZR::CompositeObject* root = design.FindOrCreate(vx::DUniqueID::NewSequential()).record;
    design.SetRoot(root);
    EXPECT_EQ(design.Root(), root);
    ZR::CompositeObject stranger;
    design.SetRoot(&stranger);
    EXPECT_EQ(vxtest::ReportedConditions(capture.Text()), Conditions {"objects.Find(root->guid)==root"});
    EXPECT_EQ(design.Root(), root);
}

TEST(AddComponent, AppendsInstancesInOrderWithTheGivenIdentifierAndTarget)
{
    ZR::Design design;
    ZR::CompositeObject* owner = design.FindOrCreateByName("Owner").record;
    ZR::CompositeObject* target = design.FindOrCreateByName("Target").record;
    const vx::DUniqueID ids[] = {vx::DUniqueID::NewSequential(), vx::DUniqueID::NewSequential()};
    ZR::ObjectInstance* first = owner->AddComponent(target, ids[0]);
    ZR::ObjectInstance* second = owner->AddComponent(target, ids[1]);
    ASSERT_EQ(owner->data.Components.Count(), 2u);
    EXPECT_EQ(owner->data.Components[0].get(), first);
    EXPECT_EQ(owner->data.Components[1].get(), second);
    EXPECT_TRUE(first->guid.Equals(ids[0]));
    EXPECT_EQ(first->object, target);
    EXPECT_FALSE(first->IsInDB());
    EXPECT_TRUE(first->name.IsEmpty());
    EXPECT_DOUBLE_EQ(first->length, 1.0);
    EXPECT_EQ(first->flags, 0);
    EXPECT_TRUE(target->data.Components.IsEmpty());
}

TEST(AddComponent, RefusesAMissingTargetAndTheOwnerItself)
{
    ZR::Design design;
    ZR::CompositeObject* owner = design.FindOrCreateByName("Owner").record;
    struct Case {
        ZR::CompositeObject* target;
        const char* reported;
    };
    for (const Case& c : {Case {nullptr, "compo"}, Case {owner, "compo!=this"}}) {
        vxtest::DebugCapture capture;
        EXPECT_EQ(owner->AddComponent(c.target, vx::DUniqueID::NewSequential()), nullptr);
        EXPECT_EQ(vxtest::ReportedConditions(capture.Text()), Conditions {c.reported});
        EXPECT_TRUE(owner->data.Components.IsEmpty());
    }
}

class AddGroupTest : public ::testing::Test {
protected:
    ZR::ObjectInstance* NewInstance(ZR::CompositeObject* owner)
    {
        return owner->AddComponent(target, vx::DUniqueID::NewSequential());
    }

    ZR::Design design;
    ZR::CompositeObject* root = design.FindOrCreateByName("Root").record;
    ZR::CompositeObject* other = design.FindOrCreateByName("Other").record;
    ZR::CompositeObject* target = design.FindOrCreateByName("Target").record;
};

TEST_F(AddGroupTest, SameNameAndTypeUnderOneOwnerIsOneGroup)
{
    vxtest::DebugCapture capture;
    ZR::ObjectInstance* a = NewInstance(root);
    ZR::ObjectInstance* b = NewInstance(root);
    ZR::Group* first = ZR::AddGroup(*a, "Plan", "System", *root);
    ZR::Group* second = ZR::AddGroup(*b, "Plan", "System", *root);
    EXPECT_EQ(first, second);
    EXPECT_STREQ(first->name.c_str(), "Plan");
    EXPECT_STREQ(first->data.Type.c_str(), "System");
    EXPECT_EQ(first->data.Compo, root);
    EXPECT_TRUE(first->guid.Equals(vx::DUniqueID::FromName("PlanSystemstruct ZR::Group")));
    EXPECT_EQ(root->data.groups.Count(), 1u);
    ASSERT_EQ(a->groups.Count(), 1u);
    EXPECT_EQ(a->groups[0], first);
    EXPECT_EQ(b->groups[0], first);
    EXPECT_EQ(capture.Text(), "");
}

TEST_F(AddGroupTest, SameNameWithAnotherTypeIsAnotherGroup)
{
    ZR::ObjectInstance* oi = NewInstance(root);
    ZR::Group* system = ZR::AddGroup(*oi, "Plan", "System", *root);
    ZR::Group* edit = ZR::AddGroup(*oi, "Plan", "Editgroup", *root);
    EXPECT_NE(system, edit);
    EXPECT_FALSE(system->guid.Equals(edit->guid));
    EXPECT_EQ(root->data.groups.Count(), 2u);
    ASSERT_EQ(oi->groups.Count(), 2u);
    EXPECT_EQ(oi->groups[0], system);
    EXPECT_EQ(oi->groups[1], edit);
}

TEST_F(AddGroupTest, SameNameAndTypeUnderTwoOwnersAreTwoRecordsWithOneIdentifier)
{
    ZR::Group* inRoot = ZR::AddGroup(*NewInstance(root), "Plan", "System", *root);
    ZR::Group* inOther = ZR::AddGroup(*NewInstance(other), "Plan", "System", *other);
    EXPECT_NE(inRoot, inOther);
    EXPECT_TRUE(inRoot->guid.Equals(inOther->guid));
    EXPECT_EQ(inRoot->data.Compo, root);
    EXPECT_EQ(inOther->data.Compo, other);
}

TEST_F(AddGroupTest, AnExistingGroupWithAnotherNameOrTypeIsReportedAndUsed)
{
    ZR::Group* planted = root->data.groups.FindOrCreate(ZR::GroupGuid("Plan", "System")).record;
    planted->name.Assign("Elsewhere");
    planted->data.Type.Assign("Linkgroup");
    vxtest::DebugCapture capture;
    ZR::ObjectInstance* oi = NewInstance(root);
    EXPECT_EQ(ZR::AddGroup(*oi, "Plan", "System", *root), planted);
    EXPECT_EQ(vxtest::ReportedConditions(capture.Text()),
        (Conditions {"gr->name.Equals(name)", "gr->data.Type.Equals(type)"}));
    ASSERT_EQ(oi->groups.Count(), 1u);
    EXPECT_EQ(oi->groups[0], planted);
}

// A name past 255 bytes is stored cut; finding the group again compares the name as stored.
TEST_F(AddGroupTest, ALongNameFindsItsGroupAgainWithoutReport)
{
    vxtest::DebugCapture capture;
    const std::string name(300, 'g');
    ZR::Group* first = ZR::AddGroup(*NewInstance(root), name.c_str(), "System", *root);
    ZR::Group* again = ZR::AddGroup(*NewInstance(root), name.c_str(), "System", *root);
    EXPECT_EQ(first, again);
    EXPECT_EQ(first->name.Length(), 255);
    EXPECT_EQ(capture.Text(), "");
}

// The design owns objects, and through them instances and groups; vertex data and render states are
// shared by the pairs that hold them and freed when the last pair goes.
TEST(DesignOwnership, DestroyingTheDesignReleasesSharedGeometry)
{
    vx::VMRef<vx::VMVertexData> vd = vx::MakeVMRef<vx::VMVertexData>();
    vx::VMRef<vx::VMRenderState> rs = vx::MakeVMRef<vx::VMRenderState>();
    {
        ZR::Design design;
        ZR::CompositeObject* a = design.FindOrCreateByName("A").record;
        ZR::CompositeObject* b = design.FindOrCreateByName("B").record;
        ZR::ModelPair& pair = a->data.Model.pairs.Append();
        pair.vd = vd;
        pair.rs = rs;
        b->data.Model = a->data.Model; // copying a model shares its vertex data and render states
        EXPECT_EQ(vd->RefCount(), 3);
        EXPECT_EQ(rs->RefCount(), 3);

        ZR::ObjectInstance* oi = a->AddComponent(b, vx::DUniqueID::NewSequential());
        b->placedBy.Append(oi);
        ZR::AddGroup(*oi, "Plan", "System", *a);
        design.SetRoot(a);
    }
    EXPECT_EQ(vd->RefCount(), 1);
    EXPECT_EQ(rs->RefCount(), 1);
}

} // namespace
