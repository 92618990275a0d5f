#pragma once
// DbGuid: the identity of a design record. It is the record's identifier (a DUniqueID, so it is
// passed wherever an identifier is expected) plus the row identifier the database gave the record.

#include "base/UniqueId.h"

#include <cstdint>

namespace ZR {

struct DbGuid : vx::DUniqueID {
    // The Null identifier, not yet written.
    DbGuid() = default;
    // The identifier id, not yet written.
    explicit DbGuid(const vx::DUniqueID& id)
        : vx::DUniqueID(id)
    {
    }

    // Whether the record has been written: dbid is 0 or more.
    bool IsInDB() const { return dbid >= 0; }

    // The database row identifier; -1 until the record has been written.
    int64_t dbid = -1;
};

} // namespace ZR
