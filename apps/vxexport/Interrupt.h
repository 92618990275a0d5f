#pragma once
// Ctrl-C, SIGTERM and SIGHUP as the host's cancel button. The first of them only sets a flag (and
// wakes a prompt waiting on the wake descriptor, and ends the wait over the importer); the export
// notices it at its next cancel query. A second one ends the process at once, as if no handler
// were installed.

namespace vx {

// Installs the handler for SIGINT, SIGTERM and SIGHUP. Returns false when it could not be
// installed (the signals then keep their default effect). A signal ignored at start (SIGINT and
// SIGHUP of a background job, nohup) stays ignored. Calling it again does nothing more.
bool InstallInterruptHandler();

// True once one of the signals was received after InstallInterruptHandler.
bool IsInterruptRequested();

// A descriptor that becomes readable when one of the signals is received, for waiting on input
// and a cancel at once (poll); -1 when the handler is not installed.
int GetInterruptWakeFd();

} // namespace vx
