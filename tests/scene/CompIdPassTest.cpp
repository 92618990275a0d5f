// The composite-identifier passes over a memory scene: keys, the leaf stack, the identifiers the
// generator gives and the optimiser keeps, their messages, and the design the conversion makes of
// them.

#include "SceneFixture.h"

#include "scene/passes/CompIdGenerator.h"
#include "scene/passes/CompIdKeys.h"
#include "scene/passes/CompIdOptimizer.h"
#include "scene/passes/CompIdRegistry.h"
#include "scene/passes/LeafStack.h"
#include "scene/passes/RemovePassKeys.h"

#include "design/CompositeObject.h"
#include "run/SceneContext.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <set>
#include <string>
#include <vector>

namespace {

using vxtest::At;

std::string Passes(int identifiers, int reserved)
{
    return "CompIdGenerator Start...\r\nCompIdGenerator FindInstanceObjectsInScene()\r\n"
           "CompIdGenerator MakeCompositeID()\r\nThere are "
        + std::to_string(identifiers)
        + " composite id(s) to be generated\r\nCompIdGenerator Finished!\r\n"
          "CompIdOptimizer Start...\r\nCompIdOptimizer OptimizeCompsiteID()\r\n"
        + std::to_string(reserved)
        + " composite id(s) are reserved after optimizing\r\nCompIdOptimizer Finished!\r\n";
}

std::string Prop(const vx::HostNode& node, const char* key)
{
    std::string value;
    node.GetUserPropString(key, value);
    return value;
}

class CompIdPassTest : public vxtest::SceneFixture {
protected:
    // Both passes as the module manager runs them; returns their messages.
    std::string RunPasses()
    {
        RunGenerator();
        RunOptimizer();
        return sink.GetText();
    }
    void RunGenerator()
    {
        vx::CompIdRegistry::Instance().Clear();
        sink.Clear();
        vx::CompIdGenerator generator(&host.GetRoot());
        generator.Attach(&sink);
        EXPECT_TRUE(generator.Run());
    }
    void RunOptimizer()
    {
        vx::CompIdOptimizer optimizer;
        optimizer.Attach(&sink);
        EXPECT_TRUE(optimizer.Run());
    }

    // A group head under parent at local; all heads show one helper object, as equal groups do.
    vx::MemoryNode& Group(vx::MemoryNode& parent, const std::string& name, const vx::HostMatrix3& local)
    {
        vx::MemoryNode& node = host.AddNode(parent, name);
        node.SetObjectRef(&groupHead);
        node.SetLocalTM(local);
        return node;
    }
    vx::MemoryNode& Leaf(
        vx::MemoryNode& parent, const std::string& name, vx::HostObject* object, const vx::HostMatrix3& local)
    {
        vx::MemoryNode& node = AddGeometry(parent, name, object);
        node.SetLocalTM(local);
        return node;
    }

    // Every node below the root, depth first.
    std::vector<vx::HostNode*> AllNodes()
    {
        std::vector<vx::HostNode*> nodes;
        std::vector<vx::HostNode*> open {&host.GetRoot()};
        while (!open.empty()) {
            vx::HostNode* node = open.back();
            open.pop_back();
            for (int index = 0; index < node->NumberOfChildren(); ++index) {
                nodes.push_back(node->GetChildNode(index));
                open.push_back(node->GetChildNode(index));
            }
        }
        return nodes;
    }
    void ExpectNoPassKeys()
    {
        for (vx::HostNode* node : AllNodes()) {
            EXPECT_EQ(std::string(node->GetUserPropBuffer()).find("COMPID"), std::string::npos)
                << node->GetName();
            EXPECT_EQ(std::string(node->GetUserPropBuffer()).find("GEOMID"), std::string::npos)
                << node->GetName();
        }
    }

