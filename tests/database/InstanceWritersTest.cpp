// The writers of the design's structure: geometries shared by their model description, categories,
// object instances depth first, sharing of equal objects, part keys and failed objects.

#include "SqliteReader.h"

#include "database/CategoryWriter.h"
#include "database/CompositeObjectWriter.h"
#include "database/InstanceWriter.h"
#include "database/ModelDescription.h"
#include "database/ObjectSharing.h"
#include "database/PartKeys.h"
#include "database/SqlWriter.h"

#include "design/CompositeObject.h"
#include "design/Group.h"
#include "design/PropertyKey.h"
#include "design/PropertyTypes.h"
#include "support/DebugCapture.h"
#include "support/DesignWriteRun.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <string>
#include <vector>

namespace {

using Strings = std::vector<std::string>;

vx::VMRef<vx::VMVertexData> MakeTriangle(float size)
{
    auto vd = vx::MakeVMRef<vx::VMVertexData>();
    vd->SetPrimitiveType(vx::VMVertexData::TRIANGLE_LIST);
    vd->SetVertexCount(3);
    vd->SetPosition(0, {0, 0, 0});
    vd->SetPosition(1, {size, 0, 0});
    vd->SetPosition(2, {0, size, 0});
    vd->SetIndexCount(3);
    for (int i = 0; i < 3; ++i)
        vd->SetIndex(i, static_cast<uint16_t>(i));
    return vd;
}

class InstanceWriters : public testing::Test {
protected:
    std::unique_ptr<vxtest::SqliteReader> Read()
    {
        EXPECT_TRUE(writer->Close().Succeeded());
        return std::make_unique<vxtest::SqliteReader>(path);
    }

    ZR::CompositeObject& NewObject(const char* name)
    {
        auto& co = *objects.emplace_back(std::make_unique<ZR::CompositeObject>());
        co.name.Assign(name);
        co.data.Lod = 2;
        co.data.Aabb = {{0, 0, 0}, {1, 1, 1}, true};
        return co;
    }
    // An object with one pair of the shared triangle and material.
    ZR::CompositeObject& GeometryObject(const char* name)
    {
        ZR::CompositeObject& co = NewObject(name);
        ZR::ModelPair& pair = co.data.Model.pairs.Append();
        pair.vd = triangle;
        pair.rs = material;
        co.fromGeometryNode = true;
        return co;
    }
    ZR::ObjectInstance& Place(ZR::CompositeObject& owner, ZR::CompositeObject& target, const char* name = "")
    {
        ZR::ObjectInstance* oi = owner.AddComponent(&target, vx::DUniqueID::NewSequential());
        oi->name.Assign(name);
        return *oi;
    }

