#pragma once
// One vxexport run: load the scene into the memory host and export it as the host would.

#include "vxexport/CommandLine.h"
#include "vxexport/ExitCode.h"

#include <ostream>

namespace vx {

// Runs the export that line describes (its scene and target set), reporting on stderr, and
// returns the run's exit code. The exporter is the first plug-in of line's plug-in folder that
// writes the target's extension; none is NoExporter. A debug output file that cannot be opened
// is a usage error; a scene that does not load prints the loader's error and leaves the target
// alone. A 3D file (IsImportedSceneFile) is imported in a child process first. With --dump-scene
// the loaded scene is written there (a failure is RunFailed); without a target that is all.
ExitCode RunExportCommand(const CommandLine& line);

// Prints the exporters of line's plug-in folder on out, one line each: description, class name,
// extensions, version and library, separated by tabs. Skipped libraries are reported on stderr.
// Returns Exported, or NoExporter when none was found.
ExitCode RunListExportersCommand(const CommandLine& line, std::ostream& out);

} // namespace vx
