#include "vxexport/ProgressLine.h"

#include "vxexport/TerminalText.h"

#include <algorithm>

namespace vx {

namespace {

// Back to the line's start and erase to its end.
constexpr const char* kClearLine = "\r\x1b[K";

} // namespace

ProgressLine::ProgressLine(std::ostream& out, bool enabled)
    : out_(out)
    , enabled_(enabled)
{
}

void ProgressLine::Start(std::string_view title)
{
    active_ = true;
    title_ = MakePrintable(title);
    std::replace(title_.begin(), title_.end(), '\n', ' ');
    percent_ = 0;
    Draw();
}

void ProgressLine::Update(int percent)
{
    percent = std::clamp(percent, 0, 100);
    if (!active_ || (shown_ && percent == percent_))
        return;
    percent_ = percent;
    Draw();
}

void ProgressLine::End()
{
    Hide();
    active_ = false;
}

void ProgressLine::Hide()
{
    if (!shown_)
        return;
    out_.clear(); // a write cut short by Ctrl-C must not silence the rest
    out_ << kClearLine << std::flush;
    shown_ = false;
}

void ProgressLine::Draw()
{
    if (!enabled_)
        return;
    out_.clear();
    out_ << kClearLine << title_ << ' ' << percent_ << '%' << std::flush;
    shown_ = true;
}

} // namespace vx
