#include "vxinfo/ReadOnlyDatabase.h"

#include "base/FileContent.h"

#include <cstring>

namespace vxinfo {

bool QueryRow::IsNull(int column) const
{
    return sqlite3_column_type(statement_, column) == SQLITE_NULL;
}

std::optional<int64_t> QueryRow::Integer(int column) const
{
    if (IsNull(column))
        return std::nullopt;
    return sqlite3_column_int64(statement_, column);
}

std::optional<double> QueryRow::Real(int column) const
{
    if (IsNull(column))
        return std::nullopt;
    return sqlite3_column_double(statement_, column);
}

std::string QueryRow::Text(int column) const
{
    const int type = sqlite3_column_type(statement_, column);
    if (type == SQLITE_NULL)
        return {};
    const void* bytes = type == SQLITE_BLOB ? sqlite3_column_blob(statement_, column)
                                            : sqlite3_column_text(statement_, column);
    const int size = sqlite3_column_bytes(statement_, column);
    if (!bytes || size <= 0)
        return {};
    return std::string(static_cast<const char*>(bytes), static_cast<std::size_t>(size));
}

bool QueryRow::IsBlob(int column) const
{
    return sqlite3_column_type(statement_, column) == SQLITE_BLOB;
}

ReadOnlyDatabase::~ReadOnlyDatabase()
{
    sqlite3_close(db_);
}

namespace {

// SQLite's message for the failure on db (null when SQLite had no memory for it), then closes db.
std::string CloseWithReason(sqlite3* db)
{
    std::string reason = db ? sqlite3_errmsg(db) : "out of memory";
    sqlite3_close(db);
    return reason;
}

// Why path cannot be handed to SQLite; "" when it can (a missing file is left to SQLite to report).
// SQLite opens the database and, when present, its journal or write-ahead log: a FIFO or a device
// in any of these places would block the open for good or never end.
std::string WhyNotOpenable(const std::string& path)
{
    if (vx::IsSpecialFileAt(path.c_str()))
        return "not a regular file";
    for (const char* suffix : {"-journal", "-wal", "-shm"})
        if (vx::IsSpecialFileAt((path + suffix).c_str()))
            return path + suffix + " is not a regular file";
    return {};
}

} // namespace

std::string ReadOnlyDatabase::Open(const std::string& path)
{
    sqlite3_close(db_);
    db_ = nullptr;
    if (std::string reason = WhyNotOpenable(path); !reason.empty())
        return reason;
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK)
        return CloseWithReason(db);
    return Adopt(db);
}

std::string ReadOnlyDatabase::OpenImage(const std::string& bytes)
{
    sqlite3_close(db_);
    db_ = nullptr;
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(":memory:", &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK)
        return CloseWithReason(db);
    // SQLite owns the copy (and frees it on close, or at once when deserialising fails).
    const auto size = static_cast<sqlite3_int64>(bytes.size());
    auto* copy = static_cast<unsigned char*>(sqlite3_malloc64(bytes.empty() ? 1 : bytes.size()));
    if (!copy) {
        sqlite3_close(db);
        return "out of memory";
    }
    if (!bytes.empty())
        std::memcpy(copy, bytes.data(), bytes.size());
    const int rc = sqlite3_deserialize(
        db, "main", copy, size, size, SQLITE_DESERIALIZE_FREEONCLOSE | SQLITE_DESERIALIZE_READONLY);
    if (rc != SQLITE_OK)
        return CloseWithReason(db);
    return Adopt(db);
}

std::string ReadOnlyDatabase::Adopt(sqlite3* db)
{
    // Opening is lazy: a file that is not a database shows only at its first read.
    char* message = nullptr;
    if (sqlite3_exec(db, "SELECT count(*) FROM sqlite_master;", nullptr, nullptr, &message) != SQLITE_OK) {
        std::string reason = message ? message : sqlite3_errmsg(db);
        sqlite3_free(message);
        sqlite3_close(db);
        return reason;
    }
    db_ = db;
    return {};
}

std::string ReadOnlyDatabase::ForEachRow(
    const std::string& sql, const std::function<void(const QueryRow&)>& onRow) const
{
    if (!db_)
        return "database not open";
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &statement, nullptr) != SQLITE_OK) {
        std::string reason = sqlite3_errmsg(db_);
        sqlite3_finalize(statement);
        return reason;
    }
    int step;
    const QueryRow row(statement);
    while ((step = sqlite3_step(statement)) == SQLITE_ROW)
        onRow(row);
    std::string reason = step == SQLITE_DONE ? std::string() : std::string(sqlite3_errmsg(db_));
    sqlite3_finalize(statement);
    return reason;
}

std::optional<int64_t> ReadOnlyDatabase::Integer(const std::string& sql) const
{
    std::optional<int64_t> value;
    bool first = true;
    ForEachRow(sql, [&](const QueryRow& row) {
        if (first)
            value = row.Integer(0);
        first = false;
    });
    return value;
}

std::optional<std::string> ReadOnlyDatabase::Blob(const std::string& sql, int64_t key) const
{
    if (!db_)
        return std::nullopt;
    sqlite3_stmt* statement = nullptr;
    std::optional<std::string> value;
    if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &statement, nullptr) == SQLITE_OK
        && sqlite3_bind_int64(statement, 1, key) == SQLITE_OK && sqlite3_step(statement) == SQLITE_ROW)
        value = QueryRow(statement).Text(0);
    sqlite3_finalize(statement);
    return value;
}

std::vector<std::string> ReadOnlyDatabase::TableNames() const
{
    std::vector<std::string> names;
    ForEachRow("SELECT name FROM sqlite_master WHERE type='table';",
        [&](const QueryRow& row) { names.push_back(row.Text(0)); });
    return names;
}

} // namespace vxinfo
