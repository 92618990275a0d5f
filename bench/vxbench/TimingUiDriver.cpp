#include "vxbench/TimingUiDriver.h"

#include "exporter/OptionsDialog.h"
#include "memoryhost/DialogSession.h"

namespace vx::bench {

void TimingUiDriver::OnProgressStart(std::string_view title)
{
    starts_.emplace_back(std::string(title), BenchClock::now());
}

void TimingUiDriver::OnProgressUpdate(int)
{
    lastUpdate_ = BenchClock::now();
}

void TimingUiDriver::OnProgressEnd()
{
    lastEnd_ = BenchClock::now();
    updateAtEnd_ = lastUpdate_;
    cancelQueryAtEnd_ = lastCancelQuery_;
}

bool TimingUiDriver::IsCancelRequested()
{
    lastCancelQuery_ = BenchClock::now();
    return false;
}

void TimingUiDriver::PlayDialog(DialogSession& dialog)
{
    if (dialog.IsChecked(kOptionsSingleObjectId) != singleObject_)
        dialog.Click(kOptionsSingleObjectId);
    dialog.Click(kOptionsOkId);
}

} // namespace vx::bench
