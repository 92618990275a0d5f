#pragma once
// Sqlite3::Database: one connection to a SQLite database file. Every failure is thrown as
// Sqlite3::Error. Texts (paths and SQL) are handed to the library as UTF-8, byte for byte.

#include "database/SqliteStatement.h"

#include <cstddef>
#include <cstdint>

struct sqlite3;

namespace Sqlite3 {

class Database {
public:
    Database() = default;
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;
    // Closes the connection.
    ~Database();

    // Closes any open connection, then opens (read-write, creating a missing file) the database at
    // path, unchanged, through the write-gathering VFS. On failure the connection stays closed and
    // the error of the failed open is thrown.
    void Open(const char* path);

    // Closes the connection (the library's result is ignored); a closed connection stays closed.
    // Statements of the connection must be finalized first. An open transaction is rolled back.
    void Close();

    // Runs sql, which may hold several statements, without looking at result rows. Throws the
    // library's error text and the connection's code on failure, or SQLITE_MISUSE when closed.
    void Exec(const char* sql);

    // Prepares the first statement of sql. Throws the connection's error on failure (also for a
    // closed connection). The statement keeps a copy of sql for failure reports.
    Statement Prepare(const char* sql);

    // The row id of the connection's last successful insert (0 before any); 0 when closed.
    int64_t LastInsertRowid() const;

    // Rows changed by the last finished INSERT, UPDATE or DELETE; 0 when closed.
    int64_t Changes() const;

    // The largest text or blob, and the largest row, the library accepts (SQLITE_LIMIT_LENGTH); 0
    // when closed.
    int64_t MaxLength() const;

    // Whether the blob in column of table at rowid holds exactly the size bytes at data. Reads it
    // in pieces, so that large blobs are not copied whole. Throws the connection's error when that
    // value cannot be read (no such row, a value that is not a blob or text) or when closed.
    bool BlobEquals(
        const char* table, const char* column, int64_t rowid, const void* data, std::size_t size) const;

    // Statements prepared on this connection since it was opened (successful Prepare calls).
    int64_t PrepareCount() const { return prepareCount_; }

    bool IsOpen() const { return db_ != nullptr; }
    // The library's connection handle, null while closed.
    sqlite3* Handle() const { return db_; }

private:
    sqlite3* db_ = nullptr;
    int64_t prepareCount_ = 0;
};

} // namespace Sqlite3
