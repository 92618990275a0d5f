#pragma once
// The options dialog (or any host dialog) as a prompt on a terminal.

#include <functional>
#include <optional>
#include <ostream>
#include <string>

namespace vx {

class DialogSession;

// Reads the user's next line (without its line break); nullopt at the end of input or when the
// user pressed Ctrl-C.
using LineSource = std::function<std::optional<std::string>()>;

// Plays dialog as a prompt: prints the caption and the controls, numbered, check boxes with their
// state ("[x]" ticked), and reads choices until the dialog ends. A choice is a control's number or
// its text (any case); an empty line is the OK button (control 1). A check box toggles and the
// state is shown again; a button is clicked. Anything else is refused and asked again. When
// readLine gives nothing more, the dialog's close box is pressed (the dialog is cancelled).
void PromptDialog(DialogSession& dialog, const LineSource& readLine, std::ostream& out);

// "<caption>: [x] <check box text> ..." for every check box: the dialog's state in one line,
// without a line break.
std::string DescribeDialog(const DialogSession& dialog);

} // namespace vx
