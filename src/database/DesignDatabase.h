#pragma once
// The design database of the export run: one process-wide SqlWriter between opening and closing.

#include "database/SqlWriter.h"

#include <string>

namespace vx {

// Destroys any writer left from an earlier run (abandoned: nothing of it is committed or
// stamped), then creates the run's writer for the database at path (used as given; a file there
// is deleted first), makes it the current one and registers the fixed dictionary entries. Throws
// Sqlite3::Error when the file cannot be opened or a statement cannot be prepared; there is then
// no current writer.
void OpenDesignDatabase(const std::string& path);

// Closes the current writer (commit, version stamp, file closed; see SqlWriter::Close) and
// clears it. Without a current writer the result did not succeed.
DatabaseCloseResult CloseDesignDatabase();

// The current writer, or null outside Open/CloseDesignDatabase.
SqlWriter* CurrentSqlWriter();

} // namespace vx
