#pragma once
// Whoever plays the user of the substitute host: the front end or a test. The memory host routes
// its progress bar, cancel query, message boxes and dialogs here.

#include "host/HostTypes.h"

#include <string_view>

namespace vx {

class DialogSession;

class UiDriver {
public:
    virtual ~UiDriver() = default;

    virtual void OnProgressStart(std::string_view title);
    virtual void OnProgressUpdate(int percent);
    virtual void OnProgressEnd();
    // Asked at each cancel query until it once answers true (the host then keeps the cancellation
    // until the next progress start). The default never cancels.
    virtual bool IsCancelRequested();
    // A message box (OK button, information icon). The default ignores it.
    virtual void OnMessageBox(HostWindow owner, std::string_view text, std::string_view caption);
    // Plays the user of a modal dialog through dialog's actions (Click, Close). A dialog that has
    // not ended when this returns is closed. The default clicks the OK button (control 1) when
    // the dialog has one.
    virtual void PlayDialog(DialogSession& dialog);
};

} // namespace vx
