#pragma once
// Categories of composite objects: a tree of named categories numbered by their own table.

#include "database/SqlWriter.h"

#include "design/Category.h"

#include <cstdint>

namespace vx {

// The Categories id of category, writing it on first use: its parents first (top-most first), then
// one row (name, NULL for an empty one; the parent's id or NULL); category.guid.dbid becomes the id.
// A parent chain that loops back on itself is reported ("category parent cycle") and gives -1 with
// nothing written; so does a refused insert (reported), which leaves the category and the
// categories below it unwritten.
int64_t WriteCategory(SqlWriter& writer, ZR::Category& category);

} // namespace vx
