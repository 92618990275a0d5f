#pragma once
// The user of the substitute host, played on a terminal: progress on stderr, Ctrl-C as the cancel
// button, message boxes printed, the options dialog prompted or answered from the command line.

#include "vxexport/CommandLine.h"
#include "vxexport/DialogPrompt.h"
#include "vxexport/ProgressLine.h"

#include "memoryhost/UiDriver.h"

#include <functional>
#include <ostream>

namespace vx {

struct TerminalUiSettings {
    // Draw the progress line (stderr is a terminal and not --quiet).
    bool showProgress = false;
    // --quiet: no "Info" boxes and no note of how the dialog was answered; other boxes are always
    // printed.
    bool quiet = false;
    DialogAnswer dialogAnswer = DialogAnswer::Ask;
    // With DialogAnswer::Ask: prompt (stdin and stderr are terminals), or answer with the dialog's
    // defaults.
    bool promptForDialog = false;
};

class TerminalUiDriver final : public UiDriver {
public:
    // out receives everything shown (stderr); readLine gives the prompt's answers; cancelRequested
    // is the cancel button (Ctrl-C).
    TerminalUiDriver(const TerminalUiSettings& settings, std::ostream& out, LineSource readLine,
        std::function<bool()> cancelRequested);

    void OnProgressStart(std::string_view title) override;
    void OnProgressUpdate(int percent) override;
    void OnProgressEnd() override;
    bool IsCancelRequested() override;
    // Prints "<caption>: <text>" (line breaks as newlines), except "Info" boxes when quiet.
    void OnMessageBox(HostWindow owner, std::string_view text, std::string_view caption) override;
    // Prompts, or answers by the settings and prints the answered state (unless --quiet).
    void PlayDialog(DialogSession& dialog) override;

private:
    TerminalUiSettings settings_;
    std::ostream& out_;
    LineSource readLine_;
    std::function<bool()> cancelRequested_;
    ProgressLine progress_;
};

} // namespace vx
