#pragma once
// The content of a database read back whole, and the floor: the same content inserted again by the
// plainest SQLite program (prepared statements, one transaction).

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace vx::bench {

// One column value as SQLite stores it.
using CellValue = std::variant<std::monostate, std::int64_t, double, std::string, std::vector<unsigned char>>;

struct TableContent {
    std::string name;
    int columnCount = 0;
    std::vector<std::vector<CellValue>> rows;
};

struct DatabaseContent {
    // "PRAGMA encoding" and "PRAGMA page_size" of the database.
    std::string encoding;
    std::int64_t pageSize = 0;
    // The statements that create its tables, indexes, triggers and views, in creation order.
    std::vector<std::string> schema;
    // The rows of every table but SQLite's own, in rowid order.
    std::vector<TableContent> tables;

    std::uint64_t CountRows() const;
    std::uint64_t CountBlobBytes() const;
};

// Reads the database at path. Throws std::runtime_error when it cannot be opened or read.
DatabaseContent ReadDatabaseContent(const std::string& path);

// Creates a new database at path (replacing a file there) with content's encoding, page size and
// schema, and inserts all its rows with one prepared statement per table inside one transaction.
// Returns the seconds from opening to closing. Throws std::runtime_error on a SQLite error.
double InsertDatabaseContent(const DatabaseContent& content, const std::string& path);

} // namespace vx::bench
