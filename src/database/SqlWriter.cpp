#include "database/SqlWriter.h"

#include "database/DesignSchema.h"
#include "database/SqliteError.h"

#include "base/Assert.h"
#include "base/DebugOutput.h"

#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>

namespace vx {

namespace {

constexpr const char* INSERT_GUID = "INSERT INTO Guids (guid) VALUES(?);";
constexpr const char* INSERT_DICTIONARY_ENTRY
    = "INSERT INTO PropertyDictionary (luid,name,type) VALUES(?,?,?);";
constexpr const char* UPDATE_VERSION = "UPDATE CurrentVersion SET guid = @guid;";

// Removes the file at path; a folder or a missing file is left alone.
void DeleteFileAt(const std::string& path)
{
    std::error_code ignored;
    if (!std::filesystem::is_directory(path, ignored))
        std::filesystem::remove(path, ignored);
}

} // namespace

SqlWriter::Statements::Statements(Sqlite3::Database& db)
    : insertGuid(db.Prepare(INSERT_GUID))
    , insertDictionaryEntry(db.Prepare(INSERT_DICTIONARY_ENTRY))
{
}

SqlWriter::SqlWriter(const std::string& path)
{
    DeleteFileAt(path);
    db_.Open(path.c_str());
    ExecScript(DesignSchemaScript().c_str());
    ExecScript("BEGIN TRANSACTION;");
    statements_.emplace(db_);
}

SqlWriter::~SqlWriter()
{
    statements_.reset();
    db_.Close();
}

DatabaseCloseResult SqlWriter::Close()
{
    DatabaseCloseResult result;
    if (!db_.IsOpen())
        return result;
    result.committed = ExecScript("COMMIT;");
    statements_.reset();
    // The stamp marks a complete export; a run whose rows were not committed gets none.
    if (result.committed)
        result.stamped = StampVersion();
    db_.Close();
    return result;
}

bool SqlWriter::StampVersion()
{
    if (!ExecScript("BEGIN TRANSACTION"))
        return false;
    bool updated = false;
    try {
        Sqlite3::Statement update = db_.Prepare(UPDATE_VERSION);
        update.Param("@guid").BindGuid(DUniqueID::NewSequential());
        updated = Run(update) && db_.Changes() == 1;
    } catch (const Sqlite3::Error& error) {
        ReportSqlError(error.what(), UPDATE_VERSION);
    }
    const bool committed = ExecScript("COMMIT;");
    return updated && committed;
}

bool SqlWriter::ExecScript(const char* script)
{
    const char* piece = script ? script : "";
    bool succeeded = true;
    for (;;) {
        const char* end = std::strchr(piece, ';');
        const std::size_t length = end ? static_cast<std::size_t>(end - piece) : std::strlen(piece);
        if (!ExecScriptPiece(piece, length))
            succeeded = false;
        if (!end)
            return succeeded;
        piece = end + 1;
    }
}

bool SqlWriter::ExecScriptPiece(const char* piece, std::size_t length)
{
    const std::string sql(piece, length);
    if (length >= SCRIPT_PIECE_SIZE) {
        const std::string text = "script piece of " + std::to_string(length) + " bytes exceeds the "
            + std::to_string(SCRIPT_PIECE_SIZE - 1) + "-byte limit, not run";
        ReportSqlError(text.c_str(), sql.c_str());
        return false;
    }
    try {
        db_.Exec(sql.c_str());
        return true;
    } catch (const Sqlite3::Error& error) {
        ReportSqlError(error.what(), sql.c_str());
        return false;
    }
}

bool SqlWriter::Run(Sqlite3::Statement& statement)
{
    try {
        statement.Execute();
        return true;
    } catch (const Sqlite3::Error& error) {
        ReportSqlError(error.what(), statement.Sql());
        return false;
    }
}

int64_t SqlWriter::NewLuid(const DUniqueID& guid)
{
    if (!VX_ASSERT(statements_.has_value()))
        return -1;
    Sqlite3::Statement& insert = statements_->insertGuid;
    insert.Param(0).BindGuid(guid);
    // A failed insert leaves the previous insert's row id behind; it must not be handed out twice.
    return Run(insert) ? db_.LastInsertRowid() : -1;
}

int64_t SqlWriter::LastInsertRowid() const
{
    return db_.LastInsertRowid();
}

void SqlWriter::ReportSqlError(const char* text, const char* query)
{
    WriteDebugOutput(std::string("SQLITE3 ERROR: {") + text + "} in query {" + query + "}");
    WriteDebugOutput("\r\n");
}

} // namespace vx
