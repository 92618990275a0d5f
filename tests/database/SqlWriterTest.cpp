#include "database/SqlWriter.h"
#include "database/PropertyKeyText.h"
#include "database/SqliteError.h"

#include "base/DebugOutput.h"

#include "SqliteReader.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using vx::SqlWriter;

// Records every write to the debugger output separately.
class DebugWrites {
public:
    DebugWrites()
        : scope_([this](std::string_view text) { writes.emplace_back(text); })
    {
    }
    std::vector<std::string> writes;

private:
    vx::ScopedDebugOutputSink scope_;
};

std::vector<std::string> Report(const std::string& text, const std::string& query)
{
    return {"SQLITE3 ERROR: {" + text + "} in query {" + query + "}", "\r\n"};
}

class SqlWriterTest : public testing::Test {
protected:
    sqlite3* Db() { return writer.GetDatabase().Handle(); }
    std::vector<std::string> Materials()
    {
        return vxtest::Column(Db(), "SELECT name FROM Materials ORDER BY luid;");
    }

    vxtest::TempDir dir;
    SqlWriter writer {dir.File("writer.vx")};
};

TEST_F(SqlWriterTest, ExecScriptRunsEveryPieceAndReportsTheFailingOne)
{
    DebugWrites out;
    EXPECT_TRUE(writer.ExecScript("INSERT INTO Materials VALUES(1, 'Oak');"));
    EXPECT_TRUE(out.writes.empty());

    EXPECT_FALSE(writer.ExecScript("INSERT INTO Absent VALUES(1);INSERT INTO Materials VALUES(2, 'Steel');"));
    EXPECT_EQ(out.writes, Report("no such table: Absent", "INSERT INTO Absent VALUES(1)"));
    EXPECT_EQ(Materials(), (std::vector<std::string> {"Oak", "Steel"}));

    // No ';' at all: the whole text is the remainder and runs.
    EXPECT_TRUE(writer.ExecScript("INSERT INTO Materials VALUES(3, 'Ash')"));
    EXPECT_EQ(Materials().size(), 3u);

    // A ';' inside a string, a quoted name or a comment ends no statement.
    DebugWrites quoted;
    EXPECT_TRUE(writer.ExecScript("INSERT INTO Materials VALUES(4, 'Oak; oiled'); -- one; two\n"
                                  "INSERT INTO \"Materials\" VALUES(5, 'Elm');"));
    EXPECT_TRUE(quoted.writes.empty());
    EXPECT_EQ(Materials(), (std::vector<std::string> {"Oak", "Steel", "Ash", "Oak; oiled", "Elm"}));
}

TEST_F(SqlWriterTest, ExecScriptSkipsPiecesThatDoNotFitItsBuffer)
{
    struct Case {
        std::size_t length;
        bool runs;
    };
    const Case cases[] = {{8191, true}, {8192, false}, {20000, false}};
    int luid = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.length);
        std::string piece = "INSERT INTO Materials VALUES(" + std::to_string(++luid) + ", '";
        piece += std::string(c.length - piece.size() - 2, 'x') + "')";
        ASSERT_EQ(piece.size(), c.length);
        DebugWrites out;
        const std::size_t before = Materials().size();
        EXPECT_EQ(writer.ExecScript(
                      (piece + ";INSERT INTO ReportTypes VALUES(" + std::to_string(100 + luid) + ", 'next');")
                          .c_str()),
            c.runs);
        EXPECT_EQ(Materials().size(), before + (c.runs ? 1 : 0));
        if (c.runs) {
            EXPECT_TRUE(out.writes.empty());
        } else {
            EXPECT_EQ(out.writes,
                Report("script piece of " + std::to_string(c.length)
                        + " bytes exceeds the 8191-byte limit, not run",
                    piece));
        }
        EXPECT_EQ(vxtest::Column(
                      Db(), "SELECT reportname FROM ReportTypes WHERE luid = " + std::to_string(100 + luid)),
            (std::vector<std::string> {"next"}));
    }
}

TEST_F(SqlWriterTest, RunReportsAFailingStatementWithItsSqlAndGoesOn)
{
    Sqlite3::Statement insert
        = writer.GetDatabase().Prepare("INSERT INTO Materials (luid,name) VALUES(?,?);");
    DebugWrites out;
    insert.Param(0).BindInt64(1);
    insert.Param(1).BindText("");
    EXPECT_FALSE(writer.Run(insert));
    EXPECT_EQ(out.writes,
        Report(
            "NOT NULL constraint failed: Materials.name", "INSERT INTO Materials (luid,name) VALUES(?,?);"));

    insert.Param(1).BindText("Oak");
    EXPECT_TRUE(writer.Run(insert));
    EXPECT_EQ(Materials(), (std::vector<std::string> {"Oak"}));
}

