#include "database/DesignDatabase.h"
#include "database/ReportStyleBlob.h"
#include "database/SqliteError.h"

#include "base/UniqueId.h"

#include "SqliteReader.h"
#include "support/DebugCapture.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

namespace {

using vxtest::SqliteReader;

// The tables of a design database in creation order: each column as name, declared type, "nn"
// when NOT NULL and "pk<n>" for its place in the primary key.
const std::pair<const char*, const char*> TABLES[] = {
    {"Guids", "luid INTEGER nn pk1, guid GUID nn"},
    {"Categories", "id INTEGER nn pk1, name NVARCHAR(128) nn, parentcategory_id INTEGER, order_pos INTEGER"},
    {"CompositeObjects",
        "luid INTEGER nn pk1, name NVARCHAR(128), aabb_min_x FLOAT nn, aabb_min_y FLOAT nn, "
        "aabb_min_z FLOAT nn, aabb_max_x FLOAT nn, aabb_max_y FLOAT nn, aabb_max_z FLOAT nn, "
        "geometry_luid INTEGER, geometry_pos_x FLOAT, geometry_pos_y FLOAT, geometry_pos_z "
        "FLOAT, geometry_rot_az FLOAT, geometry_rot_el FLOAT, geometry_rot_tw FLOAT, "
        "geometry_scale_x FLOAT, geometry_scale_y FLOAT, geometry_scale_z FLOAT, explode "
        "BOOLEAN, chain INTEGER, traceable INTEGER, lod_id NUMERIC nn"},
    {"ConnectionTypes",
        "luid INTEGER nn pk1, name NVARCHAR(128), round_diam FLOAT, rect_width FLOAT, "
        "rect_height FLOAT, type INTEGER"},
    {"Files", "id INTEGER nn pk1, geometry_luid INTEGER nn, filename NVARCHAR(128) nn, data BLOB nn"},
    {"Geometries", "luid INTEGER nn pk1, name NVARCHAR(100), model TEXT nn"},
    {"InBox",
        "id INTEGER nn pk1, aabb_min_x FLOAT nn, aabb_min_y FLOAT nn, aabb_min_z FLOAT nn, "
        "aabb_max_x FLOAT nn, aabb_max_y FLOAT nn, aabb_max_z FLOAT nn, parentbox_id INTEGER"},
    {"InBoxObjects", "instance_luid INTEGER nn pk1, inbox_id INTEGER nn, lod_id INTEGER nn"},
    {"InstancePocs",
        "luid INTEGER nn pk1, name NVARCHAR(128), pos_x FLOAT, pos_y FLOAT, pos_z FLOAT, rot_az "
        "FLOAT, rot_el FLOAT, rot_tw FLOAT, ownerinstance_luid INTEGER nn, conntype_luid "
        "INTEGER, flow INTEGER, utility_luid INTEGER, material_luid INTEGER, flowgroup INTEGER, "
        "flowrate FLOAT, ic_code NVARCHAR(64), parentpoc_luid INTEGER, connected_luid INTEGER"},
    {"Roots",
        "object_luid INTEGER nn pk1, inbox_id INTEGER, camera_x FLOAT, camera_y FLOAT, camera_z "
        "FLOAT, camera_az FLOAT, camera_el FLOAT"},
    {"SpaceGrids",
        "luid INTEGER nn pk1, name NVARCHAR(80), offset FLOAT nn, axis INTEGER nn, "
        "parentspace_luid INTEGER nn"},
    {"Textures", "luid INTEGER nn pk1, name NVARCHAR(128) nn, data BLOB nn"},
    {"Utilities",
        "luid INTEGER nn pk1, name NVARCHAR(128), label_color INTEGER, text_color INTEGER, "
        "abstract_color INTEGER, type INTEGER, flow BOOLEAN"},
    {"ObjectCategories", "object_luid INTEGER nn pk1, category_id INTEGER nn pk2"},
    {"Properties", "luid INTEGER nn pk1, propdic_luid INTEGER nn pk2, value TEXT, binarydata BLOB"},
    {"Spaces",
        "luid INTEGER nn pk1, name NVARCHAR(80), pos_x FLOAT nn, pos_y FLOAT nn, pos_z FLOAT nn, "
        "rot_az FLOAT nn, rot_el FLOAT nn, rot_tw FLOAT nn, length FLOAT nn, height FLOAT nn, "
        "width FLOAT nn, type INTEGER nn, ownerobject_luid INTEGER nn, smrule_id INTEGER"},
    {"SpaceManagementRules", "id INTEGER nn pk1, layer INTEGER nn, direction INTEGER nn, margin FLOAT"},
    {"PropertyDictionary", "luid INTEGER nn pk1, name NVARCHAR(128) nn, type INTEGER nn"},
    {"UtilitygroupRules", "smrule_id INTEGER nn pk1, propdic_luid INTEGER nn pk2, restriction INTEGER nn"},
    {"ObjectPocs",
        "luid INTEGER nn pk1, name NVARCHAR(128), pos_x FLOAT nn, pos_y FLOAT nn, pos_z FLOAT "
        "nn, rot_az FLOAT nn, rot_el FLOAT nn, rot_tw FLOAT nn, ownerobject_luid INTEGER nn, "
        "conntype_luid INTEGER nn, flow INTEGER, utility_luid INTEGER, material_luid INTEGER, "
        "flowgroup INTEGER, flowrate FLOAT, ic_code NVARCHAR(64), internalpoc_luid INTEGER"},
    {"StretchableInfo",
        "object_luid INTEGER nn pk1, min_size FLOAT, max_size FLOAT, template_size FLOAT, type "
        "INTEGER nn"},
    {"MergeHints", "their GUID nn pk1, luid INTEGER nn"},
    {"ObjectInstances",
        "luid INTEGER nn pk1, name NVARCHAR(128), ownerobject_luid INTEGER nn, pos_x FLOAT nn, "
        "pos_y FLOAT nn, pos_z FLOAT nn, rot_az FLOAT nn, rot_el FLOAT nn, rot_tw FLOAT nn, "
        "object_luid INTEGER nn, chain BOOLEAN, length FLOAT, height FLOAT, width FLOAT, flags "
        "INTEGER"},
    {"CurrentVersion", "guid GUID nn pk1, schema GUID nn"},
    {"BuildingSpaces",
        "luid INTEGER nn pk1, name NVARCHAR(128), pos_x FLOAT nn, pos_y FLOAT nn, pos_z FLOAT "
        "nn, rot_az FLOAT nn, rot_el FLOAT nn, rot_tw FLOAT nn, length FLOAT, height FLOAT, "
        "width FLOAT, flag INTEGER"},
    {"GridLines",
        "luid INTEGER nn pk1, name NVARCHAR(128), position FLOAT nn, axis INTEGER nn, "
        "parentBuildingSpace_luid INTEGER nn, parentGridLine_luid INTEGER"},
    {"Materials", "luid INTEGER nn pk1, name NVARCHAR(128) nn"},
    {"ReportTypes", "luid INTEGER nn pk1, reportname NVARCHAR(128) nn"},
    {"ReportStyles",
        "luid INTEGER nn pk1, reptype_luid INTEGER nn pk2, stylename NVARCHAR(128) nn, "
        "binarydata BLOB nn"},
    {"ImportedVXFiles", "import_luid INTEGER nn pk1, root_object_luid INTEGER nn, is_validated BOOLEAN nn"},
    {"ImportedVXLink",
        "import_luid INTEGER nn pk1, import_link_luid INTEGER nn pk2, original_data_guid GUID "
        "nn, linked_data_luid INTEGER nn, is_validated BOOLEAN nn"},
};

const char* const AUTOINCREMENT_TABLES[] = {"Guids", "Categories", "Files", "InBox", "SpaceManagementRules"};

const std::pair<const char*, int32_t> FIXED_ENTRIES[] = {
    {"ElectricalConnection", 256},
    {"LibraryQueue", 256},
    {"ExcessCableBox", 256},
    {"Mantle", 256},
    {"Cutout", 256},
    {"Thumbnail", 259},
    {"View2D_Top", 259},
    {"View2D_Bottom", 259},
    {"View2D_Front", 259},
    {"View2D_Rear", 259},
    {"View2D_Left", 259},
    {"View2D_Right", 259},
    {"GenPOC", 512},
    {"Slope", 513},
    {"Ic_code", 1153},
};

const std::string SCHEMA_ID = "\x54\x97\xE3\x61\x16\x8F\xE1\x46\xAA\xB8\x89\x31\x56\xAA\xFD\x12";
const std::string ZERO_GUID(16, '\0');

std::string Bytes(const vx::DUniqueID& id)
{
    return std::string(reinterpret_cast<const char*>(id.GetData()), vx::DUniqueID::GetDataSize());
}

// Columns of a table as pragma table_info reports them, in the notation of TABLES.
std::string DescribeColumns(const SqliteReader& db, const std::string& table)
{
    std::string text;
    for (const vxtest::Row& column : db.Query("PRAGMA table_info([" + table + "]);")) {
        if (!text.empty())
            text += ", ";
        text += column[1].bytes + " " + column[2].bytes;
        if (column[3].integer)
            text += " nn";
        if (column[5].integer)
            text += " pk" + std::to_string(column[5].integer);
    }
    return text;
}

// The CurrentVersion rows as (guid, schema).
std::vector<std::pair<std::string, std::string>> Versions(const SqliteReader& db)
{
    std::vector<std::pair<std::string, std::string>> versions;
    for (const vxtest::Row& row : db.Query("SELECT guid, schema FROM CurrentVersion;"))
        versions.emplace_back(row[0].bytes, row[1].bytes);
    return versions;
}

class DesignDatabase : public testing::Test {
protected:
    void TearDown() override { (void)vx::CloseDesignDatabase(); }

