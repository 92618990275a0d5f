#include "vxexport/DialogAnswer.h"

#include "exporter/OptionsDialog.h"
#include "memoryhost/DialogSession.h"

namespace vx {

namespace {

bool HasCheckBox(const DialogSession& dialog, int id)
{
    for (const HostDialogControl& control : dialog.GetTemplate().controls)
        if (control.id == id && control.kind == HostControlKind::CheckBox)
            return true;
    return false;
}

} // namespace

void AnswerDialog(DialogSession& dialog, std::optional<bool> singleObject)
{
    if (singleObject && HasCheckBox(dialog, kOptionsSingleObjectId)
        && dialog.IsChecked(kOptionsSingleObjectId) != *singleObject)
        dialog.Click(kOptionsSingleObjectId);
    dialog.Click(kOptionsOkId);
}

} // namespace vx
