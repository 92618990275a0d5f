#pragma once
// Modal dialogs that a plug-in shows through the host: the dialog's description, the running
// dialog as the plug-in's handler sees it, and the handler itself.

#include "host/HostTypes.h"

namespace vx {

enum class HostControlKind {
    PushButton,
    CheckBox,
};

// One control; position and size in dialog units.
struct HostDialogControl {
    int id = 0;
    HostControlKind kind = HostControlKind::PushButton;
    const char* text = "";
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

// A dialog's description: caption, size in dialog units, font, and controls. The texts and the
// controls belong to the caller and must stay valid while the dialog is shown.
struct HostDialogTemplate {
    const char* caption = "";
    int width = 0;
    int height = 0;
    const char* fontName = "";
    int fontSize = 0;
    bool toolWindow = false;
    HostArray<HostDialogControl> controls;
};

// A dialog while it is shown, as its handler acts on it.
class HostDialog {
public:
    virtual ~HostDialog() = default;
    // Centres the dialog over its parent window.
    virtual void CenterOverParent() = 0;
    // Check box state of control id; an id that is not a check box is ignored (false).
    virtual void SetCheck(int id, bool checked) = 0;
    virtual bool IsChecked(int id) const = 0;
    // Ends the dialog; ShowModalDialog returns result. Later calls are ignored.
    virtual void End(int result) = 0;
};

// The plug-in's side of a dialog. Each handler returns true when it handled the event.
class HostDialogProc {
public:
    virtual ~HostDialogProc() = default;
    // The dialog was created and is about to be shown.
    virtual bool OnInit(HostDialog& dialog) = 0;
    // Control id was clicked (a check box has already changed its state).
    virtual bool OnCommand(HostDialog& dialog, int id) = 0;
    // The user asked to close the dialog (close box or Escape).
    virtual bool OnClose(HostDialog& dialog) = 0;
};

} // namespace vx
