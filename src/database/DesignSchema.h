#pragma once
// The layout of a design database as one SQL script: the file settings (UTF-16 text, 4096-byte
// pages), the 31 tables of the format and their seed rows, inside one transaction.

#include <string>

namespace vx {

// The schema script: "BEGIN TRANSACTION;", the pragmas, the CREATE TABLE statements, the seed
// rows of ReportTypes, ReportStyles and CurrentVersion (zero guid, the format's schema
// identifier), "COMMIT;". No literal in it holds a ';', so it can be run piece by piece.
const std::string& DesignSchemaScript();

} // namespace vx
