// vxinfo check: the exported house is sound in both modes, and each deliberately broken copy of it
// gives the finding of its fault (and a non-zero exit code).

#include "VxinfoCheck.h"
#include "VxinfoHouse.h"

#include "vxinfo/DesignChecks.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <sqlite3.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace vxtest {
namespace {

// The SQL function infinite_first_float(blob): the blob with its first four bytes replaced by a
// single-precision infinity (SQLite's own blob operators work on text).
void InfiniteFirstFloat(sqlite3_context* context, int, sqlite3_value** args)
{
    const auto* data = static_cast<const char*>(sqlite3_value_blob(args[0]));
    std::string bytes(data ? data : "", static_cast<std::size_t>(sqlite3_value_bytes(args[0])));
    if (bytes.size() >= 4)
        bytes.replace(0, 4, std::string("\x00\x00\x80\x7F", 4));
    sqlite3_result_blob(context, bytes.data(), static_cast<int>(bytes.size()), SQLITE_TRANSIENT);
}

// Copies source to target and runs sql on the copy; "" on success, otherwise SQLite's message.
std::string CorruptCopy(const std::string& source, const std::string& target, const std::string& sql)
{
    std::filesystem::copy_file(source, target, std::filesystem::copy_options::overwrite_existing);
    sqlite3* db = nullptr;
    std::string failure;
    char* message = nullptr;
    if (sqlite3_open(target.c_str(), &db) != SQLITE_OK
        || sqlite3_create_function(
               db, "infinite_first_float", 1, SQLITE_UTF8, nullptr, InfiniteFirstFloat, nullptr, nullptr)
            != SQLITE_OK
        || sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &message) != SQLITE_OK)
        failure = message ? message : sqlite3_errmsg(db);
    sqlite3_free(message);
    sqlite3_close(db);
    return failure;
}

std::string AllFindings(const std::vector<vxinfo::Finding>& findings)
{
    std::string text;
    for (const vxinfo::Finding& f : findings)
        text += f.rule + ": " + f.text + "\n";
    return text;
}

TEST(VxinfoCheck, TheExportedHouseIsSoundInBothModes)
{
    const HouseDatabases& house = ExportedHouse();
    ASSERT_TRUE(house.ok);
    for (const std::string& path : {house.single, house.perObject}) {
        OpenedDesign design(path);
        ASSERT_EQ(design.openFailure, "");
        EXPECT_EQ(AllFindings(vxinfo::CheckDesign(design.db, design.content)), "") << path;
    }
}

