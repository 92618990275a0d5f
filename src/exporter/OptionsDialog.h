#pragma once
// The options dialog: one check box, "Export as single object", with OK and Cancel. It is shown
// through the host as a modal dialog; the host draws it from the template below.

#include "host/HostDialog.h"

namespace vx {

class VNX30MaxExporter;

// Control identifiers; OK and Cancel end the dialog with their own identifier as its result.
constexpr int kOptionsOkId = 1;
constexpr int kOptionsCancelId = 1001;
constexpr int kOptionsSingleObjectId = 1015;

// The dialog: caption "Varnex Export Options", 187 x 76 dialog units, "MS Sans Serif" 8 points,
// a tool window; the push buttons "OK" (1) and "Cancel" (1001) and the check box
// "Export as single object" (1015).
HostDialogTemplate OptionsDialogTemplate();

// The dialog's handler, acting on exporter's singleObject and on the root node of its host.
class OptionsDialogProc final : public HostDialogProc {
public:
    explicit OptionsDialogProc(VNX30MaxExporter& exporter)
        : exporter_(exporter)
    {
    }

    // Makes the exporter the current one, centres the dialog over its parent and sets the check
    // box from singleObject. Returns true.
    bool OnInit(HostDialog& dialog) override;
    // OK and Cancel end the dialog with their identifier. The check box copies its state into
    // singleObject and writes "SingleGeometry" to the root node at once (when there is one).
    // Returns false for any other identifier.
    bool OnCommand(HostDialog& dialog, int id) override;
    // Ends the dialog with the result 0. Returns true.
    bool OnClose(HostDialog& dialog) override;

private:
    VNX30MaxExporter& exporter_;
};

} // namespace vx
