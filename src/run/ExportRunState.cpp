#include "run/ExportRunState.h"

#include "host/Host.h"

#include <cmath>
#include <cstdio>
#include <string>

namespace vx {

ExportRunState*& CurrentExporter()
{
    static ExportRunState* current = nullptr;
    return current;
}

int ProgressPercent(int32_t count, int32_t total)
{
    if (total <= 0)
        return 0;
    const double percent = std::trunc(100.0 * count / total);
    if (percent < 0.0)
        return 0;
    if (percent > 100.0)
        return 100;
    return static_cast<int>(percent);
}

void ExportRunState::ReportProgress()
{
    if (host)
        host->ProgressUpdate(ProgressPercent(progressCount, progressTotal));
}

void ExportRunState::StepProgress()
{
    ++progressCount;
    ReportProgress();
}

bool ExportRunState::StepProgressAndCheckCancel()
{
    StepProgress();
    return host && host->GetCancel();
}

void ExportRunState::AddFailedObject(const char* name)
{
    failedNames.Append(FixedString((name && *name) ? name : kTextNoName));
    ++failedCount;
}

namespace {

// text with its control characters written out ("\\r", "\\n", "\\t", "\\xNN"), so that a name holding a
// line break stays one line of the log and reads back as one name.
std::string EscapeControlCharacters(const char* text)
{
    std::string escaped;
    for (const char* c = text ? text : ""; *c; ++c) {
        const auto byte = static_cast<unsigned char>(*c);
        if (byte == '\r')
            escaped += "\\r";
        else if (byte == '\n')
            escaped += "\\n";
        else if (byte == '\t')
            escaped += "\\t";
        else if (byte < 0x20 || byte == 0x7F) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", byte);
            escaped += hex;
        } else
            escaped += *c;
    }
    return escaped;
}

} // namespace

void ExportRunState::WriteLogLine(const char* text)
{
    if (log.IsOpen())
        log.WriteLine(EscapeControlCharacters(text).c_str(), true);
}

void ExportRunState::ShowMessage(const char* text, const char* caption)
{
    if (!suppressPrompts && host)
        host->ShowMessageBox(host->GetMainWindow(), text, caption);
}

} // namespace vx