    vx::ModuleMessageSink sink;
    vx::MemoryObject& groupHead = host.AddObject(vx::kSuperClassHelper, vx::kClassGroupHead);
    vx::MemoryObject& legObject = AddBoxObject({1, 2, 1});
    vx::MemoryObject& topObject = AddBoxObject({3, 1, 1});
};

TEST(CompIdKeys, NumbersSaturateAndNonFiniteValuesHaveTokensOfTheirOwn)
{
    struct Case {
        double value;
        bool rounded;
        const char* text;
    };
    const double inf = std::numeric_limits<double>::infinity();
    for (const Case& c : {Case {2.7, false, "2"}, Case {2.5, true, "3"}, Case {-2.5, true, "FFFFFFFE"},
             Case {-1.9, false, "FFFFFFFF"}, Case {1e12, false, "7FFFFFFF"}, Case {-1e12, true, "80000000"},
             Case {std::nan(""), false, "NAN"}, Case {inf, true, "INF"}, Case {-inf, false, "-INF"}})
        EXPECT_EQ(vx::KeyNumber(c.value, c.rounded), c.text) << c.value;
}

TEST_F(CompIdPassTest, KeysTellGeometryAndRelativeTransform)
{
    vx::MemoryNode& group = Group(host.GetRoot(), "G", At(10, 0, 0));
    vx::MemoryNode& a = Leaf(group, "A", sharedObject, At(1, 2, 3));
    vx::MemoryNode& b = Leaf(host.GetRoot(), "B", sharedObject, At(7, 7, 7));
    // Without a run, a unit is a metre: the translation is keyed in millimetres.
    EXPECT_EQ(vx::TransformKey(a), "[3E8,0,0,0,3E8,0,0,0,3E8,3E8,7D0,BB8]");
    EXPECT_EQ(vx::GeometryKey(a), vx::GeometryKey(b)) << "the node's own transform is not part of it";

    b.SetObjectOffset({0.5f, -2.0f, 0}, {}, {2, 1, 1});
    const std::string key = vx::GeometryKey(b);
    EXPECT_EQ(key.substr(key.find('[')), "[1F4,FFFFF830,0][0,0,0][7D0,3E8,3E8]{}");
    b.SetObjectOffset({std::nanf(""), 0, 0}, {}, {1, 1, 1});
    EXPECT_NE(vx::GeometryKey(b), vx::GeometryKey(a));
    EXPECT_NE(vx::GeometryKey(b).find("[NAN,0,0]"), std::string::npos);
}

TEST_F(CompIdPassTest, TranslationsAreKeyedInMillimetresWhateverTheUnit)
{
    // A move of 0.4 m in a metre scene and of 4 mm in a millimetre scene both tell nodes apart; a
    // move of a tenth of a millimetre does not.
    const struct {
        int unit;
        float moved;
        bool apart;
    } cases[] = {{vx::kHostUnitMeters, 0.4f, true}, {vx::kHostUnitMillimeters, 4.0f, true},
        {vx::kHostUnitMeters, 0.0001f, false}};
    vx::SceneContext* const before = vx::CurrentSceneContext();
    for (const auto& c : cases) {
        vx::SceneContext context;
        context.SetUnitScale(c.unit);
        vx::CurrentSceneContext() = &context;
        vx::MemoryNode& a = Leaf(host.GetRoot(), "A", sharedObject, At(1, 0, 0));
        vx::MemoryNode& b = Leaf(host.GetRoot(), "B", sharedObject, At(1 + c.moved, 0, 0));
        EXPECT_EQ(vx::TransformKey(a) != vx::TransformKey(b), c.apart) << c.unit << " " << c.moved;
    }
    vx::CurrentSceneContext() = before;
}

TEST_F(CompIdPassTest, WhatANodeBecomesIsPartOfItsGeometryKey)
{
    // Nodes showing one object but made into different things by their lines never share a key;
    // other lines (and the pass keys) do not matter.
    vx::MemoryNode& plain = Leaf(host.GetRoot(), "Plain", sharedObject, At(0, 0, 0));
    plain.SetUserPropBuffer("Colour = red\nCOMPID = x\n");
    const std::string plainKey = vx::GeometryKey(plain);
    const struct {
        const char* lines;
        const char* factoryKey;
    } cases[] = {{"ZRInstance T", "ZRInstance T\n"}, {"ZRInstance U", "ZRInstance U\n"},
        {"ZRIsLOD", "ZRIsLOD \n"}, {"VNXPart Valve\nColour = red", "VNXPart Valve\n"},
        {"VNXScalable Table", "VNXScalable Table\n"}, {"VNXExtrudable", "VNXExtrudable \n"}};
    std::set<std::string> keys {plainKey};
    for (const auto& c : cases) {
        vx::MemoryNode& node = Leaf(host.GetRoot(), "N", sharedObject, At(0, 0, 0));
        node.SetUserPropBuffer(c.lines);
        EXPECT_EQ(vx::FactoryKey(node), c.factoryKey) << c.lines;
        EXPECT_TRUE(keys.insert(vx::GeometryKey(node)).second) << c.lines << " shares a key";
    }
    EXPECT_EQ(vx::FactoryKey(plain), "");
}

TEST(LeafStack, PopsLastInFirstOutAndRemovesEveryOccurrence)
{
    vx::MemoryHost host;
    vx::MemoryNode& a = host.AddNode(host.GetRoot(), "a");
    vx::MemoryNode& b = host.AddNode(host.GetRoot(), "b");
    vx::LeafStack stack;
    stack.Push(&a);
    stack.Push(&b);
    stack.Push(&a);
    EXPECT_EQ(stack.Count(), 3u);
    stack.Remove(&a);
    EXPECT_FALSE(stack.Contains(&a));
    EXPECT_TRUE(stack.Contains(&b));
    stack.Push(&a);
    EXPECT_EQ(stack.Pop(), &a);
    EXPECT_EQ(stack.Pop(), &b);
    EXPECT_TRUE(stack.IsEmpty());
    EXPECT_EQ(stack.Pop(), nullptr);
}

TEST_F(CompIdPassTest, BoxesSharingObjectAndMaterialShareOneCompositeAndAUniqueBoxKeepsNone)
{
    vx::MemoryMaterial& wood = host.AddMaterial(vx::kClassStandardMaterial, "wood");
    vx::MemoryNode& a = AddGeometry(host.GetRoot(), "BoxA", sharedObject, &wood);
    vx::MemoryNode& b = AddGeometry(host.GetRoot(), "BoxB", sharedObject, &wood);
    vx::MemoryNode& other = AddGeometry(host.GetRoot(), "Other", sharedObject);
    vx::MemoryNode& unique = AddGeometry(host.GetRoot(), "Unique");
    b.SetLocalTM(At(5, 0, 0));
    other.SetLocalTM(At(9, 0, 0));

    EXPECT_EQ(RunPasses(), Passes(3, 1));
    EXPECT_EQ(Prop(a, "GEOMID").size(), 36u);
    EXPECT_EQ(Prop(a, "COMPID"), Prop(a, "GEOMID"));
    EXPECT_EQ(Prop(b, "COMPID"), Prop(a, "COMPID"));
    EXPECT_NE(Prop(other, "GEOMID"), Prop(a, "GEOMID")) << "another material";
    EXPECT_EQ(
        std::string(unique.GetUserPropBuffer()), "GEOMID = " + Prop(unique, "GEOMID") + "\nCOMPID = \n");

    const std::string shared = Prop(a, "COMPID");
    Convert(false);
    ZR::ObjectInstance* first = RootInstance("BoxA");
    ZR::ObjectInstance* second = RootInstance("BoxB");
    ASSERT_TRUE(first && second && RootInstance("Unique") && RootInstance("Other"));
    EXPECT_EQ(first->object, second->object);
    EXPECT_EQ(first->object->guid, ZR::CompositeObjectGuidByName(shared.c_str()));
    EXPECT_EQ(first->object->placedBy.Count(), 2u);
    EXPECT_NE(RootInstance("Unique")->object, first->object);
    ExpectNoPassKeys();
}

TEST_F(CompIdPassTest, EqualGroupsShareOneCompositeAndTheirLeavesLoseTheirIdentifiers)
{
    std::vector<vx::MemoryNode*> groups;
    for (int index = 0; index < 3; ++index) {
        vx::MemoryNode& group
            = Group(host.GetRoot(), "G" + std::to_string(index + 1), At(10.0f * index, 0, 0));
        Leaf(group, "Leg", &legObject, At(1, 0, 0));
        // The third group's top sits elsewhere: not equal to the others.
        Leaf(group, "Top", &topObject, At(0, 0, index == 2 ? 3.0f : 2.0f));
        groups.push_back(&group);
    }

    // Leg, top, the shared head, the third head alone.
    EXPECT_EQ(RunPasses(), Passes(4, 3));
    const std::string shared = Prop(*groups[0], "COMPID");
    EXPECT_EQ(shared.size(), 36u);
    EXPECT_EQ(Prop(*groups[1], "COMPID"), shared);
    EXPECT_EQ(Prop(*groups[2], "COMPID"), "");
    for (int index = 0; index < 2; ++index) {
        for (int child = 0; child < 2; ++child)
            EXPECT_EQ(Prop(*groups[index]->GetChildNode(child), "COMPID"), "");
    }
    // The third group's leaves keep the identifiers they share with the others' leaves.
    EXPECT_EQ(Prop(*groups[2]->GetChildNode(0), "COMPID"), Prop(*groups[2]->GetChildNode(0), "GEOMID"));

    Convert(false);
    ZR::ObjectInstance* g1 = RootInstance("G1");
    ZR::ObjectInstance* g2 = RootInstance("G2");
    ASSERT_TRUE(g1 && g2);
    EXPECT_EQ(g1->object, g2->object);
    EXPECT_EQ(g1->object->guid, ZR::CompositeObjectGuidByName(shared.c_str()));
    EXPECT_EQ(RootInstance("G3"), nullptr) << "a group without identifier is dissolved";
    EXPECT_NE(RootInstance("Leg"), nullptr);
    ExpectNoPassKeys();
}

TEST_F(CompIdPassTest, EquivalenceComparesChildrenAsMultisetsInAnyOrder)
{
    vx::MemoryNode& xx = Group(host.GetRoot(), "XX", At(0, 0, 0));
    Leaf(xx, "X", &legObject, At(1, 0, 0));
    Leaf(xx, "X", &legObject, At(1, 0, 0));
    vx::MemoryNode& xy = Group(host.GetRoot(), "XY", At(10, 0, 0));
    Leaf(xy, "X", &legObject, At(1, 0, 0));
    Leaf(xy, "Y", &topObject, At(1, 0, 0));
    vx::MemoryNode& yx = Group(host.GetRoot(), "YX", At(20, 0, 0));
    Leaf(yx, "Y", &topObject, At(1, 0, 0));
    Leaf(yx, "X", &legObject, At(1, 0, 0));

    RunGenerator();
    EXPECT_FALSE(vx::Equivalent(xx, xy));
    EXPECT_FALSE(vx::Equivalent(xy, xx));
    EXPECT_TRUE(vx::Equivalent(xy, yx));
    EXPECT_TRUE(vx::Equivalent(yx, xy));
    RunOptimizer();
    EXPECT_NE(Prop(xx, "COMPID"), Prop(xy, "COMPID"));
    EXPECT_EQ(Prop(xx, "COMPID"), "") << "alone with its contents";
    EXPECT_EQ(Prop(xy, "COMPID").size(), 36u);
    EXPECT_EQ(Prop(xy, "COMPID"), Prop(yx, "COMPID"));
}

TEST_F(CompIdPassTest, SecondRunInOneProcessGivesTheSameSharing)
{
    // A head whose group child is keyed after its leaf sibling: stale marks would make it look
    // complete before the group child has its identifier.
    std::vector<vx::MemoryNode*> heads;
    for (int index = 0; index < 2; ++index) {
        vx::MemoryNode& head = Group(host.GetRoot(), "P" + std::to_string(index), At(10.0f * index, 0, 0));
        vx::MemoryNode& inner = Group(head, "Inner", At(0, 1, 0));
        Leaf(inner, "Leg", &legObject, At(1, 0, 0));
        Leaf(head, "Top", &topObject, At(0, 0, 2));
        heads.push_back(&head);
    }
    for (int run = 0; run < 2; ++run) {
        RunPasses();
        EXPECT_EQ(Prop(*heads[0], "COMPID").size(), 36u) << "run " << run;
        EXPECT_EQ(Prop(*heads[0], "COMPID"), Prop(*heads[1], "COMPID")) << "run " << run;
        // As the node factory leaves the scene.
        vx::RemovePassKeys(&host.GetRoot());
        ExpectNoPassKeys();
    }
}

TEST_F(CompIdPassTest, GroupsOfFiveThousandChildrenAreShared)
{
    std::vector<vx::MemoryNode*> groups;
    for (int index = 0; index < 2; ++index) {
        vx::MemoryNode& group
            = Group(host.GetRoot(), "Rack" + std::to_string(index), At(0, 100.0f * index, 0));
        for (int child = 0; child < 5000; ++child)
            Leaf(group, "Bolt", &legObject, At(static_cast<float>(child), 0, 0));
        groups.push_back(&group);
    }
    EXPECT_EQ(RunPasses(), Passes(2, 2));
    EXPECT_EQ(Prop(*groups[0], "COMPID").size(), 36u);
    EXPECT_EQ(Prop(*groups[0], "COMPID"), Prop(*groups[1], "COMPID"));
    EXPECT_EQ(Prop(*groups[1]->GetChildNode(4999), "COMPID"), "");
}

} // namespace
