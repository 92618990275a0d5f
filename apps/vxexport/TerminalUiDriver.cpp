#include "vxexport/TerminalUiDriver.h"

#include "vxexport/DialogAnswer.h"
#include "vxexport/TerminalText.h"

#include "memoryhost/DialogSession.h"

#include <utility>

namespace vx {

namespace {

constexpr std::string_view kInfoCaption = "Info";

std::optional<bool> SingleObjectAnswer(DialogAnswer answer)
{
    switch (answer) {
    case DialogAnswer::SingleObject:
        return true;
    case DialogAnswer::PerObject:
        return false;
    case DialogAnswer::Ask:
        break;
    }
    return std::nullopt;
}

} // namespace

TerminalUiDriver::TerminalUiDriver(const TerminalUiSettings& settings, std::ostream& out, LineSource readLine,
    std::function<bool()> cancelRequested)
    : settings_(settings)
    , out_(out)
    , readLine_(std::move(readLine))
    , cancelRequested_(std::move(cancelRequested))
    , progress_(out, settings.showProgress)
{
}

void TerminalUiDriver::OnProgressStart(std::string_view title)
{
    progress_.Start(title);
}

void TerminalUiDriver::OnProgressUpdate(int percent)
{
    progress_.Update(percent);
}

void TerminalUiDriver::OnProgressEnd()
{
    progress_.End();
}

bool TerminalUiDriver::IsCancelRequested()
{
    return cancelRequested_ && cancelRequested_();
}

void TerminalUiDriver::OnMessageBox(HostWindow, std::string_view text, std::string_view caption)
{
    if (settings_.quiet && caption == kInfoCaption)
        return;
    progress_.Hide();
    out_.clear();
    out_ << FormatMessageBox(caption, text) << std::flush;
}

void TerminalUiDriver::PlayDialog(DialogSession& dialog)
{
    progress_.Hide();
    out_.clear();
    if (settings_.dialogAnswer == DialogAnswer::Ask && settings_.promptForDialog) {
        PromptDialog(dialog, readLine_, out_);
        return;
    }
    AnswerDialog(dialog, SingleObjectAnswer(settings_.dialogAnswer));
    if (!settings_.quiet)
        out_ << DescribeDialog(dialog) << (dialog.GetResult() == DialogSession::kOkButton ? " -> OK" : "")
             << '\n'
             << std::flush;
}

} // namespace vx