    // One export's database work without any object: open, close.
    vx::DatabaseCloseResult Export(const std::string& path)
    {
        vx::OpenDesignDatabase(path);
        EXPECT_NE(vx::CurrentSqlWriter(), nullptr);
        const vx::DatabaseCloseResult result = vx::CloseDesignDatabase();
        EXPECT_EQ(vx::CurrentSqlWriter(), nullptr);
        return result;
    }

    vxtest::TempDir dir;
    std::string path = dir.File("plan.vx");
};

TEST_F(DesignDatabase, FreshDatabaseHasTheFormatsTablesInCreationOrder)
{
    ASSERT_TRUE(Export(path).Succeeded());
    SqliteReader db(path);

    std::vector<std::string> expectedNames;
    for (const auto& [table, columns] : TABLES) {
        expectedNames.push_back(table);
        EXPECT_EQ(DescribeColumns(db, table), columns) << table;
    }
    EXPECT_EQ(db.Column("SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE 'sqlite_%' "
                        "ORDER BY rowid;"),
        expectedNames);
    EXPECT_EQ(db.Column("SELECT name FROM sqlite_master WHERE sql LIKE '%AUTOINCREMENT%' ORDER BY rowid;"),
        std::vector<std::string>(std::begin(AUTOINCREMENT_TABLES), std::end(AUTOINCREMENT_TABLES)));
    // Bracketed names, as the reading application's own scripts write them.
    EXPECT_EQ(db.Column("SELECT sql FROM sqlite_master WHERE name = 'ObjectCategories';"),
        std::vector<std::string> {
            "CREATE TABLE [ObjectCategories] ([object_luid] INTEGER NOT NULL, "
            "[category_id] INTEGER NOT NULL, PRIMARY KEY ([object_luid],[category_id]))"});
}

TEST_F(DesignDatabase, FreshDatabaseHasSettingsSeedRowsAndVersion)
{
    vxtest::DebugCapture capture;
    ASSERT_TRUE(Export(path).Succeeded());
    EXPECT_EQ(capture.Text(), "") << "the schema script runs without a report";
    EXPECT_FALSE(std::filesystem::exists(path + "-journal"));
    SqliteReader db(path);

    EXPECT_EQ(db.Column("PRAGMA encoding;"), std::vector<std::string> {"UTF-16le"});
    EXPECT_EQ(db.Column("PRAGMA page_size;"), std::vector<std::string> {"4096"});
    EXPECT_EQ(db.Column("SELECT luid || '|' || reportname FROM ReportTypes;"),
        std::vector<std::string> {"0|Bill of Materials"});
    const auto styles = db.Query("SELECT luid, reptype_luid, stylename, binarydata FROM ReportStyles;");
    ASSERT_EQ(styles.size(), 1u);
    EXPECT_EQ(styles[0][0].integer, 0);
    EXPECT_EQ(styles[0][1].integer, 0);
    EXPECT_EQ(styles[0][2].bytes, "Excel report");
    const std::vector<uint8_t> blob = vx::BuildReportStyleBlob();
    EXPECT_EQ(styles[0][3].bytes, std::string(blob.begin(), blob.end()));
    EXPECT_EQ(styles[0][3].bytes.size(), 933u);

    const auto versions = Versions(db);
    ASSERT_EQ(versions.size(), 1u);
    EXPECT_EQ(versions[0].first.size(), 16u);
    EXPECT_NE(versions[0].first, ZERO_GUID);
    EXPECT_EQ(versions[0].second, SCHEMA_ID);

    for (const char* empty : {"Categories", "CompositeObjects", "Files", "Geometries", "ObjectInstances",
             "Properties", "Textures", "Roots", "MergeHints"})
        EXPECT_EQ(db.Column(std::string("SELECT COUNT(*) FROM ") + empty), std::vector<std::string> {"0"})
            << empty;
}

TEST_F(DesignDatabase, FixedDictionaryEntriesComeFirst)
{
    ASSERT_TRUE(Export(path).Succeeded());
    SqliteReader db(path);
    const auto rows = db.Query("SELECT d.luid, d.name, d.type, g.luid, g.guid FROM PropertyDictionary d "
                               "LEFT JOIN Guids g ON g.luid = d.luid ORDER BY d.luid;");
    ASSERT_EQ(rows.size(), std::size(FIXED_ENTRIES));
    EXPECT_EQ(db.Column("SELECT COUNT(*) FROM Guids;"), std::vector<std::string> {"15"});
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const auto& [name, type] = FIXED_ENTRIES[i];
        SCOPED_TRACE(name);
        EXPECT_EQ(rows[i][0].integer, int64_t(i + 1));
        EXPECT_EQ(rows[i][1].bytes, name);
        EXPECT_EQ(rows[i][2].integer, type);
        EXPECT_EQ(rows[i][3].integer, int64_t(i + 1));
        const std::string keyText = std::string(name) + vx::FixedString::FromHex32(uint32_t(type)).c_str();
        EXPECT_EQ(rows[i][4].bytes, Bytes(vx::DUniqueID::FromName(keyText.c_str())));
    }
    EXPECT_EQ(rows[0][4].bytes, Bytes(vx::DUniqueID::FromName("ElectricalConnection0x00000100")));
}

