#include "database/SqliteDatabase.h"

#include "database/SqliteError.h"
#include "database/WriteGatheringVfs.h"

#include <sqlite3.h>

#include <algorithm>
#include <cstring>
#include <vector>

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
    const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
    if (sqlite3_open_v2(path ? path : "", &db, flags, WriteGatheringVfsName()) != SQLITE_OK) {
        // The library hands out a connection even when the open fails; it carries the error.
        Error error = Error::FromConnection(db);
        sqlite3_close(db);
        throw error;
    }
    db_ = db;
    prepareCount_ = 0;
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
    ++prepareCount_;
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

int64_t Database::MaxLength() const
{
    return db_ ? sqlite3_limit(db_, SQLITE_LIMIT_LENGTH, -1) : 0;
}

bool Database::BlobEquals(
    const char* table, const char* column, int64_t rowid, const void* data, std::size_t size) const
{
    if (!db_)
        throw ClosedConnectionError();
    sqlite3_blob* blob = nullptr;
    if (sqlite3_blob_open(db_, "main", table, column, rowid, 0, &blob) != SQLITE_OK) {
        sqlite3_blob_close(blob);
        throw Error::FromConnection(db_);
    }
    bool equal = static_cast<std::size_t>(sqlite3_blob_bytes(blob)) == size;
    const auto* bytes = static_cast<const unsigned char*>(data);
    std::vector<unsigned char> piece(equal ? std::min<std::size_t>(size, 65536) : 0);
    for (std::size_t offset = 0; equal && offset < size;) {
        const std::size_t length = std::min(piece.size(), size - offset);
        if (sqlite3_blob_read(blob, piece.data(), static_cast<int>(length), static_cast<int>(offset))
            != SQLITE_OK) {
            Error error = Error::FromConnection(db_);
            sqlite3_blob_close(blob);
            throw error;
        }
        equal = std::memcmp(piece.data(), bytes + offset, length) == 0;
        offset += length;
    }
    sqlite3_blob_close(blob);
    return equal;
}

} // namespace Sqlite3
