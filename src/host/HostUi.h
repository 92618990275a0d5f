#pragma once
// The host's user interface as the exporter uses it: windows, the progress bar with its cancel
// button, message boxes and modal dialogs.

#include "host/HostDialog.h"
#include "host/HostTypes.h"

namespace vx {

class HostUi {
public:
    virtual ~HostUi() = default;

    // The host's main window (owner of message boxes) and the currently active window (parent of
    // dialogs).
    virtual HostWindow GetMainWindow() const = 0;
    virtual HostWindow GetActiveWindow() const = 0;

    // Progress bar: start with a title (the bar shown, no work function), update with a percentage
    // 0..100 (values outside are clamped) shown as a percentage, end. Starting clears an earlier
    // cancellation.
    virtual void ProgressStart(const char* title) = 0;
    virtual void ProgressUpdate(int percent) = 0;
    virtual void ProgressEnd() = 0;
    // True once the user has cancelled in the progress bar (until the next ProgressStart).
    virtual bool GetCancel() = 0;

    // A message box with only an OK button and the information icon; returns when it is closed.
    virtual void ShowMessageBox(HostWindow owner, const char* text, const char* caption) = 0;

    // Shows dialog modally over parent, with proc handling its events, and returns the result the
    // handler ended it with (0 when the dialog was closed without the handler ending it).
    virtual int ShowModalDialog(HostWindow parent, const HostDialogTemplate& dialog, HostDialogProc& proc)
        = 0;
};

} // namespace vx