TEST_F(DesignDatabase, EachExportReplacesTheFileAndStampsANewVersion)
{
    ASSERT_TRUE(Export(path).Succeeded());
    std::string firstVersion;
    {
        SqliteReader db(path);
        firstVersion = Versions(db).at(0).first;
    }
    // Something else left in the file must not survive the next export.
    {
        sqlite3* raw = nullptr;
        ASSERT_EQ(sqlite3_open(path.c_str(), &raw), SQLITE_OK);
        EXPECT_EQ(sqlite3_exec(raw, "CREATE TABLE Leftover (x); INSERT INTO Materials VALUES(1, 'Old');",
                      nullptr, nullptr, nullptr),
            SQLITE_OK);
        sqlite3_close(raw);
    }
    ASSERT_TRUE(Export(path).Succeeded());
    SqliteReader db(path);
    EXPECT_TRUE(db.Column("SELECT name FROM sqlite_master WHERE name = 'Leftover';").empty());
    EXPECT_EQ(db.Column("SELECT COUNT(*) FROM Materials;"), std::vector<std::string> {"0"});
    EXPECT_EQ(db.Column("SELECT COUNT(*) FROM PropertyDictionary;"), std::vector<std::string> {"15"});
    const auto versions = Versions(db);
    ASSERT_EQ(versions.size(), 1u);
    EXPECT_NE(versions[0].first, firstVersion);
    EXPECT_NE(versions[0].first, ZERO_GUID);
    EXPECT_EQ(versions[0].second, SCHEMA_ID);
}

