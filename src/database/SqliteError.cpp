#include "database/SqliteError.h"

#include <sqlite3.h>

namespace Sqlite3 {

void Error::FreeMessage::operator()(char* message) const
{
    sqlite3_free(message);
}

Error::Error(int32_t code)
    : code_(code)
{
}

Error Error::Adopt(char* message, int32_t code)
{
    Error error(code);
    if (message)
        error.message_ = std::shared_ptr<char>(message, FreeMessage());
    return error;
}

Error Error::FromConnection(sqlite3* db)
{
    return Adopt(sqlite3_mprintf("%s", sqlite3_errmsg(db)), sqlite3_errcode(db));
}

const char* Error::what() const noexcept
{
    if (message_)
        return message_.get();
    if (code_ == NO_SUCH_COLUMN)
        return "no such column";
    if (code_ == NO_SUCH_PARAMETER)
        return "no such parameter";
    return "";
}

} // namespace Sqlite3
