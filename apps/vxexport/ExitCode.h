#pragma once
// The exit codes of vxexport: how a user or a script learns what a run came to.

#include "host/ExportOutcome.h"

namespace vx {

enum class ExitCode : int {
    Exported = 0, // a design was written and no object failed
    FinishedWithFailures = 1, // a design was written, some objects could not be converted
    UsageError = 2, // the command line was wrong; nothing was done
    NothingExported = 3, // no valid objects, or the target could not be replaced
    Cancelled = 4, // the options dialog was cancelled, or the user pressed Ctrl-C
    RunFailed = 5, // an exception ended the run, or the database could not be committed
    SceneNotLoaded = 6, // the scene file could not be loaded; nothing was exported
    NoExporter = 7, // no usable exporter plug-in (for the target's extension) was found
};

// The exit code for a run that DoExport ended with doExportResult and whose outcome is outcome.
// The outcome decides; a result that contradicts it wins only where it is the stronger statement
// (an exception or a cancelled dialog). An outcome of a run that never ran gives RunFailed.
ExitCode GetExitCode(const ExportOutcome& outcome, int doExportResult);

// The code as the process returns it.
inline int ToProcessStatus(ExitCode code)
{
    return static_cast<int>(code);
}

} // namespace vx
