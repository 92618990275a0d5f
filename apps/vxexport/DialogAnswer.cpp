#include "vxexport/DialogAnswer.h"

#include "memoryhost/DialogSession.h"

namespace vx {

namespace {

// The exporter's options dialog as the user sees it: the OK button (the standard id) and the
// "Export as single object" check box. The front end knows the dialog only by these ids, as the
// plug-in is loaded at run time.
constexpr int kOkButtonId = 1;
constexpr int kSingleObjectCheckBoxId = 1015;

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
    if (singleObject && HasCheckBox(dialog, kSingleObjectCheckBoxId)
        && dialog.IsChecked(kSingleObjectCheckBoxId) != *singleObject)
        dialog.Click(kSingleObjectCheckBoxId);
    dialog.Click(kOkButtonId);
}

} // namespace vx
