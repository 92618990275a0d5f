// The design record writers: the root record, composite objects and their properties.

#include "SqliteReader.h"

#include "database/CompositeObjectWriter.h"
#include "database/FilesEntry.h"
#include "database/GroupWriter.h"
#include "database/PropertyWriter.h"
#include "database/RootRecordWriter.h"
#include "database/SqlWriter.h"
#include "database/TextureWriter.h"

#include "design/CompositeObject.h"
#include "design/PropertyKey.h"
#include "support/DebugCapture.h"
#include "support/DesignWriteRun.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

namespace {

using Strings = std::vector<std::string>;

class DesignRecordWriters : public testing::Test {
protected:
    // Closes the writer and opens the file for reading.
    std::unique_ptr<vxtest::SqliteReader> Read()
    {
        const vx::DatabaseCloseResult closed = writer->Close();
        EXPECT_TRUE(closed.Succeeded());
        return std::make_unique<vxtest::SqliteReader>(path);
    }

    // An object that can be written: one component, a valid box, Lod 2.
    ZR::CompositeObject& WritableObject(const char* name)
    {
        auto& co = *objects.emplace_back(std::make_unique<ZR::CompositeObject>());
        auto& target = *objects.emplace_back(std::make_unique<ZR::CompositeObject>());
        co.name.Assign(name);
        co.AddComponent(&target, vx::DUniqueID::NewSequential());
        co.data.Aabb = {{1, 2, 3}, {4, 5, 6}, true};
        co.data.Lod = 2;
        return co;
    }

