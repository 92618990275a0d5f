#pragma once
// Files for the end-to-end tests: scene files, reading back logs and databases.

#include <sqlite3.h>

#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>

namespace vxtest {

inline void WriteTextFile(const std::string& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

inline std::string ReadTextFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

// A scene document: the format header followed by body (top-level fields, may be empty).
inline std::string MakeSceneText(const std::string& body = "")
{
    return std::string(R"({"format": "varnex-scene", "version": 1)") + (body.empty() ? "" : ", ") + body
        + "}";
}

// A read-only connection to a database file written by vxexport.
class ExportedDatabase {
public:
    explicit ExportedDatabase(const std::string& path)
    {
        if (sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
            sqlite3_close(db_);
            db_ = nullptr;
        }
    }
    ~ExportedDatabase() { sqlite3_close(db_); }
    ExportedDatabase(const ExportedDatabase&) = delete;
    ExportedDatabase& operator=(const ExportedDatabase&) = delete;

    bool IsOpen() const { return db_ != nullptr; }
    // The first column of the first row of sql as an integer; -1 when the query fails or gives no
    // row.
    int64_t Integer(const std::string& sql) const
    {
        sqlite3_stmt* statement = nullptr;
        int64_t value = -1;
        if (db_ && sqlite3_prepare_v2(db_, sql.c_str(), -1, &statement, nullptr) == SQLITE_OK
            && sqlite3_step(statement) == SQLITE_ROW)
            value = sqlite3_column_int64(statement, 0);
        sqlite3_finalize(statement);
        return value;
    }
    // The first column of the first row of sql as UTF-8 text (blobs as their bytes); "" when none.
    std::string Text(const std::string& sql) const
    {
        sqlite3_stmt* statement = nullptr;
        std::string value;
        if (db_ && sqlite3_prepare_v2(db_, sql.c_str(), -1, &statement, nullptr) == SQLITE_OK
            && sqlite3_step(statement) == SQLITE_ROW) {
            const bool blob = sqlite3_column_type(statement, 0) == SQLITE_BLOB;
            const void* bytes = blob ? sqlite3_column_blob(statement, 0) : sqlite3_column_text(statement, 0);
            if (bytes)
                value.assign(
                    static_cast<const char*>(bytes), static_cast<size_t>(sqlite3_column_bytes(statement, 0)));
        }
        sqlite3_finalize(statement);
        return value;
    }

private:
    sqlite3* db_ = nullptr;
};

} // namespace vxtest
