#include "database/SqliteDatabase.h"
#include "database/SqliteError.h"

#include "SqliteReader.h"
#include "support/DebugCapture.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstring>
#include <exception>
#include <optional>
#include <string>
#include <utility>

namespace {

using Sqlite3::Database;
using Sqlite3::Error;
using Sqlite3::Statement;

class SqliteLayer : public testing::Test {
protected:
    void SetUp() override
    {
        db.Open(dir.File("layer.db").c_str());
        db.Exec("CREATE TABLE t (id INTEGER PRIMARY KEY, v);"
                "CREATE TABLE u (x INTEGER UNIQUE NOT NULL);");
    }

    // The values of t.v in row order.
    std::vector<vxtest::Row> Values() { return vxtest::Query(db.Handle(), "SELECT v FROM t ORDER BY id;"); }

    vxtest::TempDir dir;
    Database db;
};

// Runs a fresh insert of one value bound by fill.
template <class Fill> void InsertValue(Database& db, Fill fill)
{
    Statement insert = db.Prepare("INSERT INTO t (v) VALUES(@v);");
    fill(insert.Param("@v"));
    insert.Execute();
}

TEST_F(SqliteLayer, TextsBindAsGivenAndEmptyTextsBindNull)
{
    struct Case {
        const char* text;
        std::optional<std::string> stored;
    };
    const Case cases[] = {
        {nullptr, std::nullopt},
        {"", std::nullopt},
        {" ", " "},
        {"Grüße 😀", "Grüße 😀"},
    };
    for (const Case& c : cases)
        InsertValue(db, [&](Sqlite3::Parameter p) { p.BindText(c.text); });
    const auto rows = Values();
    ASSERT_EQ(rows.size(), std::size(cases));
    for (std::size_t i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE(i);
        if (!cases[i].stored) {
            EXPECT_TRUE(rows[i][0].IsNull());
        } else {
            EXPECT_EQ(rows[i][0].type, SQLITE_TEXT);
            EXPECT_EQ(rows[i][0].bytes, *cases[i].stored);
        }
    }
}

TEST_F(SqliteLayer, NumbersBlobsGuidsAndNull)
{
    const uint8_t bytes[16] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
    const vx::DUniqueID guid = vx::DUniqueID::FromBytes(bytes);
    InsertValue(db, [](Sqlite3::Parameter p) { p.BindInt(-7); });
    InsertValue(db, [](Sqlite3::Parameter p) { p.BindInt64(int64_t(1) << 40); });
    InsertValue(db, [](Sqlite3::Parameter p) { p.BindDouble(0.25); });
    InsertValue(db, [&](Sqlite3::Parameter p) { p.BindBlob("a\0b", 3); });
    InsertValue(db, [&](Sqlite3::Parameter p) { p.BindGuid(guid); });
    InsertValue(db, [](Sqlite3::Parameter p) { p.BindNull(); });

    const auto rows = Values();
    ASSERT_EQ(rows.size(), 6u);
    EXPECT_EQ(rows[0][0].integer, -7);
    EXPECT_EQ(rows[1][0].integer, int64_t(1) << 40);
    EXPECT_EQ(rows[2][0].type, SQLITE_FLOAT);
    EXPECT_EQ(rows[2][0].bytes, "0.25");
    EXPECT_EQ(rows[3][0].type, SQLITE_BLOB);
    EXPECT_EQ(rows[3][0].bytes, std::string("a\0b", 3));
    EXPECT_EQ(rows[4][0].type, SQLITE_BLOB);
    EXPECT_EQ(rows[4][0].bytes, std::string(reinterpret_cast<const char*>(bytes), 16));
    EXPECT_TRUE(rows[5][0].IsNull());
}

int releasedCount = 0;
void CountRelease(void* data)
{
    ++releasedCount;
    delete[] static_cast<char*>(data);
}

TEST_F(SqliteLayer, BlobWithReleaseFunctionIsReleasedOnceByTheLibrary)
{
    releasedCount = 0;
    {
        Statement insert = db.Prepare("INSERT INTO t (v) VALUES(?);");
        char* data = new char[4] {'d', 'a', 't', 'a'};
        insert.Param(0).BindBlob(data, 4, CountRelease);
        insert.Execute();
        EXPECT_EQ(releasedCount, 0) << "the bytes stay bound until replaced";
        insert.Param(0).BindNull();
        EXPECT_EQ(releasedCount, 1);
    }
    // A refused binding (no such position) releases the buffer too.
    {
        Statement insert = db.Prepare("INSERT INTO t (v) VALUES(?);");
        EXPECT_THROW(insert.Param(5).BindBlob(new char[1] {'x'}, 1, CountRelease), Error);
        EXPECT_EQ(releasedCount, 2);
    }
    ASSERT_EQ(Values().size(), 1u);
    EXPECT_EQ(Values()[0][0].bytes, "data");
}

TEST_F(SqliteLayer, NegativeRowIdIsReportedAndBindsNull)
{
    vxtest::DebugCapture capture;
    InsertValue(db, [](Sqlite3::Parameter p) { p.BindInt64(-1); });
    EXPECT_NE(capture.Text().find("Assertion failed: value>=0"), std::string::npos) << capture.Text();
    ASSERT_EQ(Values().size(), 1u);
    EXPECT_TRUE(Values()[0][0].IsNull());
}

TEST_F(SqliteLayer, ErrorTexts)
{
    struct Case {
        Error error;
        const char* text;
        int32_t code;
    };
    const Case cases[] = {
        {Error(Error::NO_SUCH_COLUMN), "no such column", 1000},
        {Error(Error::NO_SUCH_PARAMETER), "no such parameter", 1001},
        {Error(SQLITE_CONSTRAINT), "", SQLITE_CONSTRAINT},
        {Error::Adopt(sqlite3_mprintf("%s", "disk full"), SQLITE_FULL), "disk full", SQLITE_FULL},
    };
    for (const Case& c : cases) {
        EXPECT_STREQ(c.error.what(), c.text);
        EXPECT_EQ(c.error.Code(), c.code);
    }

    Statement insert = db.Prepare("INSERT INTO t (v) VALUES(@v);");
    try {
        insert.Param("@nothing");
        FAIL() << "no error";
    } catch (const Error& error) {
        EXPECT_STREQ(error.what(), "no such parameter");
        EXPECT_EQ(error.Code(), Error::NO_SUCH_PARAMETER);
        EXPECT_EQ(error.Message(), nullptr);
    }
}

TEST_F(SqliteLayer, CopiesOfAnErrorShareOneMessageReleasedOnce)
{
    std::optional<Error> original = Error::Adopt(sqlite3_mprintf("%s", "kept"), SQLITE_ERROR);
    Error copy = *original;
    Error assigned(0);
    assigned = copy;
    original.reset();
    EXPECT_STREQ(copy.what(), "kept");
    EXPECT_STREQ(assigned.what(), "kept");
    // Thrown (a copy) and kept beyond the handler through an exception pointer.
    std::exception_ptr kept;
    try {
        throw copy;
    } catch (...) {
        kept = std::current_exception();
    }
    copy = Error(0);
    assigned = Error(0);
    try {
        std::rethrow_exception(kept);
    } catch (const Error& caught) {
        EXPECT_STREQ(caught.what(), "kept");
    }
}

TEST_F(SqliteLayer, FailingStepIsResetAndTheStatementWorksAgain)
{
    Statement insert = db.Prepare("INSERT INTO u (x) VALUES(?);");
    insert.Param(0).BindInt(1);
    insert.Execute();
    try {
        insert.Execute();
        FAIL() << "no error";
    } catch (const Error& error) {
        EXPECT_EQ(error.Code(), SQLITE_CONSTRAINT);
        EXPECT_STREQ(error.what(), "UNIQUE constraint failed: u.x");
    }
    insert.Param(0).BindInt(2);
    insert.Execute();
    EXPECT_EQ(
        vxtest::Column(db.Handle(), "SELECT x FROM u ORDER BY x;"), (std::vector<std::string> {"1", "2"}));
    EXPECT_EQ(db.LastInsertRowid(), 2);
}

TEST_F(SqliteLayer, ExecuteRefusesToRunWhileTheConnectionHoldsAnError)
{
    // A statement without parameters is not rebound after another statement failed: the
    // connection's error code is still set, and Execute throws it without a message.
    Statement failing = db.Prepare("INSERT INTO u (x) VALUES(NULL);");
    Statement plain = db.Prepare("INSERT INTO t (v) VALUES(1);");
    EXPECT_THROW(failing.Execute(), Error);
    try {
        plain.Execute();
        FAIL() << "no error";
    } catch (const Error& error) {
        EXPECT_EQ(error.Code(), SQLITE_CONSTRAINT);
        EXPECT_EQ(error.Message(), nullptr);
    }
    EXPECT_TRUE(Values().empty());
}

TEST_F(SqliteLayer, ExecAndPrepareFailuresCarryTheLibraryMessage)
{
    try {
        db.Exec("INSERT INTO absent VALUES(1);");
        FAIL() << "no error";
    } catch (const Error& error) {
        EXPECT_STREQ(error.what(), "no such table: absent");
        EXPECT_EQ(error.Code(), SQLITE_ERROR);
    }
    try {
        db.Prepare("SELECT absent FROM t;");
        FAIL() << "no error";
    } catch (const Error& error) {
        EXPECT_STREQ(error.what(), "no such column: absent");
    }
    Database closed;
    EXPECT_THROW(closed.Exec("SELECT 1;"), Error);
    EXPECT_THROW(closed.Prepare("SELECT 1;"), Error);
}

TEST_F(SqliteLayer, OpenFailureThrowsAndLeavesTheConnectionClosed)
{
    Database other;
    try {
        other.Open(dir.File("missing/folder/x.db").c_str());
        FAIL() << "no error";
    } catch (const Error& error) {
        EXPECT_EQ(error.Code(), SQLITE_CANTOPEN);
        EXPECT_STREQ(error.what(), "unable to open database file");
    }
    EXPECT_FALSE(other.IsOpen());
}

TEST_F(SqliteLayer, StatementMovesItsHandleAndText)
{
    Statement first = db.Prepare("INSERT INTO t (v) VALUES(5);");
    Statement second(std::move(first));
    EXPECT_TRUE(first.IsEmpty());
    EXPECT_STREQ(second.Sql(), "INSERT INTO t (v) VALUES(5);");
    Statement third;
    third = std::move(second);
    EXPECT_TRUE(second.IsEmpty());
    third.Execute();
    EXPECT_EQ(Values().size(), 1u);

    vxtest::DebugCapture capture;
    Statement fourth(std::move(second));
    EXPECT_NE(capture.Text().find("Assertion failed: rs.stmt"), std::string::npos);
    EXPECT_THROW(fourth.Execute(), Error);
}

} // namespace
