#pragma once
// A UI driver for tests and unattended runs: it records everything the host shows, cancels when
// told to, and plays a given list of actions on dialogs.

#include "memoryhost/UiDriver.h"

#include <string>
#include <utility>
#include <vector>

namespace vx {

struct UiEvent {
    enum class Kind {
        ProgressStart, // text: the title
        ProgressUpdate, // percent
        ProgressEnd,
        MessageBox, // text, caption, window: the owner
        Dialog, // caption: the dialog's caption; window: the parent; checks: check box states when
                // the driver got the dialog (after its initialisation); percent: the result when
                // the played actions ended the dialog, else 0
    };
    Kind kind = Kind::ProgressStart;
    std::string text;
    std::string caption;
    int percent = 0;
    HostWindow window;
    std::vector<std::pair<int, bool>> checks;
};

class RecordingUiDriver final : public UiDriver {
public:
    // A dialog action that presses the close box instead of clicking a control.
    static constexpr int kCloseDialog = -1;

    const std::vector<UiEvent>& GetEvents() const { return events_; }
    // The message boxes shown so far, as "caption: text".
    std::vector<std::string> GetMessageBoxes() const;
    // Answers the cancel query with true from its (count + 1)-th call on; a negative count (the
    // default) never cancels.
    void SetCancelAfterQueries(int count) { cancelAfter_ = count; }
    int GetCancelQueries() const { return cancelQueries_; }
    // The actions for the dialogs to come, played in order on the next dialog: control ids to
    // click, or kCloseDialog. Without actions a dialog gets the default (its OK button).
    void SetDialogActions(std::vector<int> actions) { dialogActions_ = std::move(actions); }

    void OnProgressStart(std::string_view title) override;
    void OnProgressUpdate(int percent) override;
    void OnProgressEnd() override;
    bool IsCancelRequested() override;
    void OnMessageBox(HostWindow owner, std::string_view text, std::string_view caption) override;
    void PlayDialog(DialogSession& dialog) override;

private:
    std::vector<UiEvent> events_;
    int cancelAfter_ = -1;
    int cancelQueries_ = 0;
    std::vector<int> dialogActions_;
};

} // namespace vx
