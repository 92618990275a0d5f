#include "database/SqliteDatabase.h"

#include "database/SqliteError.h"

#include <sqlite3.h>

namespace Sqlite3 {

namespace {
// The error thrown for an operation on a closed connection.
Error ClosedConnectionError()
{
    return Error::Adopt(sqlite3_mprintf("%s", sqlite3_errstr(SQLITE_MISUSE)), SQLITE_MISUSE);
}
} // namespace

Database::~Database()
{
    Close();
}

void Database::Open(const char* path)
{
    Close();
    sqlite3* db = nullptr;
    if (sqlite3_open(path ? path : "", &db) != SQLITE_OK) {
        // The library hands out a connection even when the open fails; it carries the error.
        Error error = Error::FromConnection(db);
        sqlite3_close(db);
        throw error;
    }
    db_ = db;
}

void Database::Close()
{
    if (db_) {
        sqlite3_close(db_);
        db_ = nullptr;
    }
}

void Database::Exec(const char* sql)
{
    if (!db_)
        throw ClosedConnectionError();
    char* message = nullptr;
    if (sqlite3_exec(db_, sql ? sql : "", nullptr, nullptr, &message) != SQLITE_OK)
        throw Error::Adopt(message, sqlite3_errcode(db_));
    sqlite3_free(message);
}

Statement Database::Prepare(const char* sql)
{
    if (!db_)
        throw ClosedConnectionError();
    // The _v2 interface re-prepares a statement by itself after a schema change; the legacy call
    // would leave it failing with SQLITE_SCHEMA for good.
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db_, sql ? sql : "", -1, &stmt, nullptr) != SQLITE_OK) {
        sqlite3_finalize(stmt);
        throw Error::FromConnection(db_);
    }
    return Statement(stmt, sql);
}

int64_t Database::LastInsertRowid() const
{
    return db_ ? sqlite3_last_insert_rowid(db_) : 0;
}

int64_t Database::Changes() const
{
    return db_ ? sqlite3_changes64(db_) : 0;
}

} // namespace Sqlite3
