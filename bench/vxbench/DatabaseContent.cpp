#include "vxbench/DatabaseContent.h"

#include "vxbench/RunPhaseClock.h"

#include <sqlite3.h>

#include <cstdio>
#include <memory>
#include <stdexcept>

namespace vx::bench {

namespace {

struct CloseDatabase {
    void operator()(sqlite3* db) const { sqlite3_close(db); }
};
struct FinalizeStatement {
    void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};
using DatabasePtr = std::unique_ptr<sqlite3, CloseDatabase>;
using StatementPtr = std::unique_ptr<sqlite3_stmt, FinalizeStatement>;

[[noreturn]] void Fail(sqlite3* db, const std::string& what)
{
    throw std::runtime_error(what + ": " + (db ? sqlite3_errmsg(db) : "no database"));
}

DatabasePtr Open(const std::string& path, int flags)
{
    sqlite3* db = nullptr;
    const int rc = sqlite3_open_v2(path.c_str(), &db, flags, nullptr);
    DatabasePtr owned(db);
    if (rc != SQLITE_OK)
        Fail(db, "cannot open " + path);
    return owned;
}

StatementPtr Prepare(sqlite3* db, const std::string& sql)
{
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr) != SQLITE_OK)
        Fail(db, "cannot prepare " + sql);
    return StatementPtr(statement);
}

void Execute(sqlite3* db, const std::string& sql)
{
    if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK)
        Fail(db, "cannot execute " + sql);
}

std::string QuoteName(const std::string& name)
{
    std::string quoted = "\"";
    for (char c : name) {
        quoted += c;
        if (c == '"')
            quoted += '"';
    }
    return quoted + "\"";
}

CellValue ReadCell(sqlite3_stmt* statement, int column)
{
    switch (sqlite3_column_type(statement, column)) {
    case SQLITE_INTEGER:
        return static_cast<std::int64_t>(sqlite3_column_int64(statement, column));
    case SQLITE_FLOAT:
        return sqlite3_column_double(statement, column);
    case SQLITE_TEXT: {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
        return std::string(text, static_cast<size_t>(sqlite3_column_bytes(statement, column)));
    }
    case SQLITE_BLOB: {
        const auto* bytes = static_cast<const unsigned char*>(sqlite3_column_blob(statement, column));
        return std::vector<unsigned char>(bytes, bytes + sqlite3_column_bytes(statement, column));
    }
    default:
        return std::monostate {};
    }
}

TableContent ReadTable(sqlite3* db, const std::string& name)
{
    TableContent table;
    table.name = name;
    StatementPtr select = Prepare(db, "SELECT * FROM " + QuoteName(name) + " ORDER BY rowid");
    table.columnCount = sqlite3_column_count(select.get());
    int rc = SQLITE_ROW;
    while ((rc = sqlite3_step(select.get())) == SQLITE_ROW) {
        std::vector<CellValue> row;
        row.reserve(static_cast<size_t>(table.columnCount));
        for (int column = 0; column < table.columnCount; ++column)
            row.push_back(ReadCell(select.get(), column));
        table.rows.push_back(std::move(row));
    }
    if (rc != SQLITE_DONE)
        Fail(db, "cannot read " + name);
    return table;
}

void BindCell(sqlite3_stmt* statement, int index, const CellValue& value)
{
    if (const auto* integer = std::get_if<std::int64_t>(&value))
        sqlite3_bind_int64(statement, index, *integer);
    else if (const auto* real = std::get_if<double>(&value))
        sqlite3_bind_double(statement, index, *real);
    else if (const auto* text = std::get_if<std::string>(&value))
        sqlite3_bind_text(statement, index, text->data(), static_cast<int>(text->size()), SQLITE_STATIC);
    else if (const auto* blob = std::get_if<std::vector<unsigned char>>(&value))
        sqlite3_bind_blob(statement, index, blob->data(), static_cast<int>(blob->size()), SQLITE_STATIC);
    else
        sqlite3_bind_null(statement, index);
}

void InsertTable(sqlite3* db, const TableContent& table)
{
    if (table.rows.empty() || table.columnCount == 0)
        return;
    std::string sql = "INSERT INTO " + QuoteName(table.name) + " VALUES (";
    for (int column = 0; column < table.columnCount; ++column)
        sql += column == 0 ? "?" : ",?";
    sql += ")";
    StatementPtr insert = Prepare(db, sql);
    for (const std::vector<CellValue>& row : table.rows) {
        for (int column = 0; column < table.columnCount; ++column)
            BindCell(insert.get(), column + 1, row[static_cast<size_t>(column)]);
        if (sqlite3_step(insert.get()) != SQLITE_DONE)
            Fail(db, "cannot insert into " + table.name);
        sqlite3_reset(insert.get());
    }
}

} // namespace

std::uint64_t DatabaseContent::CountRows() const
{
    std::uint64_t rows = 0;
    for (const TableContent& table : tables)
        rows += table.rows.size();
    return rows;
}

std::uint64_t DatabaseContent::CountBlobBytes() const
{
    std::uint64_t bytes = 0;
    for (const TableContent& table : tables)
        for (const auto& row : table.rows)
            for (const CellValue& cell : row)
                if (const auto* blob = std::get_if<std::vector<unsigned char>>(&cell))
                    bytes += blob->size();
    return bytes;
}

DatabaseContent ReadDatabaseContent(const std::string& path)
{
    DatabasePtr db = Open(path, SQLITE_OPEN_READONLY);
    DatabaseContent content;
    {
        StatementPtr encoding = Prepare(db.get(), "PRAGMA encoding");
        if (sqlite3_step(encoding.get()) == SQLITE_ROW)
            content.encoding = reinterpret_cast<const char*>(sqlite3_column_text(encoding.get(), 0));
        StatementPtr pageSize = Prepare(db.get(), "PRAGMA page_size");
        if (sqlite3_step(pageSize.get()) == SQLITE_ROW)
            content.pageSize = sqlite3_column_int64(pageSize.get(), 0);
    }
    std::vector<std::string> tables;
    StatementPtr master = Prepare(db.get(),
        "SELECT type, name, sql FROM sqlite_master WHERE sql IS NOT NULL AND name NOT LIKE 'sqlite_%' ORDER "
        "BY rowid");
    while (sqlite3_step(master.get()) == SQLITE_ROW) {
        const std::string type = reinterpret_cast<const char*>(sqlite3_column_text(master.get(), 0));
        content.schema.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(master.get(), 2)));
        if (type == "table")
            tables.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(master.get(), 1)));
    }
    for (const std::string& table : tables)
        content.tables.push_back(ReadTable(db.get(), table));
    return content;
}

double InsertDatabaseContent(const DatabaseContent& content, const std::string& path)
{
    std::remove(path.c_str());
    const BenchClock::time_point start = BenchClock::now();
    {
        DatabasePtr db = Open(path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
        if (!content.encoding.empty())
            Execute(db.get(), "PRAGMA encoding=\"" + content.encoding + "\"");
        if (content.pageSize > 0)
            Execute(db.get(), "PRAGMA page_size=" + std::to_string(content.pageSize));
        Execute(db.get(), "BEGIN");
        for (const std::string& statement : content.schema)
            Execute(db.get(), statement);
        for (const TableContent& table : content.tables)
            InsertTable(db.get(), table);
        Execute(db.get(), "COMMIT");
    }
    return std::chrono::duration<double>(BenchClock::now() - start).count();
}

} // namespace vx::bench
