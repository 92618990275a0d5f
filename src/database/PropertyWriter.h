#pragma once
// The properties of a written record: one Properties row per entry of its property set.

#include "database/SqlWriter.h"

#include "base/RunReport.h"

#include "design/PropertySet.h"

#include <cstdint>

namespace vx {

// Writes the rows of set for the record of luid, each map in its iteration order and each row run
// on its own: Flags as rows without value; Texts (except "VNXPart", "VNXScalable" and
// "VNXExtrudable", which steer the conversion) with the text as value (NULL when empty); Files with
// the file name as value and the file's bytes as binary data. A file that cannot be opened, or that
// is larger than a 32-bit count or than the database accepts, gets no row (reported to the debugger
// output); a file that reads short is reported ("sz == rsz") and stored with the bytes read.
// A property whose name is empty is not written: the log (report) receives "Warning: property with an empty
// name not written for \"<recordName>\" (luid <luid>)", with "- no name -" for an empty or null recordName. A
// key whose dictionary entry has no luid gets no row. Statement and binding failures are reported and
// skipped. Used after Close, it writes nothing and may throw Sqlite3::Error.
void WriteProperties(
    SqlWriter& writer, RunReport& report, const ZR::PropertySet& set, int64_t luid, const char* recordName);

} // namespace vx
