#pragma once
// Answering the options dialog without asking anybody.

#include <optional>

namespace vx {

class DialogSession;

// Sets the "Export as single object" check box to singleObject when given (and the dialog has
// it), then clicks OK. A dialog without an OK button is left open (the host then closes it, which
// cancels it).
void AnswerDialog(DialogSession& dialog, std::optional<bool> singleObject);

} // namespace vx
