#include "exporter/OptionsDialog.h"

#include "exporter/OptionKeys.h"
#include "exporter/VNX30MaxExporter.h"

#include "host/HostNode.h"

#include <iterator>

namespace vx {

HostDialogTemplate OptionsDialogTemplate()
{
    HostDialogTemplate dialog;
    dialog.caption = "Varnex Export Options";
    dialog.width = 187;
    dialog.height = 76;
    dialog.fontName = "MS Sans Serif";
    dialog.fontSize = 8;
    dialog.toolWindow = true;
    // Static storage: the template's view must stay valid while the host shows the dialog.
    static const HostDialogControl kControls[] = {
        {kOptionsOkId, HostControlKind::PushButton, "OK", 59, 53, 58, 16},
        {kOptionsCancelId, HostControlKind::PushButton, "Cancel", 123, 52, 58, 16},
        {kOptionsSingleObjectId, HostControlKind::CheckBox, "Export as single object", 41, 26, 87, 10},
    };
    dialog.controls = {kControls, std::size(kControls)};
    return dialog;
}

bool OptionsDialogProc::OnInit(HostDialog& dialog)
{
    CurrentExporter() = &exporter_;
    dialog.CenterOverParent();
    dialog.SetCheck(kOptionsSingleObjectId, exporter_.singleObject);
    return true;
}

bool OptionsDialogProc::OnCommand(HostDialog& dialog, int id)
{
    switch (id) {
    case kOptionsOkId:
    case kOptionsCancelId:
        dialog.End(id);
        return true;
    case kOptionsSingleObjectId:
        exporter_.singleObject = dialog.IsChecked(kOptionsSingleObjectId);
        if (exporter_.rootNode)
            exporter_.rootNode->SetUserPropBool(kOptionKeySingleGeometry, exporter_.singleObject);
        return true;
    default:
        return false;
    }
}

bool OptionsDialogProc::OnClose(HostDialog& dialog)
{
    dialog.End(0);
    return true;
}

} // namespace vx
