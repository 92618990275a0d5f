#pragma once
// Sqlite3::Statement: a prepared statement that owns its handle and keeps the SQL text it was
// prepared from, for failure reports. It is moved, never copied.

#include "database/SqliteParameter.h"

#include "base/HeapString.h"

struct sqlite3_stmt;

namespace Sqlite3 {

class Statement {
public:
    // An empty statement.
    Statement() = default;
    // Takes ownership of stmt (which may be null) and copies sql.
    Statement(sqlite3_stmt* stmt, const char* sql);

    // The target must be empty ("!stmt") and the source must hold a handle ("rs.stmt"); a
    // violation is reported. The handle and the text pass to the target (a handle the target
    // still held is finalized first) and the source becomes empty.
    Statement(Statement&& rs) noexcept;
    Statement& operator=(Statement&& rs) noexcept;
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    // Finalizes the handle.
    ~Statement();

    // The parameter of 0-based position i (the library's index i + 1). The index is checked when
    // a value is bound: a position the statement does not have makes the binding throw.
    Parameter Param(int i);
    // The parameter named name, prefix included ("@guid"). A name the statement does not have
    // throws an error with code Error::NO_SUCH_PARAMETER and no message.
    Parameter Param(const char* name);

    // Runs the statement once, discards any row and resets it for the next run. Throws, without
    // stepping, when the connection still holds an error code (other than 0, 100 and 101) from an
    // earlier call; throws the connection's error, after the reset, when the step fails. An empty
    // statement throws SQLITE_MISUSE.
    void Execute();

    // Resets the statement; bindings stay. Throws the connection's error on failure.
    void Reset();

    // Sets every parameter to NULL, so that bound texts and blobs are released now rather than at
    // the next binding. An empty statement is left alone.
    void ClearBindings();

    // Finalizes the handle now; the statement becomes empty and keeps its text.
    void Finalize();

    bool IsEmpty() const { return stmt_ == nullptr; }
    sqlite3_stmt* Handle() const { return stmt_; }
    // The SQL text, "" when there is none.
    const char* Sql() const { return sql_.c_str(); }

private:
    sqlite3_stmt* stmt_ = nullptr;
    vx::HeapString sql_;
};

} // namespace Sqlite3