    vxtest::TempDir dir;
    std::string path = dir.File("plan.vx");
    std::unique_ptr<vx::SqlWriter> writer = std::make_unique<vx::SqlWriter>(path);
    vxtest::DesignWriteRun run {*writer};
    std::vector<std::unique_ptr<ZR::CompositeObject>> objects;
};

TEST(RootCamera, LooksAtTheBoxFromItsFront)
{
    const vx::CameraPosition camera = vx::RootCameraPosition({{0, 0, 0}, {2, 4, 6}, true});
    EXPECT_EQ(camera.x, 1.0);
    EXPECT_NEAR(camera.y, -3.9105, 1e-4);
    EXPECT_EQ(camera.z, 2.0);
    // Single precision throughout.
    const float d = 6.0f / 2.0f + (4.0f * 0.5f * 1.1f) / std::tan(0.5235988f) + 0.1f;
    EXPECT_EQ(camera.y, static_cast<double>(3.0f - d));

    // A box wider than the largest float still gives a finite camera, centred, in front of it.
    const vx::CameraPosition wide
        = vx::RootCameraPosition({{-3e38f, -3e38f, -3e38f}, {3e38f, 3e38f, 3e38f}, true});
    EXPECT_TRUE(std::isfinite(wide.x) && std::isfinite(wide.y) && std::isfinite(wide.z));
    EXPECT_EQ(wide.x, 0.0);
    EXPECT_EQ(wide.z, 0.0);
    EXPECT_LT(wide.y, -3e38);
}

TEST_F(DesignRecordWriters, RootRecordCarriesTheBoxAndTheCamera)
{
    const int64_t luid = vx::WriteDatabaseRoot(*writer, "villa", {{0, 0, 0}, {2, 4, 6}, true}, true);
    EXPECT_EQ(luid, 1);
    const auto db = Read();
    EXPECT_EQ(db->Column(
                  "SELECT luid || ' ' || name || ' ' || aabb_min_x || ' ' || aabb_min_y || ' ' || aabb_min_z "
                  "|| ' ' || aabb_max_x || ' ' || aabb_max_y || ' ' || aabb_max_z || ' ' || lod_id "
                  "FROM CompositeObjects;"),
        Strings {"1 villa 0.0 0.0 0.0 2.0 6.0 4.0 0"});
    EXPECT_EQ(
        db->Column(
            "SELECT count(*) FROM CompositeObjects WHERE coalesce(geometry_luid, geometry_pos_x, "
            "geometry_pos_y, geometry_pos_z, geometry_rot_az, geometry_rot_el, geometry_rot_tw, "
            "geometry_scale_x, geometry_scale_y, geometry_scale_z, explode, chain, traceable) IS NULL;"),
        Strings {"1"});
    EXPECT_EQ(
        db->Column(
            "SELECT object_luid || ' ' || ifnull(inbox_id, 'NULL') || ' ' || camera_x || ' ' "
            "|| round(camera_y, 4) || ' ' || camera_z || ' ' || camera_az || ' ' || camera_el FROM Roots;"),
        Strings {"1 NULL 1.0 -3.9105 2.0 0.0 0.0"});
}

TEST_F(DesignRecordWriters, RootRecordWithoutCameraHasZerosAndNulls)
{
    vx::WriteDatabaseRoot(*writer, "", {{0, 0, 0}, {2, 4, 6}, true}, false);
    const auto db = Read();
    EXPECT_EQ(
        db->Column(
            "SELECT ifnull(name, 'NULL') || ' ' || aabb_max_x || ' ' || aabb_max_y FROM CompositeObjects;"),
        Strings {"NULL 0.0 0.0"});
    EXPECT_EQ(db->Column("SELECT count(*) FROM Roots WHERE coalesce(camera_x, camera_y, camera_z, camera_az, "
                         "camera_el) IS NULL;"),
        Strings {"1"});
}

TEST_F(DesignRecordWriters, ObjectsThatMustNotBeWrittenLeaveNoRow)
{
    ZR::CompositeObject& invalidLod = WritableObject("invalid lod");
    invalidLod.data.Lod = ZR::CompositeObjectData::lInvalid;
    ZR::CompositeObject& empty = *objects.emplace_back(std::make_unique<ZR::CompositeObject>());
    empty.data.Aabb = {{0, 0, 0}, {1, 1, 1}, true};
    empty.data.Lod = 2;
    ZR::CompositeObject& noBox = WritableObject("no box");
    noBox.data.Aabb.valid = false;

    for (ZR::CompositeObject* co : {&invalidLod, &empty, &noBox}) {
        EXPECT_FALSE(vx::WriteCompositeObject(run.write, *co)) << co->name.c_str();
        EXPECT_FALSE(co->IsInDB());
    }
    const auto db = Read();
    EXPECT_EQ(db->Column("SELECT count(*) FROM CompositeObjects;"), Strings {"0"});
    EXPECT_EQ(db->Column("SELECT count(*) FROM Guids;"), Strings {"0"});
}

TEST_F(DesignRecordWriters, ObjectRowHoldsItsDataInDatabaseAxes)
{
    ZR::CompositeObject& co = WritableObject("chair");
    co.data.explode = true;
    co.data.chain = 3;
    co.data.traceableFlag = true;
    co.data.traceable = 7;
    co.data.Lod = 1;
    co.data.stretchType = ZR::CompositeObjectData::STRETCH_SCALABLE;
    co.data.minSize = 0.5;
    co.data.maxSize = 2.25;
    ZR::CompositeObject& plain = WritableObject("");
    plain.data.chain = 0;

    EXPECT_TRUE(vx::WriteCompositeObject(run.write, co));
    EXPECT_TRUE(vx::WriteCompositeObject(run.write, plain));
    const int64_t written = co.guid.dbid;
    EXPECT_TRUE(vx::WriteCompositeObject(run.write, co)) << "an object is written once";
    EXPECT_EQ(co.guid.dbid, written);

    const auto db = Read();
    EXPECT_EQ(
        db->Column(
            "SELECT ifnull(name, 'NULL') || ' ' || aabb_min_x || ' ' || aabb_min_y || ' ' || aabb_min_z "
            "|| ' ' || aabb_max_x || ' ' || aabb_max_y || ' ' || aabb_max_z || ' ' || explode || ' ' "
            "|| ifnull(chain, 'NULL') || ' ' || ifnull(traceable, 'NULL') || ' ' || lod_id "
            "FROM CompositeObjects ORDER BY luid;"),
        (Strings {"chair 1.0 3.0 2.0 4.0 6.0 5.0 1 3 7 1", "NULL 1.0 3.0 2.0 4.0 6.0 5.0 0 NULL NULL 2"}));
    EXPECT_EQ(
        db->Column("SELECT count(*) FROM CompositeObjects WHERE coalesce(geometry_luid, geometry_pos_x, "
                   "geometry_pos_y, geometry_pos_z, geometry_rot_az, geometry_rot_el, geometry_rot_tw, "
                   "geometry_scale_x, geometry_scale_y, geometry_scale_z) IS NULL;"),
        Strings {"2"});
    EXPECT_EQ(
        db->Column("SELECT object_luid || ' ' || min_size || ' ' || max_size || ' ' || template_size || ' ' "
                   "|| type FROM StretchableInfo;"),
        Strings {std::to_string(written) + " 0.5 2.25 1.0 2"});
    const auto guids = db->Query("SELECT guid FROM Guids WHERE luid = " + std::to_string(written) + ";");
    ASSERT_EQ(guids.size(), 1u);
    EXPECT_EQ(guids[0][0].bytes, std::string(reinterpret_cast<const char*>(co.guid.GetData()), 16));
}

TEST_F(DesignRecordWriters, WrittenGeometryIsPlacedInDatabaseAxes)
{
    ZR::CompositeObject& co = WritableObject("lamp");
    co.data.Model.geomid = 5;
    co.data.placement.position = {1, 2, 3};
    co.data.placement.matrix.R0 = {2, 0, 0};
    EXPECT_TRUE(vx::WriteCompositeObject(run.write, co));
    const auto db = Read();
    EXPECT_EQ(db->Column("SELECT geometry_luid || ' ' || geometry_pos_x || ' ' || geometry_pos_y || ' ' "
                         "|| geometry_pos_z || ' ' || geometry_rot_az || ' ' || geometry_rot_el || ' ' "
                         "|| geometry_rot_tw || ' ' || geometry_scale_x || ' ' || geometry_scale_y || ' ' "
                         "|| geometry_scale_z FROM CompositeObjects;"),
        Strings {"5 1.0 3.0 2.0 0.0 0.0 0.0 2.0 1.0 1.0"});
}

TEST_F(DesignRecordWriters, PropertiesAreWrittenPerMapWithoutTheConversionKeys)
{
    const std::string picture = dir.File("thumb.png");
    std::ofstream(picture, std::ios::binary) << "abc";
    ZR::PropertySet set;
    set.SetFlag(ZR::MakePropertyKey("Cutout", 256));
    set.SetText(ZR::MakePropertyKey("Colour", 513), "red");
    set.SetText(ZR::MakePropertyKey("Note", 513), "");
    set.SetText(ZR::MakePropertyKey("VNXPart", 513), "leg");
    set.SetText(ZR::MakePropertyKey("VNXScalable", 513), "");
    set.SetText(ZR::MakePropertyKey("VNXExtrudable", 513), "");
    set.SetFile(ZR::MakePropertyKey("Thumbnail", 259), picture);
    set.SetFile(ZR::MakePropertyKey("View2D_Top", 259), dir.File("missing.png"));
    ZR::PropertySet other;
    other.SetText(ZR::MakePropertyKey("Colour", 513), "blue");

    vxtest::DebugCapture debug;
    vx::WriteProperties(*writer, run.report, set, 100, "set");
    vx::WriteProperties(*writer, run.report, other, 101, "other");
    EXPECT_NE(debug.Text().find("missing.png"), std::string::npos);

    const auto db = Read();
    EXPECT_EQ(
        db->Column(
            "SELECT p.luid || ' ' || d.name || ' ' || d.type || ' ' || ifnull(p.value, 'NULL') || ' ' "
            "|| CASE WHEN p.binarydata IS NULL THEN 'NULL' ELSE hex(p.binarydata) END FROM Properties p "
            "JOIN PropertyDictionary d ON d.luid = p.propdic_luid ORDER BY p.luid, d.name;"),
        (Strings {"100 Colour 513 red NULL", "100 Cutout 256 NULL NULL", "100 Note 513 NULL NULL",
            "100 Thumbnail 259 thumb.png 616263", "101 Colour 513 blue NULL"}));
    EXPECT_EQ(db->Column("SELECT count(*) FROM PropertyDictionary WHERE name = 'Colour';"), Strings {"1"});
}

TEST_F(DesignRecordWriters, PropertiesOfAWrittenObjectFollowItsRow)
{
    ZR::CompositeObject& co = WritableObject("desk");
    co.data.properties.SetText(ZR::MakePropertyKey("ImportTemplate", 257), "Release");
    EXPECT_TRUE(vx::WriteCompositeObject(run.write, co));
    const auto db = Read();
    EXPECT_EQ(
        db->Column("SELECT p.luid = o.luid AND p.value = 'Release' FROM Properties p, CompositeObjects o;"),
        Strings {"1"});
}

TEST_F(DesignRecordWriters, PropertyWithoutANameIsSkippedWithAWarning)
{
    const std::string picture = dir.File("thumb.png");
    std::ofstream(picture, std::ios::binary) << "abc";
    ZR::PropertySet set;
    set.SetFlag(ZR::MakePropertyKey("", 256));
    set.SetText(ZR::MakePropertyKey("", 513), "red");
    set.SetFile(ZR::MakePropertyKey("", 259), picture);
    set.SetText(ZR::MakePropertyKey("Colour", 513), "blue");

    vxtest::DebugCapture debug;
    vx::WriteProperties(*writer, run.report, set, 100, "chair");
    vx::WriteProperties(*writer, run.report, set, 101, "");

    EXPECT_EQ(debug.Text(), "") << "nothing is refused by the database";
    const std::string chair = "Warning: property with an empty name not written for \"chair\" (luid 100)";
    const std::string unnamed
        = "Warning: property with an empty name not written for \"- no name -\" (luid 101)";
    EXPECT_EQ(run.report.logLines, (Strings {chair, chair, chair, unnamed, unnamed, unnamed}));
    const auto db = Read();
    EXPECT_EQ(db->Column("SELECT p.luid || ' ' || d.name FROM Properties p JOIN PropertyDictionary d "
                         "ON d.luid = p.propdic_luid ORDER BY p.luid;"),
        (Strings {"100 Colour", "101 Colour"}));
    EXPECT_EQ(db->Column("SELECT count(*) FROM PropertyDictionary WHERE name IS NULL;"), Strings {"0"});
}

TEST_F(DesignRecordWriters, StatementsArePreparedOnceWhenTheWriterOpens)
{
    const Sqlite3::Database& db = writer->GetDatabase();
    const auto statementCount = static_cast<int64_t>(vx::WriterStatement::Count);
    EXPECT_EQ(db.PrepareCount(), statementCount);

    const std::string texture = dir.File("brick.png");
    std::ofstream(texture, std::ios::binary) << "image";
    vx::WriteDatabaseRoot(*writer, "villa", {{0, 0, 0}, {1, 1, 1}, true}, true);
    for (int i = 0; i < 20; ++i) {
        ZR::CompositeObject& co = WritableObject(("object " + std::to_string(i)).c_str());
        co.data.stretchType = ZR::CompositeObjectData::STRETCH_SCALABLE;
        co.data.properties.SetText(ZR::MakePropertyKey("Colour", 513), std::to_string(i));
        ASSERT_TRUE(vx::WriteCompositeObject(run.write, co));
        vx::FilesEntry file(*writer);
        file.Open(std::to_string(i) + ".vtx", co.guid.dbid);
        file.Write("data", 4);
        EXPECT_TRUE(file.Close());
        vx::WriteTexture(run.write, texture.c_str());
        ZR::Group group;
        group.name.Assign(("group " + std::to_string(i)).c_str());
        group.data.Compo = &co;
        EXPECT_GT(vx::WriteGroup(*writer, group), 0);
    }
    EXPECT_EQ(db.PrepareCount(), statementCount);

    const auto read = Read();
    EXPECT_EQ(read->Column("SELECT (SELECT count(*) FROM CompositeObjects) || ' ' || (SELECT count(*) FROM "
                           "StretchableInfo) || ' ' || (SELECT count(*) FROM Properties) || ' ' || (SELECT "
                           "count(*) FROM Files) || ' ' || (SELECT count(*) FROM Textures);"),
        Strings {"21 20 20 20 1"});
}

} // namespace