// The fuzz target checks databases from memory: an image must load and check exactly as its file
// does, stay read-only, and turn bytes that are no database into a reason.
TEST(VxinfoCheck, ADatabaseImageInMemoryChecksLikeItsFile)
{
    const HouseDatabases& house = ExportedHouse();
    ASSERT_TRUE(house.ok);
    std::ifstream in(house.perObject, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_FALSE(bytes.empty());

    OpenedDesign fromFile(house.perObject);
    vxinfo::ReadOnlyDatabase image;
    ASSERT_EQ(image.OpenImage(bytes), "");
    const vxinfo::DesignContent content = vxinfo::LoadDesign(image, house.perObject);
    EXPECT_TRUE(content.unreadable.empty());
    EXPECT_EQ(content.objects.size(), fromFile.content.objects.size());
    EXPECT_EQ(content.instances.size(), fromFile.content.instances.size());
    EXPECT_EQ(content.files.size(), fromFile.content.files.size());
    EXPECT_EQ(AllFindings(vxinfo::CheckDesign(image, content)), "");
    EXPECT_NE(image.ForEachRow("DELETE FROM Guids;", [](const vxinfo::QueryRow&) {}), "");

    vxinfo::ReadOnlyDatabase garbage;
    EXPECT_EQ(garbage.OpenImage(std::string(4096, 'x')), "file is not a database");
    EXPECT_FALSE(garbage.IsOpen());
}

struct BrokenCase {
    const char* fault;
    const char* sql;
    const char* rule;
    const char* expected; // a part of the finding's text
};

const BrokenCase BROKEN[] = {
    {"dangling instance",
        "UPDATE ObjectInstances SET object_luid = 999999 WHERE luid = (SELECT max(luid) FROM "
        "ObjectInstances);",
        "reference", "places object 999999, which is no CompositeObjects row"},
    {"missing buffer file",
        "DELETE FROM Files WHERE id = (SELECT min(id) FROM Files WHERE geometry_luid <> 0);", "model",
        "is missing"},
    {"wrong buffer size",
        "UPDATE Files SET data = substr(data, 1, length(data) - 4) WHERE id = (SELECT min(id) FROM Files "
        "WHERE "
        "geometry_luid <> 0);",
        "model", "not a whole record for each of"},
    {"bad model text",
        "UPDATE Geometries SET model = replace(model, '</model>', '') WHERE luid = (SELECT min(luid) "
        "FROM Geometries);",
        "model", "model text does not parse: missing </model>"},
    {"missing Guids row", "DELETE FROM Guids WHERE luid = (SELECT max(luid) FROM CompositeObjects);",
        "identifier", "has no Guids row"},
    {"luid used twice", "UPDATE Textures SET luid = (SELECT min(luid) FROM Geometries);", "identifier",
        "uses the luid of"},
    {"identifier in Guids twice",
        "UPDATE Guids SET guid = (SELECT guid FROM Guids WHERE luid = 1) WHERE luid = 2;", "identifier",
        "repeats the identifier of Guids 1"},
    {"missing table", "DROP TABLE Materials;", "tables", "table Materials is missing"},
    {"unstamped version", "UPDATE CurrentVersion SET guid = zeroblob(16);", "seed", "not stamped"},
    {"missing fixed dictionary entry", "DELETE FROM PropertyDictionary WHERE luid = 14;", "seed",
        "row 14 is not the fixed entry 'Slope'"},
    {"subset naming a missing vertex buffer",
        "UPDATE Geometries SET model = replace(model, 'vertexbuffer=''0''', 'vertexbuffer=''7''');", "model",
        "names vertex buffer 7"},
    {"texture no longer stored", "DELETE FROM Textures;", "reference", "which is no Textures row"},
    {"buffer file named by no model",
        "INSERT INTO Files (geometry_luid, filename, data) SELECT min(luid), "
        "'stray.vtx', x'00' FROM Geometries;",
        "model", "(stray.vtx) is named by no buffer"},
    {"index out of range",
        "UPDATE Geometries SET model = replace(replace(model, '<model>', '<model><IndexBuffer count=''3'' "
        "file=''bad.idx''/>'), '<Subset type=''3'' vertexbuffer=''0''', '<Subset type=''3'' "
        "indexbuffer=''0'' "
        "vertexbuffer=''0''') WHERE luid = (SELECT min(luid) FROM Geometries); INSERT INTO Files "
        "(geometry_luid, "
        "filename, data) SELECT min(luid), 'bad.idx', x'000001000010' FROM Geometries;",
        "model", "index 4096 at position 2 is out of range"},
    {"non-finite placement",
        "UPDATE ObjectInstances SET pos_x = 9e999 WHERE luid = (SELECT min(luid) FROM "
        "ObjectInstances);",
        "finite", "placement that is not finite"},
    {"non-finite vertex",
        "UPDATE Files SET data = infinite_first_float(data) WHERE id = (SELECT min(id) FROM Files WHERE "
        "filename LIKE '%.vtx');",
        "model", "coordinate that is not finite"},
    {"inverted box",
        "UPDATE CompositeObjects SET aabb_min_x = aabb_max_x + 1 WHERE luid = (SELECT max(luid) FROM "
        "CompositeObjects);",
        "finite", "minimum exceeds its maximum"},
    {"unreachable object",
        "DELETE FROM ObjectInstances WHERE object_luid = (SELECT max(object_luid) FROM ObjectInstances);",
        "reachable", "is not reachable from the root"},
    {"object placing itself",
        "UPDATE ObjectInstances SET object_luid = ownerobject_luid WHERE luid = (SELECT "
        "min(luid) FROM ObjectInstances);",
        "reachable", "places itself"},
    {"second root record", "INSERT INTO Roots (object_luid) SELECT max(luid) FROM CompositeObjects;",
        "reachable", "Roots holds 2 rows"},
    {"property of nothing", "INSERT INTO Properties (luid, propdic_luid) VALUES (999999, 1);", "reference",
        "belongs to 999999"},
};

TEST(VxinfoCheck, FindsEachDeliberateFault)
{
    const HouseDatabases& house = ExportedHouse();
    ASSERT_TRUE(house.ok);
    TempDir dir;
    for (const BrokenCase& c : BROKEN) {
        SCOPED_TRACE(c.fault);
        const std::string copy = dir.File("broken.vx");
        ASSERT_EQ(CorruptCopy(house.single, copy, c.sql), "");
        OpenedDesign design(copy);
        ASSERT_EQ(design.openFailure, "");
        const std::vector<vxinfo::Finding> findings = vxinfo::CheckDesign(design.db, design.content);
        bool found = false;
        for (const vxinfo::Finding& f : findings)
            found = found || (f.rule == c.rule && f.text.find(c.expected) != std::string::npos);
        EXPECT_TRUE(found) << "expected " << c.rule << ": ..." << c.expected << "...\ngot:\n"
                           << AllFindings(findings);
    }
}

TEST(VxinfoCheck, TheProgramPrintsOneLinePerFindingAndFailsOnlyWhenThereAreSome)
{
    const HouseDatabases& house = ExportedHouse();
    ASSERT_TRUE(house.ok);
    ExpectSoundDatabase(house.perObject);
    TempDir dir;
    const std::string copy = dir.File("broken.vx");
    ASSERT_EQ(
        CorruptCopy(house.perObject, copy,
            "DELETE FROM Files WHERE geometry_luid <> 0; UPDATE ObjectInstances SET object_luid = 999999;"),
        "");
    const ProcessResult check = RunProgram(VxinfoPath(), {"check", copy});
    EXPECT_EQ(check.exitCode, 1);
    OpenedDesign design(copy);
    const std::vector<vxinfo::Finding> findings = vxinfo::CheckDesign(design.db, design.content);
    EXPECT_EQ(check.out, AllFindings(findings));
    EXPECT_GT(findings.size(), 2u);

    const ProcessResult json = RunProgram(VxinfoPath(), {"check", "--json", copy});
    EXPECT_EQ(json.exitCode, 1);
    const nlohmann::json parsed = nlohmann::json::parse(json.out, nullptr, false);
    ASSERT_FALSE(parsed.is_discarded()) << json.out;
    EXPECT_FALSE(parsed["sound"].get<bool>());
    EXPECT_EQ(parsed["findings"].size(), findings.size());
}

TEST(VxinfoCheck, AFileThatIsNoDatabaseIsReportedNotChecked)
{
    TempDir dir;
    WriteTextFile(
        dir.File("text.vx"), "this is not a database, only a text long enough to look like a file\n");
    const ProcessResult notDb = RunProgram(VxinfoPath(), {"check", dir.File("text.vx")});
    EXPECT_EQ(notDb.exitCode, 3);
    EXPECT_NE(notDb.err.find("cannot open"), std::string::npos) << notDb.err;
    const ProcessResult missing = RunProgram(VxinfoPath(), {"check", dir.File("missing.vx")});
    EXPECT_EQ(missing.exitCode, 3);
    EXPECT_FALSE(std::filesystem::exists(dir.File("missing.vx")));
}

} // namespace
} // namespace vxtest
