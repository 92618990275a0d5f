#include "database/SqliteParameter.h"

#include "database/SqliteError.h"

#include "base/Assert.h"

#include <sqlite3.h>

#include <cstring>

namespace Sqlite3 {

Parameter::Parameter(sqlite3_stmt* stmt, int index)
    : s_(stmt)
    , index_(index)
{
    VX_ASSERT_TEXT(s_, "s");
    VX_ASSERT_TEXT(index_ != 0, "index");
}

void Parameter::CheckSlot() const
{
    if (!s_ || index_ == 0)
        throw Error::Adopt(sqlite3_mprintf("%s", sqlite3_errstr(SQLITE_MISUSE)), SQLITE_MISUSE);
}

void Parameter::Check(int rc) const
{
    if (rc != SQLITE_OK)
        throw Error::FromConnection(sqlite3_db_handle(s_));
}

void Parameter::BindInt(int32_t value)
{
    CheckSlot();
    Check(sqlite3_bind_int(s_, index_, value));
}

void Parameter::BindInt64(int64_t value)
{
    if (!VX_ASSERT_TEXT(value >= 0, "value>=0")) {
        BindNull();
        return;
    }
    CheckSlot();
    Check(sqlite3_bind_int64(s_, index_, value));
}

void Parameter::BindDouble(double value)
{
    CheckSlot();
    Check(sqlite3_bind_double(s_, index_, value));
}

void Parameter::BindText(const char* text)
{
    if (!text || !*text) {
        BindNull();
        return;
    }
    CheckSlot();
    Check(sqlite3_bind_text64(s_, index_, text, std::strlen(text), SQLITE_TRANSIENT, SQLITE_UTF8));
}

void Parameter::BindBlob(const void* data, std::size_t size)
{
    CheckSlot();
    Check(sqlite3_bind_blob64(s_, index_, data, size, SQLITE_TRANSIENT));
}

void Parameter::BindBlob(const void* data, std::size_t size, void (*release)(void*))
{
    if (!s_ || index_ == 0) {
        // The library would have released the buffer on a failed binding; so do we.
        if (release && data)
            release(const_cast<void*>(data));
        CheckSlot();
    }
    Check(sqlite3_bind_blob64(s_, index_, data, size, release ? release : SQLITE_TRANSIENT));
}

void Parameter::BindBlobUncopied(const void* data, std::size_t size)
{
    CheckSlot();
    Check(sqlite3_bind_blob64(s_, index_, data, size, SQLITE_STATIC));
}

void Parameter::BindGuid(const vx::DUniqueID& guid)
{
    static_assert(vx::DUniqueID::GetDataSize() == 16, "guid.GetDataSize() == 16");
    BindBlob(guid.GetData(), vx::DUniqueID::GetDataSize());
}

void Parameter::BindNull()
{
    CheckSlot();
    Check(sqlite3_bind_null(s_, index_));
}

} // namespace Sqlite3
