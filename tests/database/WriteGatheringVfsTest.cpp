// The write-gathering VFS: what SQLite reads back, in the transaction and after it, is what it
// wrote; consecutive pages reach the VFS beneath as few writes; and a write that fails beneath,
// whenever it is handed on, fails the transaction and leaves a sound file.

#include "database/WriteGatheringVfs.h"
#include "database/SqliteDatabase.h"

#include "support/FaultVfs.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sqlite3.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace {

// The bytes of row id: a length and contents that differ from row to row.
std::string RowBytes(int id)
{
    std::string bytes(static_cast<std::size_t>((id * 7919) % 30000 + 1), '\0');
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<char>((id * 31 + static_cast<int>(i) * 7) & 0xff);
    return bytes;
}

// A connection through the gathering VFS (or another one), closed with the object.
struct Connection {
    explicit Connection(const std::string& path, const char* vfs = Sqlite3::WriteGatheringVfsName())
    {
        const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
        if (sqlite3_open_v2(path.c_str(), &db, flags, vfs) != SQLITE_OK)
            ADD_FAILURE() << "cannot open " << path << ": " << sqlite3_errmsg(db);
    }
    ~Connection() { sqlite3_close(db); }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    bool Exec(const char* sql) { return sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK; }

    // Inserts rows first..last with their bytes; false at the first failure.
    bool Insert(int first, int last)
    {
        sqlite3_stmt* insert = nullptr;
        if (sqlite3_prepare_v2(db, "INSERT INTO t (id, v) VALUES (?, ?);", -1, &insert, nullptr) != SQLITE_OK)
            return false;
        bool ok = true;
        for (int id = first; id <= last && ok; ++id) {
            const std::string bytes = RowBytes(id);
            sqlite3_bind_int(insert, 1, id);
            sqlite3_bind_blob(insert, 2, bytes.data(), static_cast<int>(bytes.size()), SQLITE_TRANSIENT);
            ok = sqlite3_step(insert) == SQLITE_DONE;
            sqlite3_reset(insert);
        }
        sqlite3_finalize(insert);
        return ok;
    }

    // The ids of the rows, after checking that every row holds its bytes.
    std::vector<int> Ids()
    {
        std::vector<int> ids;
        sqlite3_stmt* select = nullptr;
        EXPECT_EQ(
            sqlite3_prepare_v2(db, "SELECT id, v FROM t ORDER BY id;", -1, &select, nullptr), SQLITE_OK);
        while (sqlite3_step(select) == SQLITE_ROW) {
            const int id = sqlite3_column_int(select, 0);
            const auto* data = static_cast<const char*>(sqlite3_column_blob(select, 1));
            const std::string bytes(
                data ? data : "", static_cast<std::size_t>(sqlite3_column_bytes(select, 1)));
            EXPECT_EQ(bytes, RowBytes(id)) << "row " << id;
            ids.push_back(id);
        }
        sqlite3_finalize(select);
        return ids;
    }

    std::string IntegrityCheck()
    {
        sqlite3_stmt* check = nullptr;
        std::string result = "not run";
        if (sqlite3_prepare_v2(db, "PRAGMA integrity_check;", -1, &check, nullptr) == SQLITE_OK
            && sqlite3_step(check) == SQLITE_ROW)
            result = reinterpret_cast<const char*>(sqlite3_column_text(check, 0));
        sqlite3_finalize(check);
        return result;
    }

    sqlite3* db = nullptr;
};

std::vector<int> Range(int first, int last, int skipMultiplesOf = 0)
{
    std::vector<int> ids;
    for (int id = first; id <= last; ++id)
        if (skipMultiplesOf == 0 || id % skipMultiplesOf != 0)
            ids.push_back(id);
    return ids;
}

// A tiny page cache makes SQLite write pages out of order in the middle of the transaction and
// read them back, which is where gathered bytes could be missed.
constexpr const char* kSmallCache = "PRAGMA cache_size = 8;";
constexpr const char* kTable = "CREATE TABLE t (id INTEGER PRIMARY KEY, v BLOB NOT NULL);";

