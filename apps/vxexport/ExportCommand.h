#pragma once
// One vxexport run: load the scene into the memory host and export it as the host would.

#include "vxexport/CommandLine.h"
#include "vxexport/ExitCode.h"

namespace vx {

// Runs the export that line describes (its scene and target set), reporting on stderr, and
// returns the run's exit code. A debug output file that cannot be opened is a usage error; a scene
// that does not load prints the loader's error and leaves the target alone.
ExitCode RunExportCommand(const CommandLine& line);

} // namespace vx
