// Conversion of the export tree into the design: composite objects shared by identifier and
// signature, instances with placements, stretch values and copied properties, groups, templates,
// parts, and the log lines of the conversion.

#include "SceneFixture.h"

#include "scene/NodeComposite.h"
#include "scene/NodeProperty.h"
#include "scene/ObjectSignatures.h"

#include "base/Placement.h"
#include "design/CompositeObject.h"
#include "design/PropertyKey.h"
#include "design/PropertyTypes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <string>

namespace {

using ConversionTest = vxtest::SceneFixture;
using vxtest::At;
using vxtest::ScaledAt;

const std::string kCompId = "0a1b2c3d-0000-1111-2222-333344445555";

vx::AnglePlacement PlacementOf(const ZR::ObjectInstance& instance)
{
    return vx::TransformToPlacement(instance.placement.matrix, instance.placement.position).placement;
}

vx::Vector3 SizesOf(const ZR::ObjectInstance& instance)
{
    return vx::TransformToPlacement(instance.placement.matrix, instance.placement.position).sizes;
}

TEST_F(ConversionTest, NodesSharingObjectMaterialAndCompIdShareOneComposite)
{
    vx::MemoryMaterial& wood = host.AddMaterial(vx::kClassStandardMaterial, "wood");
    vx::MemoryNode& a = AddGeometry(host.GetRoot(), "ChairA", sharedObject, &wood);
    vx::MemoryNode& b = AddGeometry(host.GetRoot(), "ChairB", sharedObject, &wood);
    a.SetLocalTM(At(1, 2, 3));
    b.SetLocalTM(vx::MakeRotationMatrix(vx::MakeQuatFromAxisAngle({0, 0, 1}, 1.5707964f)) * At(4, 0, 0));
    for (vx::MemoryNode* node : {&a, &b})
        node->SetUserPropBuffer("COMPID = " + kCompId + "\nGEOMID = " + kCompId + "\nColor red\n");

    Convert(false);

    ASSERT_EQ(RootInstances().size(), 2u);
    ZR::ObjectInstance* first = RootInstance("ChairA");
    ZR::ObjectInstance* second = RootInstance("ChairB");
    ASSERT_TRUE(first && second);
    EXPECT_EQ(first->object, second->object);
    EXPECT_EQ(context.design.objects.Count(), 2u);
    const ZR::CompositeObject& chair = *first->object;
    EXPECT_EQ(chair.guid, ZR::CompositeObjectGuidByName(kCompId.c_str()));
    EXPECT_STREQ(chair.name.c_str(), "ChairA");
    EXPECT_EQ(chair.data.stretchType, ZR::CompositeObjectData::STRETCH_NONE);
    EXPECT_EQ(chair.data.Lod, 2);
    ASSERT_EQ(chair.placedBy.Count(), 2u);
    EXPECT_EQ(chair.placedBy[0], first);

    // Stored in the host's axis order.
    EXPECT_EQ(PlacementOf(*first), (vx::AnglePlacement {1, 2, 3, 0, 0, 0}));
    const vx::AnglePlacement turned = PlacementOf(*second);
    EXPECT_FLOAT_EQ(turned.x, 4);
    EXPECT_NE(turned.azimuth + turned.elevation + turned.twist, 0.0f);
    EXPECT_FALSE(first->sizeFlag);
    EXPECT_FALSE(first->lengthFlag);
    const std::string* color
        = first->properties.FindText(ZR::MakePropertyKey("Color", ZR::PROPERTY_TYPE_TEXT));
    ASSERT_NE(color, nullptr);
    EXPECT_EQ(*color, "red");
    EXPECT_EQ(first->properties.Texts.Count(), 1u) << "the pass keys are gone before the copy";
    for (vx::MemoryNode* node : {&a, &b})
        EXPECT_EQ(std::string(node->GetUserPropBuffer()), "Color red\n");
}

TEST_F(ConversionTest, PositionsAreInMetres)
{
    context.SetUnitScale(vx::kHostUnitMillimeters);
    AddGeometry(host.GetRoot(), "Box").SetLocalTM(At(1000, 2000, 3000));
    Convert(false);
    ASSERT_EQ(RootInstances().size(), 1u);
    const vx::AnglePlacement placement = PlacementOf(*RootInstances()[0]);
    EXPECT_FLOAT_EQ(placement.x, 1);
    EXPECT_FLOAT_EQ(placement.y, 2);
    EXPECT_FLOAT_EQ(placement.z, 3);
}

TEST_F(ConversionTest, AnotherScaleUnderTheSameCompIdGetsAnObjectOfItsOwnWithTheSameGeometry)
{
    vx::MemoryNode& a = AddGeometry(host.GetRoot(), "Small", sharedObject);
    vx::MemoryNode& b = AddGeometry(host.GetRoot(), "Large", sharedObject);
    a.SetLocalTM(ScaledAt({2, 2, 2}, 0, 0, 0));
    b.SetLocalTM(ScaledAt({3, 4, 5}, 10, 0, 0));
    a.SetUserPropBuffer("COMPID = " + kCompId);
    b.SetUserPropBuffer("COMPID = " + kCompId);

    vx::MemoryNode& c = AddGeometry(host.GetRoot(), "Large2", sharedObject);
    c.SetLocalTM(ScaledAt({3, 4, 5}, 20, 0, 0));
    c.SetUserPropBuffer("COMPID = " + kCompId);

    Convert(false);

    ZR::ObjectInstance* small = RootInstance("Small");
    ZR::ObjectInstance* large = RootInstance("Large");
    ZR::ObjectInstance* large2 = RootInstance("Large2");
    ASSERT_TRUE(small && large && large2);
    // Each scale has an object of its own whose placement carries it (design axis order: host y
    // and z exchanged); nodes at the same scale share one; the pieces are the same vertex data.
    ASSERT_NE(small->object, large->object);
    EXPECT_EQ(large->object, large2->object);
    EXPECT_EQ(small->object->data.placement.matrix, vx::UniformScaleRotation(2));
    EXPECT_EQ(large->object->data.placement.matrix, (vx::Rotation {{3, 0, 0}, {0, 5, 0}, {0, 0, 4}}));
    ASSERT_EQ(small->object->data.Model.pairs.Count(), large->object->data.Model.pairs.Count());
    EXPECT_EQ(small->object->data.Model.pairs[0].vd.Get(), large->object->data.Model.pairs[0].vd.Get());
    for (const ZR::ObjectInstance* instance : {small, large, large2}) {
        EXPECT_EQ(instance->object->data.stretchType, ZR::CompositeObjectData::STRETCH_NONE);
        EXPECT_FALSE(instance->sizeFlag);
    }
}

TEST_F(ConversionTest, AnotherObjectUnderTheSameCompIdGetsAnObjectOfItsOwn)
{
    vx::MemoryNode& a = AddGeometry(host.GetRoot(), "A");
    vx::MemoryNode& b = AddGeometry(host.GetRoot(), "B");
    a.SetUserPropBuffer("COMPID = " + kCompId);
    b.SetUserPropBuffer("COMPID = " + kCompId);
    Convert(false);
    ASSERT_TRUE(RootInstance("A") && RootInstance("B"));
    EXPECT_NE(RootInstance("A")->object, RootInstance("B")->object);
    EXPECT_EQ(context.design.objects.Count(), 3u);
}

TEST_F(ConversionTest, NodesWithoutCompIdGetObjectsOfTheirOwnAndTheirChildrenBecomeInstances)
{
    vx::MemoryNode& table = AddGeometry(host.GetRoot(), "Table", sharedObject);
    table.SetLocalTM(At(5, 0, 0));
    AddGeometry(table, "Leg").SetLocalTM(At(1, 0, 0));
    Convert(false);

    ASSERT_EQ(RootInstances().size(), 1u);
    const ZR::CompositeObject& tableObject = *RootInstance("Table")->object;
    ASSERT_EQ(tableObject.data.Components.Count(), 1u);
    const ZR::ObjectInstance& leg = *tableObject.data.Components[0];
    EXPECT_STREQ(leg.name.c_str(), "Leg");
    EXPECT_EQ(PlacementOf(leg), (vx::AnglePlacement {1, 0, 0, 0, 0, 0})) << "relative to the table";
}

TEST_F(ConversionTest, ObjectSignatureKeepsFullWidthAddresses)
{
    vx::MemoryMaterial& material = host.AddMaterial(vx::kClassStandardMaterial, "m");
    vx::MemoryNode& node = AddGeometry(host.GetRoot(), "n", sharedObject, &material);
    const std::string pieces = vx::ObjectSignaturePieces(node);
    char expected[64];
    std::snprintf(expected, sizeof expected, "%016" PRIXPTR ";%016" PRIXPTR ";",
        reinterpret_cast<std::uintptr_t>(static_cast<vx::HostObject*>(sharedObject)),
        reinterpret_cast<std::uintptr_t>(static_cast<vx::HostMaterial*>(&material)));
    EXPECT_EQ(pieces, expected);
    EXPECT_EQ(vx::MakeObjectSignature(node), pieces + "[3E8,3E8,3E8]");

    vx::MemoryNode& camera = host.AddNode(host.GetRoot(), "camera");
    camera.SetObjectRef(&host.AddObject(vx::kSuperClassCamera, {1, 0}));
    EXPECT_EQ(vx::ObjectSignaturePieces(camera), "20;0;");
    EXPECT_EQ(vx::ScaleSignaturePiece({-1, 0.0004f, 2.5f}), "[FFFFFC19,0,9C4]");
    EXPECT_TRUE(vx::HaveSameObject("A;B;[1,1,1]", "A;B;[2,2,2]"));
    EXPECT_FALSE(vx::HaveSameObject("A;B;[1,1,1]", "A;C;[1,1,1]"));
}

TEST_F(ConversionTest, InstanceOfATemplateSharesItsCompositeAfterTheReferencedNodePass)
{
    vx::MemoryNode& door = AddGeometry(host.GetRoot(), "Door01", sharedObject);
    door.SetLocalTM(At(1, 0, 0));
    vx::MemoryNode& copy = AddGeometry(host.GetRoot(), "DoorCopy");
    copy.SetUserPropBuffer("ZRInstance Door01\nCOMPID = " + kCompId + "\n");
    copy.SetLocalTM(At(7, 0, 0));

    Convert(false);

    EXPECT_EQ(std::string(copy.GetUserPropBuffer()), "ZRInstance Door01\n");
    const std::vector<ZR::ObjectInstance*> instances = RootInstances();
    ASSERT_EQ(instances.size(), 2u);
    EXPECT_EQ(instances[0]->object, instances[1]->object);
    EXPECT_EQ(PlacementOf(*instances[1]).x, 7);
    // The copy's instance is the copy's: its name and its own lines, not the template's.
    EXPECT_STREQ(instances[1]->name.c_str(), "DoorCopy");
    const std::string* line
        = instances[1]->properties.FindText(ZR::MakePropertyKey("ZRInstance", ZR::PROPERTY_TYPE_TEXT));
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(*line, "Door01");
}

TEST_F(ConversionTest, TemplateThatIsNotGeometryIsReportedAndItsInstancesAddNothing)
{
    vx::MemoryNode& camera = host.AddNode(host.GetRoot(), "Cam");
    camera.SetObjectRef(&host.AddObject(vx::kSuperClassCamera, {1, 0}));
    AddGeometry(host.GetRoot(), "Shows camera").SetUserPropBuffer("ZRInstance Cam");
    Convert(false);
    EXPECT_TRUE(RootInstances().empty());
    EXPECT_EQ(LogLines(), std::vector<std::string> {"Failed to process referenced node with name: Cam"});
}

TEST_F(ConversionTest, TemplateContainingAnInstanceOfItselfStops)
{
    vx::MemoryNode& group = AddGroup(host.GetRoot(), "Loop");
    AddGeometry(group, "Body", sharedObject);
    AddGeometry(group, "Again").SetUserPropBuffer("ZRInstance Loop");
    vx::MemoryNode& outer = AddGeometry(host.GetRoot(), "Outer");
    outer.SetUserPropBuffer("ZRInstance Loop");

    Convert(false);

    // The group dissolves into the root: Body once for the group, once for the outer instance.
    EXPECT_EQ(RootInstances().size(), 2u);
    const std::vector<std::string> log = LogLines();
    ASSERT_FALSE(log.empty());
    for (const std::string& line : log)
        EXPECT_EQ(line, "Failed to process referenced node with name: Loop");
}

TEST_F(ConversionTest, GroupWithCompIdBecomesOneCompositePlacedInTheSystemGroup)
{
    host.SetSceneFile("/scenes/house.max");
    vx::MemoryObject& head = host.AddObject(vx::kSuperClassHelper, vx::kClassGroupHead);
    for (const char* name : {"GroupA", "GroupB"}) {
        vx::MemoryNode& group = AddGroup(host.GetRoot(), name);
        group.SetObjectRef(&head);
        group.SetUserPropBuffer("COMPID = " + kCompId);
        AddGeometry(group, std::string(name) + "-leaf", sharedObject);
    }
    vx::MemoryNode& plain = AddGroup(host.GetRoot(), "Plain");
    AddGeometry(plain, "Loose", sharedObject);

    Convert(false);

    ZR::ObjectInstance* a = RootInstance("GroupA");
    ZR::ObjectInstance* b = RootInstance("GroupB");
    ASSERT_TRUE(a && b);
    EXPECT_EQ(a->object, b->object);
    EXPECT_STREQ(a->object->name.c_str(), "GroupA");
    EXPECT_FALSE(a->object->fromGeometryNode);
    EXPECT_TRUE(a->object->data.Components.IsEmpty()) << "the leaves merge into the group's object";
    ASSERT_EQ(a->groups.Count(), 1u);
    EXPECT_STREQ(a->groups[0]->name.c_str(), "house.max");
    EXPECT_STREQ(a->groups[0]->data.Type.c_str(), "System");
    EXPECT_EQ(a->groups[0], b->groups[0]);
    EXPECT_EQ(a->groups[0]->data.Compo, designRoot);
    // A group without identifier dissolves into its parent.
    EXPECT_NE(RootInstance("Loose"), nullptr);
    EXPECT_EQ(RootInstance("Plain"), nullptr);
}

TEST_F(ConversionTest, SingleObjectModeMergesIntoTheTargetAndBuildsParts)
{
    vx::MemoryNode& valve1 = AddGeometry(host.GetRoot(), "Valve1");
    valve1.SetUserPropBuffer("VNXPart Valve");
    valve1.SetLocalTM(At(1, 2, 3));
    AddGeometry(host.GetRoot(), "Valve2").SetUserPropBuffer("VNXPart Valve\nCOMPID = " + kCompId);
    AddGeometry(host.GetRoot(), "Pump").SetUserPropBuffer("VNXPart");
    AddGeometry(host.GetRoot(), "Wall");

    Convert(true);

    ASSERT_EQ(RootInstances().size(), 2u);
    ZR::ObjectInstance* valve = RootInstance("Valve");
    ZR::ObjectInstance* pump = RootInstance("Pump");
    ASSERT_TRUE(valve && pump);
    EXPECT_STREQ(valve->object->name.c_str(), "Valve");
    EXPECT_TRUE(valve->object->fromGeometryNode);
    EXPECT_EQ(PlacementOf(*valve), (vx::AnglePlacement {1, 2, 3, 0, 0, 0}));
    const std::string* part
        = valve->properties.FindText(ZR::MakePropertyKey("VNXPart", ZR::PROPERTY_TYPE_TEXT));
    ASSERT_NE(part, nullptr);
    EXPECT_EQ(*part, "Valve");
    ASSERT_EQ(context.partTable.size(), 2u);
    EXPECT_EQ(context.partTable.at("Valve"), valve);
    EXPECT_EQ(context.partTable.at("Pump"), pump);
    EXPECT_EQ(std::string(host.GetNodeByName("Valve2")->GetUserPropBuffer()), "VNXPart Valve");
}

TEST_F(ConversionTest, ScalableTemplateKeepsItsIdentifierAndSizesFromTheBox)
{
    vx::MemoryObject& box = AddBoxObject({2, 4, 8});
    vx::MemoryNode& node = AddGeometry(host.GetRoot(), "Shelf", &box);
    node.SetUserPropBuffer("VNXScalable ShelfTemplate");
    // Another object with the same material shares the template silently; another material warns.
    AddGeometry(host.GetRoot(), "SameMaterial").SetUserPropBuffer("VNXScalable ShelfTemplate");
    vx::MemoryNode& other = AddGeometry(
        host.GetRoot(), "OtherShelf", nullptr, &host.AddMaterial(vx::kClassStandardMaterial, "m"));
    other.SetUserPropBuffer("VNXScalable ShelfTemplate");

    Convert(false);

    ZR::ObjectInstance* shelf = RootInstance("Shelf");
    ZR::ObjectInstance* otherShelf = RootInstance("OtherShelf");
    ASSERT_TRUE(shelf && otherShelf);
    const ZR::CompositeObject& object = *shelf->object;
    EXPECT_EQ(object.guid,
        ZR::CompositeObjectGuidByName(vx::DUniqueID::FromName("ShelfTemplate[SC];").ToString().c_str()));
    EXPECT_STREQ(object.name.c_str(), "ShelfTemplate");
    EXPECT_EQ(object.data.stretchType, ZR::CompositeObjectData::STRETCH_SCALABLE);
    EXPECT_TRUE(shelf->sizeFlag);
    EXPECT_DOUBLE_EQ(shelf->width, 2);
    EXPECT_DOUBLE_EQ(shelf->height, 8);
    EXPECT_DOUBLE_EQ(shelf->length, 4);
    // Another object under the template's name is converted as the template, with a warning.
    EXPECT_EQ(otherShelf->object, shelf->object);
    EXPECT_EQ(RootInstance("SameMaterial")->object, shelf->object);
    EXPECT_EQ(LogLines(),
        (std::vector<std::string> {"Template ShelfTemplate is based on object Shelf",
            "Warning: object [OtherShelf] has different material or reference object than its template "
            "[ShelfTemplate]; converting this object with same material and geometry as template"}));
}

TEST_F(ConversionTest, ExtrudableInstanceTakesTheLengthOfItsLongestAxis)
{
    AddGeometry(host.GetRoot(), "Rail", &AddBoxObject({2, 4, 9})).SetUserPropBuffer("VNXExtrudable");
    Convert(false);
    ZR::ObjectInstance* rail = RootInstance("Rail");
    ASSERT_NE(rail, nullptr);
    EXPECT_EQ(rail->object->data.stretchType, ZR::CompositeObjectData::STRETCH_EXTRUDABLE);
    EXPECT_TRUE(rail->lengthFlag);
    EXPECT_FALSE(rail->sizeFlag);
    EXPECT_DOUBLE_EQ(rail->width, 1);
    EXPECT_DOUBLE_EQ(rail->length, 9);
    EXPECT_EQ(SizesOf(*rail), (vx::Vector3 {1, 1, 1}));
}

TEST_F(ConversionTest, NormalisationScalesToOneUnitAndLaysTheExtrusionAlongZ)
{
    vx::MemoryNode& node = host.AddNode(host.GetRoot(), "n");
    const auto normalisation = [&](const char* text, vx::Vector3 extent, float scaleFactor) {
        node.SetUserPropBuffer(text);
        return vx::MakeNormalisationTransform(vx::NodeProperty(&node), extent, scaleFactor);
    };
    const vx::Transform scalable = normalisation("VNXScalable", {2, 4, 8}, 1);
    EXPECT_EQ(scalable.rows, (vx::Rotation {{0.5f, 0, 0}, {0, 0.125f, 0}, {0, 0, 0.25f}}));
    // In millimetres: 2000 x 4000 x 8000 units are the same box.
    EXPECT_EQ(normalisation("VNXScalable", {2000, 4000, 8000}, 0.001f).rows, scalable.rows);
    // A flat box keeps the scale 1 along its flat axis.
    EXPECT_EQ(normalisation("VNXScalable", {2, 4, 0}, 1).rows,
        (vx::Rotation {{0.5f, 0, 0}, {0, 1, 0}, {0, 0, 0.25f}}));
    // Extrudable: host x longest turns by an azimuth, host z by an elevation, host y not at all.
    EXPECT_EQ(normalisation("VNXExtrudable", {8, 2, 4}, 1).rows,
        (vx::Rotation {{0, 0, -0.125f}, {0, 1, 0}, {1, 0, 0}}));
    EXPECT_EQ(normalisation("VNXExtrudable", {2, 4, 8}, 1).rows,
        (vx::Rotation {{1, 0, 0}, {0, 0, 0.125f}, {0, -1, 0}}));
    EXPECT_EQ(normalisation("VNXExtrudable", {2, 8, 4}, 1).rows,
        (vx::Rotation {{1, 0, 0}, {0, 1, 0}, {0, 0, 0.125f}}));
    EXPECT_EQ(normalisation("VNXExtrudable", {0, 0, 0}, 1).rows, vx::IdentityRotation());
    EXPECT_EQ(normalisation("VNXScalable\nVNXExtrudable", {2, 4, 8}, 1).rows, scalable.rows);
    EXPECT_EQ(normalisation("Other", {2, 4, 8}, 1).rows, vx::IdentityRotation());
}

TEST_F(ConversionTest, GeometryOfScalableObjectsSpansOneUnit)
{
    AddGeometry(host.GetRoot(), "Shelf", &AddBoxObject({2, 4, 8})).SetUserPropBuffer("VNXScalable");
    Convert(false);
    ASSERT_NE(RootInstance("Shelf"), nullptr);
    const ZR::CompositeObject& shelf = *RootInstance("Shelf")->object;
    EXPECT_TRUE(shelf.fromGeometryNode);
    ASSERT_FALSE(shelf.data.Model.pairs.IsEmpty());
    vx::Vector3 highest {-1, -1, -1};
    for (const ZR::ModelPair& pair : shelf.data.Model.pairs) {
        ASSERT_TRUE(pair.vd);
        for (int32_t i = 0; i < pair.vd->vertexCount; ++i) {
            const vx::Vector3 p = pair.vd->GetPosition(i);
            highest = {std::max(highest.x, p.x), std::max(highest.y, p.y), std::max(highest.z, p.z)};
        }
    }
    EXPECT_NEAR(highest.x, 1, 1e-5);
    EXPECT_NEAR(highest.y, 1, 1e-5);
    EXPECT_NEAR(highest.z, 1, 1e-5);
}

TEST_F(ConversionTest, SingleObjectPairsArePlacedByTheNodeAndKeepItsBox)
{
    AddGeometry(host.GetRoot(), "Wall", sharedObject).SetLocalTM(At(1, 2, 3));
    Convert(true);
    EXPECT_TRUE(RootInstances().empty());
    ASSERT_FALSE(designRoot->data.Model.pairs.IsEmpty());
    const ZR::ModelPair& pair = designRoot->data.Model.pairs[0];
    // The pair's placement is in the design frame: the host's y and z exchanged.
    EXPECT_EQ(pair.transform.position, (vx::Vector3 {1, 3, 2}));
    EXPECT_EQ(pair.transform.rows, vx::IdentityRotation());
    EXPECT_EQ(pair.sourceBox.max, (vx::Vector3 {1, 1, 1}));
    EXPECT_FALSE(designRoot->data.Aabb.valid) << "the box is computed again after the conversion";
}

TEST_F(ConversionTest, ConvertedNodesLoseTheirPassKeysInBothModes)
{
    for (const bool single : {false, true}) {
        SCOPED_TRACE(single);
        vx::MemoryNode& group = AddGroup(host.GetRoot(), "G");
        vx::MemoryNode& leaf = AddGeometry(group, "L");
        for (vx::MemoryNode* node : {&group, &leaf})
            node->SetUserPropBuffer("Keep = 1\nCOMPID = " + kCompId + "\nGEOMID = " + kCompId + "\n");
        Convert(single);
        for (vx::MemoryNode* node : {&group, &leaf})
            EXPECT_EQ(std::string(node->GetUserPropBuffer()), "Keep = 1\n");
        ReleaseTree();
    }
}

TEST_F(ConversionTest, SignaturesBelongToTheRun)
{
    AddGeometry(host.GetRoot(), "A").SetUserPropBuffer("COMPID = " + kCompId);
    Convert(false);
    EXPECT_EQ(vx::ObjectSignatures().Count(), 1u);
    context.EmptyRunTables();
    EXPECT_EQ(vx::ObjectSignatures().Count(), 0u);
}

} // namespace
