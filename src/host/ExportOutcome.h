#pragma once
// What the last export run of an exporter object came to, for a front end that plays the host.
// DoExport's integer result is what the host sees; this record says more: how the run ended, the
// objects that failed, and where the log is, so that a front end can report even when prompts
// were suppressed and no log could be written. The record stays on one side of the plug-in
// boundary: the exporter library hands it out as an ExportReport, and the loading program rebuilds
// its own copy with MakeOutcomeFromReport.

#include <string>
#include <vector>

#include "host/PluginInterface.h"

namespace vx {

enum class ExportStatus {
    NotRun, // no run yet
    Succeeded, // a design was written, no object failed
    FinishedWithFailures, // a design was written, some objects could not be converted
    NoValidObjects, // the scene gave no object to write ("No valid objects have been found.")
    TargetInUse, // the target could not be replaced ("File is in use by another process.")
    Cancelled, // the options dialog was cancelled, or the user cancelled the run
    Failed, // an exception ended the run, or the database could not be committed
};

struct ExportOutcome {
    ExportStatus status = ExportStatus::NotRun;
    // Names of the objects that could not be converted, in the order reported.
    std::vector<std::string> failedNames;
    // The log file's path; empty when no log was created.
    std::string logPath;
    // True when the target now holds the database of this run; false when the previous target (or
    // its absence) was left as it was.
    bool targetReplaced = false;
    // A short description of a failure (exception text, commit error) for the front end; empty
    // otherwise.
    std::string detail;
    // Warnings and errors the conversion reported to the log during the run.
    int warningCount = 0;
    int errorCount = 0;
};

// The outcome a report describes, rebuilt on the reader's side. A null report, or a status code
// this program does not know, gives Failed; null texts count as empty.
ExportOutcome MakeOutcomeFromReport(const ExportReport* report);

} // namespace vx