TEST_F(DesignDatabase, FileThatIsNoDatabaseIsReplaced)
{
    std::ofstream(path) << "not a database, just some text that happens to be there";
    ASSERT_TRUE(Export(path).Succeeded());
    SqliteReader db(path);
    EXPECT_EQ(db.Column("SELECT COUNT(*) FROM PropertyDictionary;"), std::vector<std::string> {"15"});
}

TEST_F(DesignDatabase, FailedCommitIsReportedAndStampsNothing)
{
    vx::OpenDesignDatabase(path);
    // Another reader of the file holds a read transaction: the writer cannot get the exclusive
    // lock that the commit needs.
    sqlite3* reader = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &reader), SQLITE_OK);
    ASSERT_EQ(
        sqlite3_exec(reader, "BEGIN; SELECT COUNT(*) FROM Guids;", nullptr, nullptr, nullptr), SQLITE_OK);

    vxtest::DebugCapture capture;
    const vx::DatabaseCloseResult result = vx::CloseDesignDatabase();
    sqlite3_exec(reader, "COMMIT;", nullptr, nullptr, nullptr);
    sqlite3_close(reader);

    EXPECT_FALSE(result.committed);
    EXPECT_FALSE(result.stamped);
    EXPECT_FALSE(result.Succeeded());
    EXPECT_EQ(capture.Text(), "SQLITE3 ERROR: {database is locked} in query {COMMIT}\r\n");
    EXPECT_EQ(vx::CurrentSqlWriter(), nullptr);
    EXPECT_FALSE(std::filesystem::exists(path + "-journal"));

    SqliteReader db(path);
    EXPECT_EQ(db.Column("SELECT COUNT(*) FROM PropertyDictionary;"), std::vector<std::string> {"0"});
    const auto versions = Versions(db);
    ASSERT_EQ(versions.size(), 1u);
    EXPECT_EQ(versions[0].first, ZERO_GUID);
}

