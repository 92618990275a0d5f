#include "vxbench/BenchUiDriver.h"

#include "exporter/OptionsDialog.h"
#include "memoryhost/DialogSession.h"

namespace vx::bench {

void BenchUiDriver::PlayDialog(DialogSession& dialog)
{
    if (dialog.IsChecked(kOptionsSingleObjectId) != singleObject_)
        dialog.Click(kOptionsSingleObjectId);
    dialog.Click(kOptionsOkId);
}

} // namespace vx::bench
