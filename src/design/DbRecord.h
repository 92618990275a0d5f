#pragma once
// DbRecord: the two members every design record starts with, its identity and its name.

#include "base/FixedString.h"
#include "base/UniqueId.h"
#include "design/DbGuid.h"

namespace ZR {

struct DbRecord {
    // A new record: a fresh sequential identifier, not written, empty name.
    DbRecord()
        : guid(vx::DUniqueID::NewSequential())
    {
    }
    // A new record with the identifier its creator passes (any value, Null included).
    explicit DbRecord(const vx::DUniqueID& id)
        : guid(id)
    {
    }

    // Whether the record has been written to the database.
    bool IsInDB() const { return guid.IsInDB(); }

    DbGuid guid;
    vx::FixedString name;
};

} // namespace ZR
