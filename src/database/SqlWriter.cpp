#include "database/SqlWriter.h"

#include "database/DesignSchema.h"
#include "database/SqliteError.h"

#include "base/DebugOutput.h"

#include <sqlite3.h>

#include <cstring>
#include <filesystem>
#include <iterator>
#include <stdexcept>
#include <string>
#include <system_error>

namespace vx {

namespace {

constexpr const char* INSERT_COMPOSITE_OBJECT
    = "INSERT INTO CompositeObjects (luid,name,aabb_min_x,aabb_min_y,aabb_min_z,aabb_max_x,aabb_max_y,"
      "aabb_max_z,geometry_luid,geometry_pos_x,geometry_pos_y,geometry_pos_z,geometry_rot_az,"
      "geometry_rot_el,geometry_rot_tw,geometry_scale_x,geometry_scale_y,geometry_scale_z,explode,chain,"
      "traceable,lod_id) VALUES(?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?);";
constexpr const char* INSERT_ROOT = "INSERT INTO Roots (object_luid,inbox_id,camera_x,camera_y,camera_z,"
                                    "camera_az,camera_el) VALUES( ?,?,?,?,?,?,? );";

// The texts of the WriterStatement values, in their order.
constexpr const char* STATEMENT_TEXTS[] = {
    "INSERT INTO Guids (guid) VALUES(?);",
    "INSERT INTO PropertyDictionary (luid,name,type) VALUES(?,?,?);",
    "INSERT INTO Properties (luid,propdic_luid,value,binarydata) VALUES(?,?,?,?);",
    INSERT_COMPOSITE_OBJECT,
    "INSERT INTO StretchableInfo (object_luid,min_size,max_size,template_size,type) VALUES (?,?,?,1,?);",
    INSERT_ROOT,
    "INSERT INTO Files (geometry_luid,filename,data) VALUES (?,?,?);",
    "INSERT INTO Textures (luid,name,data) VALUES (?,?,?);",
    "INSERT INTO Geometries (luid,name,model) VALUES (?,?,?);",
    "INSERT INTO ObjectCategories (object_luid,category_id) VALUES (?,?);",
    "INSERT INTO Categories (name,parentcategory_id) VALUES(?,?);",
    "INSERT INTO ObjectInstances (luid,name,ownerobject_luid,object_luid,chain,length,height,width,flags,"
    "pos_x,pos_y,pos_z,rot_az,rot_el,rot_tw) VALUES(?,?,?,?,?,?,?,?,?,?,?,?,?,?,?);",
    "SAVEPOINT geometry_write",
    "RELEASE geometry_write",
};
static_assert(
    std::size(STATEMENT_TEXTS) == static_cast<std::size_t>(WriterStatement::Count), "one text per statement");

constexpr const char* UPDATE_VERSION = "UPDATE CurrentVersion SET guid = @guid;";

// Removes the file at path; a folder or a missing file is left alone.
void DeleteFileAt(const std::string& path)
{
    std::error_code ignored;
    if (!std::filesystem::is_directory(path, ignored))
        std::filesystem::remove(path, ignored);
}

} // namespace

void SqlWriter::PrepareStatements()
{
    for (std::size_t i = 0; i < STATEMENT_COUNT; ++i)
        statements_[i] = db_.Prepare(STATEMENT_TEXTS[i]);
}

void SqlWriter::FinalizeStatements()
{
    for (Sqlite3::Statement& statement : statements_)
        statement.Finalize();
}

Sqlite3::Statement& SqlWriter::GetStatement(WriterStatement id)
{
    const auto index = static_cast<std::size_t>(id);
    if (index >= STATEMENT_COUNT || statements_[index].IsEmpty())
        throw Sqlite3::Error::Adopt(sqlite3_mprintf("%s", sqlite3_errstr(SQLITE_MISUSE)), SQLITE_MISUSE);
    return statements_[index];
}

SqlWriter::SqlWriter(const std::string& path)
{
    DeleteFileAt(path);
    db_.Open(path.c_str());
    // A statement of the run may fail and be reported while the run goes on, but a database
    // without its complete schema is no design: it must never be reported as written.
    if (!ExecScript(DesignSchemaScript().c_str())) {
        db_.Close();
        throw std::runtime_error("the design database schema could not be created");
    }
    ExecScript("BEGIN TRANSACTION;");
    PrepareStatements();
}

SqlWriter::~SqlWriter()
{
    FinalizeStatements();
    db_.Close();
}

DatabaseCloseResult SqlWriter::Close()
{
    DatabaseCloseResult result;
    if (!db_.IsOpen())
        return result;
    // No statement of the run may still be pending when the transaction ends.
    FinalizeStatements();
    result.committed = ExecScript("COMMIT;");
    // The stamp marks a complete export; a run whose rows were not committed gets none.
    if (result.committed)
        result.stamped = StampVersion();
    if (!result.Succeeded())
        result.reason = lastFailure_;
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

namespace {

// The ';' that ends the first whole statement of text, or null when none does. SQLite's own
// sqlite3_complete decides, so a ';' inside a string, a quoted name, a comment or a trigger body
// does not end a statement. (Preparing with sqlite3_prepare_v2 and taking its tail would find the
// same end, but not after a statement that fails to prepare: the script must go on past it.)
const char* FindStatementEnd(const char* text)
{
    for (const char* end = std::strchr(text, ';'); end; end = std::strchr(end + 1, ';'))
        if (sqlite3_complete(std::string(text, static_cast<std::size_t>(end - text) + 1).c_str()))
            return end;
    return nullptr;
}

} // namespace

bool SqlWriter::ExecScript(const char* script)
{
    const char* piece = script ? script : "";
    bool succeeded = true;
    for (;;) {
        const char* end = FindStatementEnd(piece);
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
        CountFailure(0, text.c_str());
        return false;
    }
    try {
        db_.Exec(sql.c_str());
        return true;
    } catch (const Sqlite3::Error& error) {
        ReportSqlError(error.what(), sql.c_str());
        CountFailure(error.Code(), error.what());
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
        CountFailure(error.Code(), error.what());
        return false;
    }
}

void SqlWriter::CountFailure(int32_t code, const char* text)
{
    ++failedStatements_;
    lastFailure_ = text ? text : "";
    const int system = db_.IsOpen() ? sqlite3_system_errno(db_.Handle()) : 0;
    if (system != 0)
        lastFailure_ += std::string(" (") + std::strerror(system) + ")";
    // A refused value or constraint costs its row; anything else says the file itself is in trouble.
    switch (code & 0xFF) {
    case SQLITE_CONSTRAINT:
    case SQLITE_TOOBIG:
    case SQLITE_MISMATCH:
    case SQLITE_RANGE:
        return;
    default:
        ++fatalFailures_;
    }
}

int64_t SqlWriter::ClaimFailuresSince(const FailureMark& mark)
{
    const int64_t unclaimed = (failedStatements_ - mark.failed) - (claimedFailures_ - mark.claimed);
    if (unclaimed > 0)
        claimedFailures_ += unclaimed;
    return unclaimed > 0 ? unclaimed : 0;
}

int64_t SqlWriter::NewLuid(const DUniqueID& guid)
{
    if (!db_.IsOpen())
        return -1;
    const bool inserted = BindAndRun(GetStatement(WriterStatement::InsertGuid),
        [&guid](Sqlite3::Statement& insert) { insert.Param(0).BindGuid(guid); });
    // A failed insert leaves the previous insert's row id behind; it must not be handed out twice.
    return inserted ? db_.LastInsertRowid() : -1;
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
