#pragma once
// Running one vxinfo sub-command: open the database, do the work, print the result.

#include "vxinfo/CommandLine.h"

#include <ostream>

namespace vxinfo {

// Exit codes of vxinfo.
enum ExitCode : int { EXIT_DONE = 0, EXIT_FINDINGS = 1, EXIT_USAGE = 2, EXIT_UNREADABLE = 3 };

// Runs line (help, or its sub-command) with results on out and faults on err. Returns the exit
// code: EXIT_USAGE for a line with an error, EXIT_UNREADABLE when the database cannot be opened or
// the output file cannot be written, EXIT_FINDINGS when check finds faults, EXIT_DONE otherwise.
int RunCommand(const CommandLine& line, std::ostream& out, std::ostream& err);

} // namespace vxinfo
