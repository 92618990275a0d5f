#pragma once
// The texts the export run shows the user and writes to the log.

namespace vx {

// Message box captions.
constexpr const char* kCaptionError = "Error";
constexpr const char* kCaptionWarning = "Warning";
constexpr const char* kCaptionInfo = "Info";

// Progress bar titles.
constexpr const char* kTitleCollecting = "Collecting objects...";
constexpr const char* kTitleWriting = "Writing objects...";

// The name of whatever has none (a design, a scene, a failed object).

constexpr const char* kTextFileInUse = "File is in use by another process.";
constexpr const char* kTextNoValidObjects = "No valid objects have been found.";
constexpr const char* kTextCancelled = "Export was cancelled by user.";
constexpr const char* kTextFailedObjects = "Failed objects:";
// After the count of failed objects, with the log and without it.
constexpr const char* kTextObjectsFailedLogged
    = " objects could not be converted.\r\n\r\nFailed object names written to: ";
constexpr const char* kTextObjectsFailed = " objects could not be converted.";
// Followed by the log file name.
constexpr const char* kTextDone = "Done.\r\n\r\nLog file written to: ";

// Log lines.
constexpr const char* kLogScalingFactor = "Scaling factor: ";
constexpr const char* kLogSingleObject = "Export as single object: ";
constexpr const char* kLogLibraryObject = "The following object can be imported as library object:";

// Followed by the system's reason for what the line before reported.
constexpr const char* kLogReason = "Reason: ";

// When a run ends without its database in place of the target.
constexpr const char* kLogTargetKept = "The target file was not replaced.";
constexpr const char* kLogCommitFailed = "Error: the design database could not be committed.";
constexpr const char* kTextCommitFailed
    = "The design database could not be committed.\r\n\r\nThe target file was not replaced.";
// Followed by the exception's text.
constexpr const char* kLogRunFailed = "Error: the export failed: ";
// The message box of a run that failed: this, the reason, then kTextTargetKept.
constexpr const char* kTextRunFailed = "The export failed: ";
constexpr const char* kTextTargetKept = "\r\n\r\nThe target file was not replaced.";

} // namespace vx
