#include "run/ExportRunState.h"

#include "host/Host.h"

#include <cmath>

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

void ExportRunState::AddFailedObject(const char* name)
{
    failedNames.Append(FixedString((name && *name) ? name : kTextNoName));
    ++failedCount;
}

void ExportRunState::WriteLogLine(const char* text)
{
    if (log.IsOpen())
        log.WriteLine(text, true);
}

void ExportRunState::ShowMessage(const char* text, const char* caption)
{
    if (!suppressPrompts && host)
        host->ShowMessageBox(host->GetMainWindow(), text, caption);
}

} // namespace vx
