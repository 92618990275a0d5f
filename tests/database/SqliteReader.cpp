#include "SqliteReader.h"

#include <gtest/gtest.h>

namespace vxtest {

std::vector<Row> Query(sqlite3* db, const std::string& sql)
{
    std::vector<Row> rows;
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr) != SQLITE_OK) {
        ADD_FAILURE() << "cannot prepare " << sql << ": " << sqlite3_errmsg(db);
        return rows;
    }
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        Row row;
        for (int i = 0; i < sqlite3_column_count(stmt); ++i) {
            Cell cell;
            cell.type = sqlite3_column_type(stmt, i);
            if (cell.type == SQLITE_INTEGER)
                cell.integer = sqlite3_column_int64(stmt, i);
            if (cell.type == SQLITE_TEXT || cell.type == SQLITE_BLOB || cell.type == SQLITE_INTEGER
                || cell.type == SQLITE_FLOAT) {
                const void* data = cell.type == SQLITE_BLOB
                    ? sqlite3_column_blob(stmt, i)
                    : static_cast<const void*>(sqlite3_column_text(stmt, i));
                const int size = sqlite3_column_bytes(stmt, i);
                if (data)
                    cell.bytes.assign(static_cast<const char*>(data), static_cast<std::size_t>(size));
            }
            row.push_back(cell);
        }
        rows.push_back(row);
    }
    if (rc != SQLITE_DONE)
        ADD_FAILURE() << "query " << sql << " failed: " << sqlite3_errmsg(db);
    sqlite3_finalize(stmt);
    return rows;
}

std::vector<std::string> Column(sqlite3* db, const std::string& sql)
{
    std::vector<std::string> values;
    for (const Row& row : Query(db, sql))
        values.push_back(row.at(0).IsNull() ? "NULL" : row.at(0).bytes);
    return values;
}

SqliteReader::SqliteReader(const std::string& path)
{
    if (sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK)
        ADD_FAILURE() << "cannot open " << path << ": " << sqlite3_errmsg(db_);
}

SqliteReader::~SqliteReader()
{
    sqlite3_close(db_);
}

} // namespace vxtest