    vxtest::TempDir dir;
    std::string path = dir.File("plan.vx");
    std::unique_ptr<vx::SqlWriter> writer = std::make_unique<vx::SqlWriter>(path);
    vxtest::DesignWriteRun run {*writer};
    std::vector<std::unique_ptr<ZR::CompositeObject>> objects;
    vx::VMRef<vx::VMVertexData> triangle = MakeTriangle(1.0f);
    vx::VMRef<vx::VMRenderState> material = vx::MakeVMRef<vx::VMRenderState>();
};

TEST_F(InstanceWriters, EqualModelTextsShareOneGeometryButAPartsGeometryIsItsOwn)
{
    ZR::CompositeObject& part = GeometryObject("valve");
    ZR::CompositeObject& first = GeometryObject("a");
    ZR::CompositeObject& second = GeometryObject("b");
    ZR::CompositeObject& other = GeometryObject("c");
    other.data.Model.pairs.GetNo(0).vd = MakeTriangle(2.0f);

    ASSERT_TRUE(vx::WriteCompositeObject(run.write, part, false, true));
    ASSERT_TRUE(vx::WriteCompositeObject(run.write, first));
    ASSERT_TRUE(vx::WriteCompositeObject(run.write, second));
    ASSERT_TRUE(vx::WriteCompositeObject(run.write, other));

    // The part's geometry is not taken over by the later objects of the same text.
    EXPECT_GE(part.data.Model.geomid, 0);
    EXPECT_NE(first.data.Model.geomid, part.data.Model.geomid);
    EXPECT_EQ(second.data.Model.geomid, first.data.Model.geomid);
    EXPECT_NE(other.data.Model.geomid, first.data.Model.geomid);
    const auto db = Read();
    EXPECT_EQ(db->Column("SELECT count(*) FROM Geometries;"), Strings {"3"});
    EXPECT_EQ(db->Column("SELECT count(DISTINCT model) FROM Geometries;"), Strings {"2"});
    // Every geometry row has its own identifier.
    EXPECT_EQ(db->Column("SELECT count(DISTINCT g.guid) FROM Geometries x JOIN Guids g ON g.luid = x.luid;"),
        Strings {"3"});
    EXPECT_EQ(db->Column("SELECT name || ' ' || geometry_luid FROM CompositeObjects ORDER BY luid;"),
        (Strings {"valve " + std::to_string(part.data.Model.geomid),
            "a " + std::to_string(first.data.Model.geomid), "b " + std::to_string(first.data.Model.geomid),
            "c " + std::to_string(other.data.Model.geomid)}));
    // Every file the descriptions name belongs to their geometry.
    EXPECT_EQ(db->Column("SELECT count(*) FROM Geometries g WHERE NOT EXISTS "
                         "(SELECT 1 FROM Files f WHERE f.geometry_luid = g.luid);"),
        Strings {"0"});
}

TEST_F(InstanceWriters, InstanceRowsFollowTheirTargetsInDatabaseAxes)
{
    ZR::CompositeObject& owner = NewObject("room");
    ZR::CompositeObject& table = GeometryObject("table");
    ZR::ObjectInstance& a = Place(owner, table, "table 1");
    a.placement.position = {1, 2, 3};
    ZR::ObjectInstance& b = Place(owner, table);
    // A quarter turn about the design's z axis (the stored y axis: an azimuth), scaled by 2 along
    // the local x axis.
    b.placement.matrix = {{0, 2, 0}, {-1, 0, 0}, {0, 0, 1}};
    b.sizeFlag = true;
    b.length = 4;
    b.height = 5;
    b.width = 6;
    ZR::ObjectInstance& c = Place(owner, table, "c");
    c.lengthFlag = true;
    c.length = 7;
    c.chainFlag = true;
    c.chain = 3;
    c.flags = 9;

    ASSERT_TRUE(vx::WriteCompositeObject(run.write, owner));
    const auto db = Read();
    // The target's row comes before the instance rows that place it.
    EXPECT_EQ(db->Column("SELECT name FROM CompositeObjects ORDER BY luid;"), (Strings {"room", "table"}));
    EXPECT_EQ(db->Column("SELECT ifnull(name, 'NULL') || ' ' || (ownerobject_luid = "
                  + std::to_string(owner.guid.dbid)
                  + ") || ' ' || (object_luid = " + std::to_string(table.guid.dbid)
                  + ") || ' ' || ifnull(chain, 'NULL') || ' ' || ifnull(length, 'NULL') || ' ' || "
                    "ifnull(height, 'NULL') || ' ' || ifnull(width, 'NULL') || ' ' || flags || ' ' || pos_x "
                    "|| ' ' || pos_y || ' ' || pos_z || ' ' || rot_az || ' ' || rot_el || ' ' || rot_tw "
                    "FROM ObjectInstances ORDER BY luid;"),
        (Strings {"table 1 1 1 NULL NULL NULL NULL 0 1.0 3.0 2.0 0.0 0.0 0.0",
            "NULL 1 1 NULL 4.0 5.0 6.0 0 0.0 0.0 0.0 90.0 0.0 0.0",
            "c 1 1 3 7.0 NULL NULL 9 0.0 0.0 0.0 0.0 0.0 0.0"}));
    EXPECT_TRUE(a.IsInDB());
}

TEST_F(InstanceWriters, UnwritableInstancesAreNamedAsFailedAndWriteNothing)
{
    ZR::CompositeObject& owner = NewObject("room");
    ZR::CompositeObject& table = GeometryObject("table");
    ZR::CompositeObject& empty = NewObject("empty");
    ZR::CompositeObject& noLod = GeometryObject("no lod");
    noLod.data.Lod = ZR::CompositeObjectData::lInvalid;
    Place(owner, empty, "on empty");
    Place(owner, noLod);
    Place(owner, table, "flat").placement.matrix.R2 = {0, 0, 0};
    Place(owner, table, "far").placement.position.x = std::numeric_limits<float>::infinity();
    Place(owner, table, "nan size").length = std::nan("");
    Place(owner, table, "fine");

    vxtest::DebugCapture debug;
    ASSERT_TRUE(vx::WriteCompositeObject(run.write, owner));
    // The nameless instance is reported by its empty name (the run's list says "- no name -").
    EXPECT_EQ(run.report.failedObjects, (Strings {"on empty", "", "flat", "far", "nan size"}));
    EXPECT_EQ(run.report.failedObjects.size(), 5u);
    EXPECT_NE(debug.Text().find("Instance \"flat\" not written"), std::string::npos);
    const auto db = Read();
    EXPECT_EQ(db->Column("SELECT name FROM ObjectInstances;"), Strings {"fine"});
    EXPECT_EQ(db->Column("SELECT name FROM CompositeObjects ORDER BY luid;"), (Strings {"room", "table"}));
}

TEST_F(InstanceWriters, ARefusedRowLeavesTheRecordUnwrittenAndNamesIt)
{
    ZR::CompositeObject& owner = NewObject("room");
    ZR::CompositeObject& table = GeometryObject("table");
    ZR::ObjectInstance& refused = Place(owner, table, "refused");
    refused.properties.SetText(ZR::MakePropertyKey("Colour", ZR::PROPERTY_TYPE_TEXT), "red");
    ZR::CompositeObject& lamp = GeometryObject("lamp");
    lamp.data.Model.pairs.GetNo(0).vd = MakeTriangle(3.0f);
    Place(owner, lamp, "lamp 1");
    writer->GetDatabase().Exec("CREATE TEMP TRIGGER refuse BEFORE INSERT ON ObjectInstances "
                               "WHEN NEW.name = 'refused' BEGIN SELECT RAISE(ABORT, 'refused'); END;");
    writer->GetDatabase().Exec("CREATE TEMP TRIGGER refuse2 BEFORE INSERT ON Geometries "
                               "WHEN NEW.name = 'lamp' BEGIN SELECT RAISE(ABORT, 'refused'); END;");

    vxtest::DebugCapture debug;
    ASSERT_TRUE(vx::WriteCompositeObject(run.write, owner));
    EXPECT_FALSE(refused.IsInDB());
    EXPECT_FALSE(lamp.IsInDB());
    EXPECT_EQ(lamp.data.Model.geomid, -1);
    EXPECT_EQ(run.report.failedObjects, (Strings {"refused", "lamp 1"}));
    EXPECT_NE(debug.Text().find("SQLITE3 ERROR: {refused}"), std::string::npos);
    const auto db = Read();
    EXPECT_EQ(db->Column("SELECT count(*) FROM ObjectInstances;"), Strings {"0"});
    // No property row points at the missing instance.
    EXPECT_EQ(db->Column("SELECT count(*) FROM Properties;"), Strings {"0"});
    EXPECT_EQ(db->Column("SELECT name FROM CompositeObjects ORDER BY luid;"), (Strings {"room", "table"}));
}

TEST_F(InstanceWriters, AGeometryWhoseBufferFileIsRefusedIsTakenBackWhole)
{
    ZR::CompositeObject& owner = NewObject("room");
    ZR::CompositeObject& table = GeometryObject("table");
    ZR::CompositeObject& chair = GeometryObject("chair");
    chair.data.Model.pairs.GetNo(0).vd = MakeTriangle(2.0f);
    Place(owner, table, "table 1");
    Place(owner, chair, "chair 1");
    writer->GetDatabase().Exec("CREATE TEMP TRIGGER refuse BEFORE INSERT ON Files "
                               "WHEN NEW.geometry_luid = (SELECT luid FROM Geometries WHERE name = 'table') "
                               "BEGIN SELECT RAISE(ABORT, 'refused'); END;");

    vxtest::DebugCapture debug;
    ASSERT_TRUE(vx::WriteCompositeObject(run.write, owner));
    EXPECT_EQ(table.data.Model.geomid, -1);
    EXPECT_FALSE(table.IsInDB());
    EXPECT_EQ(run.report.failedObjects, Strings {"table 1"});
    EXPECT_NE(debug.Text().find("Geometry of \"table\" not written"), std::string::npos);
    const auto db = Read();
    EXPECT_EQ(db->Column("SELECT name FROM Geometries;"), Strings {"chair"});
    EXPECT_EQ(
        db->Column("SELECT count(*) FROM Files WHERE geometry_luid NOT IN (SELECT luid FROM Geometries);"),
        Strings {"0"});
    EXPECT_EQ(db->Column("SELECT name FROM ObjectInstances;"), Strings {"chair 1"});
}

TEST_F(InstanceWriters, AnInstanceThatLeadsBackIntoItsOwnerIsRefused)
{
    ZR::CompositeObject& a = NewObject("a");
    ZR::CompositeObject& b = NewObject("b");
    Place(a, b, "a holds b");
    Place(b, a, "b holds a");

    ASSERT_TRUE(vx::WriteCompositeObject(run.write, a));
    EXPECT_EQ(run.report.failedObjects, Strings {"b holds a"});
    EXPECT_FALSE(vx::AreEqualObjects(&a, &b));
    const auto db = Read();
    EXPECT_EQ(db->Column("SELECT name FROM ObjectInstances;"), Strings {"a holds b"});
}

TEST_F(InstanceWriters, PerObjectModeWritesEqualTargetsOnce)
{
    run.options.singleObjectActive = false;
    ZR::CompositeObject& owner = NewObject("room");
    ZR::CompositeObject& chair1 = GeometryObject("chair");
    ZR::CompositeObject& chair2 = GeometryObject("chair copy");
    ZR::CompositeObject& tagged = GeometryObject("tagged chair");
    tagged.data.properties.SetText(ZR::MakePropertyKey("Colour", ZR::PROPERTY_TYPE_TEXT), "red");
    ZR::CompositeObject& stretched = GeometryObject("stretched chair");
    stretched.data.stretchType = ZR::CompositeObjectData::STRETCH_SCALABLE;
    ZR::CompositeObject& coarse = GeometryObject("coarse chair");
    coarse.data.Lod = 3;
    for (ZR::CompositeObject* target : {&chair1, &chair2, &tagged, &stretched, &coarse})
        Place(owner, *target);

    ASSERT_TRUE(vx::WriteCompositeObject(run.write, owner));
    EXPECT_EQ(owner.data.Components.GetNo(1)->object, &chair1);
    EXPECT_FALSE(chair2.IsInDB());
    const auto db = Read();
    EXPECT_EQ(db->Column("SELECT name FROM CompositeObjects ORDER BY luid;"),
        (Strings {"room", "chair", "tagged chair", "stretched chair", "coarse chair"}));
    EXPECT_EQ(db->Column("SELECT count(DISTINCT object_luid) FROM ObjectInstances;"), Strings {"4"});
    EXPECT_EQ(db->Column("SELECT count(*) FROM Geometries;"), Strings {"1"});
}

TEST(GeometryMap, SharesOnlyTheSameTextUnderAnIdentifier)
{
    vx::GeometryMap map;
    const vx::DUniqueID id = vx::DUniqueID::FromName("<model/>");
    EXPECT_EQ(map.FindShared(id, "<model/>"), -1);
    map.AddShared(id, "<model/>", 5);
    // Another text under the same identifier (a CRC collision) is a geometry of its own.
    EXPECT_EQ(map.FindShared(id, "<model />"), -1);
    map.AddShared(id, "<model />", 7);
    EXPECT_EQ(map.FindShared(id, "<model/>"), 5);
    EXPECT_EQ(map.FindShared(id, "<model />"), 7);
    // The geometry written last for a text is the one shared.
    map.AddShared(id, "<model/>", 9);
    EXPECT_EQ(map.FindShared(id, "<model/>"), 9);
    EXPECT_FALSE(map.IsUsed(id));
    map.MarkUsed(id);
    EXPECT_TRUE(map.IsUsed(id));
}

TEST(ObjectSharing, ComparesComponentsRecursivelyAndRemembersResolvedObjects)
{
    auto makeObject = [] {
        auto co = std::make_unique<ZR::CompositeObject>();
        co->data.Lod = 2;
        return co;
    };
    auto leaf1 = makeObject();
    auto leaf2 = makeObject();
    auto a = makeObject();
    auto b = makeObject();
    a->AddComponent(leaf1.get(), vx::DUniqueID::NewSequential())->placement.position = {1, 2, 3};
    ZR::ObjectInstance* ib = b->AddComponent(leaf2.get(), vx::DUniqueID::NewSequential());
    ib->placement.position = {1, 2, 3};
    EXPECT_TRUE(vx::AreEqualObjects(a.get(), b.get()));
    ib->placement.matrix.R0 = {0, 1, 0};
    EXPECT_FALSE(vx::AreEqualObjects(a.get(), b.get()));
    ib->placement.matrix.R0 = {1, 0, 0};
    leaf2->data.explode = true;
    EXPECT_FALSE(vx::AreEqualObjects(a.get(), b.get()));
    leaf2->data.explode = false;

    vx::SharingList list;
    EXPECT_EQ(vx::ShareEqualObject(list, a.get()), a.get());
    EXPECT_EQ(vx::ShareEqualObject(list, b.get()), a.get());
    EXPECT_EQ(list.objects.size(), 1u);
    // Resolved once, b stays with a.
    leaf2->data.Lod = 5;
    EXPECT_EQ(vx::ShareEqualObject(list, b.get()), a.get());
    EXPECT_EQ(vx::ShareEqualObject(list, leaf2.get()), leaf2.get());
    EXPECT_EQ(vx::ShareEqualObject(list, nullptr), nullptr);
}

TEST(ObjectSharing, PicksTheFirstEqualEntryInListOrder)
{
    auto makeObject = [](int32_t lod, const vx::DUniqueID& id = vx::DUniqueID::NewSequential()) {
        auto co = std::make_unique<ZR::CompositeObject>(id);
        co->data.Lod = lod;
        return co;
    };
    const vx::DUniqueID sharedId = vx::DUniqueID::NewSequential();
    auto other = makeObject(1);
    auto equalFirst = makeObject(2);
    auto equalSecond = makeObject(2);
    auto sameIdDifferent = makeObject(7, sharedId);
    auto probe = makeObject(2, sharedId);
    auto plain = makeObject(2);

    // Entries with the same identifier count as equal whatever their content: the earlier of the
    // identifier match and the content match wins, and equal content picks its first entry.
    struct Case {
        std::vector<ZR::CompositeObject*> entries;
        ZR::CompositeObject* object;
        ZR::CompositeObject* expected;
    };
    const std::vector<Case> cases {
        {{other.get(), equalFirst.get(), equalSecond.get()}, plain.get(), equalFirst.get()},
        {{other.get(), sameIdDifferent.get(), equalFirst.get()}, probe.get(), sameIdDifferent.get()},
        {{equalFirst.get(), sameIdDifferent.get()}, probe.get(), equalFirst.get()},
        {{other.get(), sameIdDifferent.get()}, plain.get(), plain.get()},
    };
    for (std::size_t i = 0; i < cases.size(); ++i) {
        vx::SharingList list;
        list.objects = cases[i].entries;
        EXPECT_EQ(vx::ShareEqualObject(list, cases[i].object), cases[i].expected) << "case " << i;
    }

    // Entries added by sharing itself are found as well, in the order they joined.
    vx::SharingList list;
    EXPECT_EQ(vx::ShareEqualObject(list, other.get()), other.get());
    EXPECT_EQ(vx::ShareEqualObject(list, equalFirst.get()), equalFirst.get());
    EXPECT_EQ(vx::ShareEqualObject(list, equalSecond.get()), equalFirst.get());
    EXPECT_EQ(vx::ShareEqualObject(list, plain.get()), equalFirst.get());
    EXPECT_EQ(list.objects.size(), 2u);
}

TEST_F(InstanceWriters, APartGetsItsOwnGeometryWithThePartKey)
{
    ZR::CompositeObject& owner = NewObject("plant");
    ZR::CompositeObject& valve = GeometryObject("valve");
    ZR::CompositeObject& pipe = GeometryObject("pipe");
    ZR::ObjectInstance& part = Place(owner, valve, "V1");
    part.placement.position = {1, 2, 3};
    part.properties.SetText(ZR::MakePropertyKey("VNXPart", ZR::PROPERTY_TYPE_TEXT), "Valve");
    ZR::ObjectInstance& unnamedPart = Place(owner, pipe, "P1");
    unnamedPart.placement.matrix = {{0, 1, 0}, {-1, 0, 0}, {0, 0, 1}};
    unnamedPart.properties.SetText(ZR::MakePropertyKey("VNXPart", ZR::PROPERTY_TYPE_TEXT), "");

    EXPECT_TRUE(vx::HasPartProperty(part));
    EXPECT_EQ(vx::PartKeyText("Valve", part.placement), "N[Valve]##P[1 3 2]##R[0 0 0]");
    ASSERT_TRUE(vx::WriteCompositeObject(run.write, owner));
    EXPECT_NE(valve.data.Model.geomid, pipe.data.Model.geomid);
    const auto db = Read();
    EXPECT_EQ(db->Column(
                  "SELECT (p.luid = g.luid) || ' ' || d.name || ' ' || p.value FROM Properties p "
                  "JOIN PropertyDictionary d ON d.luid = p.propdic_luid JOIN Geometries g ON g.luid = p.luid "
                  "ORDER BY g.luid;"),
        (Strings {"1 VNXPart N[Valve]##P[1 3 2]##R[0 0 0]", "1 VNXPart N[P1]##P[0 0 0]##R[90 0 0]"}));
}

TEST_F(InstanceWriters, GroupMembersAndCategoriesGetTheirRows)
{
    ZR::CompositeObject& owner = NewObject("house");
    ZR::CompositeObject& table = GeometryObject("table");
    ZR::Category top;
    top.name.Assign("Furniture");
    ZR::Category tables;
    tables.name.Assign("Tables");
    tables.parent = &top;
    table.data.categories.Append(&tables);
    ZR::ObjectInstance& first = Place(owner, table, "t1");
    ZR::ObjectInstance& second = Place(owner, table, "t2");
    ZR::AddGroup(first, "Plan", "System", owner);
    ZR::AddGroup(second, "Plan", "System", owner);

    ASSERT_TRUE(vx::WriteCompositeObject(run.write, owner));
    EXPECT_EQ(vx::WriteCategory(*writer, tables), tables.guid.dbid);
    ZR::Category loop;
    loop.parent = &loop;
    vxtest::DebugCapture debug;
    EXPECT_EQ(vx::WriteCategory(*writer, loop), -1);
    EXPECT_NE(debug.Text().find("category parent cycle"), std::string::npos);
    const auto db = Read();
    EXPECT_EQ(db->Column("SELECT c.name || ' ' || ifnull(p.name, 'NULL') FROM Categories c "
                         "LEFT JOIN Categories p ON p.id = c.parentcategory_id ORDER BY c.id;"),
        (Strings {"Furniture NULL", "Tables Furniture"}));
    EXPECT_EQ(db->Column("SELECT o.name || ' ' || c.name FROM ObjectCategories x JOIN CompositeObjects o "
                         "ON o.luid = x.object_luid JOIN Categories c ON c.id = x.category_id;"),
        Strings {"table Tables"});
    EXPECT_EQ(db->Column("SELECT i.name || ' ' || d.name || ' ' || d.type || ' ' || ifnull(p.value, 'NULL') "
                         "FROM Properties p JOIN ObjectInstances i ON i.luid = p.luid "
                         "JOIN PropertyDictionary d ON d.luid = p.propdic_luid ORDER BY i.luid;"),
        (Strings {"t1 Plan 641 NULL", "t2 Plan 641 NULL"}));
}

TEST_F(InstanceWriters, LibraryObjectsAndTheRootInstanceHangIntoTheRootRecord)
{
    ZR::CompositeObject& root = NewObject("design");
    ZR::CompositeObject& table = GeometryObject("table");
    ZR::CompositeObject& lamp = GeometryObject("lamp");
    lamp.data.Model.pairs.GetNo(0).vd = MakeTriangle(3.0f);
    // Written before it becomes a library object: its property row follows at once.
    ASSERT_TRUE(vx::WriteCompositeObject(run.write, lamp));
    Place(root, table, "t1");
    Place(root, table, "t2");
    Place(root, lamp, "l1");

    EXPECT_TRUE(vx::WriteLibraryObjects(run.write, 42, root.data.Components));
    EXPECT_EQ(run.report.progressSteps, 3);
    EXPECT_TRUE(vx::WriteCompositeObject(run.write, root));
    EXPECT_TRUE(vx::WriteRootInstance(*writer, 42, root));
    ZR::CompositeObject unwritten;
    vxtest::DebugCapture debug;
    EXPECT_FALSE(vx::WriteRootInstance(*writer, 42, unwritten));
    EXPECT_NE(debug.Text().find("co->IsInDB()"), std::string::npos);
    const auto db = Read();
    EXPECT_EQ(
        db->Column(
            "SELECT o.name FROM Properties p JOIN CompositeObjects o ON o.luid = p.luid "
            "JOIN PropertyDictionary d ON d.luid = p.propdic_luid "
            "WHERE d.name = 'ImportTemplate' AND d.type = 257 AND p.value = 'Release' ORDER BY o.name;"),
        (Strings {"lamp", "table"}));
    EXPECT_EQ(db->Column("SELECT name || ' ' || ownerobject_luid FROM ObjectInstances ORDER BY luid;"),
        (Strings {"t1 42", "t2 42", "l1 42", "design 42"}));
    EXPECT_EQ(db->Column("SELECT (object_luid = " + std::to_string(root.guid.dbid)
                  + ") || ' ' || flags || ' ' || pos_x || ' ' || rot_tw || ' ' || ifnull(length, 'NULL') "
                    "FROM ObjectInstances WHERE name = 'design';"),
        Strings {"1 0 0.0 0.0 NULL"});
}

TEST_F(InstanceWriters, ACancelStopsTheWritingAfterTheCurrentTopLevelInstance)
{
    run.report.cancelFromStep = 2;
    ZR::CompositeObject& root = NewObject("design");
    ZR::CompositeObject& table = GeometryObject("table");
    for (const char* name : {"t1", "t2", "t3"})
        Place(root, table, name);

    EXPECT_FALSE(vx::WriteLibraryObjects(run.write, 42, root.data.Components));
    EXPECT_EQ(run.report.progressSteps, 2);
    // The design root written with progress stops the same way.
    ZR::CompositeObject& other = NewObject("other");
    for (const char* name : {"o1", "o2", "o3"})
        Place(other, table, name);
    run.report.progressSteps = 0;
    EXPECT_TRUE(vx::WriteCompositeObject(run.write, other, true));
    const auto db = Read();
    EXPECT_EQ(
        db->Column("SELECT name FROM ObjectInstances ORDER BY luid;"), (Strings {"t1", "t2", "o1", "o2"}));
}

} // namespace
