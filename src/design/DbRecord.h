#pragma once
// DbRecord: the two members every design record starts with, its identity and its name.

#include "base/BulkArena.h"
#include "base/FixedString.h"
#include "base/UniqueId.h"
#include "design/DbGuid.h"

namespace ZR {

// Records come from the bulk arena: a large scene makes tens of thousands of them, each with an
// inline name buffer, and they all live until the design is written.
struct DbRecord : vx::BulkAllocated {
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
