#include "database/SqliteStatement.h"

#include "database/SqliteError.h"

#include "base/Assert.h"

#include <sqlite3.h>

#include <utility>

namespace Sqlite3 {

Statement::Statement(sqlite3_stmt* stmt, const char* sql)
    : stmt_(stmt)
    , sql_(sql)
{
}

Statement::Statement(Statement&& rs) noexcept
    : stmt_(std::exchange(rs.stmt_, nullptr))
    , sql_(std::move(rs.sql_))
{
    VX_ASSERT_TEXT(stmt_, "rs.stmt");
}

Statement& Statement::operator=(Statement&& rs) noexcept
{
    if (this == &rs)
        return *this;
    VX_ASSERT_TEXT(!stmt_, "!stmt");
    VX_ASSERT_TEXT(rs.stmt_, "rs.stmt");
    sqlite3_finalize(stmt_);
    stmt_ = std::exchange(rs.stmt_, nullptr);
    sql_ = std::move(rs.sql_);
    return *this;
}

Statement::~Statement()
{
    Finalize();
}

Parameter Statement::Param(int i)
{
    return Parameter(stmt_, i + 1);
}

Parameter Statement::Param(const char* name)
{
    const int index = stmt_ && name ? sqlite3_bind_parameter_index(stmt_, name) : 0;
    if (index == 0)
        throw Error(Error::NO_SUCH_PARAMETER);
    return Parameter(stmt_, index);
}

void Statement::Execute()
{
    if (!stmt_)
        throw Error::Adopt(sqlite3_mprintf("%s", sqlite3_errstr(SQLITE_MISUSE)), SQLITE_MISUSE);
    sqlite3* db = sqlite3_db_handle(stmt_);
    const int pending = sqlite3_errcode(db);
    if (pending != SQLITE_OK && pending != SQLITE_ROW && pending != SQLITE_DONE)
        throw Error(pending);
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW || rc == SQLITE_DONE) {
        if (sqlite3_reset(stmt_) != SQLITE_OK)
            throw Error::FromConnection(db);
        return;
    }
    // Reset first, so that the error carries the message and code that the reset leaves.
    sqlite3_reset(stmt_);
    throw Error::FromConnection(db);
}

void Statement::Reset()
{
    if (stmt_ && sqlite3_reset(stmt_) != SQLITE_OK)
        throw Error::FromConnection(sqlite3_db_handle(stmt_));
}

void Statement::ClearBindings()
{
    if (stmt_)
        sqlite3_clear_bindings(stmt_);
}

void Statement::Finalize()
{
    sqlite3_finalize(stmt_);
    stmt_ = nullptr;
}

} // namespace Sqlite3
