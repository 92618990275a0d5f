#pragma once
// Sqlite3::Error: the one exception type of the SQLite layer. It carries a SQLite result code (or
// one of the layer's own codes) and, usually, the library's message text.

#include <cstdint>
#include <exception>
#include <memory>

struct sqlite3;

namespace Sqlite3 {

class Error : public std::exception {
public:
    // The layer's own codes, beside SQLite's result codes.
    static constexpr int32_t NO_SUCH_COLUMN = 1000;
    static constexpr int32_t NO_SUCH_PARAMETER = 1001;

    // An error with code and no message.
    explicit Error(int32_t code);

    // An error that takes ownership of message, a text allocated by the library (sqlite3_mprintf
    // or an error text of sqlite3_exec); it is released with sqlite3_free. message may be null.
    static Error Adopt(char* message, int32_t code);

    // The connection's current message (copied) and result code. A null connection gives the
    // library's out-of-memory message and code, as sqlite3_errmsg and sqlite3_errcode report them.
    static Error FromConnection(sqlite3* db);

    // The message when there is one; otherwise "no such column" for NO_SUCH_COLUMN, "no such
    // parameter" for NO_SUCH_PARAMETER and the empty text for every other code.
    const char* what() const noexcept override;

    int32_t Code() const { return code_; }
    // The library's message, or null.
    const char* Message() const { return message_.get(); }

private:
    struct FreeMessage {
        void operator()(char* message) const;
    };

    // Copies of an error share the message, which is released once, with the last copy.
    std::shared_ptr<char> message_;
    int32_t code_ = 0;
};

} // namespace Sqlite3
