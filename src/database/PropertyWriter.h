#pragma once
// The properties of a written record: one Properties row per entry of its property set.

#include "database/SqlWriter.h"

#include "design/PropertySet.h"

#include <cstdint>

namespace vx {

// Writes the rows of set for the record of luid, each map in its iteration order and each row run
// on its own: Flags as rows without value; Texts (except "VNXPart", "VNXScalable" and
// "VNXExtrudable", which steer the conversion) with the text as value (NULL when empty); Files with
// the file name as value and the file's bytes as binary data. A file that cannot be opened, or that
// is larger than a 32-bit count, gets no row (reported to the debugger output); a file that reads
// short is reported ("sz == rsz") and stored with the bytes read. Statement failures are reported
// and skipped. Throws Sqlite3::Error when the statement cannot be prepared (a closed writer).
void WriteProperties(SqlWriter& writer, const ZR::PropertySet& set, int64_t luid);

} // namespace vx
