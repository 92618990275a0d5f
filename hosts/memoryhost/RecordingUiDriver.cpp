#include "memoryhost/RecordingUiDriver.h"

#include "memoryhost/DialogSession.h"

namespace vx {

std::vector<std::string> RecordingUiDriver::GetMessageBoxes() const
{
    std::vector<std::string> boxes;
    for (const UiEvent& event : events_)
        if (event.kind == UiEvent::Kind::MessageBox)
            boxes.push_back(event.caption + ": " + event.text);
    return boxes;
}

void RecordingUiDriver::OnProgressStart(std::string_view title)
{
    UiEvent event;
    event.kind = UiEvent::Kind::ProgressStart;
    event.text = title;
    events_.push_back(std::move(event));
}

void RecordingUiDriver::OnProgressUpdate(int percent)
{
    UiEvent event;
    event.kind = UiEvent::Kind::ProgressUpdate;
    event.percent = percent;
    events_.push_back(std::move(event));
}

void RecordingUiDriver::OnProgressEnd()
{
    UiEvent event;
    event.kind = UiEvent::Kind::ProgressEnd;
    events_.push_back(std::move(event));
}

bool RecordingUiDriver::IsCancelRequested()
{
    const int query = cancelQueries_++;
    return cancelAfter_ >= 0 && query >= cancelAfter_;
}

void RecordingUiDriver::OnMessageBox(HostWindow owner, std::string_view text, std::string_view caption)
{
    UiEvent event;
    event.kind = UiEvent::Kind::MessageBox;
    event.text = text;
    event.caption = caption;
    event.window = owner;
    events_.push_back(std::move(event));
}

void RecordingUiDriver::PlayDialog(DialogSession& dialog)
{
    UiEvent event;
    event.kind = UiEvent::Kind::Dialog;
    event.caption = dialog.GetTemplate().caption;
    event.window = dialog.GetParent();
    for (const HostDialogControl& control : dialog.GetTemplate().controls)
        if (control.kind == HostControlKind::CheckBox)
            event.checks.emplace_back(control.id, dialog.IsChecked(control.id));
    events_.push_back(std::move(event));
    const size_t index = events_.size() - 1;

    if (dialogActions_.empty()) {
        UiDriver::PlayDialog(dialog);
    } else {
        for (int action : dialogActions_) {
            if (action == kCloseDialog)
                dialog.Close();
            else
                dialog.Click(action);
        }
        dialogActions_.clear();
    }
    if (dialog.IsEnded())
        events_[index].percent = dialog.GetResult();
}

} // namespace vx