TEST_F(DesignDatabase, FailedVersionStampIsReported)
{
    vx::OpenDesignDatabase(path);
    vx::CurrentSqlWriter()->GetDatabase().Exec(
        "CREATE TEMP TRIGGER refuse BEFORE UPDATE ON main.CurrentVersion "
        "BEGIN SELECT RAISE(ABORT, 'stamp refused'); END;");
    vxtest::DebugCapture capture;
    const vx::DatabaseCloseResult result = vx::CloseDesignDatabase();
    EXPECT_TRUE(result.committed);
    EXPECT_FALSE(result.stamped);
    EXPECT_FALSE(result.Succeeded());
    EXPECT_EQ(capture.Text(),
        "SQLITE3 ERROR: {stamp refused} in query {UPDATE CurrentVersion SET guid = @guid;}\r\n");

    SqliteReader db(path);
    EXPECT_EQ(db.Column("SELECT COUNT(*) FROM PropertyDictionary;"), std::vector<std::string> {"15"});
    EXPECT_EQ(Versions(db).at(0).first, ZERO_GUID);
}

TEST_F(DesignDatabase, OpeningAgainAbandonsTheEarlierWriter)
{
    const std::string abandoned = dir.File("abandoned.vx");
    vx::OpenDesignDatabase(abandoned);
    vx::OpenDesignDatabase(path);
    EXPECT_TRUE(vx::CloseDesignDatabase().Succeeded());
    {
        SqliteReader db(abandoned);
        EXPECT_EQ(db.Column("SELECT COUNT(*) FROM PropertyDictionary;"), std::vector<std::string> {"0"});
        EXPECT_EQ(Versions(db).at(0).first, ZERO_GUID);
    }
    SqliteReader db(path);
    EXPECT_EQ(db.Column("SELECT COUNT(*) FROM PropertyDictionary;"), std::vector<std::string> {"15"});
}

TEST_F(DesignDatabase, OpenFailureThrowsAndLeavesNoWriter)
{
    EXPECT_THROW(vx::OpenDesignDatabase(dir.File("missing/plan.vx")), Sqlite3::Error);
    EXPECT_EQ(vx::CurrentSqlWriter(), nullptr);
    EXPECT_FALSE(vx::CloseDesignDatabase().Succeeded());
}

} // namespace
