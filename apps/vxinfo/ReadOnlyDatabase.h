#pragma once
// A design database opened read-only through SQLite, with the few query helpers the inspector
// needs. The inspector never writes to the file it inspects.

#include <sqlite3.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace vxinfo {

// One result row while a query runs; column numbers are 0-based.
class QueryRow {
public:
    explicit QueryRow(sqlite3_stmt* statement)
        : statement_(statement)
    {
    }
    bool IsNull(int column) const;
    // The value as an integer / a double; nothing when NULL.
    std::optional<int64_t> Integer(int column) const;
    std::optional<double> Real(int column) const;
    // Text as UTF-8, a blob as its bytes; "" when NULL.
    std::string Text(int column) const;
    // Whether the column holds a blob (as opposed to text, a number or NULL).
    bool IsBlob(int column) const;

private:
    sqlite3_stmt* statement_;
};

class ReadOnlyDatabase {
public:
    ReadOnlyDatabase() = default;
    ~ReadOnlyDatabase();
    ReadOnlyDatabase(const ReadOnlyDatabase&) = delete;
    ReadOnlyDatabase& operator=(const ReadOnlyDatabase&) = delete;

    // Opens path read-only (never creates it). Returns "" on success, otherwise the reason (a
    // missing file, a file that is not a SQLite database, a path or a journal beside it that is
    // not a regular file: "not a regular file", never opened).
    std::string Open(const std::string& path);
    // Opens a read-only copy of a whole database file held in memory (the bytes of a .vx file).
    // Returns "" on success, otherwise the reason, as Open does. Nothing touches the disk.
    std::string OpenImage(const std::string& bytes);
    bool IsOpen() const { return db_ != nullptr; }

    // Runs sql and calls onRow for each row. Returns "" when the query ran to the end, otherwise
    // SQLite's message (an unknown table or column, a damaged file).
    std::string ForEachRow(const std::string& sql, const std::function<void(const QueryRow&)>& onRow) const;
    // The first column of the first row as an integer; nothing when the query fails or gives no row
    // or NULL.
    std::optional<int64_t> Integer(const std::string& sql) const;
    // The bytes of one blob: the column value of the row whose key equals key; nothing when there
    // is no such row or the query fails. sql has one parameter for the key.
    std::optional<std::string> Blob(const std::string& sql, int64_t key) const;
    // The names of the tables of the file.
    std::vector<std::string> TableNames() const;

private:
    // Takes db (opened, never null) when its first read works; otherwise closes it and returns why.
    std::string Adopt(sqlite3* db);

    sqlite3* db_ = nullptr;
};

} // namespace vxinfo
