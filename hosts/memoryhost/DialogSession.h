#pragma once
// A modal dialog shown by the memory host: the state of its controls, the plug-in's handler, and
// the actions through which a UI driver plays the user.

#include "host/HostDialog.h"
#include "host/HostTypes.h"

#include <map>

namespace vx {

class UiDriver;

class DialogSession final : public HostDialog {
public:
    static constexpr int kOkButton = 1;

    DialogSession(HostWindow parent, const HostDialogTemplate& dialog, HostDialogProc& proc);

    // Shows the dialog: initialises it through the handler, lets driver play it, closes it when the
    // driver left it open, and returns the result it ended with (0 when the handler never ended it).
    int Run(UiDriver& driver);

    // User actions. Click toggles a check box, then hands the click to the handler; it returns false
    // (doing nothing) for an id that is no control of the dialog or once the dialog has ended.
    bool Click(int id);
    // The close box: hands the close request to the handler (nothing once the dialog has ended).
    void Close();

    const HostDialogTemplate& GetTemplate() const { return dialog_; }
    HostWindow GetParent() const { return parent_; }
    bool IsCentered() const { return centered_; }
    bool IsEnded() const { return ended_; }
    int GetResult() const { return result_; }

    void CenterOverParent() override;
    void SetCheck(int id, bool checked) override;
    bool IsChecked(int id) const override;
    void End(int result) override;

private:
    const HostDialogControl* FindControl(int id) const;

    HostWindow parent_;
    const HostDialogTemplate& dialog_;
    HostDialogProc& proc_;
    std::map<int, bool> checks_;
    bool centered_ = false;
    bool ended_ = false;
    int result_ = 0;
};

} // namespace vx
