#include "vxexport/DialogPrompt.h"

#include "vxexport/TerminalText.h"

#include "memoryhost/DialogSession.h"

#include <algorithm>
#include <cctype>
#include <vector>

namespace vx {

namespace {

// The controls in the order they are offered: check boxes first, then push buttons, each in the
// dialog's order.
std::vector<const HostDialogControl*> ListChoices(const DialogSession& dialog)
{
    std::vector<const HostDialogControl*> choices;
    for (HostControlKind kind : {HostControlKind::CheckBox, HostControlKind::PushButton})
        for (const HostDialogControl& control : dialog.GetTemplate().controls)
            if (control.kind == kind)
                choices.push_back(&control);
    return choices;
}

std::string DescribeCheckBox(const DialogSession& dialog, const HostDialogControl& control)
{
    return std::string(dialog.IsChecked(control.id) ? "[x] " : "[ ] ") + MakePrintable(control.text);
}

void ShowDialog(
    const DialogSession& dialog, const std::vector<const HostDialogControl*>& choices, std::ostream& out)
{
    out << MakePrintable(dialog.GetTemplate().caption) << '\n';
    for (size_t i = 0; i < choices.size(); ++i) {
        const HostDialogControl& control = *choices[i];
        out << "  " << i + 1 << "  "
            << (control.kind == HostControlKind::CheckBox ? DescribeCheckBox(dialog, control)
                                                          : MakePrintable(control.text))
            << '\n';
    }
}

std::string Trim(const std::string& text)
{
    const char* const spaces = " \t\r\n";
    const size_t first = text.find_first_not_of(spaces);
    if (first == std::string::npos)
        return std::string();
    return text.substr(first, text.find_last_not_of(spaces) - first + 1);
}

bool EqualsIgnoringCase(const std::string& a, const std::string& b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
    });
}

// The control the answer names; null when it names none.
const HostDialogControl* FindChoice(
    const std::string& answer, const std::vector<const HostDialogControl*>& choices)
{
    if (answer.empty()) {
        for (const HostDialogControl* control : choices)
            if (control->id == DialogSession::kOkButton && control->kind == HostControlKind::PushButton)
                return control;
        return nullptr;
    }
    if (std::all_of(answer.begin(), answer.end(), [](unsigned char c) { return std::isdigit(c) != 0; })
        && answer.size() < 6) {
        const size_t number = std::stoul(answer);
        return number >= 1 && number <= choices.size() ? choices[number - 1] : nullptr;
    }
    for (const HostDialogControl* control : choices)
        if (EqualsIgnoringCase(answer, control->text))
            return control;
    return nullptr;
}

} // namespace

void PromptDialog(DialogSession& dialog, const LineSource& readLine, std::ostream& out)
{
    const std::vector<const HostDialogControl*> choices = ListChoices(dialog);
    if (choices.empty()) {
        dialog.Close();
        return;
    }
    bool showControls = true;
    while (!dialog.IsEnded()) {
        if (showControls)
            ShowDialog(dialog, choices, out);
        out << "Choose 1-" << choices.size() << " (Enter: OK): " << std::flush;
        const std::optional<std::string> line = readLine();
        if (!line) {
            out << '\n';
            dialog.Close();
            return;
        }
        const HostDialogControl* control = FindChoice(Trim(*line), choices);
        if (!control) {
            out << "No such choice: type a number from the list.\n";
            showControls = false;
            continue;
        }
        dialog.Click(control->id);
        showControls = true;
    }
}

std::string DescribeDialog(const DialogSession& dialog)
{
    std::string text = MakePrintable(dialog.GetTemplate().caption) + ":";
    for (const HostDialogControl& control : dialog.GetTemplate().controls)
        if (control.kind == HostControlKind::CheckBox)
            text += " " + DescribeCheckBox(dialog, control);
    return text;
}

} // namespace vx
