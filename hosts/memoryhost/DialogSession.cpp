#include "memoryhost/DialogSession.h"

#include "memoryhost/UiDriver.h"

namespace vx {

DialogSession::DialogSession(HostWindow parent, const HostDialogTemplate& dialog, HostDialogProc& proc)
    : parent_(parent)
    , dialog_(dialog)
    , proc_(proc)
{
    for (const HostDialogControl& control : dialog_.controls)
        if (control.kind == HostControlKind::CheckBox)
            checks_[control.id] = false;
}

int DialogSession::Run(UiDriver& driver)
{
    proc_.OnInit(*this);
    if (!ended_)
        driver.PlayDialog(*this);
    if (!ended_)
        Close();
    if (!ended_)
        End(0);
    return result_;
}

const HostDialogControl* DialogSession::FindControl(int id) const
{
    for (const HostDialogControl& control : dialog_.controls)
        if (control.id == id)
            return &control;
    return nullptr;
}

bool DialogSession::Click(int id)
{
    const HostDialogControl* control = FindControl(id);
    if (ended_ || !control)
        return false;
    if (control->kind == HostControlKind::CheckBox)
        checks_[id] = !checks_[id];
    proc_.OnCommand(*this, id);
    return true;
}

void DialogSession::Close()
{
    if (!ended_)
        proc_.OnClose(*this);
}

void DialogSession::CenterOverParent()
{
    centered_ = true;
}

void DialogSession::SetCheck(int id, bool checked)
{
    const auto found = checks_.find(id);
    if (found != checks_.end())
        found->second = checked;
}

bool DialogSession::IsChecked(int id) const
{
    const auto found = checks_.find(id);
    return found != checks_.end() && found->second;
}

void DialogSession::End(int result)
{
    if (ended_)
        return;
    ended_ = true;
    result_ = result;
}

} // namespace vx
