#pragma once
// What vxexport itself says about a run on stderr, beside the exporter's message boxes.

#include "host/ExportOutcome.h"

#include <string>

namespace vx {

struct OutcomeReportContext {
    // The run had prompts suppressed (--yes): no message box told the user anything.
    bool promptsSuppressed = false;
    // --quiet: only failures are reported.
    bool quiet = false;
};

// The front end's report of outcome, one or more lines ending in "\n"; empty when there is
// nothing to add to what the boxes said. Always reported: a run that failed (with its detail).
// With prompts suppressed: failed objects (the count and every name), no valid objects, a target
// in use (each with the log's path). Unless quiet: a cancelled run, and at the end the run's
// warning and error counts ("N warnings, M errors") when either is non-zero. Names are made
// printable.
std::string FormatOutcomeReport(const ExportOutcome& outcome, const OutcomeReportContext& context);

} // namespace vx
