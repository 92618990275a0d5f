#pragma once
// Reads a database back with the plain SQLite C interface, for checking what the writer stored.

#include <sqlite3.h>

#include <cstdint>
#include <string>
#include <vector>

namespace vxtest {

// One value of a result row: its storage class (SQLITE_INTEGER, SQLITE_TEXT, ...) and its value.
// Texts are read as UTF-8, blobs as their bytes.
struct Cell {
    int type = SQLITE_NULL;
    int64_t integer = 0;
    std::string bytes;

    bool IsNull() const { return type == SQLITE_NULL; }
};

using Row = std::vector<Cell>;

// Every row of sql on the connection db; a failing query fails the current test and returns the
// rows read so far.
std::vector<Row> Query(sqlite3* db, const std::string& sql);

// The first column of every row, as text or blob bytes ("NULL" for NULL).
std::vector<std::string> Column(sqlite3* db, const std::string& sql);

// A read-only connection to an existing file, closed with the object.
class SqliteReader {
public:
    explicit SqliteReader(const std::string& path);
    ~SqliteReader();
    SqliteReader(const SqliteReader&) = delete;
    SqliteReader& operator=(const SqliteReader&) = delete;

    std::vector<Row> Query(const std::string& sql) const { return vxtest::Query(db_, sql); }
    std::vector<std::string> Column(const std::string& sql) const { return vxtest::Column(db_, sql); }
    sqlite3* Handle() const { return db_; }

private:
    sqlite3* db_ = nullptr;
};

} // namespace vxtest