TEST_F(SqlWriterTest, NewLuidNumbersGuidsAndNeverRepeatsALuidAfterAFailedInsert)
{
    const vx::DUniqueID a = vx::DUniqueID::FromName("a");
    const int64_t first = writer.NewLuid(a);
    EXPECT_EQ(writer.NewLuid(a), first + 1) << "every call inserts a row";
    EXPECT_EQ(writer.LastInsertRowid(), first + 1);

    writer.GetDatabase().Exec(
        "CREATE TEMP TRIGGER refuse BEFORE INSERT ON Guids BEGIN SELECT RAISE(ABORT, 'refused'); END;");
    DebugWrites out;
    EXPECT_EQ(writer.NewLuid(a), -1);
    EXPECT_EQ(out.writes, Report("refused", "INSERT INTO Guids (guid) VALUES(?);"));
    // A dictionary entry without its Guids row gets no dictionary row either.
    EXPECT_EQ(writer.DictionaryLuid("Colour", 513), -1);
    EXPECT_EQ(
        vxtest::Column(Db(), "SELECT COUNT(*) FROM PropertyDictionary;"), (std::vector<std::string> {"0"}));

    writer.GetDatabase().Exec("DROP TRIGGER refuse;");
    EXPECT_EQ(writer.NewLuid(a), first + 2);
}

TEST(PropertyKeyText, NameFollowedByTheTypeAsEightHexDigits)
{
    struct Case {
        const char* name;
        int32_t type;
        std::string text;
    };
    const Case cases[] = {
        {"Slope", 513, "Slope0x00000201"},
        {"ElectricalConnection", 256, "ElectricalConnection0x00000100"},
        {"", 0, "0x00000000"},
        {nullptr, 4096, "0x00001000"},
        {"X", -1, "X0xFFFFFFFF"},
        {"Ic_code", 1153, "Ic_code0x00000481"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(vx::PropertyKeyText(c.name, c.type), c.text);
    const std::string longName(300, 'n');
    EXPECT_EQ(vx::PropertyKeyText(longName.c_str(), 1), longName + "0x00000001") << "never cut";
}

TEST_F(SqlWriterTest, DictionaryWritesEachKeyOnce)
{
    const int64_t colour = writer.DictionaryLuid("Colour", 513);
    EXPECT_GT(colour, 0);
    EXPECT_EQ(writer.DictionaryLuid("Colour", 513), colour);
    const int64_t colourFlag = writer.DictionaryLuid("Colour", 256);
    EXPECT_NE(colourFlag, colour);

    const auto rows = vxtest::Query(Db(),
        "SELECT d.luid, d.name, d.type, g.guid FROM PropertyDictionary d JOIN Guids g ON g.luid = d.luid "
        "ORDER BY d.luid;");
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0][0].integer, colour);
    EXPECT_EQ(rows[0][1].bytes, "Colour");
    EXPECT_EQ(rows[0][2].integer, 513);
    const vx::DUniqueID expected = vx::DUniqueID::FromName("Colour0x00000201");
    EXPECT_EQ(rows[0][3].bytes, std::string(reinterpret_cast<const char*>(expected.GetData()), 16));
    EXPECT_EQ(rows[1][2].integer, 256);
}

TEST_F(SqlWriterTest, LongKeysThatDifferOnlyAfter255BytesAreEntriesOfTheirOwn)
{
    const std::string common(270, 'k');
    const int64_t a = writer.DictionaryLuid((common + "A").c_str(), 513);
    const int64_t b = writer.DictionaryLuid((common + "B").c_str(), 513);
    EXPECT_NE(a, b);
    const auto rows = vxtest::Query(Db(),
        "SELECT d.name, g.guid FROM PropertyDictionary d JOIN Guids g ON g.luid = d.luid ORDER BY d.luid;");
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[1][0].bytes, common + "B") << "stored whole";
    const vx::DUniqueID expected = vx::DUniqueID::FromName((common + "B0x00000201").c_str());
    EXPECT_EQ(rows[1][1].bytes, std::string(reinterpret_cast<const char*>(expected.GetData()), 16));
}

TEST_F(SqlWriterTest, DictionaryEntryWithoutNameIsReportedAndKeepsItsLuid)
{
    DebugWrites out;
    const int64_t luid = writer.DictionaryLuid("", 513);
    EXPECT_GT(luid, 0);
    EXPECT_EQ(out.writes,
        Report("NOT NULL constraint failed: PropertyDictionary.name",
            "INSERT INTO PropertyDictionary (luid,name,type) VALUES(?,?,?);"));
    out.writes.clear();
    EXPECT_EQ(writer.DictionaryLuid("", 513), luid);
    EXPECT_TRUE(out.writes.empty());
}

} // namespace
