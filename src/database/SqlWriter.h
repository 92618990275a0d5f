#pragma once
// SqlWriter: the database writer of one export run. It creates the design database file with its
// schema, keeps one transaction open for the rows of the run, owns the prepared statements and
// the lookup maps of the table writers, and at the end commits and stamps the version.
//
// Failures of single statements never stop the run: ExecScript and Run report them to the
// debugger output as "SQLITE3 ERROR: {<error text>} in query {<sql>}" followed by "\r\n" (two
// writes) and go on; so do binding failures of rows written through BindAndRun. Only opening the
// file, preparing statements and asking for a statement after Close throw Sqlite3::Error.

#include "database/DesignWriteState.h"
#include "database/SqliteDatabase.h"
#include "database/SqliteError.h"
#include "database/SqliteStatement.h"

#include "base/FixedString.h"
#include "base/HashMap.h"
#include "base/UniqueId.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace vx {

// What closing a writer achieved. A run whose result did not succeed must be reported as failed:
// the file holds the schema but not (all of) the run's rows, or lacks its version stamp.
struct [[nodiscard]] DatabaseCloseResult {
    bool committed = false; // the run transaction's COMMIT succeeded
    bool stamped = false; // CurrentVersion received the run's new identifier and it was committed
    std::string reason; // when not Succeeded: the last failure's text, with the system's reason
    bool Succeeded() const { return committed && stamped; }
};

// The statements of the table writers, prepared once when the writer opens and finalized when it
// closes.
enum class WriterStatement {
    InsertGuid,
    InsertDictionaryEntry,
    InsertProperty,
    InsertCompositeObject,
    InsertStretchableInfo,
    InsertRoot,
    InsertFile,
    InsertTexture,
    InsertGeometry,
    InsertObjectCategory,
    InsertCategory,
    InsertObjectInstance,
    // The savepoint around one geometry's row and files, opened and released once per geometry.
    SavepointGeometry,
    ReleaseGeometry,
    Count
};

// A texture written in this run: its identifier (the name the model description uses) and its row.
struct WrittenTexture {
    DUniqueID id;
    int64_t luid = -1;
};

class SqlWriter {
public:
    // A script piece (the text between two ';') must be shorter than this.
    static constexpr std::size_t SCRIPT_PIECE_SIZE = 8192;

    // Deletes the file at path (a failure is ignored), creates the database there with the schema
    // script, begins the run transaction and prepares the writer's statements. Throws
    // Sqlite3::Error when the file cannot be opened or a statement cannot be prepared, and
    // std::runtime_error when a piece of the schema script failed (reported like any script).
    explicit SqlWriter(const std::string& path);

    // A writer that was not closed is abandoned: its run transaction is rolled back and no version
    // is stamped, so the file shows an unfinished export.
    ~SqlWriter();
    SqlWriter(const SqlWriter&) = delete;
    SqlWriter& operator=(const SqlWriter&) = delete;

    // Finalizes the statements, commits the run transaction, stamps CurrentVersion with a new
    // sequential identifier in a second transaction, and closes the file. A failed commit stamps
    // nothing. Every later call returns a result that did not succeed.
    DatabaseCloseResult Close();

    // Runs a text of several statements piece by piece, cutting at each ';' that ends a statement
    // (one inside quotes, a comment or a trigger body does not), then runs the remainder. A piece that fails,
    // or that is SCRIPT_PIECE_SIZE bytes or longer (not run), is reported and the next piece runs. Returns
    // true when no piece failed. A null script counts as empty.
    bool ExecScript(const char* script);

    // Executes statement once (see Sqlite3::Statement::Execute). On failure reports the error with
    // the statement's SQL text and returns false.
    bool Run(Sqlite3::Statement& statement);

    // Calls bind(statement), which binds every parameter of the row, then runs the statement. A
    // binding the library refuses (a text or blob too large, say) is reported like a failed run,
    // with the statement's SQL text, and the row is not run. Returns whether the row was written.
    template <class Bind> bool BindAndRun(Sqlite3::Statement& statement, Bind&& bind)
    {
        try {
            bind(statement);
        } catch (const Sqlite3::Error& error) {
            ReportSqlError(error.what(), statement.Sql());
            CountFailure(error.Code(), error.what());
            return false;
        }
        return Run(statement);
    }