TEST(WriteGatheringVfs, ReadsBackWhatItWroteInTheTransactionAndAfterIt)
{
    vxtest::TempDir dir;
    const std::string path = dir.File("gather.db");
    std::vector<int> expected = Range(1, 300, 3);
    for (const int id : Range(301, 400))
        expected.push_back(id);
    {
        Connection connection(path);
        ASSERT_TRUE(connection.Exec(kSmallCache));
        ASSERT_TRUE(connection.Exec(kTable));
        ASSERT_TRUE(connection.Exec("BEGIN;"));
        ASSERT_TRUE(connection.Insert(1, 300));
        EXPECT_EQ(connection.Ids(), Range(1, 300));
        ASSERT_TRUE(connection.Exec("DELETE FROM t WHERE id % 3 = 0;"));
        ASSERT_TRUE(connection.Insert(301, 400));
        EXPECT_EQ(connection.Ids(), expected);
        ASSERT_TRUE(connection.Exec("COMMIT;"));
    }
    Connection reader(path, nullptr); // the plain default VFS
    EXPECT_EQ(reader.IntegrityCheck(), "ok");
    EXPECT_EQ(reader.Ids(), expected);
}

TEST(WriteGatheringVfs, HandsConsecutivePagesOnAsFewWrites)
{
    vxtest::TempDir dir;
    // The fault VFS becomes the default, so it lies beneath and counts what reaches it.
    vxtest::FaultVfs counting;
    counting.FailAt(0, SQLITE_OK);
    Sqlite3::Database db;
    db.Open(dir.File("gather.db").c_str());
    db.Exec(kTable);
    const int64_t before = counting.Operations();
    db.Exec("BEGIN;");
    db.Exec("INSERT INTO t (id, v) VALUES (1, zeroblob(4 * 1024 * 1024));");
    db.Exec("COMMIT;");
    const int64_t operations = counting.Operations() - before;
    // 4 MiB is more than a thousand pages; handed on in 64 KiB pieces they are about 64 writes,
    // besides the journal's writes and the syncs.
    EXPECT_GT(operations, 0);
    EXPECT_LT(operations, 1024 / 8);
}

// Every write, sync or truncate that reaches the VFS beneath fails in turn while a transaction
// replaces rows of a committed database. The transaction must fail or commit as a whole, and the
// file must stay sound.
TEST(WriteGatheringVfs, AFailureBeneathFailsTheTransactionAndKeepsTheFileSound)
{
    vxtest::TempDir dir;
    const std::string original = dir.File("original.db");
    const std::string path = dir.File("gather.db");
    {
        Connection connection(original);
        ASSERT_TRUE(connection.Exec(kTable));
        ASSERT_TRUE(connection.Insert(1, 50));
    }
    vxtest::FaultVfs faults;
    const auto change = [&path] {
        Connection connection(path);
        return connection.Exec(kSmallCache) && connection.Exec("BEGIN;") && connection.Insert(51, 150)
            && connection.Exec("DELETE FROM t WHERE id % 4 = 0;") && connection.Exec("COMMIT;");
    };
    std::filesystem::copy_file(original, path);
    faults.FailAt(0, SQLITE_OK);
    ASSERT_TRUE(change());
    const int64_t operations = faults.Operations();
    ASSERT_GT(operations, 10);

    int failed = 0;
    for (int64_t n = 1; n <= operations; ++n) {
        SCOPED_TRACE("operation " + std::to_string(n) + " of " + std::to_string(operations));
        std::filesystem::copy_file(original, path, std::filesystem::copy_options::overwrite_existing);
        std::filesystem::remove(path + "-journal");
        faults.FailAt(n, n % 2 ? SQLITE_FULL : SQLITE_IOERR_WRITE);
        const bool committed = change();
        ASSERT_TRUE(faults.Fired());
        faults.FailAt(0, SQLITE_OK);
        failed += !committed;
        // Opening read-write rolls back a journal that a failed rollback may have left.
        Connection check(path);
        EXPECT_EQ(check.IntegrityCheck(), "ok");
        EXPECT_EQ(check.Ids(), committed ? Range(1, 150, 4) : Range(1, 50));
    }
    EXPECT_GT(failed, 0);
}

} // namespace
