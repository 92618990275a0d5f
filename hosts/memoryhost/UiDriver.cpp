#include "memoryhost/UiDriver.h"

#include "memoryhost/DialogSession.h"

namespace vx {

void UiDriver::OnProgressStart(std::string_view) { }

void UiDriver::OnProgressUpdate(int) { }

void UiDriver::OnProgressEnd() { }

bool UiDriver::IsCancelRequested()
{
    return false;
}

void UiDriver::OnMessageBox(HostWindow, std::string_view, std::string_view) { }

void UiDriver::PlayDialog(DialogSession& dialog)
{
    dialog.Click(DialogSession::kOkButton);
}

} // namespace vx