    // The writer's prepared statement id. Throws Sqlite3::Error (SQLITE_MISUSE) after Close.
    Sqlite3::Statement& GetStatement(WriterStatement id);

    // Inserts guid into Guids and returns the new luid. Every call inserts a row, also for an
    // identifier inserted before. Returns -1 when the insert failed (reported) or after Close.
    int64_t NewLuid(const DUniqueID& guid);

    // The row id of the connection's last successful insert.
    int64_t LastInsertRowid() const;

    // The PropertyDictionary luid of the property key (name, type), writing the entry (its Guids
    // row from FromName of the key text, then the dictionary row) on first use in this run.
    // Returns -1 when the entry's Guids row could not be written; the key then stays without a
    // dictionary row for the rest of the run.
    int64_t DictionaryLuid(const char* name, int32_t type);

    // Gives the dictionary its fifteen fixed entries, in order, so that they are the first
    // Guids and PropertyDictionary rows of every database.
    void RegisterFixedEntries();

    // The textures written in this run, keyed by the identifier their content's CRC-32 gives. The
    // first content of a CRC is written under that identifier; a different content with the same
    // CRC gets its own entry (and identifier) in the same list.
    HashMap<DUniqueID, std::vector<WrittenTexture>>& WrittenTextures() { return textures_; }

    // What the design writers remember during the run: written geometries, the objects shared in
    // per-object mode and the objects being written.
    DesignWriteState& WriteState() { return writeState_; }

    // Statements that failed (and were reported) through ExecScript and Run since the writer
    // opened. The run goes on after each, but a design with missing rows must not be reported as
    // written.
    int64_t FailedStatements() const { return failedStatements_; }

    // Of those, the failures that leave the file unusable (I/O, a full disk, memory, corruption,
    // a missing table: anything but a refused value or constraint), which fail the whole run.
    int64_t FatalFailures() const { return fatalFailures_; }

    // Failures that a record has taken on as its own (ClaimFailuresSince): they cost that record,
    // which is reported as a failed object, and not the design.
    int64_t ClaimedFailures() const { return claimedFailures_; }

    // A point in the failure count, to claim the failures after it.
    struct FailureMark {
        int64_t failed = 0;
        int64_t claimed = 0;
    };
    FailureMark MarkFailures() const { return {failedStatements_, claimedFailures_}; }
    // Claims the failures since mark that no record inside has claimed; returns how many.
    int64_t ClaimFailuresSince(const FailureMark& mark);

    // The connection, for reading back and for statements outside the run's rows.
    Sqlite3::Database& GetDatabase() { return db_; }

    // Reports a statement failure to the debugger output: "SQLITE3 ERROR: {" + text + "} in
    // query {" + query + "}", then "\r\n".
    static void ReportSqlError(const char* text, const char* query);

private:
    static constexpr std::size_t STATEMENT_COUNT = static_cast<std::size_t>(WriterStatement::Count);

    void PrepareStatements();
    void FinalizeStatements();
    bool ExecScriptPiece(const char* piece, std::size_t length);
    // Counts a failed statement with its result code (0: a failure of the layer's own) and keeps
    // its text, with the system's reason where the library has one ("No space left on device").
    void CountFailure(int32_t code, const char* text = "");
    // Writes the new version identifier in its own transaction; true when it was committed.
    bool StampVersion();

    Sqlite3::Database db_;
    int64_t failedStatements_ = 0;
    int64_t fatalFailures_ = 0;
    int64_t claimedFailures_ = 0;
    std::string lastFailure_;
    // Declared after the connection, so that they are finalized before it closes.
    std::array<Sqlite3::Statement, STATEMENT_COUNT> statements_;
    // Property key text -> PropertyDictionary luid.
    HashMap<std::string, int64_t> dictionary_;
    HashMap<DUniqueID, std::vector<WrittenTexture>> textures_;
    DesignWriteState writeState_;
};

} // namespace vx
