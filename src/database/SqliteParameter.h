#pragma once
// Sqlite3::Parameter: one parameter slot of a prepared statement, a short-lived value made by
// Statement::Param. Each binding throws the connection's error when the library refuses it (an
// index the statement does not have, a statement that is running).

#include "base/UniqueId.h"

#include <cstddef>
#include <cstdint>

struct sqlite3_stmt;

namespace Sqlite3 {

class Parameter {
public:
    // stmt must not be null ("s") and index, 1-based, must not be 0 ("index"); a violation is
    // reported, and every binding of such a parameter throws SQLITE_MISUSE.
    Parameter(sqlite3_stmt* stmt, int index);

    void BindInt(int32_t value);

    // Binds a row identifier, which is never negative ("value>=0"): a negative value is reported
    // and NULL is bound in its place.
    void BindInt64(int64_t value);

    void BindDouble(double value);

    // Binds UTF-8 text, which the library copies. A null or empty text binds NULL, so the database
    // never receives ''.
    void BindText(const char* text);

    // Binds a copy of size bytes at data. Null data binds NULL.
    void BindBlob(const void* data, std::size_t size);

    // Binds size bytes at data without copying: the library calls release(data) once it no longer
    // needs them, also when the binding fails. Null data binds NULL; a null release copies the
    // bytes as the binding above does.
    void BindBlob(const void* data, std::size_t size, void (*release)(void*));

    // Binds size bytes at data without copying them. The caller keeps them unchanged until the
    // statement has run and its bindings are cleared or replaced. Null data binds NULL.
    void BindBlobUncopied(const void* data, std::size_t size);

    // Binds the identifier's 16 stored bytes as a blob.
    void BindGuid(const vx::DUniqueID& guid);

    void BindNull();

    int Index() const { return index_; }

private:
    // Throws the connection's error when rc is not SQLITE_OK.
    void Check(int rc) const;
    // Throws SQLITE_MISUSE for a parameter built from a null statement or index 0.
    void CheckSlot() const;

    sqlite3_stmt* s_;
    int index_;
};

} // namespace Sqlite3
