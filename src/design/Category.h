#pragma once
// Category: a named node of the category tree that composite objects can belong to. Categories are
// numbered by their own table: once written, guid.dbid holds that table's id.

#include "base/UniqueId.h"
#include "design/DbRecord.h"

namespace ZR {

struct Category : DbRecord {
    // A new category with a fresh sequential identifier.
    Category() = default;
    // A new category with the identifier id.
    explicit Category(const vx::DUniqueID& id)
        : DbRecord(id)
    {
    }

    // The parent category, or null for a top-level one. Not owned.
    Category* parent = nullptr;
};

} // namespace ZR
