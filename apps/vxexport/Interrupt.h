#pragma once
// Ctrl-C as the host's cancel button. The first SIGINT only sets a flag (and wakes a waiting
// prompt); the export notices it at its next cancel query. A second SIGINT ends the process at
// once, as if no handler were installed.

namespace vx {

// Installs the SIGINT handler. Returns false when it could not be installed (Ctrl-C then keeps
// its default effect) or when SIGINT was ignored at start (it stays ignored). Calling it again
// does nothing more.
bool InstallInterruptHandler();

// True once SIGINT was received after InstallInterruptHandler.
bool IsInterruptRequested();

// A descriptor that becomes readable when SIGINT is received, for waiting on input and Ctrl-C at
// once (poll); -1 when the handler is not installed.
int GetInterruptWakeFd();

} // namespace vx
